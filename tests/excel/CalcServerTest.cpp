#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <unistd.h>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <thread>

#include "OfficeProbe.h"
#include "RecordingMessageBoxes.h"
#include "TempDir.h"
#include "excel/ExcelLink.h"
#include "excel/calc/CalcAutomationServer.h"
#include "excel/calc/CalcSession.h"
#include "excel/calc/OwnedFolder.h"
#include "excel/calc/UnoSupport.h"

namespace tarvo {
namespace {

using namespace std::chrono_literals;
using test::OfficeProbe;
using test::ProbedCell;
using ::testing::ElementsAre;

// This process's threads, by name.
std::multiset<std::string> threadNames() {
    std::multiset<std::string> names;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::string name;
        std::getline(std::ifstream(task.path() / "comm"), name);
        names.insert(name);
    }
    return names;
}

// The names of the threads there are now beyond those there were.
std::string threadsBeyond(const std::multiset<std::string>& before) {
    std::vector<std::string> extra;
    const auto now = threadNames();
    std::ranges::set_difference(now, before, std::back_inserter(extra));
    std::string names;
    for (const auto& name : extra) {
        names += (names.empty() ? "" : ", ") + name;
    }
    return names;
}

// Every test runs its own office on a pipe of its own, so the test can look
// at exactly that office and make sure it is gone afterwards.
class CalcServerTest : public ::testing::Test {
  protected:
    CalcServerTest() {
        static std::atomic<int> counter{0};
        options.pipeName =
            "tarvo-calc-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
        options.headless = true;
        // A loaded machine may take long to start an office; a test still ends in a minute.
        options.startDeadline = 40s;
        calc::prepareUno();
        // A sanitizer starts a helper thread of its own along with a
        // process's first thread; it is to be there before the count.
        std::thread([] {}).join();
        threadsBefore = threadNames();
    }

    ~CalcServerTest() override {
        // The office's runtime ends a bridge's threads on their own once the
        // office hangs up. One still running when the test's process ends
        // would read what the process frees as it goes; one that never ends
        // is a connection left open.
        const std::string early = threadsBeyond(threadsBefore);
        EXPECT_TRUE(test::waitUntil([&] { return threadsBeyond(threadsBefore).empty(); }, 10s))
            << "threads of a connection outlived its client: " << threadsBeyond(threadsBefore);
        if (!early.empty()) {
            std::cerr << "threads ending after their client: " << early << "\n";
        }
        EXPECT_TRUE(
            test::waitUntil([&] { return test::officeProcesses(options.pipeName).empty(); }, 5s))
            << "an office process outlived its client";
    }

    std::string readHead(const std::filesystem::path& file, std::size_t count) {
        std::ifstream in(file, std::ios::binary);
        std::string head(count, '\0');
        in.read(head.data(), static_cast<std::streamsize>(count));
        return head.substr(0, static_cast<std::size_t>(in.gcount()));
    }

    pid_t officePid() {
        auto pids = test::officeProcesses(options.pipeName);
        return pids.size() == 1 ? pids.front() : -1;
    }

