#include "gui-qt/MainWiring.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <fstream>
#include <sstream>

#include "AcquisitionFakes.h"
#include "AnsweringFileChooser.h"
#include "FakeDeviceProbe.h"
#include "FakeSerialPort.h"
#include "JournalFakes.h"
#include "RecordingAutomationObject.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "TransferFixture.h"
#include "app/journal/JournalRestore.h"
#include "app/journal/ReadingJournal.h"
#include "files/posix/PosixFileCreator.h"
#include "gui-qt/ExcelDialog.h"
#include "gui-qt/MainDialog.h"
#include "gui-qt/PortsWindow.h"
#include "res/ControlIds.h"

namespace tarvo {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr int kDeadlineMs = 10000;

// Keeps each job's lines, as the printer would print them.
class RecordingPrintDialog final : public PrintDialog {
  public:
    std::unique_ptr<PagePrinter> choosePrinter() override {
        ++asked;
        return std::make_unique<Printer>(*this);
    }

    int asked = 0;
    std::vector<std::string> jobs;
    std::vector<std::string> lines;

  private:
    class Printer final : public PagePrinter {
      public:
        explicit Printer(RecordingPrintDialog& owner) : owner_(owner) {}
        void printLines(std::string_view job, const std::vector<std::string_view>& lines) override {
            owner_.jobs.emplace_back(job);
            owner_.lines.assign(lines.begin(), lines.end());
        }

      private:
        RecordingPrintDialog& owner_;
    };
};

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// The main window wired as the program wires it, each part of the outside
// world a fake the test can look into: a fault in the wiring (a button on the
// wrong part, a journal never told of a save) shows as a fake left untouched.
class MainWiringTest : public ::testing::Test {
  protected:
    MainWiringTest() {
        device.answer("!");  // the identify at Start Dev.
        device.answer("1");  // the first poll: a colour reading is ready
        device.answer(
            test::Bytes{0x00, 0x07, 0x04, 0xD2, 0xFF, 0x38, 0x00, 0x00, 0x0B, 0xB8, 0x01, 0xF4});
        for (int poll = 0; poll < 400; ++poll)
            device.answer("#");  // nothing new
    }

    void wire(std::filesystem::path journal = {}) {
        window = std::make_unique<MainDialog>(MainDialogServices{ini, clock, boxes, dir.path()});
        MainWiringParts parts;
        parts.device = std::make_unique<DeviceLink>(device.opener(), nullptr);
        parts.spreadsheetServer = excel.factory();
        parts.journal = std::move(journal);
        parts.beeper = std::move(beeperPart);
        parts.chooser = std::move(chooserPart);
        parts.files = std::make_unique<PosixFileCreator>();
        parts.printDialog = std::move(printerPart);
        parts.probe = std::move(probePart);
        parts.deviceRoot = probe.root();
        parts.journalFiles = std::move(journalFilesPart);
        wiring = std::make_unique<MainWiring>(*window, std::move(parts));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        wiring->beginJournal();
    }

    void click(int id) { window->button(id)->click(); }

    void startAndWaitForTheReading() {
        click(id::kStartDev);
        ASSERT_FALSE(window->state().stopped()) << "boxes: " << boxes.texts().size();
        ASSERT_TRUE(QTest::qWaitFor([&] { return table().rowCount() == 1; }, kDeadlineMs));
    }

    ReadingTable& table() { return window->state().table(); }

