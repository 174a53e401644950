#include "ServerClass.h"

#include <cstring>

#include "ServedObject.h"

namespace tarvo::test {

namespace {

std::string clsidText(const CLSID& clsid) {
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
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

HRESULT STDMETHODCALLTYPE ServedClassFactory::QueryInterface(REFIID riid, void** object) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE ServedClassFactory::CreateInstance(IUnknown* outer, REFIID riid,
                                                             void** object) {
    *object = nullptr;
    if (outer != nullptr) {
        return CLASS_E_NOAGGREGATION;
    }
    AutomationObject made = make_ ? make_() : AutomationObject();
    if (made.empty()) {
        return E_FAIL;
    }
    auto* served = new ServedObject(std::move(made));
    const HRESULT answer = served->QueryInterface(riid, object);
    served->Release();
    return answer;
}

bool registerClass(const CLSID& clsid, const ClassServer& server, const char* progId) {
    const std::string clsidName = clsidText(clsid);
    const std::string classKey = "CLSID\\" + clsidName;
    const std::string serverKey = classKey + "\\" + server.kind;
    bool done = setValue(classKey, nullptr, "tarvo test automation server") &&
                setValue(serverKey, nullptr, server.path);
    // An in-process server lives in its client's apartment.
    if (std::strcmp(server.kind, "InprocServer32") == 0) {
        done = done && setValue(serverKey, "ThreadingModel", "Apartment");
    }
    if (progId != nullptr) {
        done = done && setValue(classKey + "\\ProgID", nullptr, progId) &&
               setValue(progId, nullptr, "tarvo test automation server") &&
               setValue(std::string(progId) + "\\CLSID", nullptr, clsidName);
    }
    return done;
}

void unregisterClass(const CLSID& clsid, const char* progId) {
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ("CLSID\\" + clsidText(clsid)).c_str());
    if (progId == nullptr) {
        return;
    }
    CLSID registered;
    const std::wstring wideProgId(progId, progId + std::strlen(progId));
    if (SUCCEEDED(CLSIDFromProgID(wideProgId.c_str(), &registered)) &&
        IsEqualCLSID(registered, clsid)) {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, progId);
    }
}

}  // namespace tarvo::test
