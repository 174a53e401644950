#pragma once

#include <windows.h>

#include "excel/AutomationValue.h"

namespace tarvo::com {

// The client's receiver of a server object's events as COM sees it: an
// IDispatch that hands each event's DISPID to the sink it was made for. It
// answers the event interface it was connected to as well as IUnknown and
// IDispatch, because a server asks for that interface before it connects.
// Its storage goes with its last reference; once detached it ignores events.
class ComEventSink final : public IDispatch {
  public:
    // Starts with one reference, the caller's.
    ComEventSink(AutomationEventSink& target, const IID& events)
        : target_(&target), events_(events) {}
    void detach() { target_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*,
                                     EXCEPINFO*, UINT*) override;

  private:
    ~ComEventSink() = default;

    ULONG references_ = 1;
    AutomationEventSink* target_;
    IID events_;
};

}  // namespace tarvo::com