    test::TempDir folder;
    test::RecordingMessageBoxes boxes;
    CalcServerOptions options;
    std::multiset<std::string> threadsBefore;
};

TEST_F(CalcServerTest, NumbersAndTextsSurviveACopyInEachFormatWithTheirTypes) {
    ExcelLink link(makeCalcAutomationServer(options), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    EXPECT_EQ(link.writeCell(1, 1, CellValueKind::Integer, 0, 42, 0.0, ""), ExcelError::Success);
    EXPECT_EQ(link.writeCell(1, 2, CellValueKind::Real, 0, 0, 1.25, ""), ExcelError::Success);
    EXPECT_EQ(link.writeCell(1, 3, CellValueKind::SmallInteger, 200, 0, 0.0, ""),
              ExcelError::Success);
    EXPECT_EQ(link.writeText(2, 28, "Grün"), ExcelError::Success);
    EXPECT_EQ(link.writeText(3, 1, "Größe"), ExcelError::Success);

    EXPECT_EQ(link.saveCopy((folder / "x").string()), ExcelError::Success);
    EXPECT_EQ(link.saveCopy((folder / "y.xlsx").string()), ExcelError::Success);
    EXPECT_EQ(link.saveCopy((folder / "z.ods").string()), ExcelError::Success);
    EXPECT_EQ(link.saveCopy((folder / "no such folder" / "w.xls").string()),
              ExcelError::SaveFailed);
    EXPECT_TRUE(link.isRunning());
    EXPECT_EQ(readHead(folder / "x.xls", 4), "\xD0\xCF\x11\xE0");  // an Excel 97 file
    EXPECT_EQ(readHead(folder / "y.xlsx", 2), "PK");
    EXPECT_EQ(readHead(folder / "z.ods", 2), "PK");

    OfficeProbe probe(options.pipeName);
    for (const char* copy : {"x.xls", "y.xlsx", "z.ods"}) {
        SCOPED_TRACE(copy);
        const ProbedCell integer = probe.cell(folder / copy, 0, 0, 0);
        EXPECT_EQ(integer.kind, ProbedCell::Kind::Number);
        EXPECT_EQ(integer.number, 42.0);
        EXPECT_EQ(probe.cell(folder / copy, 0, 0, 1).number, 1.25);
        EXPECT_EQ(probe.cell(folder / copy, 0, 0, 2).number, 200.0);
        const ProbedCell text = probe.cell(folder / copy, 0, 1, 27);
        EXPECT_EQ(text.kind, ProbedCell::Kind::Text);
        EXPECT_EQ(text.text, "Grün");
        EXPECT_EQ(probe.cell(folder / copy, 0, 2, 0).text, "Größe");
    }
    EXPECT_EQ(link.close(), ExcelError::Success);
    EXPECT_FALSE(link.isRunning());
}

// Excel reads a text given to Range.Value as if it were typed into the cell,
// so the densities of a reading are numbers a formula or chart can use.
TEST_F(CalcServerTest, TextsOfAReadingLandAsTheNumbersTimesAndTextsExcelWouldKeep) {
    ExcelLink link(makeCalcAutomationServer(options), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    const std::vector<std::string> texts{"  11", "1.23",      "-0.10", " 7:15:42", "14: 5: 9",
                                         "C",    "edge left", "=B1*2", "12 34"};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        ASSERT_EQ(link.writeText(1, static_cast<std::int32_t>(i + 1), texts[i]),
                  ExcelError::Success);
    }
    ASSERT_EQ(link.saveCopy((folder / "reading.xls").string()), ExcelError::Success);

    OfficeProbe probe(options.pipeName);
    const auto cell = [&](int column) { return probe.cell(folder / "reading.xls", 0, 0, column); };
    EXPECT_EQ(cell(0).kind, ProbedCell::Kind::Number);
    EXPECT_EQ(cell(0).number, 11.0);
    EXPECT_EQ(cell(1).number, 1.23);
    EXPECT_EQ(cell(2).number, -0.1);
    EXPECT_FALSE(cell(1).time);
    for (int column : {3, 4}) {
        SCOPED_TRACE(column);
        EXPECT_EQ(cell(column).kind, ProbedCell::Kind::Number);
        EXPECT_TRUE(cell(column).time);
    }
    EXPECT_NEAR(cell(3).number, (7 * 3600 + 15 * 60 + 42) / 86400.0, 1e-9);
    EXPECT_NEAR(cell(4).number, (14 * 3600 + 5 * 60 + 9) / 86400.0, 1e-9);
    EXPECT_EQ(cell(3).text, "07:15:42");
    EXPECT_EQ(cell(4).text, "14:05:09");
    EXPECT_EQ(cell(5).kind, ProbedCell::Kind::Text);
    EXPECT_EQ(cell(5).text, "C");
    EXPECT_EQ(cell(6).text, "edge left");
    EXPECT_EQ(cell(7).kind, ProbedCell::Kind::Formula);
    EXPECT_EQ(cell(7).number, 2.46);
    EXPECT_EQ(cell(8).kind, ProbedCell::Kind::Text);
}

TEST_F(CalcServerTest, TheWrittenCellStaysActiveAfterPrintPreview) {
    ExcelLink link(makeCalcAutomationServer(options), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    OfficeProbe probe(options.pipeName);
    ASSERT_EQ(link.writeText(2, 2, "1.23"), ExcelError::Success);
    EXPECT_EQ(probe.activeCell(), "B2");

    probe.togglePrintPreview();
    EXPECT_EQ(link.writeText(3, 2, "1.30"), ExcelError::Success) << "while the preview shows";
    probe.togglePrintPreview();
    ASSERT_EQ(link.writeText(4, 3, "1.24"), ExcelError::Success);
    EXPECT_EQ(probe.activeCell(), "C4");
    ASSERT_EQ(link.writeText(5, 1, "1.25"), ExcelError::Success);
    EXPECT_EQ(probe.activeCell(), "A5");
}

TEST_F(CalcServerTest, OpenedWorkbookListsItsSheetsAndWritesGoToTheSelectedOne) {
    const auto book = folder / "book.xls";
    std::filesystem::copy_file(std::filesystem::path(TARVO_EXCEL_TEST_DATA) / "ThreeSheets.xls",
                               book);
    {
        ExcelLink link(makeCalcAutomationServer(options), boxes);
        ASSERT_EQ(link.openWorkbook(book.string()), ExcelError::Success);
        std::int32_t count = 0;
        EXPECT_EQ(link.worksheetCount(count), ExcelError::Success);
        EXPECT_EQ(count, 3);
        std::vector<std::string> names(3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(link.worksheetName(i + 1, names[i]), ExcelError::Success);
        }
        EXPECT_THAT(names, ElementsAre("Alpha", "Beta", "Gamma"));
        std::string name;
        EXPECT_EQ(link.worksheetName(4, name), ExcelError::Unspecified);

        EXPECT_EQ(link.writeText(1, 1, "first"), ExcelError::Success);
        EXPECT_EQ(link.selectWorksheet("Nope"), ExcelError::WorksheetNotFound);
        EXPECT_EQ(link.selectWorksheet("Gamma"), ExcelError::Success);
        EXPECT_EQ(link.writeText(1, 1, "third"), ExcelError::Success);
        EXPECT_EQ(link.show(), ExcelError::Success);
        EXPECT_EQ(link.placeWindow(1, 1, 500, 300), ExcelError::Success);
        EXPECT_EQ(link.hide(), ExcelError::Success);
        ASSERT_EQ(link.saveCopy((folder / "copy.xls").string()), ExcelError::Success);

        OfficeProbe probe(options.pipeName);
        EXPECT_EQ(probe.cell(folder / "copy.xls", 0, 0, 0).text, "first");
        EXPECT_EQ(probe.cell(folder / "copy.xls", 2, 0, 0).text, "third");
        // Only a copy was written; the opened file is as it was.
        EXPECT_EQ(probe.cell(book, 0, 0, 0).kind, ProbedCell::Kind::Empty);
    }
    // Destroyed while running: the office quits without asking about the
    // unsaved workbook, and without an error.
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CalcServerTest, MissingWorkbookIsNotFoundAndLeavesNoOfficeBehind) {
    ExcelLink link(makeCalcAutomationServer(options), boxes);
    EXPECT_EQ(link.openWorkbook((folder / "missing.xls").string()), ExcelError::WorkbookNotFound);
    EXPECT_FALSE(link.isRunning());
    EXPECT_TRUE(
        test::waitUntil([&] { return test::officeProcesses(options.pipeName).empty(); }, 5s));
}

TEST_F(CalcServerTest, WorkbookClosedInTheOfficeMakesTheNextWriteClosedByUser) {
    ExcelLink link(makeCalcAutomationServer(options), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    ASSERT_EQ(link.writeText(1, 1, "before"), ExcelError::Success);

    OfficeProbe(options.pipeName).closeDocumentsAsTheUser();
    ASSERT_TRUE(test::waitUntil([&] { return !link.isRunning(); }, 10s));

    EXPECT_EQ(link.writeText(2, 1, "after"), ExcelError::ClosedByUser);
    EXPECT_EQ(link.close(), ExcelError::Success);
}

TEST_F(CalcServerTest, HungOfficeFailsTheCallAtItsDeadlineInsteadOfHanging) {
    options.callDeadline = 2s;
    ExcelLink link(makeCalcAutomationServer(options), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    const pid_t office = officePid();
    ASSERT_GT(office, 0);
    ASSERT_EQ(::kill(office, SIGSTOP), 0);

    const auto began = std::chrono::steady_clock::now();
    EXPECT_EQ(link.writeText(1, 1, "lost"), ExcelError::Unspecified);
    EXPECT_LT(std::chrono::steady_clock::now() - began, 15s);
    // The hung office was ended; the next call fails at once.
    EXPECT_EQ(link.writeText(2, 1, "lost"), ExcelError::Unspecified);
    // The first close stops at the failed step; the second lets the dead office go.
    EXPECT_EQ(link.close(), ExcelError::Unspecified);
    EXPECT_TRUE(link.isRunning());
    EXPECT_EQ(link.close(), ExcelError::Unspecified);
    EXPECT_FALSE(link.isRunning());
}

TEST_F(CalcServerTest, OfficeThatDiedFailsEveryCallAndASecondCloseLetsItGo) {
    ExcelLink link(makeCalcAutomationServer(options), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    const pid_t office = officePid();
    ASSERT_GT(office, 0);
    ASSERT_EQ(::kill(office, SIGKILL), 0);

    EXPECT_EQ(link.writeText(1, 1, "lost"), ExcelError::Unspecified);
    EXPECT_EQ(link.saveCopy((folder / "lost.xls").string()), ExcelError::SaveFailed);
    EXPECT_FALSE(std::filesystem::exists(folder / "lost.xls"));
    EXPECT_EQ(link.close(), ExcelError::Unspecified);
    EXPECT_TRUE(link.isRunning());
    EXPECT_EQ(link.close(), ExcelError::Unspecified);
    EXPECT_FALSE(link.isRunning());
}

// CloseEXCEL turns the alerts on before Quit, and the office asks about the
// operator's changed workbook. The question stays up longer than any call may
// take, yet the office is not taken for hung; Cancel keeps it, and close fails.
TEST_F(CalcServerTest, QuestionOnQuitIsWaitedForAndCancelKeepsTheOfficeAndFailsTheClose) {
    test::VirtualDisplay display;
    if (!display.running()) {
        GTEST_SKIP() << "no Xvfb for the office's question";
    }
    // The tests' offscreen Qt setting would keep the office from drawing.
    ::unsetenv("QT_QPA_PLATFORM");
    options.headless = false;
    // Short, so that the operator's question outlasts it; the first workbook
    // has the file's deadline.
    options.callDeadline = 4s;
    ExcelLink link(makeCalcAutomationServer(options), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    const pid_t office = officePid();
    OfficeProbe operatorAtTheOffice(options.pipeName);
    operatorAtTheOffice.changeAWorkbookOfTheOperator();

    bool asked = false;
    std::thread operatorThinks(
        [&] { asked = operatorAtTheOffice.cancelQuestion(30s, 2 * options.callDeadline); });
    EXPECT_EQ(link.close(), ExcelError::Unspecified);
    operatorThinks.join();
    EXPECT_TRUE(asked);
    EXPECT_TRUE(link.isRunning());
    EXPECT_EQ(officePid(), office);

    // Ended by the operator: the second close lets the office go, whatever
    // its quit got to see of the office's end.
    operatorAtTheOffice.endOffice();
    ASSERT_TRUE(
        test::waitUntil([&] { return test::officeProcesses(options.pipeName).empty(); }, 10s));
    link.close();
    EXPECT_FALSE(link.isRunning());
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

// Run by the test below as a program of its own: starts the office, the
// operator changes a workbook of theirs in it, and the program ends.
TEST(CalcProgram, DISABLED_EndsWhileTheOperatorHasChangedWorkInItsOffice) {
    const char* pipeName = std::getenv("TARVO_TEST_PIPE");
    ASSERT_NE(pipeName, nullptr);
    CalcServerOptions options;
    options.pipeName = pipeName;
    options.headless = true;
    options.startDeadline = 40s;
    test::RecordingMessageBoxes boxes;
    {
        ExcelLink link(makeCalcAutomationServer(options), boxes);
        ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
        OfficeProbe(pipeName).changeAWorkbookOfTheOperator();
    }
    EXPECT_TRUE(boxes.shown.empty());
}

// Program exit asks nothing; an office holding the operator's unsaved work is
// left running for the operator, with its profile, past the program's end.
TEST_F(CalcServerTest, ProgramExitLeavesAnOfficeHoldingTheOperatorsChangedWorkbookRunning) {
    const pid_t program = ::fork();
    if (program == 0) {
        ::setenv("TARVO_TEST_PIPE", options.pipeName.c_str(), 1);
        ::execl("/proc/self/exe", "excel_calc_tests", "--gtest_also_run_disabled_tests",
                "--gtest_filter=CalcProgram.DISABLED_*", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    // Released, the office is no child of this test: a failed check must not
    // leave it running.
    struct EndOffices {
        const std::string& pipeName;
        ~EndOffices() {
            for (pid_t office : test::officeProcesses(pipeName)) {
                ::kill(office, SIGKILL);
            }
        }
    } endOffices{options.pipeName};
    int status = -1;
    ASSERT_EQ(::waitpid(program, &status, 0), program);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    // Were it still bound to the program, it would be going by now.
    EXPECT_FALSE(
        test::waitUntil([&] { return test::officeProcesses(options.pipeName).empty(); }, 3s));
    const pid_t office = officePid();
    ASSERT_GT(office, 0);

    // The next program's start takes the profile for one still in use.
    const auto profile = test::officeProfile(office);
    ASSERT_TRUE(std::filesystem::is_directory(profile));
    calc::OwnedFolder::removeAbandoned(profile.parent_path(), "tarvo-calc-");
    EXPECT_TRUE(std::filesystem::is_directory(profile));
    OfficeProbe(options.pipeName).endOffice();
}

TEST_F(CalcServerTest, NoOfficeInstalledIsNotInstalled) {
    options.office = folder / "soffice.bin";
    ExcelLink link(makeCalcAutomationServer(options), boxes);
    EXPECT_EQ(link.newWorkbook(), ExcelError::NotInstalled);
    EXPECT_FALSE(link.isRunning());
}

TEST_F(CalcServerTest, PreparedOfficeIsHandedOverAndNoSecondStartsWhileItRuns) {
    PreparedServer server = makePreparedCalcServer(options);
    server.prepare();
    // The probe waits for the office to answer on its pipe.
    { OfficeProbe answering(options.pipeName); }
    const pid_t prepared = officePid();
    ASSERT_GT(prepared, 0);

    ExcelLink link(server.factory, boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    EXPECT_EQ(officePid(), prepared);
    server.prepare();
    EXPECT_EQ(link.writeText(1, 1, "in the prepared office"), ExcelError::Success);
    EXPECT_THAT(test::officeProcesses(options.pipeName), ElementsAre(prepared));
    EXPECT_EQ(link.close(), ExcelError::Success);
}

// Stand-ins for an office that never gets to its first answer: one that never
// opens its pipe, one that listens and says nothing, one that listens and is
// then stopped. The office's pipe named N is the socket /tmp/OSL_PIPE_<uid>_N.
std::filesystem::path writeSilentOffice(const std::filesystem::path& folder,
                                        const std::string& behaviour) {
    const auto program = folder / "soffice.bin";
    std::ofstream(program) << "#!/usr/bin/perl\n"
                              "use IO::Socket::UNIX;\n"
                              "my ($name) = join(' ', @ARGV) =~ /pipe,name=([^;]+);/;\n"
                              "open(my $f, '>', \"$0.pid\"); print $f $$; close $f;\n"
                           << behaviour << "sleep 600;\n";
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    return program;
}

const std::string kListen =
    "my $s = IO::Socket::UNIX->new(Type => SOCK_STREAM(), Listen => 5,\n"
    "    Local => \"/tmp/OSL_PIPE_${<}_$name\");\n";

TEST_F(CalcServerTest, StoppedOrMuteOfficeIsNotInstalledWithinTheStartLimitAndIsEnded) {
    const std::string& listen = kListen;
    const std::vector<std::pair<const char*, std::string>> offices{
        {"never listens", ""},
        {"listens, never answers", listen},
        {"listens, then stopped", listen + "kill 'STOP', $$;\n"},
        // Every write to such a pipe breaks it: the program must live on.
        {"hangs up on every caller", listen + "while (my $c = $s->accept) { close $c; }\n"},
    };
    options.startDeadline = 2s;
    for (const auto& [name, behaviour] : offices) {
        SCOPED_TRACE(name);
        test::TempDir home;
        options.office = writeSilentOffice(home.path(), behaviour);
        ExcelLink link(makeCalcAutomationServer(options), boxes);
        const auto began = std::chrono::steady_clock::now();
        EXPECT_EQ(link.newWorkbook(), ExcelError::NotInstalled);
        EXPECT_LT(std::chrono::steady_clock::now() - began, options.startDeadline + 5s);
        EXPECT_FALSE(link.isRunning());

        std::string pid;
        std::ifstream(home / "soffice.bin.pid") >> pid;
        ASSERT_FALSE(pid.empty());
        // Neither running nor left as a zombie.
        EXPECT_FALSE(std::filesystem::exists("/proc/" + pid));
        // Killed, it could not take its pipe with it; the client did.
        EXPECT_FALSE(std::filesystem::exists("/tmp/OSL_PIPE_" + std::to_string(::getuid()) + "_" +
                                             options.pipeName));
    }
}

TEST_F(CalcServerTest, StarterGoneWhilePreparingCutsTheStartShortAndLeavesNoOffice) {
    test::TempDir home;
    options.office = writeSilentOffice(home.path(), kListen);
    const auto began = std::chrono::steady_clock::now();
    {
        PreparedServer server = makePreparedCalcServer(options);
        server.prepare();
        ASSERT_TRUE(test::waitUntil(
            [&] { return std::filesystem::exists(home / "soffice.bin.pid"); }, 10s));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - began, options.startDeadline / 2);
}

TEST(CalcText, TextThatIsNotUtf8IsReadAsWindows1252) {
    EXPECT_EQ(calc::toUtf8(calc::toOUString("Gr\xF6\xDF"
                                            "e")),
              "Größe");
    EXPECT_EQ(calc::toUtf8(calc::toOUString("Größe")), "Größe");
    EXPECT_EQ(calc::toUtf8(calc::toOUString("")), "");
}

}  // namespace
}  // namespace tarvo
