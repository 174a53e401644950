#pragma once

#include "excel/AutomationValue.h"

namespace tarvo::test {

// Hands every call to the object behind it; a test server's objects that
// change one member answer the rest through it.
class PassingDispatch : public Dispatch {
  public:
    explicit PassingDispatch(AutomationObject inner) : inner_(std::move(inner)) {}

    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override {
        return inner_.get(id, args);
    }
    bool put(DispId id, const AutomationValue& value) override { return inner_.put(id, value); }
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override {
        return inner_.call(id, args);
    }
    std::shared_ptr<ConnectionPoint> findConnectionPoint(std::string_view interfaceId) override {
        return inner_.target()->findConnectionPoint(interfaceId);
    }

  protected:
    AutomationObject inner_;
};

}  // namespace tarvo::test
