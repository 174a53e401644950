#include "excel/com/ComEventSink.h"

namespace tarvo::com {

HRESULT STDMETHODCALLTYPE ComEventSink::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) ||
        IsEqualIID(riid, events_)) {
        AddRef();
        *object = static_cast<IDispatch*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ComEventSink::AddRef() {
    return ++references_;
}

ULONG STDMETHODCALLTYPE ComEventSink::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT STDMETHODCALLTYPE ComEventSink::GetTypeInfoCount(UINT* count) {
    if (count != nullptr) {
        *count = 0;
    }
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ComEventSink::GetTypeInfo(UINT, LCID, ITypeInfo**) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ComEventSink::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ComEventSink::Invoke(DISPID member, REFIID, LCID, WORD, DISPPARAMS*,
                                               VARIANT*, EXCEPINFO*, UINT*) {
    if (target_ != nullptr) {
        target_->invoke(member);
    }
    return S_OK;
}

}  // namespace tarvo::com
