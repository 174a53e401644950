#include "ServedObject.h"

#include <olectl.h>

#include <optional>
#include <vector>

#include "excel/ExcelMembers.h"
#include "excel/com/ComVariant.h"

namespace tarvo::test {

namespace {

ArrivalWatch& arrivalWatch() {
    static ArrivalWatch watch;
    return watch;
}

IDispatch* exportServedObject(const AutomationObject& object) {
    return object.empty() ? nullptr : static_cast<IDispatch*>(new ServedObject(object));
}

// Hands an event to the client's sink the way Excel does: an Invoke by the
// event's DISPID; BeforeClose carries its Cancel flag by reference.
class ClientSink final : public AutomationEventSink {
  public:
    explicit ClientSink(IDispatch* sink) : sink_(sink) {}
    ~ClientSink() override { sink_->Release(); }
    ClientSink(const ClientSink&) = delete;
    ClientSink& operator=(const ClientSink&) = delete;

    void invoke(DispId id) override {
        VARIANT_BOOL cancel = VARIANT_FALSE;
        VARIANT argument;
        VariantInit(&argument);
        V_VT(&argument) = VT_BOOL | VT_BYREF;
        V_BOOLREF(&argument) = &cancel;
        DISPPARAMS parameters{&argument, nullptr, id == excel::kBeforeClose ? 1u : 0u, 0};
        sink_->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
    }

  private:
    IDispatch* sink_;
};

class ServedConnectionPoint final : public IConnectionPoint {
  public:
    ServedConnectionPoint(std::shared_ptr<ConnectionPoint> point, const IID& events,
                          IConnectionPointContainer* container)
        : point_(std::move(point)), events_(events), container_(container) {
        container_->AddRef();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IConnectionPoint)) {
            AddRef();
            *object = static_cast<IConnectionPoint*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* events) override {
        *events = events_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE
    GetConnectionPointContainer(IConnectionPointContainer** container) override {
        container_->AddRef();
        *container = container_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // Like Excel, it asks the sink for the event interface itself.
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        IDispatch* events = nullptr;
        if (sink == nullptr ||
            FAILED(sink->QueryInterface(events_, reinterpret_cast<void**>(&events)))) {
            return CONNECT_E_CANNOTCONNECT;
        }
        auto client = std::make_unique<ClientSink>(events);
        auto connected = point_->advise(*client);
        if (!connected) {
            return CONNECT_E_ADVISELIMIT;
        }
        *cookie = *connected;
        sinks_[*connected] = std::move(client);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        if (!point_->unadvise(cookie)) {
            return CONNECT_E_NOCONNECTION;
        }
        sinks_.erase(cookie);
        return S_OK;
    }

  private:
    // A sink still connected stays known to the object behind: it is kept
    // alive rather than left dangling there.
    ~ServedConnectionPoint() {
        for (auto& [cookie, sink] : sinks_) {
            sink.release();
        }
        container_->Release();
    }

    ULONG references_ = 1;
    std::shared_ptr<ConnectionPoint> point_;
    IID events_;
    IConnectionPointContainer* container_;
    std::map<DWORD, std::unique_ptr<ClientSink>> sinks_;
};

// The plain object's verb for a COM call; nullopt for flags a client of
// this program never sends.
std::optional<const char*> verbOf(WORD flags) {
    switch (flags) {
        case DISPATCH_METHOD:
            return "call";
        case DISPATCH_PROPERTYGET:
            return "get";
        case DISPATCH_PROPERTYPUT:
            return "put";
        default:
            return std::nullopt;
    }
}

bool namesArePlain(const DISPPARAMS& parameters, WORD flags) {
    if (flags != DISPATCH_PROPERTYPUT) {
        return parameters.cNamedArgs == 0;
    }
    // A property put names its one value DISPID_PROPERTYPUT, or servers refuse it.
    return parameters.cArgs == 1 && parameters.cNamedArgs == 1 &&
           parameters.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
}

HRESULT failed(EXCEPINFO* exception) {
    if (exception != nullptr) {
        *exception = EXCEPINFO{};
        exception->scode = E_FAIL;
    }
    return DISP_E_EXCEPTION;
}

}  // namespace

void watchArrivals(ArrivalWatch watch) {
    arrivalWatch() = std::move(watch);
}

HRESULT STDMETHODCALLTYPE ServedObject::QueryInterface(REFIID riid, void** object) {
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *object = static_cast<IDispatch*>(this);
    } else if (IsEqualIID(riid, IID_IConnectionPointContainer)) {
        *object = static_cast<IConnectionPointContainer*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG STDMETHODCALLTYPE ServedObject::Release() {
    const ULONG left = --references_;
    if (left == 0) {
        delete this;
    }
    return left;
}

HRESULT STDMETHODCALLTYPE ServedObject::GetTypeInfoCount(UINT* count) {
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ServedObject::Invoke(DISPID member, REFIID, LCID, WORD flags,
                                               DISPPARAMS* parameters, VARIANT* result,
                                               EXCEPINFO* exception, UINT*) {
    const auto verb = verbOf(flags);
    if (!verb) {
        return DISP_E_MEMBERNOTFOUND;
    }
    if (parameters == nullptr || !namesArePlain(*parameters, flags)) {
        return DISP_E_PARAMNOTFOUND;
    }
    if (arrivalWatch() && arrivalWatch()(member, flags, *parameters, result)) {
        return S_OK;
    }
    std::vector<AutomationValue> args;
    for (UINT i = parameters->cArgs; i > 0; --i) {
        auto value = com::fromVariant(parameters->rgvarg[i - 1]);
        if (!value) {
            return DISP_E_TYPEMISMATCH;
        }
        args.push_back(std::move(*value));
    }
    std::optional<AutomationValue> answer;
    if (flags == DISPATCH_PROPERTYPUT) {
        answer = object_.put(member, args[0]) ? std::optional(AutomationValue()) : std::nullopt;
    } else if (flags == DISPATCH_PROPERTYGET) {
        answer = object_.get(member, args);
    } else {
        answer = object_.call(member, args);
    }
    if (!answer) {
        return failed(exception);
    }
    if (result != nullptr && !com::toVariant(*answer, *result, exportServedObject)) {
        return failed(exception);
    }
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ServedObject::FindConnectionPoint(REFIID events,
                                                            IConnectionPoint** point) {
    *point = nullptr;
    wchar_t text[40];
    if (StringFromGUID2(events, text, 40) == 0 || object_.empty()) {
        return CONNECT_E_NOCONNECTION;
    }
    auto found = object_.target()->findConnectionPoint(com::ansiFromWide(text));
    if (!found) {
        return CONNECT_E_NOCONNECTION;
    }
    *point = new ServedConnectionPoint(std::move(found), events, this);
    return S_OK;
}

}  // namespace tarvo::test
