#include "excel/calc/CalcSession.h"

#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/ConnectionSetupException.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XEnumeration.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <com/sun/star/util/XModifiable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <csignal>
#include <filesystem>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "excel/calc/CalcDocument.h"
#include "excel/calc/UnoSupport.h"

namespace tarvo::calc {

namespace {

// Without the bootstrap file the runtime cannot find the type libraries and
// creating the desktop crashes.
css::uno::Reference<css::uno::XComponentContext> localContext() {
    static std::once_flag once;
    static css::uno::Reference<css::uno::XComponentContext> context;
    std::call_once(once, [] {
        rtl::Bootstrap::set("URE_BOOTSTRAP",
                            "vnd.sun.star.pathname:/usr/lib/libreoffice/program/fundamentalrc");
        context = cppu::defaultBootstrap_InitialComponentContext();
        resolveClientTypes();
    });
    return context;
}

bool displayAvailable() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 != nullptr && *x11 != '\0') || (wayland != nullptr && *wayland != '\0');
}

// The office shows windows through a plug-in of its own; the "nogui" packages
// have none, and such an office crashes when asked to bring a window to front.
bool officeHasWindowPlugin(const std::filesystem::path& programFolder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(programFolder, error)) {
        if (entry.path().filename().string().starts_with("libvclplug_")) {
            return true;
        }
    }
    return false;
}

bool runHeadless(const CalcServerOptions& options) {
    return options.headless.value_or(!displayAvailable() ||
                                     !officeHasWindowPlugin(options.office.parent_path()));
}

}  // namespace

void prepareUno() {
    try {
        localContext();
    } catch (...) {
        // Tried again, and told, by the first connection.
    }
}

// The office's pipe can close under any write (an office that dies, or one
// that hangs up while it comes up): the write must fail and the call with it,
// rather than the signal ending the program with the operator's readings.
namespace {
void ignoreBrokenPipes() {
    static std::once_flag once;
    std::call_once(once, [] { std::signal(SIGPIPE, SIG_IGN); });
}
}  // namespace

css::uno::Reference<css::uno::XComponentContext> connectToOffice(
    const std::string& pipeName, std::chrono::steady_clock::time_point deadline,
    const std::function<bool()>& stillStarting) {
    ignoreBrokenPipes();
    auto resolver = css::bridge::UnoUrlResolver::create(localContext());
    const rtl::OUString url =
        toOUString("uno:pipe,name=" + pipeName + ";urp;StarOffice.ComponentContext");
    // The office needs a second or two before it listens.
    while (std::chrono::steady_clock::now() < deadline && stillStarting()) {
        try {
            css::uno::Reference<css::uno::XComponentContext> remote(resolver->resolve(url),
                                                                    css::uno::UNO_QUERY);
            if (remote.is()) {
                return remote;
            }
        } catch (const css::connection::NoConnectException&) {
        } catch (const css::connection::ConnectionSetupException&) {
            // An office still coming up may drop the first connection.
        } catch (const css::uno::RuntimeException&) {
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return {};
}

std::shared_ptr<CalcSession> CalcSession::start(const CalcServerOptions& options) {
    try {
        prepareUno();
        auto session = std::make_shared<CalcSession>(options);
        if (session->connect()) {
            return session;
        }
    } catch (...) {
    }
    return nullptr;
}

CalcSession::CalcSession(const CalcServerOptions& options)
    : options_(options),
      headless_(runHeadless(options_)),
      process_({options_.office, options_.pipeName, headless_}),
      watchdog_([this] { process_.kill(); }) {}

// One limit from starting the office to its first answer: an office that
// opened its pipe and then stopped or went mute would hold the resolve, or
// the first call, for ever; the watchdog ends it, which fails the call.
bool CalcSession::connect() {
    try {
        CallWatchdog::Watch limit(watchdog_, options_.startDeadline);
        context_ = connectToOffice(process_.pipeName(),
                                   std::chrono::steady_clock::now() + options_.startDeadline,
                                   [this] { return process_.running(); });
        if (context_.is()) {
            desktop_ = css::frame::Desktop::create(context_);
        }
    } catch (...) {
        desktop_.clear();
    }
    if (desktop_.is() && !watchdog_.expired()) {
        return true;
    }
    dead_ = true;
    process_.stop();
    return false;
}

void CalcSession::warmUp() {
    run([&] {
        auto component =
            desktop_->loadComponentFromURL("private:factory/scalc", "_blank", 0,
                                           properties({property("Hidden", css::uno::Any(true))}));
        css::uno::Reference<css::util::XCloseable> closeable(component, css::uno::UNO_QUERY);
        if (closeable.is()) {
            closeable->close(true);
        }
        return true;
    });
}

// The program's end asks nothing, as a client that never turned the alerts on.
CalcSession::~CalcSession() {
    // A session whose start was cut short has nothing to quit.
    if (desktop_.is() && process_.running()) {
        displayAlerts = false;
        quit();
    }
    process_.stop();
}

std::vector<std::shared_ptr<CalcDocument>> CalcSession::openDocuments() {
    std::erase_if(documents_, [](const auto& document) { return document->closed(); });
    return documents_;
}

void CalcSession::addDocument(std::shared_ptr<CalcDocument> document) {
    documents_.push_back(std::move(document));
}

bool CalcSession::quit() {
    for (const auto& document : openDocuments()) {
        document->discard(*this);
    }
    documents_.clear();
    if (alive() && displayAlerts) {
        if (!askToTerminate() && alive() && process_.running()) {
            return false;
        }
    } else if (alive() && holdsChangedDocuments()) {
        dead_ = true;
        process_.release();
        return true;
    } else if (alive()) {
        // The office may die before its answer arrives: that is what was asked for.
        run([&] {
            desktop_->terminate();
            return true;
        });
    }
    end();
    return true;
}

bool CalcSession::askToTerminate() {
    bool agreed = false;
    run(
        [&] {
            agreed = desktop_->terminate();
            return true;
        },
        Limit::Call, true);
    return agreed;
}

// Every workbook of the client is closed by now: what is left is the operator's.
bool CalcSession::holdsChangedDocuments() {
    bool changed = false;
    run([&] {
        auto components = desktop_->getComponents()->createEnumeration();
        while (components->hasMoreElements() && !changed) {
            css::uno::Reference<css::util::XModifiable> document(components->nextElement(),
                                                                 css::uno::UNO_QUERY);
            changed = document.is() && document->isModified();
        }
        return true;
    });
    return changed;
}

// Asked on the watchdog's thread while a call waits. The desktop answers only
// when the office's main loop runs, as it does under a question; an office
// that does not answer within the call limit is hung, and is ended so that
// this question returns too.
bool CalcSession::answering() {
    auto answer = std::async(std::launch::async, [this] {
        try {
            desktop_->getCurrentComponent();
            return true;
        } catch (...) {
            return false;
        }
    });
    if (answer.wait_for(options_.callDeadline) == std::future_status::ready) {
        return answer.get();
    }
    process_.kill();
    return false;
}

void CalcSession::end() {
    dead_ = true;
    if (!process_.waitForExit(options_.quitDeadline)) {
        process_.stop();
    }
}

}  // namespace tarvo::calc
