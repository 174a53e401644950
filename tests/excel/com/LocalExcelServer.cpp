// The test automation server as a process of its own (started by COM with
// -Embedding; /RegServer and /UnregServer register it). It holds objects of
// its own in front of the test's: handing on the test's proxies would let COM
// give the client the test's objects themselves, and nothing would cross.
#include "LocalExcelServer.h"

#include <windows.h>
// After windows.h, which it needs.
#include <olectl.h>

#include <cstring>
#include <memory>
#include <string>

#include "CellRecord.h"
#include "EventTypeLibrary.h"
#include "PassingDispatch.h"
#include "ServerClass.h"
#include "excel/ExcelMembers.h"
#include "excel/com/ComVariant.h"

namespace tarvo::test {

namespace {

// What the test handed over: its starter of Applications, and its process,
// whose end ends the server even when it never let its objects go. Or the
// server's own fake, when it was asked to serve that instead.
AutomationObject starter;
HANDLE testProcess = nullptr;
std::unique_ptr<FakeExcel> ownExcel;

// Excel takes a moment to add a workbook and to quit: longer than a poll of
// tarvo's, so its timer is due while InitEXCEL and CloseEXCEL wait on COM.
constexpr DWORD kExcelBusyMs = 400;

// The served objects alive; the server ends with the last one. The test's
// starter goes meanwhile, while the test still takes calls in its release.
int liveObjects = 0;

class Lifetime {
  public:
    Lifetime() { ++liveObjects; }
    ~Lifetime() {
        if (--liveObjects == 0) {
            starter.release();
            PostQuitMessage(0);
        }
    }
    Lifetime(const Lifetime&) = delete;
    Lifetime& operator=(const Lifetime&) = delete;
};

// One object of the test process (or of the server's own fake), served as
// this process's own; every object it answers is relayed in turn.
class RelayedObject final : public PassingDispatch {
  public:
    explicit RelayedObject(AutomationObject target) : PassingDispatch(std::move(target)) {}

    static AutomationObject relay(AutomationObject target) {
        return target.empty()
                   ? target
                   : AutomationObject(std::make_shared<RelayedObject>(std::move(target)));
    }

    std::optional<AutomationValue> get(DispId id, std::span<const AutomationValue> args) override {
        if (id == kServerProcessId) {
            return AutomationValue::int32(static_cast<std::int32_t>(GetCurrentProcessId()));
        }
        return relayed(PassingDispatch::get(id, args));
    }
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override {
        if (ownExcel && (id == excel::kAdd || id == excel::kQuit)) {
            Sleep(kExcelBusyMs);
        }
        return relayed(PassingDispatch::call(id, args));
    }

  private:
    static std::optional<AutomationValue> relayed(std::optional<AutomationValue> answer) {
        if (answer && answer->kind() == AutomationKind::Object) {
            return AutomationValue::object(relay(answer->asObject()));
        }
        return answer;
    }

    Lifetime lifetime_;
};

class Control final : public Dispatch {
  public:
    std::optional<AutomationValue> get(DispId, std::span<const AutomationValue>) override {
        return std::nullopt;
    }
    bool put(DispId, const AutomationValue&) override { return false; }
    std::optional<AutomationValue> call(DispId id, std::span<const AutomationValue> args) override {
        if (id == kServeOwnWorkbook && args.size() == 1 &&
            args[0].kind() == AutomationKind::String && !ownExcel) {
            ownExcel = std::make_unique<FakeExcel>();
            recordCellsInto(*ownExcel, args[0].asString());
            return AutomationValue();
        }
        if (id != kServeApplications || args.size() != 2 ||
            args[0].kind() != AutomationKind::Object || !args[1].integer()) {
            return std::nullopt;
        }
        starter = args[0].asObject();
        if (testProcess == nullptr) {
            testProcess = OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(*args[1].integer()));
        }
        return AutomationValue();
    }
    std::shared_ptr<ConnectionPoint> findConnectionPoint(std::string_view) override {
        return nullptr;
    }

  private:
    Lifetime lifetime_;
};

ServedClassFactory applicationClass{[] {
    if (ownExcel) {
        return RelayedObject::relay(ownExcel->factory()());
    }
    const auto application = starter.callObject(kStartApplication);
    return application ? RelayedObject::relay(*application) : AutomationObject();
}};
ServedClassFactory controlClass{[] { return AutomationObject(std::make_shared<Control>()); }};

// A server nobody connects to within this time was started in vain.
constexpr DWORD kUnusedBoundMs = 30000;

void serve() {
    for (;;) {
        const DWORD watched = testProcess != nullptr ? 1 : 0;
        const DWORD woke =
            MsgWaitForMultipleObjects(watched, &testProcess, FALSE,
                                      liveObjects == 0 ? kUnusedBoundMs : INFINITE, QS_ALLINPUT);
        if (woke == WAIT_TIMEOUT || (watched == 1 && woke == WAIT_OBJECT_0)) {
            return;
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

int runServer() {
    if (FAILED(OleInitialize(nullptr))) {
        return 1;
    }
    DWORD applicationCookie = 0;
    DWORD controlCookie = 0;
    const bool registered =
        SUCCEEDED(CoRegisterClassObject(kLocalExcelServerClsid, &applicationClass,
                                        CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                        &applicationCookie)) &&
        SUCCEEDED(CoRegisterClassObject(kLocalServerControlClsid, &controlClass,
                                        CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &controlCookie));
    if (registered) {
        serve();
    }
    CoRevokeClassObject(applicationCookie);
    CoRevokeClassObject(controlCookie);
    OleUninitialize();
    return registered ? 0 : 1;
}

std::string exePath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length == 0 || length == MAX_PATH ? std::string() : std::string(path, length);
}

// The events' type library lies beside the server.
std::wstring libraryPath(const std::string& exe) {
    return com::wideFromAnsi(exe.substr(0, exe.size() - 3) + "tlb");
}

bool registerServer() {
    const std::string exe = exePath();
    if (exe.empty()) {
        return false;
    }
    const ClassServer server{"LocalServer32", "\"" + exe + "\""};
    return registerClass(kLocalExcelServerClsid, server, "Excel.Application") &&
           registerClass(kLocalServerControlClsid, server, nullptr) &&
           registerEventTypeLibrary(libraryPath(exe));
}

void unregisterServer() {
    unregisterClass(kLocalExcelServerClsid, "Excel.Application");
    unregisterClass(kLocalServerControlClsid, nullptr);
    const std::string exe = exePath();
    if (!exe.empty()) {
        unregisterEventTypeLibrary(libraryPath(exe));
    }
}

bool isOption(const char* argument, const char* name) {
    return (argument[0] == '/' || argument[0] == '-') && _stricmp(argument + 1, name) == 0;
}

}  // namespace

}  // namespace tarvo::test

using namespace tarvo::test;

int main(int argc, char** argv) {
    if (argc == 2 && isOption(argv[1], "Embedding")) {
        return runServer();
    }
    if (argc == 2 && isOption(argv[1], "RegServer")) {
        return registerServer() ? 0 : 1;
    }
    if (argc == 2 && isOption(argv[1], "UnregServer")) {
        unregisterServer();
        return 0;
    }
    return 2;
}
