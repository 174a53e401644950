#include "excel/AutomationValue.h"

#include <cstdio>
#include <stdexcept>

namespace tarvo {

namespace {

// A server that throws is a server whose call failed: nothing crosses the client.
template <typename Call>
auto guarded(Call&& call) -> decltype(call()) {
    try {
        return call();
    } catch (...) {
        return {};
    }
}

}  // namespace

std::optional<AutomationValue> AutomationObject::get(DispId id,
                                                     std::span<const AutomationValue> args) const {
    if (!target_) {
        return std::nullopt;
    }
    return guarded([&] { return target_->get(id, args); });
}

bool AutomationObject::put(DispId id, const AutomationValue& value) const {
    if (!target_) {
        return false;
    }
    return guarded([&] { return target_->put(id, value); });
}

std::optional<AutomationValue> AutomationObject::call(DispId id,
                                                      std::span<const AutomationValue> args) const {
    if (!target_) {
        return std::nullopt;
    }
    return guarded([&] { return target_->call(id, args); });
}

namespace {

std::optional<AutomationObject> objectOf(const std::optional<AutomationValue>& value) {
    if (!value || value->kind() != AutomationKind::Object || value->asObject().empty()) {
        return std::nullopt;
    }
    return value->asObject();
}

}  // namespace

std::optional<AutomationObject> AutomationObject::getObject(
    DispId id, std::span<const AutomationValue> args) const {
    return objectOf(get(id, args));
}

std::optional<AutomationObject> AutomationObject::callObject(
    DispId id, std::span<const AutomationValue> args) const {
    return objectOf(call(id, args));
}

std::optional<std::int32_t> AutomationObject::getInteger(DispId id) const {
    auto value = get(id);
    if (!value) {
        return std::nullopt;
    }
    return value->integer();
}

AutomationValue AutomationValue::error(std::uint32_t code) {
    return AutomationValue(std::in_place_type<ErrorCode>, ErrorCode{code});
}
AutomationValue AutomationValue::int16(std::int16_t value) {
    return AutomationValue(std::in_place_type<std::int16_t>, value);
}
AutomationValue AutomationValue::int32(std::int32_t value) {
    return AutomationValue(std::in_place_type<std::int32_t>, value);
}
AutomationValue AutomationValue::real(double value) {
    return AutomationValue(std::in_place_type<double>, value);
}
AutomationValue AutomationValue::boolean(bool value) {
    return AutomationValue(std::in_place_type<bool>, value);
}
AutomationValue AutomationValue::string(std::string value) {
    return AutomationValue(std::in_place_type<std::string>, std::move(value));
}
AutomationValue AutomationValue::object(AutomationObject value) {
    return AutomationValue(std::in_place_type<AutomationObject>, std::move(value));
}

// Reading a value as the wrong kind is a programming error, not a server failure.
std::uint32_t AutomationValue::errorCode() const {
    return std::get<ErrorCode>(value_).code;
}
std::int16_t AutomationValue::asInt16() const {
    return std::get<std::int16_t>(value_);
}
std::int32_t AutomationValue::asInt32() const {
    return std::get<std::int32_t>(value_);
}
double AutomationValue::asReal() const {
    return std::get<double>(value_);
}
bool AutomationValue::asBool() const {
    return std::get<bool>(value_);
}
const std::string& AutomationValue::asString() const {
    return std::get<std::string>(value_);
}
const AutomationObject& AutomationValue::asObject() const {
    return std::get<AutomationObject>(value_);
}

std::optional<std::int32_t> AutomationValue::integer() const {
    if (kind() == AutomationKind::Int16) {
        return asInt16();
    }
    if (kind() == AutomationKind::Int32) {
        return asInt32();
    }
    return std::nullopt;
}

std::string AutomationValue::describe() const {
    char text[64];
    switch (kind()) {
        case AutomationKind::Empty:
            return "EMPTY";
        case AutomationKind::Error:
            std::snprintf(text, sizeof text, "ERROR 0x%08X", static_cast<unsigned>(errorCode()));
            return text;
        case AutomationKind::Int16:
            return "I2 " + std::to_string(asInt16());
        case AutomationKind::Int32:
            return "I4 " + std::to_string(asInt32());
        case AutomationKind::Double:
            std::snprintf(text, sizeof text, "R8 %g", asReal());
            return text;
        case AutomationKind::Bool:
            return asBool() ? "BOOL true" : "BOOL false";
        case AutomationKind::String:
            return "BSTR \"" + asString() + "\"";
        case AutomationKind::Object:
            return asObject().empty() ? "DISPATCH null" : "DISPATCH";
    }
    return "?";
}

}  // namespace tarvo
