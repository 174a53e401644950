#include "excel/com/ComAutomation.h"

#include <windows.h>

#include <memory>
#include <utility>

#include "excel/com/ComDispatch.h"
#include "excel/com/ComVariant.h"
#include "res/Texts.h"

namespace tarvo {

namespace {

// OLE for the thread that starts the server, from the first start that needs
// it until the last factory goes.
class OleSession {
  public:
    OleSession() = default;
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() {
        if (initialised_) {
            OleUninitialize();
        }
    }

    // A failure is told each time, as each start that meets it fails.
    bool ready(MessageBoxes& messages) {
        if (!initialised_) {
            initialised_ = SUCCEEDED(OleInitialize(nullptr));
            if (!initialised_) {
                messages.show("Could not initialize COM services", text::kProgramName);
            }
        }
        return initialised_;
    }

  private:
    bool initialised_ = false;
};

AutomationObject startServer(const std::wstring& progId) {
    CLSID server;
    if (FAILED(CLSIDFromProgID(progId.c_str(), &server))) {
        return {};
    }
    IUnknown* instance = nullptr;
    if (FAILED(CoCreateInstance(server, nullptr, CLSCTX_ALL, IID_IUnknown,
                                reinterpret_cast<void**>(&instance)))) {
        return {};
    }
    IDispatch* application = nullptr;
    if (FAILED(OleRun(instance)) ||
        FAILED(instance->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&application)))) {
        application = nullptr;
    }
    instance->Release();
    return com::adoptDispatch(application);
}

}  // namespace

AutomationServerFactory makeComAutomation(MessageBoxes& messages, std::string progId) {
    auto session = std::make_shared<OleSession>();
    return [session, &messages, progId = com::wideFromAnsi(progId)] {
        if (!session->ready(messages)) {
            return AutomationObject();
        }
        return startServer(progId);
    };
}

}  // namespace tarvo
