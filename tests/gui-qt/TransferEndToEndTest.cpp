#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "AnsweringFileChooser.h"
#include "RecordingMessageBoxes.h"
#include "SimulatorProcess.h"
#include "TempDir.h"
#include "app/AcquisitionCycle.h"
#include "app/DeviceReadingLink.h"
#include "device/posix/PosixDeviceLink.h"
#include "excel/OfficeProbe.h"
#include "excel/calc/CalcAutomationServer.h"
#include "gui-qt/ExcelDialog.h"
#include "gui-qt/ExcelDialogOpener.h"
#include "gui-qt/MainDialog.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

using namespace std::chrono_literals;
using test::OfficeProbe;
using test::ProbedCell;
using ::testing::IsEmpty;

// The poll timer as the program runs it: a window timer on the event loop.
class QtPollTimer final : public PollTimer {
  public:
    explicit QtPollTimer(std::function<void()> tick) {
        QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
    }
    bool install(std::chrono::milliseconds period) override {
        timer_.start(period);
        return true;
    }
    void kill() override { timer_.stop(); }

  private:
    QTimer timer_;
};

class SilentBeeper final : public Beeper {
  public:
    void beep(int, std::chrono::milliseconds) override {}
    void pause(std::chrono::milliseconds) override {}
};

// The operator's whole road: the main window with its EXCEL and Start Dev.
// buttons, the densitometer simulator on a pty, and a real office started by
// the Excel dialog.
class TransferEndToEndTest : public ::testing::Test {
  protected:
    TransferEndToEndTest() {
        static std::atomic<int> counter{0};
        office.pipeName =
            "tarvo-transfer-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        office.headless = true;
    }

    ~TransferEndToEndTest() override {
        EXPECT_TRUE(
            test::waitUntil([&] { return test::officeProcesses(office.pipeName).empty(); }, 10s))
            << "an office process outlived the Excel dialog";
    }

    void startSimulator(const std::vector<std::string>& script) {
        simulator = std::make_unique<test::SimulatorProcess>(script, dir / "sim.log");
        ASSERT_FALSE(simulator->devicePath().empty()) << "the simulator did not start";
        device = std::make_unique<DeviceLink>(
            posixPortOpener({simulator->devicePath(), "/nonexistent/ttyS1", "", ""}), nullptr);
        readingLink = std::make_unique<DeviceReadingLink>(*device);
    }

    // Wires the main window as the program does.
    void openMainWindow() {
        window = std::make_unique<MainDialog>(MainDialogServices{ini, clock, boxes, dir.path()});
        timer = std::make_unique<QtPollTimer>([this] { cycle->tick(); });
        cycle = std::make_unique<AcquisitionCycle>(window->state(), *readingLink, *timer, beeper,
                                                   boxes);
        opener = std::make_unique<ExcelDialogOpener>(
            window.get(),
            ExcelDialogServices{ini, boxes, chooser, makeCalcAutomationServer(office)},
            ExcelDialogHooks{[this] {
                                 window->state().excelDialogOpened();
                                 cycle->setPlacement(opener->placement());
                             },
                             [this] {
                                 window->state().excelDialogClosed();
                                 cycle->setPlacement({});
                             }});
        window->setButtonHandler(id::kStartDev, [this] { cycle->startStopClicked(); });
        window->setButtonHandler(id::kExcel, [this] { opener->open(); });
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void click(QWidget* owner, int id) {
        auto* button = owner->findChild<QAbstractButton*>(QString::number(id));
        ASSERT_NE(button, nullptr) << id;
        QTest::mouseClick(button, Qt::LeftButton);
    }

    ReadingTable& table() { return window->state().table(); }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    SystemClock clock;
    test::RecordingMessageBoxes boxes;
    test::AnsweringFileChooser chooser;
    SilentBeeper beeper;
    CalcServerOptions office;
    std::unique_ptr<test::SimulatorProcess> simulator;
    std::unique_ptr<DeviceLink> device;
    std::unique_ptr<DeviceReadingLink> readingLink;
    std::unique_ptr<MainDialog> window;
    std::unique_ptr<QtPollTimer> timer;
    std::unique_ptr<AcquisitionCycle> cycle;
    std::unique_ptr<ExcelDialogOpener> opener;
};

TEST_F(TransferEndToEndTest, ThreeColourReadingsLandInTheSheetAndSurviveASavedCopy) {
    startSimulator({"colour=11,120,80,60,150,500", "colour=12,121,81,61,151,501",
                    "colour=13,122,82,62,152,502"});
    openMainWindow();

    click(window.get(), id::kExcel);
    ExcelDialog* excel = opener->dialog();
    ASSERT_NE(excel, nullptr);
    EXPECT_FALSE(window->state().isEnabled(id::kDelete));
    ASSERT_EQ(excel->logic().text(id::kFileName), "");
    click(excel, id::kInitExcel);
    ASSERT_THAT(boxes.texts(), IsEmpty());
    ASSERT_TRUE(opener->session().client && opener->session().client->isRunning());

    click(window.get(), id::kStartDev);
    ASSERT_TRUE(QTest::qWaitFor([&] { return table().rowCount() == 3; }, 30000))
        << "rows: " << table().rowCount();
    click(window.get(), id::kStartDev);  // Stop Dev.

    const auto copy = dir / "readings.xls";
    chooser.answerNext(copy.string());
    click(excel, id::kSaveExcel);
    ASSERT_TRUE(std::filesystem::exists(copy));
    EXPECT_EQ(chooser.requests.at(0).mode, FileDialogRequest::Mode::Save);

    {
        OfficeProbe probe(office.pipeName);
        for (int n = 1; n <= 3; ++n) {
            SCOPED_TRACE("reading " + std::to_string(n));
            const int row = table().rowCount() - n;
            const ProbedCell number = probe.cell(copy, 0, n - 1, 0);
            EXPECT_EQ(number.kind, ProbedCell::Kind::Number);
            EXPECT_EQ(number.number, n);
            for (int column = 1; column <= 5; ++column) {
                const ProbedCell cell = probe.cell(copy, 0, n - 1, column);
                // The device number and the densities are numbers, as in Excel.
                EXPECT_EQ(cell.kind, ProbedCell::Kind::Number) << "column " << column;
                EXPECT_DOUBLE_EQ(cell.number, std::stod(std::string(table().cell(row, column))))
                    << "column " << column;
            }
            EXPECT_EQ(probe.cell(copy, 0, n - 1, 6).kind, ProbedCell::Kind::Empty);
        }
        EXPECT_EQ(probe.cell(copy, 0, 3, 0).kind, ProbedCell::Kind::Empty);
    }

    click(excel, id::kCloseExcel);
    EXPECT_EQ(opener->session().client, nullptr);
    EXPECT_TRUE(
        test::waitUntil([&] { return test::officeProcesses(office.pipeName).empty(); }, 10s));
    click(excel, id::kExcelClose);
    EXPECT_TRUE(window->state().isEnabled(id::kDelete));
    EXPECT_THAT(boxes.texts(), IsEmpty());
}

}  // namespace
}  // namespace tarvo
