#include "excel/calc/CalcAutomationServer.h"

#include "excel/calc/CalcObjects.h"

namespace tarvo {

AutomationServerFactory makeCalcAutomationServer(CalcServerOptions options) {
    return [options]() -> AutomationObject {
        try {
            auto session = std::make_shared<calc::CalcSession>(options);
            return AutomationObject(std::make_shared<calc::CalcApplication>(std::move(session)));
        } catch (...) {
            // No office, or one that never answered: to the client both mean
            // that the server is not installed.
            return {};
        }
    };
}

}  // namespace tarvo
