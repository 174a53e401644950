#include "excel/calc/CalcAutomationServer.h"

#include "excel/calc/CalcObjects.h"
#include "excel/calc/CalcStandby.h"

namespace tarvo {

namespace {

// No office, or one that never answered: to the client both mean that the
// server is not installed.
AutomationObject applicationOf(std::shared_ptr<calc::CalcSession> session) {
    return session ? AutomationObject(std::make_shared<calc::CalcApplication>(std::move(session)))
                   : AutomationObject();
}

}  // namespace

AutomationServerFactory makeCalcAutomationServer(CalcServerOptions options) {
    return [options] { return applicationOf(calc::CalcSession::start(options)); };
}

PreparedServer makePreparedCalcServer(CalcServerOptions options) {
    auto standby = std::make_shared<calc::CalcStandby>(std::move(options));
    return {[standby] { return applicationOf(standby->take()); },
            [standby] { standby->prepare(); }};
}

}  // namespace tarvo