    test::TempDir dir;
    IniFile ini{dir / "Tarvo.ini"};
    test::ManualClock clock;
    test::RecordingMessageBoxes boxes;
    test::FakeSerialDevice device;
    test::FakeExcel excel;
    // Each fake is handed to the wiring, which owns it from then on.
    std::unique_ptr<test::RecordingBeeper> beeperPart = std::make_unique<test::RecordingBeeper>();
    test::RecordingBeeper& beeper = *beeperPart;
    std::unique_ptr<test::AnsweringFileChooser> chooserPart =
        std::make_unique<test::AnsweringFileChooser>();
    test::AnsweringFileChooser& chooser = *chooserPart;
    std::unique_ptr<RecordingPrintDialog> printerPart = std::make_unique<RecordingPrintDialog>();
    RecordingPrintDialog& printer = *printerPart;
    std::unique_ptr<test::FakeDeviceProbe> probePart =
        std::make_unique<test::FakeDeviceProbe>(dir / "root");
    test::FakeDeviceProbe& probe = *probePart;
    std::unique_ptr<test::FillingJournalFiles> journalFilesPart =
        std::make_unique<test::FillingJournalFiles>();
    test::FillingJournalFiles& journalFiles = *journalFilesPart;
    std::unique_ptr<MainDialog> window;
    std::unique_ptr<MainWiring> wiring;
};

TEST_F(MainWiringTest, StartDevPollsTheDeviceAndEachReadingBeepsAndGoesIntoTheJournal) {
    const auto journal = dir / "state" / "journal";
    wire(journal);
    startAndWaitForTheReading();
    EXPECT_THAT(device.commands(),
                ::testing::IsSupersetOf(std::vector<std::string>{"XR", "XK", "XD"}));
    EXPECT_THAT(beeper.events, ElementsAre("beep 1000/50"));
    EXPECT_EQ(table().cell(0, 1), "  7");
    EXPECT_TRUE(wiring->timer().isRunning());

    const LastSession kept = readLastSession(journalFiles, journal);
    EXPECT_EQ(kept.state, LastSession::State::Unsaved);
    ASSERT_EQ(kept.table.rows.size(), 1u);
    EXPECT_EQ(kept.table.rows[0][1], "  7");

    click(id::kStartDev);
    EXPECT_TRUE(window->state().stopped());
    EXPECT_FALSE(wiring->timer().isRunning());
    EXPECT_FALSE(device.portOpen());
}

TEST_F(MainWiringTest, SaveAndPrintGoToTheChosenFileAndPrinterAndTheJournalKnowsOfTheSave) {
    const auto journal = dir / "state" / "journal";
    wire(journal);
    startAndWaitForTheReading();
    const auto saved = dir / "lot.txt";
    chooser.answerNext(saved.string());

    click(id::kSave);
    ASSERT_EQ(chooser.requests.size(), 1u);
    EXPECT_EQ(chooser.requests[0].mode, FileDialogRequest::Mode::Save);
    const std::string text = fileText(saved);
    EXPECT_NE(text.find("  7"), std::string::npos) << text;
    EXPECT_EQ(readLastSession(journalFiles, journal).state, LastSession::State::Nothing)
        << "a saved table must not be offered again";

    click(id::kPrint);
    EXPECT_EQ(printer.asked, 1);
    EXPECT_THAT(printer.jobs, ElementsAre(kPrintJobName));
    std::vector<std::string> savedLines;
    for (std::string_view line : splitLines(text))
        savedLines.emplace_back(line);
    EXPECT_EQ(printer.lines, savedLines) << "Print prints what Save writes";
    EXPECT_THAT(boxes.texts(), IsEmpty());
}

TEST_F(MainWiringTest, ExcelDialogHoldsDeleteAndPlacesEachReadingWhileOpen) {
    wire();
    click(id::kStartDev);
    EXPECT_TRUE(window->state().isEnabled(id::kDelete));
    click(id::kExcel);
    ExcelDialog* dialog = wiring->excel().dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(window->state().isEnabled(id::kDelete));
    dialog->findChild<QAbstractButton*>(QString::number(id::kInitExcel))->click();
    ASSERT_THAT(boxes.texts(), IsEmpty());
    excel.clearCalls();

    ASSERT_TRUE(QTest::qWaitFor([&] { return table().rowCount() == 1; }, kDeadlineMs));
    EXPECT_EQ(test::writtenCells(excel.calls()).size(), 6u) << "the reading goes to the sheet";

    dialog->findChild<QAbstractButton*>(QString::number(id::kCloseExcel))->click();
    dialog->findChild<QAbstractButton*>(QString::number(id::kExcelClose))->click();
    EXPECT_EQ(wiring->excel().dialog(), nullptr);
    EXPECT_TRUE(window->state().isEnabled(id::kDelete));
}

TEST_F(MainWiringTest, PortsWindowAndComToolTipsAskTheSameDevices) {
    wire();
    const auto node = probe.addNode("ttyUSB0");
    ini.write("Ports", "COM1", node.string());
    QStringList listed;
    QTimer::singleShot(0, [&] {
        auto* ports = qobject_cast<PortsWindow*>(QApplication::activeModalWidget());
        if (ports == nullptr)
            return;
        auto* devices = ports->findChild<QListWidget*>("devices");
        for (int row = 0; devices && row < devices->count(); ++row)
            listed << devices->item(row)->text();
        ports->reject();
    });
    window->portsAction()->trigger();
    EXPECT_EQ(listed, QStringList{"/dev/ttyUSB0"}) << "the devices under the given root";

    QAbstractButton* com1 = window->button(id::kCom1);
    QHelpEvent ask(QEvent::ToolTip, QPoint(1, 1), com1->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(com1, &ask);
    EXPECT_EQ(QToolTip::text().toStdString(), "COM1: " + node.string() + " (present)");
    probe.removeNode("ttyUSB0");
    QApplication::sendEvent(com1, &ask);
    EXPECT_EQ(QToolTip::text().toStdString(), "COM1: " + node.string() + " (missing)");
}

TEST_F(MainWiringTest, JournalThatCannotBeWrittenIsToldInABox) {
    journalFiles.refuseCreate = "Read-only file system";
    wire(dir / "state" / "journal");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !boxes.texts().empty(); }, kDeadlineMs));
    EXPECT_THAT(boxes.texts(), ElementsAre(journalFailureText("Read-only file system")));
    EXPECT_EQ(journalFiles.creates, 1);
}

}  // namespace
}  // namespace tarvo
