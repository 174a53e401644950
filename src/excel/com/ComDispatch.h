#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <ocidl.h>

#include <map>
#include <memory>

#include "excel/AutomationValue.h"

namespace tarvo::com {

class ComEventSink;

// One object of an automation server reached through its IDispatch, by the
// numbers of its members. Holds one reference to the object.
class ComDispatch final : public Dispatch {
  public:
    // Takes over the caller's reference.
    explicit ComDispatch(IDispatch* object) : object_(object) {}
    ~ComDispatch() override { object_->Release(); }
    ComDispatch(const ComDispatch&) = delete;
    ComDispatch& operator=(const ComDispatch&) = delete;

    IDispatch* object() const { return object_; }

    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override;
    bool put(DispId id, const AutomationValue& value) override;
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override;
    std::shared_ptr<ConnectionPoint> findConnectionPoint(std::string_view interfaceId) override;

  private:
    std::optional<AutomationValue> invoke(DispId id, WORD flags,
                                          std::span<const AutomationValue> args);

    IDispatch* object_;
};

// The object behind a reference the caller owns; an empty one for null.
AutomationObject adoptDispatch(IDispatch* object);

// A COM connection point of one event interface. Each connected sink is
// cut loose when it is disconnected or this goes, so a server that calls a
// sink late reaches nothing of the client.
class ComConnectionPoint final : public ConnectionPoint {
  public:
    ComConnectionPoint(IConnectionPoint* point, const IID& events)
        : point_(point), events_(events) {}
    ~ComConnectionPoint() override;
    ComConnectionPoint(const ComConnectionPoint&) = delete;
    ComConnectionPoint& operator=(const ComConnectionPoint&) = delete;

    std::optional<std::uint32_t> advise(AutomationEventSink& sink) override;
    bool unadvise(std::uint32_t cookie) override;

  private:
    IConnectionPoint* point_;
    IID events_;
    std::map<DWORD, ComEventSink*> sinks_;
};

}  // namespace tarvo::com
