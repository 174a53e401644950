// The real tarvo.exe under wine, against the densitometer on COM1 (the
// simulator) with the Excel dialog open on the test automation server that
// runs as a process of its own, as Excel does, and records every cell it is
// given; driven from this second program as an operator would, for some
// minutes, closing the sheet and starting it again every half minute while
// the readings come. Then the simulator's log, the table as it showed each
// reading, the journal and every write of the server's record are compared
// reading by reading and one summary line is printed.
// Usage: soak_win MINUTES TARVO-EXE SIMULATOR-LOG CELL-RECORD PROBE-DLL
// (Windows paths; see scripts/soak).
#include <windows.h>
// After windows.h, which they need.
#include <tlhelp32.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <thread>
#include <vector>

#include "GuiDriver.h"
#include "LocalExcelServer.h"
#include "SoakCheck.h"
#include "TestExcelServer.h"
#include "excel/com/ComDispatch.h"
#include "res/ControlIds.h"

namespace tarvo::soak {
namespace {

using test::milliseconds;

constexpr milliseconds kWindowDeadline{30000};
constexpr milliseconds kStartDeadline{120000};
// How often the sheet is closed and started again while readings come, and
// for how long it stays closed.
constexpr ULONGLONG kCycleEveryMs = 30000;
constexpr ULONGLONG kClosedForMs = 3000;
constexpr std::size_t kWarmUp = 20;
constexpr int kColumns = 10;

std::string environment(const char* name) {
    char value[MAX_PATH + 1] = {};
    const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? value : "";
}

// Tarvo.ini as the program finds it under %APPDATA%: the densitometer on
// COM1, and every table column going into the sheet, so comments and times
// are compared too.
void writeSettings() {
    const std::string folder = environment("APPDATA") + "\\tarvo";
    CreateDirectoryA(folder.c_str(), nullptr);
    std::ofstream(folder + "\\Tarvo.ini", std::ios::binary)
        << "[Generic]\r\nCOMMNO=1\r\nBEEP=0\r\n[ExcelAuto]\r\nLength1=10\r\n";
}

std::string journalPath() {
    return environment("LOCALAPPDATA") + "\\tarvo\\journal";
}

// What the system tells of tarvo's process, read from this one: its handles,
// its GUI objects, its processor time.
class ProgramMeter {
  public:
    ProgramMeter(DWORD processId, std::string probeDll)
        : process_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                   PROCESS_VM_OPERATION | PROCESS_CREATE_THREAD |
                                   PROCESS_DUP_HANDLE,
                               FALSE, processId)),
          processId_(processId),
          probeDll_(std::move(probeDll)) {}
    ~ProgramMeter() {
        if (process_)
            CloseHandle(process_);
    }
    ProgramMeter(const ProgramMeter&) = delete;
    ProgramMeter& operator=(const ProgramMeter&) = delete;

    std::string handles() const {
        DWORD count = 0;
        if (!GetProcessHandleCount(process_, &count))
            return "n/a (error " + std::to_string(GetLastError()) + ")";
        return std::to_string(count);
    }

    // The highest slot of tarvo's handle table a batch of new handles takes,
    // lent to it from here and taken back: wine's server hands out the lowest
    // free slot first, so it climbs only while handles stay behind.
    std::string handleSlot() const {
        HANDLE event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::vector<HANDLE> lent(64);
        UINT_PTR highest = 0;
        for (HANDLE& there : lent) {
            if (DuplicateHandle(GetCurrentProcess(), event, process_, &there, 0, FALSE,
                                DUPLICATE_SAME_ACCESS))
                highest = std::max(highest, reinterpret_cast<UINT_PTR>(there));
        }
        // Taken back into this process to close: wine closes nothing for a
        // duplication that names no target.
        for (HANDLE there : lent) {
            HANDLE back = nullptr;
            if (there && DuplicateHandle(process_, there, GetCurrentProcess(), &back, 0, FALSE,
                                         DUPLICATE_CLOSE_SOURCE | DUPLICATE_SAME_ACCESS))
                CloseHandle(back);
        }
        CloseHandle(event);
        return highest ? std::to_string(highest / 4)
                       : "n/a (DuplicateHandle: error " + std::to_string(GetLastError()) + ")";
    }

