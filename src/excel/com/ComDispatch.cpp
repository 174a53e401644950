#include "excel/com/ComDispatch.h"

#include <vector>

#include "excel/com/ComEventSink.h"
#include "excel/com/ComVariant.h"

namespace tarvo::com {

AutomationObject adoptDispatch(IDispatch* object) {
    if (object == nullptr) {
        return {};
    }
    return AutomationObject(std::make_shared<ComDispatch>(object));
}

namespace {

// A client passes only objects it got from COM.
IDispatch* exportClientObject(const AutomationObject& object) {
    auto* dispatch = dynamic_cast<ComDispatch*>(object.target());
    if (dispatch == nullptr) {
        return nullptr;
    }
    dispatch->object()->AddRef();
    return dispatch->object();
}

// The arguments as DISPPARAMS wants them: last argument first.
class Arguments {
  public:
    explicit Arguments(std::span<const AutomationValue> args) : values_(args.size()) {
        for (std::size_t i = 0; i < args.size(); ++i) {
            VARIANT& slot = values_[args.size() - 1 - i];
            VariantInit(&slot);
            complete_ = complete_ && toVariant(args[i], slot, exportClientObject);
        }
    }
    ~Arguments() {
        for (VARIANT& value : values_) {
            VariantClear(&value);
        }
    }
    Arguments(const Arguments&) = delete;
    Arguments& operator=(const Arguments&) = delete;

    bool complete() const { return complete_; }
    VARIANT* data() { return values_.empty() ? nullptr : values_.data(); }
    UINT size() const { return static_cast<UINT>(values_.size()); }

  private:
    std::vector<VARIANT> values_;
    bool complete_ = true;
};

void clearException(EXCEPINFO& exception) {
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
}

// Locale 0, as the dialog framework sends: Excel then reads texts and numbers
// the same way on every machine, whatever its language.
constexpr LCID kNeutralLocale = 0;

}  // namespace

std::optional<AutomationValue> ComDispatch::invoke(DispId id, WORD flags,
                                                   std::span<const AutomationValue> args) {
    Arguments values(args);
    if (!values.complete()) {
        return std::nullopt;
    }
    DISPID namedPut = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{values.data(), nullptr, values.size(), 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &namedPut;
        parameters.cNamedArgs = 1;
    }
    Variant result;
    EXCEPINFO exception{};
    UINT badArgument = 0;
    const HRESULT outcome = object_->Invoke(id, IID_NULL, kNeutralLocale, flags, &parameters,
                                            flags == DISPATCH_PROPERTYPUT ? nullptr : result.get(),
                                            &exception, &badArgument);
    clearException(exception);
    if (FAILED(outcome)) {
        return std::nullopt;
    }
    return fromVariant(*result);
}

std::optional<AutomationValue> ComDispatch::get(DispId id, std::span<const AutomationValue> args) {
    return invoke(id, DISPATCH_PROPERTYGET, args);
}

bool ComDispatch::put(DispId id, const AutomationValue& value) {
    return invoke(id, DISPATCH_PROPERTYPUT, std::span(&value, 1)).has_value();
}

std::optional<AutomationValue> ComDispatch::call(DispId id, std::span<const AutomationValue> args) {
    return invoke(id, DISPATCH_METHOD, args);
}

std::shared_ptr<ConnectionPoint> ComDispatch::findConnectionPoint(std::string_view interfaceId) {
    IID events;
    std::wstring text = wideFromAnsi(interfaceId);
    if (FAILED(IIDFromString(text.c_str(), &events))) {
        return nullptr;
    }
    IConnectionPointContainer* container = nullptr;
    if (FAILED(object_->QueryInterface(IID_IConnectionPointContainer,
                                       reinterpret_cast<void**>(&container)))) {
        return nullptr;
    }
    IConnectionPoint* point = nullptr;
    const HRESULT found = container->FindConnectionPoint(events, &point);
    container->Release();
    if (FAILED(found) || point == nullptr) {
        return nullptr;
    }
    return std::make_shared<ComConnectionPoint>(point, events);
}

ComConnectionPoint::~ComConnectionPoint() {
    for (auto& [cookie, sink] : sinks_) {
        sink->detach();
        sink->Release();
    }
    point_->Release();
}

std::optional<std::uint32_t> ComConnectionPoint::advise(AutomationEventSink& target) {
    auto* sink = new ComEventSink(target, events_);
    DWORD cookie = 0;
    if (FAILED(point_->Advise(sink, &cookie))) {
        sink->detach();
        sink->Release();
        return std::nullopt;
    }
    sinks_[cookie] = sink;
    return cookie;
}

// The sink is cut loose even when the server refuses: nothing it sends later
// may reach a client that believes it disconnected.
bool ComConnectionPoint::unadvise(std::uint32_t cookie) {
    const bool done = SUCCEEDED(point_->Unadvise(cookie));
    auto connected = sinks_.find(cookie);
    if (connected != sinks_.end()) {
        connected->second->detach();
        connected->second->Release();
        sinks_.erase(connected);
    }
    return done;
}

}  // namespace tarvo::com
