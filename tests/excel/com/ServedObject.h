#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <ocidl.h>

#include <functional>
#include <map>
#include <memory>

#include "excel/AutomationValue.h"

namespace tarvo::test {

// A call as COM delivered it to the server, before the server decodes it: the
// member, the flags and the VARIANTs as they arrived (in reverse order). A
// watch that answers true has answered the call itself into the result.
using ArrivalWatch =
    std::function<bool(DISPID member, WORD flags, const DISPPARAMS& parameters, VARIANT* result)>;

// Every object this module serves shows each call to the watch first; an
// empty watch ends the watching.
void watchArrivals(ArrivalWatch watch);

// One object of the test server as COM clients see it: an IDispatch that
// decodes each Invoke (its flags, its named argument, its VARIANTs in
// reverse order) and hands it to the plain object behind it, and a
// connection-point container for that object's events.
class ServedObject final : public IDispatch, public IConnectionPointContainer {
  public:
    // Starts with one reference, the caller's.
    explicit ServedObject(AutomationObject object) : object_(std::move(object)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override;

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* badArgument) override;

    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID events, IConnectionPoint** point) override;

  private:
    ~ServedObject() = default;

    ULONG references_ = 1;
    AutomationObject object_;
};

}  // namespace tarvo::test