    // What GetGuiResources answers, with its error when it answers 0.
    std::string guiResources(DWORD kind) const {
        SetLastError(0);
        const DWORD count = GetGuiResources(process_, kind);
        const DWORD error = GetLastError();
        if (count == 0 && error != 0)
            return "0 (error " + std::to_string(error) + ")";
        return std::to_string(count);
    }

    // The highest GDI handle slot a batch of new objects takes in tarvo's
    // process, where wine keeps its GDI handle table: a thread started there
    // on the probe of the in-process test server, loaded into tarvo for it.
    std::string gdiSlot() const {
        const auto probe = remoteProbe();
        if (!probe)
            return "n/a (" + problem_ + ")";
        HANDLE thread = CreateRemoteThread(process_, nullptr, 0, *probe, nullptr, 0, nullptr);
        if (!thread)
            return "n/a (CreateRemoteThread: error " + std::to_string(GetLastError()) + ")";
        DWORD slot = 0;
        const bool ended =
            WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &slot);
        CloseHandle(thread);
        return ended ? std::to_string(slot) : "n/a (the probe did not end)";
    }

    // Loads the probe before the readings come: loading a DLL holds tarvo's
    // thread longer than a reading takes to come.
    bool loadProbe() const { return loadedProbe().has_value(); }

    double cpuSeconds() const {
        FILETIME created, exited, kernel, user;
        if (!GetProcessTimes(process_, &created, &exited, &kernel, &user))
            return 0;
        auto seconds = [](const FILETIME& time) {
            return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                                       time.dwLowDateTime) /
                   1e7;
        };
        return seconds(kernel) + seconds(user);
    }

  private:
    // The probe's address in tarvo: its offset in the probe's DLL as loaded
    // here, from where the DLL lies there.
    std::optional<LPTHREAD_START_ROUTINE> remoteProbe() const {
        const auto there = loadedProbe();
        HMODULE here = there ? LoadLibraryA(there->szExePath) : nullptr;
        FARPROC probe = here ? GetProcAddress(here, "tarvoTestGdiObjects") : nullptr;
        if (!probe) {
            problem_ = !there ? "the probe does not load in tarvo" : "the DLL has no probe";
            return std::nullopt;
        }
        return addressThere(*there, reinterpret_cast<BYTE*>(probe) - reinterpret_cast<BYTE*>(here));
    }

    static LPTHREAD_START_ROUTINE addressThere(const MODULEENTRY32& module, std::ptrdiff_t offset) {
        return reinterpret_cast<LPTHREAD_START_ROUTINE>(module.modBaseAddr + offset);
    }

    // The probe's DLL in tarvo, loaded there the first time: a thread started
    // there on LoadLibraryA, found where the module that holds it lies there.
    std::optional<MODULEENTRY32> loadedProbe() const {
        if (auto loaded = moduleThere(test::kTestExcelServerDll))
            return loaded;
        const FARPROC load = GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryA");
        HMODULE holder = nullptr;
        char holderPath[MAX_PATH] = {};
        if (!load ||
            !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                    GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                reinterpret_cast<LPCSTR>(load), &holder) ||
            !GetModuleFileNameA(holder, holderPath, MAX_PATH))
            return std::nullopt;
        const char* holderName = std::strrchr(holderPath, '\\');
        const auto holderThere = moduleThere(holderName ? holderName + 1 : holderPath);
        test::LentMemory path(processId_);
        if (!holderThere || !path.lent())
            return std::nullopt;
        path.writeRecord(probeDll_.c_str(), probeDll_.size() + 1);
        HANDLE thread =
            CreateRemoteThread(process_, nullptr, 0,
                               addressThere(*holderThere, reinterpret_cast<BYTE*>(load) -
                                                              reinterpret_cast<BYTE*>(holder)),
                               path.record(), 0, nullptr);
        if (!thread)
            return std::nullopt;
        WaitForSingleObject(thread, 10000);
        CloseHandle(thread);
        return moduleThere(test::kTestExcelServerDll);
    }

    std::optional<MODULEENTRY32> moduleThere(const char* name) const {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId_);
        if (snapshot == INVALID_HANDLE_VALUE)
            return std::nullopt;
        MODULEENTRY32 module{};
        module.dwSize = sizeof module;
        std::optional<MODULEENTRY32> found;
        for (BOOL more = Module32First(snapshot, &module); more && !found;
             more = Module32Next(snapshot, &module)) {
            if (lstrcmpiA(module.szModule, name) == 0)
                found = module;
        }
        CloseHandle(snapshot);
        return found;
    }

    HANDLE process_;
    DWORD processId_;
    std::string probeDll_;
    mutable std::string problem_;
};

