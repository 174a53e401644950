#pragma once

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <atomic>
#include <chrono>
#include <memory>
#include <vector>

#include "excel/calc/CalcAutomationServer.h"
#include "excel/calc/CallWatchdog.h"
#include "excel/calc/SofficeProcess.h"

namespace tarvo::calc {

class CalcDocument;

// Makes this process's UNO runtime and asks for the client's types, once. Runs
// before the first thread that speaks UNO starts: the generated type getters
// are not safe for two threads that meet a type for the first time together.
void prepareUno();

// Connects this process to the UNO runtime once, and to the office listening
// on `pipeName`, retrying until `deadline`. Null when it never answers.
css::uno::Reference<css::uno::XComponentContext> connectToOffice(
    const std::string& pipeName, std::chrono::steady_clock::time_point deadline,
    const std::function<bool()>& stillStarting);

// One running office and the connection to it. Every call into the office goes
// through run(), which bounds it in time and turns any failure into false:
// a server that hangs is killed at the deadline, one that died fails at once.
class CalcSession {
  public:
    // Starts the office and waits for its first answer; null when it is not
    // installed or does not answer within the start limit.
    static std::shared_ptr<CalcSession> start(const CalcServerOptions& options);

    // Only starts the office: throws when its program cannot be started.
    explicit CalcSession(const CalcServerOptions& options);
    ~CalcSession();
    CalcSession(const CalcSession&) = delete;
    CalcSession& operator=(const CalcSession&) = delete;

    enum class Limit { Call, File };

    // With `patient`, a call that waits for the operator (a question the
    // office shows) is not cut short while the office still answers.
    template <typename Body>
    bool run(Body&& body, Limit limit = Limit::Call, bool patient = false) {
        if (!alive()) {
            return false;
        }
        try {
            CallWatchdog::Watch watch(
                watchdog_, limit == Limit::File ? options_.fileDeadline : options_.callDeadline,
                patient ? std::function<bool()>([this] { return answering(); })
                        : std::function<bool()>());
            return body();
        } catch (...) {
        }
        // An object of the office may be gone while the office lives on: only a
        // deadline that passed or a process that ended means the server is lost.
        if (watchdog_.expired() || !process_.running()) {
            dead_ = true;
        }
        return false;
    }

    // Waits for the office's first answer, bounded by the start limit. An
    // office that does not answer is ended: the session is then dead.
    bool connect();
    // Loads the spreadsheet module with a hidden workbook that is closed at
    // once, so the first workbook the client asks for comes without that wait.
    void warmUp();
    // Ends a start in progress from another thread: connect() then fails.
    void abandon() { process_.kill(); }

    bool alive() const { return !dead_; }
    // Alive, and the office did not end on its own since.
    bool usable() { return alive() && process_.running(); }
    // A headless office has no windows to show, place or bring to front.
    bool headless() const { return headless_; }
    const css::uno::Reference<css::frame::XDesktop2>& desktop() const { return desktop_; }
    const css::uno::Reference<css::uno::XComponentContext>& context() const { return context_; }

    // Workbooks loaded through this session, closed ones included until pruned.
    std::vector<std::shared_ptr<CalcDocument>> openDocuments();
    void addDocument(std::shared_ptr<CalcDocument> document);

    // Application.Visible, kept so a workbook loaded later follows it.
    bool visible = false;
    // Application.DisplayAlerts: whether Quit lets the office ask the operator.
    bool displayAlerts = false;

    // Application.Quit. Closes the client's workbooks without saving. Asking
    // (displayAlerts), the office asks about the operator's own changed
    // documents and waits for the answer: false when the operator kept it.
    // Not asking, an office holding such a document is left running for the
    // operator. Otherwise the office ends: true when it is gone, whichever
    // way it went.
    bool quit();

  private:
    bool askToTerminate();
    bool holdsChangedDocuments();
    bool answering();
    void end();

    CalcServerOptions options_;
    bool headless_;
    SofficeProcess process_;
    CallWatchdog watchdog_;
    std::atomic<bool> dead_{false};
    css::uno::Reference<css::uno::XComponentContext> context_;
    css::uno::Reference<css::frame::XDesktop2> desktop_;
    std::vector<std::shared_ptr<CalcDocument>> documents_;
};

}  // namespace tarvo::calc
