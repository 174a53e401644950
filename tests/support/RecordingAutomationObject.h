#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "excel/AutomationValue.h"

namespace tarvo::test {

// The calls every object of one fake server made, in order, as lines like
// "Workbooks.call 0x2AA BSTR \"run.xls\", ERROR 0x80020004", and the calls
// chosen to fail, named by the line up to the arguments ("Workbooks.call 0x2AA").
struct AutomationLog {
    std::vector<std::string> calls;
    std::set<std::string> failing;
    bool everythingFails = false;
};

// A server object that answers by DISPID, records every call and fails the
// chosen ones. Unscripted gets and calls answer an empty value; puts succeed.
class RecordingAutomationObject final : public Dispatch {
  public:
    RecordingAutomationObject(std::string name, std::shared_ptr<AutomationLog> log);

    void answer(std::string_view kind, DispId id, AutomationValue value);
    void answerObject(std::string_view kind, DispId id,
                      const std::shared_ptr<RecordingAutomationObject>& object);
    // Step 7 of a start: no event interface at all, or one that refuses the sink.
    void setEventsMissing(bool missing) { eventsMissing_ = missing; }
    void setAdviseRefused(bool refused) { adviseRefused_ = refused; }
    // The sink last connected, null once disconnected.
    AutomationEventSink* sink() const { return sink_; }

    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override;
    bool put(DispId id, const AutomationValue& value) override;
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override;
    std::shared_ptr<ConnectionPoint> findConnectionPoint(std::string_view interfaceId) override;

    // Used by its connection point.
    std::optional<std::uint32_t> advise(AutomationEventSink& sink);
    bool unadvise(std::uint32_t cookie);

  private:
    std::optional<AutomationValue> record(std::string_view kind, DispId id,
                                          std::span<const AutomationValue> args);

    std::string name_;
    std::shared_ptr<AutomationLog> log_;
    std::map<std::string, AutomationValue> answers_;
    bool eventsMissing_ = false;
    bool adviseRefused_ = false;
    AutomationEventSink* sink_ = nullptr;
};

// The objects of one started spreadsheet server, wired as the client walks
// them: Application -> Workbooks -> Workbook -> Worksheets -> Worksheet -> Range,
// and Application -> ActiveWindow. An empty server: no workbook open yet, one
// sheet "Sheet1" in a new workbook.
class FakeExcel {
  public:
    FakeExcel();

    // What the client is given to start the server; counts the starts.
    std::function<AutomationObject()> factory();
    // A factory for a machine without the server.
    static std::function<AutomationObject()> missingServer();

    void fail(const std::string& call) { log_->failing.insert(call); }
    // The server died: every later call fails.
    void die() { log_->everythingFails = true; }
    // Every call answers again, as from a freshly started server.
    void heal() {
        log_->everythingFails = false;
        log_->failing.clear();
    }
    const std::vector<std::string>& calls() const { return log_->calls; }
    void clearCalls() { log_->calls.clear(); }
    // The operator closes the workbook in the spreadsheet program.
    void fireBeforeClose();
    int starts() const { return starts_; }

    std::shared_ptr<RecordingAutomationObject> application, workbooks, workbook, worksheets,
        worksheet, range, window;

  private:
    std::shared_ptr<AutomationLog> log_;
    int starts_ = 0;
};

}  // namespace tarvo::test