// The longest time tarvo's window thread took to answer a message, asked
// every 50 ms from a thread of its own: a tick that places a reading in the
// sheet is the longest thing it does. The readings seen by then tell which.
class StallMeter {
  public:
    StallMeter(HWND window, const std::atomic<std::size_t>& readings)
        : window_(window), readings_(readings), thread_([this] { measure(); }) {}
    ~StallMeter() {
        stop_ = true;
        thread_.join();
    }
    StallMeter(const StallMeter&) = delete;
    StallMeter& operator=(const StallMeter&) = delete;

    long long longestMs() const { return longest_; }
    std::size_t atReading() const { return atReading_; }

  private:
    void measure() {
        while (!stop_) {
            const ULONGLONG sent = GetTickCount64();
            DWORD_PTR ignored = 0;
            SendMessageTimeoutA(window_, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &ignored);
            const auto took = static_cast<long long>(GetTickCount64() - sent);
            if (took > longest_) {
                longest_ = took;
                atReading_ = readings_.load();
            }
            Sleep(50);
        }
    }

    HWND window_;
    const std::atomic<std::size_t>& readings_;
    std::atomic<bool> stop_{false};
    std::atomic<long long> longest_{0};
    std::atomic<std::size_t> atReading_{0};
    std::thread thread_;
};

// Takes each reading's row as the table shows it when it comes, and types a
// comment before every fifth reading.
class TableWatch {
  public:
    TableWatch(HWND main, DWORD processId)
        : main_(main), list_(GetDlgItem(main, id::kTable), processId) {}

    // The row a look finds came since the last look, under the given rule.
    void look(Placing placing) {
        if (list_.rowCount() == 0)
            return;
        const std::string device = list_.cell(0, 1);
        if (device == lastDevice_)
            return;
        lastDevice_ = device;
        rows_.push_back(row(0));
        placing_.push_back(placing);
        count_ = rows_.size();
        if (rows_.size() % 5 == 4)
            test::setItemText(main_, id::kCommentEdit, "soak " + std::to_string(rows_.size() + 1));
    }
    // The table as it shows now, newest row first.
    std::vector<Row> table() const {
        std::vector<Row> rows;
        for (int index = 0; index < list_.rowCount(); ++index)
            rows.push_back(row(index));
        return rows;
    }
    const std::vector<Row>& rows() const { return rows_; }
    const std::vector<Placing>& placing() const { return placing_; }
    const std::atomic<std::size_t>& count() const { return count_; }

  private:
    Row row(int index) const {
        Row cells = list_.row(index);
        cells.resize(kColumns);
        return cells;
    }

    HWND main_;
    test::RemoteListView list_;
    std::string lastDevice_;
    std::vector<Row> rows_;
    std::vector<Placing> placing_;
    std::atomic<std::size_t> count_{0};
};

// Every message box tarvo shows is noted and answered, so the run goes on.
class BoxWatch {
  public:
    BoxWatch(DWORD processId, std::vector<HWND> known)
        : processId_(processId), known_(std::move(known)) {}

    void look() {
        for (HWND dialog : test::dialogsOf(processId_)) {
            if (std::find(known_.begin(), known_.end(), dialog) != known_.end())
                continue;
            const auto box =
                test::waitForMessageBox(processId_, test::textOf(dialog), milliseconds(0));
            shown_.push_back("\"" + box.caption + "\": \"" + box.text + "\"");
            test::answer(box, IDOK);
            known_.push_back(dialog);
        }
    }
    const std::vector<std::string>& shown() const { return shown_; }

