// The program's main window and wiring as tarvo builds them, against the
// densitometer on COM1 (the simulator) and a shown LibreOffice Calc, driven
// through its own buttons for some minutes; then the simulator's log, the
// table as it showed each reading, the journal and the saved workbook are
// compared reading by reading and one summary line is printed.
// Usage: soak_run MINUTES SIMULATOR-LOG OUT-FOLDER (see scripts/soak).
#include <sys/resource.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>

#include "AnsweringFileChooser.h"
#include "OfficeProbe.h"
#include "RecordingMessageBoxes.h"
#include "SoakCheck.h"
#include "app/journal/posix/PosixJournalFiles.h"
#include "device/posix/PosixDeviceLink.h"
#include "excel/calc/CalcAutomationServer.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/MainWiring.h"
#include "gui-qt/PlatformParts.h"
#include "res/ControlIds.h"

namespace tarvo::soak {
namespace {

double residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kib = 0;
            status >> kib;
            return kib;
        }
        status.ignore(1 << 12, '\n');
    }
    return 0;
}

double cpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs the event loop until the condition holds or the bound passes.
bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds bound) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > bound.count())
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

// The longest time the window's thread did not get back to its event loop:
// a tick that places a reading in the sheet is the longest thing it does.
// The readings shown by then tell which tick it was.
class StallMeter {
  public:
    explicit StallMeter(std::function<std::size_t()> readings) : readings_(std::move(readings)) {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 gap = clock_.restart() - kPeriodMs;
            if (gap > longest_) {
                longest_ = gap;
                atReading_ = readings_();
            }
        });
    }
    void start() {
        clock_.start();
        timer_.start(kPeriodMs);
    }
    qint64 longestMs() const { return longest_; }
    std::size_t atReading() const { return atReading_; }

  private:
    static constexpr int kPeriodMs = 10;
    std::function<std::size_t()> readings_;
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
    std::size_t atReading_ = 0;
};

// Takes each reading's row as the table shows it when it comes, and types a
// comment before every fifth reading.
class TableWatch {
  public:
    TableWatch(MainDialog& dialog) : dialog_(dialog) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    }
    void start() { timer_.start(20); }
    const std::vector<Row>& rows() const { return rows_; }
    // Once the first readings have set up what every later one reuses (the
    // office's types, the table's columns), the memory the run starts from.
    double warmResidentKiB() const { return warmRss_; }
    static constexpr std::size_t kWarmUp = 20;

  private:
    // The rows above the newest one seen last time came since, newest first:
    // an instrument that sends unasked may bring several between two looks.
    // After a layout switch every row is new.
    void look() {
        const ReadingTable& table = dialog_.state().table();
        int fresh = 0;
        while (fresh < table.rowCount() && table.cell(fresh, 1) != lastDevice_)
            ++fresh;
        if (fresh == 0)
            return;
        lastDevice_ = std::string(table.cell(0, 1));
        for (int index = fresh - 1; index >= 0; --index)
            take(table, index);
    }

    void take(const ReadingTable& table, int index) {
        Row row;
        for (int column = 0; column < 10; ++column)
            row.emplace_back(column < table.columnCount() ? table.cell(index, column) : "");
        rows_.push_back(row);
        if (rows_.size() == kWarmUp)
            warmRss_ = residentKiB();
        if (rows_.size() % 5 == 4) {
            auto* edit = static_cast<QLineEdit*>(dialog_.control(id::kCommentEdit));
            edit->setText(QString::fromLatin1("soak %1").arg(rows_.size() + 1));
        }
    }

    MainDialog& dialog_;
    QTimer timer_;
    std::string lastDevice_;
    std::vector<Row> rows_;
    double warmRss_ = 0;
};

// An instrument that sends unasked is stopped between two of its lines, once
// every reading it sent is shown: a line cut off by Stop Dev. is lost at any
// press, and would be counted against the program. The polled densitometer
// sends only what it is asked for.
void stopBetweenLines(const std::filesystem::path& simLog, const TableWatch& watch) {
    waitFor(
        [&] {
            const std::string log = fileText(simLog);
            if (log.find(" client\n") == std::string::npos)
                return true;
            const auto lastLine = log.rfind('\n', log.size() < 2 ? 0 : log.size() - 2);
            const bool betweenLines =
                log.find(" reading ", lastLine == std::string::npos ? 0 : lastLine) !=
                std::string::npos;
            return betweenLines && watch.rows().size() >= sentReadings(log).size();
        },
        std::chrono::seconds(10));
}

std::vector<std::vector<SheetCell>> sheetRows(const std::string& pipe,
                                              const std::filesystem::path& workbook, int rows) {
    test::OfficeProbe probe(pipe);
    std::vector<std::vector<SheetCell>> sheet;
    for (const auto& probedRow : probe.cells(workbook, 0, rows, 10)) {
        std::vector<SheetCell> row;
        for (const auto& probed : probedRow) {
            row.push_back({probed.kind == test::ProbedCell::Kind::Empty,
                           probed.kind == test::ProbedCell::Kind::Number, probed.time,
                           probed.number, probed.text});
        }
        sheet.push_back(row);
    }
    return sheet;
}

