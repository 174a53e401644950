#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "excel/AutomationValue.h"

namespace tarvo::test {

// The class object of one class of a test automation server: each instance
// COM asks for is a served object over what `make` answers; an empty answer
// makes the creation fail. It lives as long as its server, uncounted.
class ServedClassFactory final : public IClassFactory {
  public:
    explicit ServedClassFactory(std::function<AutomationObject()> make) : make_(std::move(make)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

  private:
    std::function<AutomationObject()> make_;
};

// Where a class's code is: "InprocServer32" (a DLL) or "LocalServer32" (an .exe).
struct ClassServer {
    const char* kind;
    std::string path;
};

// Writes the class's key in HKEY_CLASSES_ROOT and, given a ProgID, points
// the ProgID at the class.
bool registerClass(const CLSID& clsid, const ClassServer& server, const char* progId);
// The ProgID goes only while it still names this class, never a real Excel.
void unregisterClass(const CLSID& clsid, const char* progId);

}  // namespace tarvo::test