  private:
    DWORD processId_;
    std::vector<HWND> known_;
    std::vector<std::string> shown_;
};

// The measures taken once the first readings have set up what every later
// one reuses, and again at the end.
struct Measures {
    std::string handles, handleSlot, gdi, gdiSlot, user;
    double cpu = 0;

    static Measures of(const ProgramMeter& meter) {
        return {meter.handles(),
                meter.handleSlot(),
                meter.guiResources(GR_GDIOBJECTS),
                meter.gdiSlot(),
                meter.guiResources(GR_USEROBJECTS),
                meter.cpuSeconds()};
    }
};

// Opens the Excel dialog, starts the server with InitEXCEL and shows it.
HWND openSheet(HWND main, DWORD processId) {
    test::click(main, id::kExcel);
    HWND excel = test::waitForDialog(processId, "Excel Automation", kWindowDeadline);
    if (!excel)
        return nullptr;
    test::click(excel, id::kInitExcel);
    if (!test::waitUntil([&] { return !test::comboItems(excel, id::kSheetName).empty(); },
                         kStartDeadline))
        return nullptr;
    test::click(excel, id::kShowExcel);
    return excel;
}

bool buttonReads(HWND main, const std::string& text) {
    return test::waitUntil([&] { return test::itemTextOf(main, id::kStartDev) == text; },
                           kWindowDeadline);
}

// CloseEXCEL and InitEXCEL pressed while the readings come, every
// kCycleEveryMs: the sheet stays closed for a few readings, then a new
// workbook starts and is shown. The server is slow to add a workbook and to
// quit, so tarvo's timer is due while both wait on COM. Tells the rows each
// look finds whether they had to reach the sheet.
class SheetCycle {
  public:
    explicit SheetCycle(HWND excel) : excel_(excel), due_(GetTickCount64() + kCycleEveryMs) {}

    // For the rows the next look finds: they came since the last step.
    Placing placing() const { return placing_; }
    int cycles() const { return cycles_; }
    const std::string& failure() const { return failure_; }

    // A row came while a change was under way when it was pressed in this
    // step, went on through it, or was seen done in it.
    void step() {
        const ULONGLONG now = GetTickCount64();
        bool changing = stage_ == Stage::Closing || stage_ == Stage::Opening;
        if (changing && now > since_ + static_cast<ULONGLONG>(kStartDeadline.count())) {
            failure_ = stage_ == Stage::Closing ? "CloseEXCEL did not empty the sheet list"
                                                : "InitEXCEL listed no sheet";
            stage_ = Stage::Stuck;
        }
        switch (stage_) {
            case Stage::Open:
                if (now >= due_)
                    press(id::kCloseExcel, Stage::Closing, now, changing);
                break;
            case Stage::Closing:
                if (sheetsListed() == 0) {
                    stage_ = Stage::Closed;
                    since_ = now;
                }
                break;
            case Stage::Closed:
                if (now >= since_ + kClosedForMs)
                    press(id::kInitExcel, Stage::Opening, now, changing);
                break;
            case Stage::Opening:
                if (sheetsListed() > 0) {
                    test::click(excel_, id::kShowExcel);
                    stage_ = Stage::Open;
                    due_ = now + kCycleEveryMs;
                    ++cycles_;
                }
                break;
            case Stage::Stuck:
                break;
        }
        placing_ = changing || stage_ == Stage::Stuck ? Placing::May
                   : stage_ == Stage::Closed          ? Placing::MustNot
                                                      : Placing::Must;
    }

  private:
    enum class Stage { Open, Closing, Closed, Opening, Stuck };

    void press(int button, Stage next, ULONGLONG now, bool& changing) {
        test::click(excel_, button);
        stage_ = next;
        since_ = now;
        changing = true;
    }
    std::size_t sheetsListed() const { return test::comboItems(excel_, id::kSheetName).size(); }

