#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace tarvo {

// Number of an automation member as the server's type library gives it.
using DispId = std::int32_t;

class AutomationValue;
class Dispatch;

// Owning reference to one object of an automation server. It may be empty;
// assigning another object releases the previous one. Every call on an empty
// reference fails, so a stale handle can never reach the server.
class AutomationObject {
  public:
    AutomationObject() = default;
    explicit AutomationObject(std::shared_ptr<Dispatch> target) : target_(std::move(target)) {}

    bool empty() const { return target_ == nullptr; }
    explicit operator bool() const { return !empty(); }
    void release() { target_.reset(); }
    Dispatch* target() const { return target_.get(); }

    // A failed call (an error from the server or an exception while calling)
    // answers nullopt / false.
    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args = {}) const;
    bool put(DispId id, const AutomationValue& value) const;
    std::optional<AutomationValue> call(DispId id,
                                        std::span<const AutomationValue> args = {}) const;

    // The same, for members whose result is an object or a count; a result of
    // another kind is a failure.
    std::optional<AutomationObject> getObject(DispId id,
                                              std::span<const AutomationValue> args = {}) const;
    std::optional<AutomationObject> callObject(DispId id,
                                               std::span<const AutomationValue> args = {}) const;
    std::optional<std::int32_t> getInteger(DispId id) const;

  private:
    std::shared_ptr<Dispatch> target_;
};

enum class AutomationKind { Empty, Error, Int16, Int32, Double, Bool, String, Object };

// What travels to and from the server: the kinds of an automation VARIANT that
// this program uses. Strings hold the program's 8-bit text; the server turns
// them into its own character set.
class AutomationValue {
  public:
    AutomationValue() = default;

    static AutomationValue error(std::uint32_t code);
    static AutomationValue int16(std::int16_t value);
    static AutomationValue int32(std::int32_t value);
    static AutomationValue real(double value);
    static AutomationValue boolean(bool value);
    static AutomationValue string(std::string value);
    static AutomationValue object(AutomationObject value);

    AutomationKind kind() const { return static_cast<AutomationKind>(value_.index()); }
    bool isEmpty() const { return kind() == AutomationKind::Empty; }

    std::uint32_t errorCode() const;
    std::int16_t asInt16() const;
    std::int32_t asInt32() const;
    double asReal() const;
    bool asBool() const;
    const std::string& asString() const;
    const AutomationObject& asObject() const;

    // Either integer kind, widened; nullopt for any other kind.
    std::optional<std::int32_t> integer() const;

    // "I4 12", "BSTR \"A1\"", "ERROR 0x80020004": for call logs and test messages.
    std::string describe() const;

  private:
    struct ErrorCode {
        std::uint32_t code;
    };
    using Storage = std::variant<std::monostate, ErrorCode, std::int16_t, std::int32_t, double,
                                 bool, std::string, AutomationObject>;
    // Built in place: moving a whole variant trips GCC's uninitialised-use
    // analysis under the sanitizers.
    template <typename T, typename Argument>
    AutomationValue(std::in_place_type_t<T> kind, Argument&& argument)
        : value_(kind, std::forward<Argument>(argument)) {}

    Storage value_;
};

// Receives the events of a server object it was connected to.
class AutomationEventSink {
  public:
    virtual ~AutomationEventSink() = default;
    virtual void invoke(DispId id) = 0;
};

// Where a sink is attached to one event interface of a server object.
class ConnectionPoint {
  public:
    virtual ~ConnectionPoint() = default;
    // The cookie of the connection, nullopt when the server refused it.
    virtual std::optional<std::uint32_t> advise(AutomationEventSink& sink) = 0;
    virtual bool unadvise(std::uint32_t cookie) = 0;
};

// One object of an automation server, reached by the numbers of its members.
// Implementations answer nullopt / false for a failed call and never throw.
class Dispatch {
  public:
    virtual ~Dispatch() = default;
    virtual std::optional<AutomationValue> get(DispId id,
                                               std::span<const AutomationValue> args) = 0;
    virtual bool put(DispId id, const AutomationValue& value) = 0;
    virtual std::optional<AutomationValue> call(DispId id,
                                                std::span<const AutomationValue> args) = 0;
    // The connection point of the event interface `interfaceId`; null when the
    // object has no events or not that interface.
    virtual std::shared_ptr<ConnectionPoint> findConnectionPoint(std::string_view interfaceId) = 0;
};

}  // namespace tarvo
