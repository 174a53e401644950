// The test automation server: an in-process COM server registered as
// "Excel.Application" in the test prefix. Its objects answer the members
// the spreadsheet client calls by DISPID and record every call; the tests
// choose the objects behind it through "tarvoTestExcelServerUse". Loaded by
// a program that does not choose (the front-end under its driver), it serves
// a fake workbook of its own, and records the cells it is given when asked
// (CellRecord.h).
#include <windows.h>
// After windows.h, which it needs.
#include <olectl.h>

#include "CellRecord.h"
#include "GdiObjects.h"
#include "RecordingAutomationObject.h"
#include "ServerClass.h"
#include "TestExcelServer.h"

namespace tarvo::test {

namespace {

HMODULE module = nullptr;

ServerFactory& chosenFactory() {
    static FakeExcel own;
    static ServerFactory factory = [] {
        recordCellsIfAsked(own);
        return own.factory();
    }();
    return factory;
}

ServedClassFactory classFactory{
    [] { return chosenFactory() ? chosenFactory()() : AutomationObject(); }};

}  // namespace

}  // namespace tarvo::test

using namespace tarvo::test;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        module = instance;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
    if (!IsEqualCLSID(clsid, kTestExcelServerClsid)) {
        *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return classFactory.QueryInterface(riid, object);
}

// The server's state lives as long as the process.
STDAPI DllCanUnloadNow() {
    return S_FALSE;
}

STDAPI DllRegisterServer() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH) {
        return SELFREG_E_CLASS;
    }
    return registerClass(kTestExcelServerClsid, {"InprocServer32", path}, "Excel.Application")
               ? S_OK
               : SELFREG_E_CLASS;
}

STDAPI DllUnregisterServer() {
    unregisterClass(kTestExcelServerClsid, "Excel.Application");
    return S_OK;
}

extern "C" void tarvoTestExcelServerUse(const ServerFactory* factory) {
    chosenFactory() = factory != nullptr ? *factory : ServerFactory();
}

extern "C" void tarvoTestExcelServerWatch(const ArrivalWatch* watch) {
    watchArrivals(watch != nullptr ? *watch : ArrivalWatch());
}

// Started as a thread inside the program that loaded the server (by a soak
// driver, through CreateRemoteThread): that program's GDI objects, read
// where they live.
extern "C" DWORD WINAPI tarvoTestGdiObjects(LPVOID) {
    return gdiObjectsInUse();
}