    HWND excel_;
    Stage stage_ = Stage::Open;
    Placing placing_ = Placing::Must;
    ULONGLONG due_;
    ULONGLONG since_ = 0;
    int cycles_ = 0;
    std::string failure_;
};

// What acquisition came to while the driver watched.
struct Watched {
    Measures warm, last;
    double cpuStart = 0;
    long long longestTick = 0;
    std::size_t longestAt = 0;
    bool stoppedByItself = false;
    int sheetCycles = 0;
    std::string sheetFailure;
};

// Starts acquisition and watches the table, the boxes and the program for
// the given minutes, then stops it. False when it did not start.
bool acquire(HWND main, HWND excel, double minutes, TableWatch& watch, BoxWatch& boxes,
             const ProgramMeter& meter, Watched& watched) {
    watched.cpuStart = meter.cpuSeconds();
    test::click(main, id::kStartDev);
    if (!buttonReads(main, "Stop Dev."))
        return false;
    SheetCycle sheet(excel);
    {
        StallMeter stalls(main, watch.count());
        const ULONGLONG end = GetTickCount64() + static_cast<ULONGLONG>(minutes * 60000);
        // Each look costs tarvo's thread a message or two, and a reading
        // comes every half second: a look every 100 ms catches each one.
        for (int look = 1; GetTickCount64() < end && !watched.stoppedByItself; ++look) {
            watch.look(sheet.placing());
            sheet.step();
            if (watch.rows().size() >= kWarmUp && watched.warm.handles.empty())
                watched.warm = Measures::of(meter);
            if (look % 10 == 0) {
                boxes.look();
                watched.stoppedByItself = test::itemTextOf(main, id::kStartDev) != "Stop Dev.";
            }
            Sleep(100);
        }
        watched.last = Measures::of(meter);
        watched.longestTick = stalls.longestMs();
        watched.longestAt = stalls.atReading();
    }
    if (!watched.stoppedByItself) {
        test::click(main, id::kStartDev);
        buttonReads(main, "Start Dev.");
    }
    // Once stopped: a reading that came after the last look is watched too.
    watch.look(sheet.placing());
    boxes.look();
    watched.sheetCycles = sheet.cycles();
    watched.sheetFailure = sheet.failure();
    return true;
}

std::size_t counted(const std::vector<Placing>& placing, Placing rule) {
    return static_cast<std::size_t>(std::count(placing.begin(), placing.end(), rule));
}

void printSummary(double minutes, const SoakCounts& counts, const Watched& watched,
                  const std::vector<Placing>& placing, std::size_t boxes) {
    auto pair = [](const std::string& start, const std::string& end) {
        return (start.empty() ? "n/a" : start) + " after " + std::to_string(kWarmUp) +
               " readings, " + end + " at end";
    };
    const Measures& warm = watched.warm;
    const Measures& last = watched.last;
    std::printf(
        "soak %.0f min (Windows): sent %d, shown %d, journalled %d, placed %d, lost %d, "
        "mismatched %d, handles (GetProcessHandleCount) %s, highest handle slot %s, GDI objects "
        "(GetGuiResources) %s, highest GDI handle slot %s, USER objects (GetGuiResources) %s, "
        "longest tick %lld ms (reading %zu), CPU %.2f ms/reading, message boxes %zu, sheet "
        "closed and started again %d times (readings meanwhile: %zu while closed, %zu while "
        "CloseEXCEL or InitEXCEL was under way, %d of those placed)\n",
        minutes, counts.sent, counts.shown, counts.journalled, counts.placed, counts.lost,
        counts.mismatched, pair(warm.handles, last.handles).c_str(),
        pair(warm.handleSlot, last.handleSlot).c_str(), pair(warm.gdi, last.gdi).c_str(),
        pair(warm.gdiSlot, last.gdiSlot).c_str(), pair(warm.user, last.user).c_str(),
        watched.longestTick, watched.longestAt,
        (last.cpu - watched.cpuStart) * 1000 / std::max(counts.shown, 1), boxes,
        watched.sheetCycles, counted(placing, Placing::MustNot), counted(placing, Placing::May),
        counts.placedMay);
    std::fflush(stdout);
}