int run(double minutes, const std::filesystem::path& simLog, const std::filesystem::path& out) {
    IniFile ini(settingsFilePath());
    SystemClock clock;
    test::RecordingMessageBoxes boxes;
    MainDialog dialog({ini, clock, boxes, QCoreApplication::applicationDirPath().toStdString()});
    MainWiringParts parts = platformParts(dialog, makePosixDeviceLink(ini), {}, journalFilePath());
    CalcServerOptions office;
    office.pipeName = "tarvo-soak-" + std::to_string(::getpid());
    PreparedServer server = makePreparedCalcServer(office);
    parts.spreadsheetServer = server.factory;
    parts.prepareSpreadsheetServer = server.prepare;
    auto chooser = std::make_unique<test::AnsweringFileChooser>();
    const std::filesystem::path workbook = out / "sheet.ods";
    chooser->answerNext(workbook.string());
    parts.chooser = std::move(chooser);
    MainWiring wiring(dialog, std::move(parts));
    dialog.show();
    wiring.beginJournal();

    dialog.button(id::kExcel)->click();
    ExcelDialog* excel = wiring.excel().dialog();
    auto excelButton = [&](int id) { return static_cast<QAbstractButton*>(excel->control(id)); };
    excelButton(id::kInitExcel)->click();
    auto* sheets = static_cast<QComboBox*>(excel->control(id::kSheetName));
    if (!waitFor([&] { return sheets->count() > 0; }, std::chrono::seconds(120))) {
        std::fprintf(stderr, "soak: InitEXCEL listed no sheet\n");
        return 1;
    }
    excelButton(id::kShowExcel)->click();

    TableWatch watch(dialog);
    StallMeter stalls([&watch] { return watch.rows().size(); });
    const double rssStart = residentKiB();
    const double cpuStart = cpuSeconds();
    dialog.button(id::kStartDev)->click();
    if (dialog.state().stopped()) {
        std::fprintf(stderr, "soak: the densitometer did not answer on COM1\n");
        return 1;
    }
    stalls.start();
    watch.start();
    waitFor([&] { return dialog.state().stopped(); },
            std::chrono::milliseconds(static_cast<long long>(minutes * 60000)));
    const bool stoppedByItself = dialog.state().stopped();
    if (!stoppedByItself) {
        stopBetweenLines(simLog, watch);
        dialog.button(id::kStartDev)->click();
    }
    const double cpu = cpuSeconds() - cpuStart;
    const double rssEnd = residentKiB();
    const qint64 longest = stalls.longestMs();

    excelButton(id::kSaveExcel)->click();
    const std::vector<Row>& shown = watch.rows();
    const std::vector<Row> expected = expectedSheet(shown);
    SoakCounts counts;
    compareReadings(sentReadings(fileText(simLog)), shown,
                    journalledRows(fileText(journalFilePath())), counts);
    try {
        compareSheet(expected,
                     sheetRows(office.pipeName, workbook, static_cast<int>(expected.size())),
                     counts);
    } catch (const std::exception& error) {
        counts.loss(std::string("the saved workbook could not be read: ") + error.what());
    }
    excelButton(id::kCloseExcel)->click();

    for (const auto& reason : counts.why)
        std::fprintf(stderr, "soak: %s\n", reason.c_str());
    for (const auto& box : boxes.shown)
        std::fprintf(stderr, "soak: message box \"%s\"\n", box.text.c_str());
    if (stoppedByItself)
        std::fprintf(stderr, "soak: acquisition stopped before the end\n");
    const double readings = std::max(counts.shown, 1);
    const double warmReadings = std::max(counts.shown - static_cast<int>(TableWatch::kWarmUp), 1);
    std::printf(
        "soak %.0f min: sent %d, shown %d, journalled %d, placed %d, lost %d, mismatched %d, "
        "RSS %.1f MiB at start, %.1f after %zu readings, %.1f at end (%+.2f KiB/reading after "
        "them), longest tick %lld ms (reading %zu), CPU %.2f ms/reading, message boxes %zu\n",
        minutes, counts.sent, counts.shown, counts.journalled, counts.placed, counts.lost,
        counts.mismatched, rssStart / 1024, watch.warmResidentKiB() / 1024, TableWatch::kWarmUp,
        rssEnd / 1024, (rssEnd - watch.warmResidentKiB()) / warmReadings,
        static_cast<long long>(longest), stalls.atReading(), cpu * 1000 / readings,
        boxes.shown.size());
    const bool clean =
        counts.lost == 0 && counts.mismatched == 0 && boxes.shown.empty() && !stoppedByItself;
    return clean ? 0 : 1;
}

}  // namespace
}  // namespace tarvo::soak

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: soak_run MINUTES SIMULATOR-LOG OUT-FOLDER\n");
        return 2;
    }
    return tarvo::soak::run(std::atof(argv[1]), argv[2], argv[3]);
}
