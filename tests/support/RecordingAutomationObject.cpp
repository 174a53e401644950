#include "RecordingAutomationObject.h"

#include <cstdio>
#include <functional>

#include "excel/ExcelMembers.h"

namespace tarvo::test {

namespace {

std::string callKey(std::string_view object, std::string_view kind, DispId id) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%X", static_cast<unsigned>(id));
    return std::string(object) + "." + std::string(kind) + " " + number;
}

class RecordingConnectionPoint final : public ConnectionPoint {
  public:
    explicit RecordingConnectionPoint(RecordingAutomationObject& owner) : owner_(owner) {}
    std::optional<std::uint32_t> advise(AutomationEventSink& sink) override {
        return owner_.advise(sink);
    }
    bool unadvise(std::uint32_t cookie) override { return owner_.unadvise(cookie); }

  private:
    RecordingAutomationObject& owner_;
};

constexpr std::uint32_t kCookie = 7;

}  // namespace

RecordingAutomationObject::RecordingAutomationObject(std::string name,
                                                     std::shared_ptr<AutomationLog> log)
    : name_(std::move(name)), log_(std::move(log)) {}

void RecordingAutomationObject::answer(std::string_view kind, DispId id, AutomationValue value) {
    answers_[callKey(name_, kind, id)] = std::move(value);
}

void RecordingAutomationObject::answerObject(
    std::string_view kind, DispId id, const std::shared_ptr<RecordingAutomationObject>& object) {
    answer(kind, id, AutomationValue::object(AutomationObject(object)));
}

std::optional<AutomationValue> RecordingAutomationObject::record(
    std::string_view kind, DispId id, std::span<const AutomationValue> args) {
    const std::string key = callKey(name_, kind, id);
    std::string line = key;
    for (std::size_t i = 0; i < args.size(); ++i) {
        line += (i == 0 ? " " : ", ") + args[i].describe();
    }
    log_->calls.push_back(line);
    if (log_->everythingFails || log_->failing.count(key) != 0) {
        return std::nullopt;
    }
    auto answer = answers_.find(key);
    return answer == answers_.end() ? AutomationValue() : answer->second;
}

std::optional<AutomationValue> RecordingAutomationObject::get(
    DispId id, std::span<const AutomationValue> args) {
    return record("get", id, args);
}

bool RecordingAutomationObject::put(DispId id, const AutomationValue& value) {
    return record("put", id, std::span(&value, 1)).has_value();
}

std::optional<AutomationValue> RecordingAutomationObject::call(
    DispId id, std::span<const AutomationValue> args) {
    return record("call", id, args);
}

std::shared_ptr<ConnectionPoint> RecordingAutomationObject::findConnectionPoint(
    std::string_view interfaceId) {
    log_->calls.push_back(name_ + ".findConnectionPoint " + std::string(interfaceId));
    if (eventsMissing_ || log_->everythingFails) {
        return nullptr;
    }
    return std::make_shared<RecordingConnectionPoint>(*this);
}

std::optional<std::uint32_t> RecordingAutomationObject::advise(AutomationEventSink& sink) {
    log_->calls.push_back(name_ + ".advise");
    if (adviseRefused_ || log_->everythingFails) {
        return std::nullopt;
    }
    sink_ = &sink;
    return kCookie;
}

bool RecordingAutomationObject::unadvise(std::uint32_t cookie) {
    log_->calls.push_back(name_ + ".unadvise " + std::to_string(cookie));
    if (log_->everythingFails || cookie != kCookie) {
        return false;
    }
    sink_ = nullptr;
    return true;
}

FakeExcel::FakeExcel() : log_(std::make_shared<AutomationLog>()) {
    auto make = [this](const char* name) {
        return std::make_shared<RecordingAutomationObject>(name, log_);
    };
    application = make("Application");
    workbooks = make("Workbooks");
    workbook = make("Workbook");
    worksheets = make("Worksheets");
    worksheet = make("Worksheet");
    range = make("Range");
    window = make("Window");

    using namespace excel;
    application->answerObject("get", kWorkbooks, workbooks);
    application->answerObject("get", kActiveWindow, window);
    workbooks->answer("get", kCount, AutomationValue::int32(0));
    workbooks->answerObject("call", kAdd, workbook);
    workbooks->answerObject("get", kItem, workbook);
    workbooks->answerObject("call", kOpen, workbook);
    workbook->answerObject("get", kWorksheets, worksheets);
    worksheets->answer("get", kCount, AutomationValue::int32(1));
    worksheets->answerObject("get", kItem, worksheet);
    worksheets->answerObject("call", kAdd, worksheet);
    worksheet->answer("get", kName, AutomationValue::string("Sheet1"));
    worksheet->answerObject("get", kRange, range);
}

std::function<AutomationObject()> FakeExcel::factory() {
    return [this] {
        ++starts_;
        return AutomationObject(application);
    };
}

std::function<AutomationObject()> FakeExcel::missingServer() {
    return [] { return AutomationObject(); };
}

void FakeExcel::fireBeforeClose() {
    if (workbook->sink() != nullptr) {
        workbook->sink()->invoke(excel::kBeforeClose);
    }
}

}  // namespace tarvo::test