struct Arguments {
    double minutes;
    std::string tarvo, simulatorLog, cellRecord, probeDll;
};

// The local test server, registered as "Excel.Application", asked to serve
// its own recording workbook; it stays while this holds its control.
AutomationObject serveRecordingWorkbook(const std::string& cellRecord) {
    IDispatch* dispatch = nullptr;
    if (FAILED(CoCreateInstance(test::kLocalServerControlClsid, nullptr, CLSCTX_LOCAL_SERVER,
                                IID_IDispatch, reinterpret_cast<void**>(&dispatch))))
        return {};
    AutomationObject control = com::adoptDispatch(dispatch);
    const std::array record{AutomationValue::string(cellRecord)};
    return control.call(test::kServeOwnWorkbook, record) ? control : AutomationObject();
}

int run(const Arguments& arguments) {
    writeSettings();
    const AutomationObject server = serveRecordingWorkbook(arguments.cellRecord);
    if (server.empty()) {
        std::fprintf(stderr, "soak: the local test server does not serve its workbook\n");
        return 1;
    }
    test::RunningProgram program("\"" + arguments.tarvo + "\"", "");
    HWND main = program.started()
                    ? test::waitForDialog(program.id(), TARVO_MAIN_CAPTION, kWindowDeadline)
                    : nullptr;
    if (!main) {
        std::fprintf(stderr, "soak: tarvo.exe showed no main window\n");
        return 1;
    }
    HWND excel = openSheet(main, program.id());
    if (!excel) {
        std::fprintf(stderr, "soak: InitEXCEL listed no sheet\n");
        return 1;
    }

    TableWatch watch(main, program.id());
    // The welcome window is a dialog too, shown again at the stop.
    BoxWatch boxes(program.id(), test::dialogsOf(program.id()));
    ProgramMeter meter(program.id(), arguments.probeDll);
    meter.loadProbe();
    Watched watched;
    if (!acquire(main, excel, arguments.minutes, watch, boxes, meter, watched)) {
        boxes.look();
        std::fprintf(stderr, "soak: the densitometer did not answer on COM1 %s\n",
                     boxes.shown().empty() ? "" : boxes.shown()[0].c_str());
        return 1;
    }

    const std::vector<Row>& shown = watch.rows();
    SoakCounts counts;
    compareReadings(sentReadings(fileText(arguments.simulatorLog)), shown,
                    journalledRows(fileText(journalPath())), counts);
    compareTable(shown, watch.table(), counts);
    compareWrites(shown, watch.placing(), recordedWrites(fileText(arguments.cellRecord)), counts);

    for (const auto& reason : counts.why)
        std::fprintf(stderr, "soak: %s\n", reason.c_str());
    for (const auto& box : boxes.shown())
        std::fprintf(stderr, "soak: message box %s\n", box.c_str());
    if (watched.stoppedByItself)
        std::fprintf(stderr, "soak: acquisition stopped before the end\n");
    if (!watched.sheetFailure.empty())
        std::fprintf(stderr, "soak: %s\n", watched.sheetFailure.c_str());
    printSummary(arguments.minutes, counts, watched, watch.placing(), boxes.shown().size());
    const bool clean = counts.lost == 0 && counts.mismatched == 0 && boxes.shown().empty() &&
                       !watched.stoppedByItself && watched.sheetFailure.empty();
    return clean ? 0 : 1;
}

}  // namespace
}  // namespace tarvo::soak

int main(int argc, char* argv[]) {
    if (argc != 6) {
        std::fprintf(stderr,
                     "usage: soak_win MINUTES TARVO-EXE SIMULATOR-LOG CELL-RECORD PROBE-DLL\n");
        return 2;
    }
    if (FAILED(OleInitialize(nullptr))) {
        std::fprintf(stderr, "soak: OLE does not start\n");
        return 1;
    }
    const int status = tarvo::soak::run({std::atof(argv[1]), argv[2], argv[3], argv[4], argv[5]});
    OleUninitialize();
    return status;
}
