#pragma once

#include <atomic>

#include "excel/AutomationValue.h"
#include "excel/ExcelMembers.h"

namespace tarvo {

// Receives the workbook's events for the client. Only BeforeClose matters: it
// means the operator closed the workbook in the spreadsheet program. A server
// may deliver events on a thread of its own, so the flag is atomic.
class WorkbookEventSink final : public AutomationEventSink {
  public:
    void invoke(DispId id) override {
        if (id == excel::kBeforeClose) {
            closedByUser_.store(true);
        }
    }

    bool closedByUser() const { return closedByUser_.load(); }
    void reset() { closedByUser_.store(false); }

  private:
    std::atomic<bool> closedByUser_{false};
};

}  // namespace tarvo
