// The test automation server: an in-process COM server registered as
// "Excel.Application" in the test prefix. Its objects answer the members
// the spreadsheet client calls by DISPID and record every call; the tests
// choose the objects behind it through "tarvoTestExcelServerUse". Loaded by
// a program that does not choose (the front-end under its driver), it serves
// a fake workbook of its own.
#include <windows.h>
// After windows.h, which it needs.
#include <olectl.h>

#include <string>

#include "RecordingAutomationObject.h"
#include "ServedObject.h"
#include "TestExcelServer.h"

namespace tarvo::test {

namespace {

HMODULE module = nullptr;

ServerFactory& chosenFactory() {
    static FakeExcel own;
    static ServerFactory factory = own.factory();
    return factory;
}

class ClassFactory final : public IClassFactory {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // One factory for the life of the module.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
        *object = nullptr;
        if (outer != nullptr) {
            return CLASS_E_NOAGGREGATION;
        }
        AutomationObject application = chosenFactory() ? chosenFactory()() : AutomationObject();
        if (application.empty()) {
            return E_FAIL;
        }
        auto* served = new ServedObject(std::move(application));
        const HRESULT answer = served->QueryInterface(riid, object);
        served->Release();
        return answer;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

ClassFactory classFactory;

std::string clsidText() {
    wchar_t text[40];
    StringFromGUID2(kTestExcelServerClsid, text, 40);
    return std::string(text, text + wcslen(text));
}

bool setValue(const std::string& key, const char* name, const std::string& value) {
    HKEY handle = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const LONG written =
        RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
    return written == ERROR_SUCCESS;
}

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
    const std::string clsid = clsidText();
    const std::string classKey = "CLSID\\" + clsid;
    const bool done = setValue("Excel.Application", nullptr, "tarvo test automation server") &&
                      setValue("Excel.Application\\CLSID", nullptr, clsid) &&
                      setValue(classKey, nullptr, "tarvo test automation server") &&
                      setValue(classKey + "\\ProgID", nullptr, "Excel.Application") &&
                      setValue(classKey + "\\InprocServer32", nullptr, path) &&
                      setValue(classKey + "\\InprocServer32", "ThreadingModel", "Apartment");
    return done ? S_OK : SELFREG_E_CLASS;
}

// The ProgID goes only while it still names this server, never a real Excel.
STDAPI DllUnregisterServer() {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + clsidText()).c_str());
    CLSID registered;
    if (SUCCEEDED(CLSIDFromProgID(L"Excel.Application", &registered)) &&
        IsEqualCLSID(registered, kTestExcelServerClsid)) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "Excel.Application");
    }
    return S_OK;
}

extern "C" void tarvoTestExcelServerUse(const ServerFactory* factory) {
    chosenFactory() = factory != nullptr ? *factory : ServerFactory();
}
