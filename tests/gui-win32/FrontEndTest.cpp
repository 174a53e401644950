// The real tarvo.exe under wine, driven from this second program as an
// operator would drive it: buttons pressed by id, the list view read cell by
// cell, message boxes and the Save As dialog answered. The densitometer is
// the simulator on COMn of the wine prefix.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "GuiDriver.h"
#include "WineSimulator.h"
#include "res/ControlIds.h"

namespace tarvo::test {
namespace {

using Strings = std::vector<std::string>;

constexpr milliseconds kWindowDeadline{30000};
constexpr milliseconds kReadingDeadline{20000};
constexpr const char* kMainCaption = "tarvo V 1.22";

// The port of the tests' own simulator, away from the ports other suites map.
int testPort() {
    const char* port = std::getenv("TARVO_FRONTEND_COM");
    return port ? std::atoi(port) : 3;
}

std::string today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_s(&local, &now);
    return std::to_string(local.tm_mday) + "." + std::to_string(local.tm_mon + 1) + "." +
           std::to_string(local.tm_year + 1900);
}

// Three colour readings: number, cyan, magenta, yellow, black (x1000), percent (x10).
const Strings kThreeReadings = {"colour=1,1235,980,50,1500,456", "colour=2,200,1500,300,1000,125",
                                "colour=3,1000,900,950,800,1000"};

class FrontEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        writeSettings("5", "0");
        removeJournals();
    }

    void TearDown() override {
        if (program && main) {
            program->closeWindow(main);
        }
        if (HasFailure() && simulator) {
            std::printf("simulator log:\n%s\n", simulator->log().c_str());
        }
    }

    // Tarvo.ini as the program finds it under %APPDATA%.
    void writeSettings(const std::string& fileType, const std::string& beep) {
        const std::string folder = std::string(std::getenv("APPDATA")) + "\\tarvo";
        CreateDirectoryA(folder.c_str(), nullptr);
        std::ofstream(folder + "\\Tarvo.ini", std::ios::binary)
            << "[Generic]\r\nCOMMNO=" << testPort() << "\r\nFILETYPE=" << fileType
            << "\r\nFILEPATH=" << files.windowsPath("last.txt")
            << "\r\nINSTANTSAVE=1\r\nVERSION=M\r\nBEEP=" << beep << "\r\n";
    }

    // Each test starts as the first session: no earlier test's readings are offered.
    static void removeJournals() {
        char local[MAX_PATH + 1] = {};
        GetEnvironmentVariableA("LOCALAPPDATA", local, sizeof local);
        std::error_code ignored;
        std::filesystem::remove_all(std::filesystem::path(local) / "tarvo", ignored);
    }

    void startSimulator(const Strings& script) {
        simulator = std::make_unique<WineSimulator>(script, testPort());
        ASSERT_EQ(simulator->problem(), "");
    }

    void launch() {
        program = std::make_unique<RunningProgram>("\"" + windowsPath(TARVO_EXE) + "\"", "");
        ASSERT_TRUE(program->started()) << "tarvo.exe did not start: " << GetLastError();
        main = waitForDialog(program->id(), kMainCaption, kWindowDeadline);
        ASSERT_NE(main, nullptr) << "no window \"" << kMainCaption << "\"";
        list = std::make_unique<RemoteListView>(GetDlgItem(main, id::kTable), program->id());
    }

    void clickStartAndWaitFor(const std::string& buttonText) {
        click(main, id::kStartDev);
        ASSERT_TRUE(waitUntil([&] { return itemTextOf(main, id::kStartDev) == buttonText; },
                              kReadingDeadline))
            << "the button reads \"" << itemTextOf(main, id::kStartDev) << "\"";
    }

    void measureThreeReadings() {
        startSimulator(kThreeReadings);
        launch();
        clickStartAndWaitFor("Stop Dev.");
        ASSERT_TRUE(waitUntil([&] { return list->rowCount() == 3; }, kReadingDeadline))
            << list->rowCount() << " rows";
    }

    HWND welcomeWindow() const {
        for (HWND window : ownedWindows(program->id(), main)) {
            if (textOf(window).empty()) {
                return window;
            }
        }
        return nullptr;
    }

    SharedFolder files;
    std::unique_ptr<WineSimulator> simulator;
    std::unique_ptr<RunningProgram> program;
    HWND main = nullptr;
    std::unique_ptr<RemoteListView> list;
};

TEST_F(FrontEnd, StartUpShowsTheSettingsAndOffersOnlyWhatWorksWhileStopped) {
    writeSettings("3", "1");
    launch();

    EXPECT_EQ(itemTextOf(main, id::kStartDev), "Start Dev.");
    EXPECT_EQ(itemTextOf(main, id::kDateText), today());
    for (int enabled : {id::kStartDev, id::kCom1, id::kCom2, id::kCom3, id::kCom4, id::kBeep,
                        id::kFileType, id::kComment, id::kCommentEdit, id::kExcel, id::kTable}) {
        EXPECT_TRUE(isEnabled(main, enabled)) << "control " << enabled;
    }
    for (int disabled :
         {id::kSave, id::kInstantSave, id::kDelete, id::kChange, id::kClear, id::kPrint}) {
        EXPECT_FALSE(isEnabled(main, disabled)) << "control " << disabled;
    }
    EXPECT_FALSE(isVisible(main, id::kInstantSave));
    EXPECT_FALSE(isChecked(main, id::kInstantSave)) << "INSTANTSAVE=1 is not obeyed";
    EXPECT_TRUE(isChecked(main, id::kBeep));
    const int checkedCom[] = {id::kCom1, id::kCom2, id::kCom3, id::kCom4};
    for (int port = 1; port <= 4; ++port) {
        EXPECT_EQ(isChecked(main, checkedCom[port - 1]), port == testPort()) << "COM " << port;
    }
    EXPECT_EQ(comboItems(main, id::kFileType),
              (Strings{"1DST34 (*.cm1)", "1DST21 (*.cm1)", "1DSTCustom (*.cm1)", "ASCII (*.den)",
                       "ASCIIBW(*.den)", "DISPLAY[*.txt]"}));
    EXPECT_EQ(comboSelection(main, id::kFileType), 3);

    Strings headings;
    for (int column = 0; column < list->columnCount(); ++column) {
        headings.push_back(list->heading(column));
    }
    EXPECT_EQ(headings, (Strings{"1: No.", "No. Dens", "3:   Cyan", "Magenta", "Yellow", "Black",
                                 "7:  Percent", "Color", "Time", " Comment"}));

    HWND welcome = welcomeWindow();
    ASSERT_NE(welcome, nullptr) << "no welcome window in front";
    RECT client{};
    GetClientRect(welcome, &client);
    EXPECT_EQ(client.right, 376);
    EXPECT_EQ(client.bottom, 200);
}

TEST_F(FrontEnd, EnterAndEscDoNotCloseTheMainWindow) {
    launch();
    HWND edit = GetDlgItem(main, id::kCommentEdit);
    for (WPARAM key : {VK_ESCAPE, VK_RETURN}) {
        PostMessageA(edit, WM_KEYDOWN, key, 1);
        PostMessageA(edit, WM_KEYUP, key, 0xC0000001);
    }
    // A click queued after the keys shows that they have been handled.
    const bool beep = isChecked(main, id::kBeep);
    click(main, id::kBeep);
    ASSERT_TRUE(waitUntil([&] { return isChecked(main, id::kBeep) != beep; }, kWindowDeadline));
    EXPECT_TRUE(IsWindow(main));
    EXPECT_FALSE(program->hasEnded(milliseconds(0)));
}

// --- where the windows open -------------------------------------------------

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Twice the centre, so that halves do not round away.
POINT doubleCentre(const RECT& rect) {
    return {rect.left + rect.right, rect.top + rect.bottom};
}

void expectCentredOver(const RECT& window, const RECT& area) {
    EXPECT_NEAR(doubleCentre(window).x, doubleCentre(area).x, 2);
    EXPECT_NEAR(doubleCentre(window).y, doubleCentre(area).y, 2);
}

// The main window opens centred on its screen, not at its corner, and the
// welcome picture lies over it.
TEST_F(FrontEnd, MainWindowOpensCentredOnItsScreenWithTheWelcomeWindowOverIt) {
    launch();
    HWND welcome = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (welcome = welcomeWindow()) != nullptr; }, kWindowDeadline));
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(main, MONITOR_DEFAULTTONEAREST), &monitor));
    expectCentredOver(windowRect(main), monitor.rcWork);
    EXPECT_TRUE(inside(windowRect(welcome), windowRect(main)));
}

TEST_F(FrontEnd, AboutBoxOpensCentredOverTheMainWindowWhereverItWasMoved) {
    launch();
    SetWindowPos(main, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return windowRect(main).left == 20; }, kWindowDeadline));
    PostMessageA(main, WM_SYSCOMMAND, 16, 0);
    HWND about = waitForDialog(program->id(), "About tarvo", kWindowDeadline);
    ASSERT_NE(about, nullptr);
    expectCentredOver(windowRect(about), windowRect(main));
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(about); }, kWindowDeadline));
}

// --- modality -----------------------------------------------------------------

// Browse's file dialog belongs to the Excel dialog, and while it is open no
// tarvo window takes input: CloseEXCEL or the close box pressed meanwhile
// would pull the dialog away from under its handler.
TEST_F(FrontEnd, NoWindowTakesInputWhileTheExcelDialogsBrowseIsOpen) {
    launch();
    click(main, id::kExcel);
    HWND excel = waitForDialog(program->id(), "Excel Automation", kWindowDeadline);
    ASSERT_NE(excel, nullptr);
    click(excel, id::kBrowse);
    HWND open = waitForDialog(program->id(), "Load Excel File", kWindowDeadline);
    ASSERT_NE(open, nullptr) << "no Load Excel File dialog";
    EXPECT_EQ(GetWindow(open, GW_OWNER), excel);
    EXPECT_FALSE(IsWindowEnabled(excel));
    EXPECT_FALSE(IsWindowEnabled(main));
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(open, IDCANCEL)));
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(open); }, kWindowDeadline));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(excel) && IsWindowEnabled(main); },
                          kWindowDeadline));
}

TEST_F(FrontEnd, SystemMenuCommandsSixteenToThirtyOneOpenTheAboutBox) {
    launch();
    PostMessageA(main, WM_SYSCOMMAND, 16 + 7, 0);
    HWND about = waitForDialog(program->id(), "About tarvo", kWindowDeadline);
    ASSERT_NE(about, nullptr);
    PostMessageA(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(about); }, kWindowDeadline));
}

TEST_F(FrontEnd, StartDevAgainstASilentDeviceTellsTheOperatorAndStaysStopped) {
    startSimulator({"identify=silent"});
    launch();
    click(main, id::kStartDev);
    const MessageBoxSeen box = waitForMessageBox(program->id(), "tarvo", kReadingDeadline);
    ASSERT_NE(box.window, nullptr) << "no message box";
    EXPECT_EQ(box.text, "Cannot write to open COM" + std::to_string(testPort()) +
                            " ! E1, \rprobably device not connected or switched off.");
    answer(box, IDOK);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box.window); }, kWindowDeadline));
    EXPECT_EQ(itemTextOf(main, id::kStartDev), "Start Dev.");
    EXPECT_FALSE(isEnabled(main, id::kSave));
}

TEST_F(FrontEnd, ThreeReadingsFromTheDeviceGiveTheirExactCellsNewestOnTop) {
    measureThreeReadings();

    const std::regex time("[ 12][0-9]:[ 0-5][0-9]:[ 0-5][0-9]");
    const Strings expected[] = {
        {"3", "  3", "1.00", "0.90", "0.95", "0.80", "100.00", "K"},
        {"2", "  2", "0.20", "1.50", "0.30", "1.00", "12.50", "M"},
        {"1", "  1", "1.23", "0.98", "0.05", "1.50", "45.60", "K"},
    };
    for (int row = 0; row < 3; ++row) {
        Strings cells = list->row(row);
        ASSERT_EQ(cells.size(), 10u);
        EXPECT_TRUE(std::regex_match(cells[8], time)) << "time \"" << cells[8] << "\"";
        EXPECT_EQ(cells[9], "");
        cells.resize(8);
        EXPECT_EQ(cells, expected[row]) << "row " << row;
    }
    EXPECT_EQ(itemTextOf(main, id::kDateText), today());
    EXPECT_FALSE(IsWindowVisible(welcomeWindow()));
    for (int enabled : {id::kSave, id::kDelete, id::kChange, id::kClear, id::kPrint}) {
        EXPECT_TRUE(isEnabled(main, enabled)) << "control " << enabled;
    }
    EXPECT_FALSE(isEnabled(main, id::kCom1));

    clearClipboard();
    const DWORD cleared = GetClipboardSequenceNumber();
    PostMessageA(main, WM_SYSCOMMAND, 32, 0);  // "&Copy Rows"
    // Looked at only once it changed: a look opens the clipboard, and while
    // it is open the program's own OpenClipboard fails.
    std::string copied;
    ASSERT_TRUE(waitUntil(
        [&] {
            return GetClipboardSequenceNumber() != cleared && !(copied = clipboardText()).empty();
        },
        kWindowDeadline));
    EXPECT_EQ(copied.substr(0, copied.find("\r\n", copied.find("\r\n") + 2)),
              "1: No.\tNo. Dens\t3:   Cyan\tMagenta\tYellow\tBlack\t7:  Percent\tColor\tTime\t"
              "Comment\r\n3\t3\t1.00\t0.90\t0.95\t0.80\t100.00\tK\t" +
                  list->cell(0, 8).substr(list->cell(0, 8).find_first_not_of(' ')) + "\t");

    clickStartAndWaitFor("Start Dev.");
    EXPECT_EQ(list->rowCount(), 3) << "the rows survive the stop";
    EXPECT_TRUE(isEnabled(main, id::kCom1));
    EXPECT_FALSE(isEnabled(main, id::kSave));
}

TEST_F(FrontEnd, KilledAfterThreeReadingsTheNextStartOffersThemAndYesShowsTheSameCells) {
    measureThreeReadings();
    std::vector<Strings> shown;
    for (int row = 0; row < 3; ++row) {
        shown.push_back(list->row(row));
    }
    program->kill();
    list.reset();
    main = nullptr;

    launch();
    const MessageBoxSeen question = waitForMessageBox(program->id(), "tarvo", kWindowDeadline);
    ASSERT_NE(question.window, nullptr) << "the readings were not offered";
    EXPECT_EQ(question.text, "Readings not saved in the last session: 3. Restore them?");
    answer(question, IDYES);
    ASSERT_TRUE(waitUntil([&] { return list->rowCount() == 3; }, kWindowDeadline))
        << list->rowCount() << " rows";
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list->row(row), shown[row]) << "row " << row;
    }
    EXPECT_EQ(list->heading(2), "3:   Cyan");
    EXPECT_EQ(itemTextOf(main, id::kStartDev), "Start Dev.") << "stopped, as after any start";
}

// Finds the Save As dialog's file name field, which the system's template
// holds as an edit inside a combo box (id 0x47C) or as a plain edit (0x480).
HWND fileNameField(HWND dialog) {
    HWND combo = GetDlgItem(dialog, 0x47C);
    if (combo) {
        HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr);
        return edit ? edit : combo;
    }
    return GetDlgItem(dialog, 0x480);
}

TEST_F(FrontEnd, DisplaySaveWritesExactlyTheTableAsShown) {
    measureThreeReadings();
    const std::string date = itemTextOf(main, id::kDateText);
    Strings times;
    for (int row = 0; row < 3; ++row) {
        times.push_back(list->cell(row, 8));
    }

    click(main, id::kSave);
    HWND dialog = waitForDialog(program->id(), "Save File", kWindowDeadline);
    ASSERT_NE(dialog, nullptr) << "no Save File dialog";
    HWND name = fileNameField(dialog);
    ASSERT_NE(name, nullptr);
    const std::string target = files.windowsPath("strip.txt");
    SendMessageA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, kWindowDeadline));

    const std::string expected =
        "# Creator: Tarvo, Lindquart GmbH 0049-5521-604718\r\n#Type: Display\r\n#Day: " + date +
        "\r\nNo\tNo TR\tCyan   Mag.   Yel.   Black  %    Col. Time    Comment\r\n\r\n"
        "3\t  3\t1.00   0.90   0.95   0.80   100.00 \tK  " +
        times[0] +
        "  \t\r\n"
        "2\t  2\t0.20   1.50   0.30   1.00   12.50 \tM  " +
        times[1] +
        "  \t\r\n"
        "1\t  1\t1.23   0.98   0.05   1.50   45.60 \tK  " +
        times[2] + "  \t\r\n";
    ASSERT_TRUE(waitUntil([&] { return files.read("strip.txt").size() >= expected.size(); },
                          kWindowDeadline))
        << "saved: \"" << files.read("strip.txt") << "\"";
    EXPECT_EQ(files.read("strip.txt"), expected);
}

TEST_F(FrontEnd, ExportCgatsFromTheSystemMenuWritesTheReadingsOldestFirst) {
    startSimulator(kThreeReadings);
    launch();
    PostMessageA(main, WM_SYSCOMMAND, 48, 0);  // "Export CGATS..."
    const MessageBoxSeen empty = waitForMessageBox(program->id(), "tarvo", kWindowDeadline);
    ASSERT_NE(empty.window, nullptr) << "an empty table was not refused";
    EXPECT_EQ(empty.text, "No readings to export.");
    answer(empty, IDOK);

    clickStartAndWaitFor("Stop Dev.");
    ASSERT_TRUE(waitUntil([&] { return list->rowCount() == 3; }, kReadingDeadline));
    PostMessageA(main, WM_SYSCOMMAND, 48, 0);
    HWND dialog = waitForDialog(program->id(), "Export CGATS", kWindowDeadline);
    ASSERT_NE(dialog, nullptr) << "no Export CGATS dialog";
    const std::string target = files.windowsPath("strip-cgats.txt");
    SendMessageA(fileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(target.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, kWindowDeadline));

    // The colour letter and the time as the table shows them, each quoted.
    auto letterAndTime = [&](int row) {
        return "\"" + list->cell(row, 7) + "\" \"" + list->cell(row, 8) + "\"";
    };
    const std::string data =
        "BEGIN_DATA\r\n"
        "1 1.23 0.98 0.05 1.50 45.60 " +
        letterAndTime(2) +
        " \"\"\r\n"
        "2 0.20 1.50 0.30 1.00 12.50 " +
        letterAndTime(1) +
        " \"\"\r\n"
        "3 1.00 0.90 0.95 0.80 100.00 " +
        letterAndTime(0) +
        " \"\"\r\n"
        "END_DATA\r\n";
    ASSERT_TRUE(
        waitUntil([&] { return files.read("strip-cgats.txt").find(data) != std::string::npos; },
                  kWindowDeadline))
        << "exported: \"" << files.read("strip-cgats.txt") << "\"";
    const std::string text = files.read("strip-cgats.txt");
    EXPECT_EQ(text.substr(0, 10), "CGATS.17\r\n");
    EXPECT_NE(text.find("DESCRIPTOR \"" + itemTextOf(main, id::kDateText) + " DISPLAY\"\r\n"),
              std::string::npos);
}

// The Ports and Strip windows are of the program's own classes, owned by the
// main window.
HWND ownedWindowCalled(DWORD processId, HWND owner, const std::string& caption) {
    for (HWND window : ownedWindows(processId, owner)) {
        if (textOf(window) == caption) {
            return window;
        }
    }
    return nullptr;
}

void pressKey(HWND window, WPARAM key) {
    PostMessageA(window, WM_KEYDOWN, key, 1);
    PostMessageA(window, WM_KEYUP, key, 0xC0000001);
}

TEST_F(FrontEnd, F3ShowsTheStripFollowingTheReadingsAndF2IsRefusedWhileMeasuring) {
    constexpr int kStripLine = 1301;
    writeSettings("1", "0");  // 1DST21
    startSimulator(kThreeReadings);
    launch();
    pressKey(main, VK_F3);
    HWND strip = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (strip = ownedWindowCalled(program->id(), main, "Strip")); },
                          kWindowDeadline))
        << "F3 showed no Strip window";
    EXPECT_EQ(itemTextOf(strip, kStripLine), "Cyan 1 of 21");

    clickStartAndWaitFor("Stop Dev.");
    EXPECT_TRUE(waitUntil([&] { return itemTextOf(strip, kStripLine) == "Cyan 4 of 21"; },
                          kReadingDeadline))
        << "the Strip window reads \"" << itemTextOf(strip, kStripLine) << "\"";

    // A click queued after the key shows that the key has been handled.
    pressKey(main, VK_F2);
    const bool beep = isChecked(main, id::kBeep);
    click(main, id::kBeep);
    ASSERT_TRUE(waitUntil([&] { return isChecked(main, id::kBeep) != beep; }, kWindowDeadline));
    EXPECT_EQ(ownedWindowCalled(program->id(), main, "Ports"), nullptr)
        << "the Ports window opened while a port is held";

    clickStartAndWaitFor("Start Dev.");
    pressKey(main, VK_F2);
    HWND ports = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (ports = ownedWindowCalled(program->id(), main, "Ports")); },
                          kWindowDeadline))
        << "F2 showed no Ports window once stopped";
    PostMessageA(ports, WM_CLOSE, 0, 0);
    EXPECT_TRUE(
        waitUntil([&] { return !IsWindow(ports) && IsWindowEnabled(main); }, kWindowDeadline));
}

// The window that has the keyboard's focus in the program's thread.
HWND focusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

bool overlap(const RECT& a, const RECT& b) {
    RECT shared{};
    return IntersectRect(&shared, &a, &b) != FALSE;
}

RECT workAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoA(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return monitor.rcWork;
}

// The window, its owner, their owner... (wine's print dialog may show a box
// of its own over itself) come to the owner.
bool ownedBy(HWND window, HWND owner) {
    for (HWND above = GetWindow(window, GW_OWNER); above; above = GetWindow(above, GW_OWNER)) {
        if (above == owner) {
            return true;
        }
    }
    return false;
}

HWND showStrip(DWORD processId, HWND main) {
    pressKey(main, VK_F3);
    HWND strip = nullptr;
    waitUntil([&] { return (strip = ownedWindowCalled(processId, main, "Strip")) != nullptr; },
              kWindowDeadline);
    return strip;
}

// Only keys: the focus lands on the check list, Tab goes to "Save Picture..."
// and back, Space opens the Save Picture dialog, which is the Strip window's
// and holds every tarvo window, and Esc closes it and then the Strip window.
TEST_F(FrontEnd, TheStripWindowObeysTheKeyboardAndItsSavePictureDialogIsItsOwn) {
    constexpr int kSavePicture = 1302, kChecksList = 1304;
    launch();
    HWND strip = showStrip(program->id(), main);
    ASSERT_NE(strip, nullptr) << "F3 showed no Strip window";
    HWND checks = GetDlgItem(strip, kChecksList);
    HWND save = GetDlgItem(strip, kSavePicture);
    ASSERT_TRUE(waitUntil([&] { return focusOf(strip) == checks; }, kWindowDeadline))
        << "the focus is not on the check list";
    pressKey(checks, VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return focusOf(strip) == save; }, kWindowDeadline))
        << "Tab did not go to Save Picture...";
    pressKey(save, VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return focusOf(strip) == checks; }, kWindowDeadline))
        << "Tab did not go back to the list";
    pressKey(checks, VK_TAB);
    ASSERT_TRUE(waitUntil([&] { return focusOf(strip) == save; }, kWindowDeadline));

    pressKey(save, VK_SPACE);
    HWND dialog = waitForDialog(program->id(), "Save Picture", kWindowDeadline);
    ASSERT_NE(dialog, nullptr) << "Space on the button opened no Save Picture dialog";
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), strip);
    EXPECT_FALSE(IsWindowEnabled(strip));
    EXPECT_FALSE(IsWindowEnabled(main)) << "the main window took input beside the dialog";
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, kWindowDeadline));
    ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(strip) && IsWindowEnabled(main); },
                          kWindowDeadline));

    ASSERT_TRUE(waitUntil([&] { return focusOf(strip) == save; }, kWindowDeadline))
        << "the focus did not come back to the button";
    pressKey(save, VK_ESCAPE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowVisible(strip); }, kWindowDeadline))
        << "Esc did not close the Strip window";
}

// Beside the main window's table, not over it, and on its screen.
TEST_F(FrontEnd, TheStripWindowOpensBesideTheMainWindow) {
    launch();
    HWND strip = showStrip(program->id(), main);
    ASSERT_NE(strip, nullptr);
    EXPECT_FALSE(overlap(windowRect(strip), windowRect(main)));
    EXPECT_TRUE(inside(windowRect(strip), workAreaOf(main)));
}

// The system's font at 150 %: the Strip window grows with it and still lies
// on the screen.
TEST_F(FrontEnd, AtOneHundredFortyFourDpiTheStripWindowStaysOnTheScreen) {
    HKEY desktop = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &desktop, nullptr),
              ERROR_SUCCESS);
    const DWORD dpi = 144;
    RegSetValueExA(desktop, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                   sizeof dpi);
    launch();
    RegDeleteValueA(desktop, "LogPixels");
    RegCloseKey(desktop);
    HWND strip = showStrip(program->id(), main);
    ASSERT_NE(strip, nullptr);
    constexpr int kSavePicture = 1302;
    EXPECT_EQ(windowRect(GetDlgItem(strip, kSavePicture)).bottom -
                  windowRect(GetDlgItem(strip, kSavePicture)).top,
              26 * 144 / 96)
        << "the program did not see 144 DPI";
    EXPECT_TRUE(inside(windowRect(strip), workAreaOf(main)));
}

// Print's dialog belongs to the main window, and no tarvo window takes input
// while it is open: a reading or the Strip window's Save Picture meanwhile
// would change what is being printed.
TEST_F(FrontEnd, ThePrintDialogIsTheMainWindowsAndHoldsEveryTarvoWindow) {
    launch();
    HWND strip = showStrip(program->id(), main);
    ASSERT_NE(strip, nullptr);
    const std::vector<HWND> before = dialogsOf(program->id());
    // The dialogs Print opened: wine's print dialog may raise a box of its own.
    auto opened = [&] {
        std::vector<HWND> dialogs;
        for (HWND dialog : dialogsOf(program->id())) {
            if (std::find(before.begin(), before.end(), dialog) == before.end()) {
                dialogs.push_back(dialog);
            }
        }
        return dialogs;
    };
    click(main, id::kPrint);
    HWND print = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] {
            const std::vector<HWND> dialogs = opened();
            for (HWND dialog : dialogs) {
                HWND owner = GetWindow(dialog, GW_OWNER);
                if (std::find(dialogs.begin(), dialogs.end(), owner) == dialogs.end()) {
                    print = dialog;
                }
            }
            return print != nullptr;
        },
        kWindowDeadline))
        << "Print showed no dialog";
    EXPECT_EQ(textOf(print), "Print");
    EXPECT_TRUE(ownedBy(print, main)) << "the Print dialog is no tarvo window's";
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_FALSE(IsWindowEnabled(strip)) << "the Strip window took input beside Print";
    // The innermost first.
    ASSERT_TRUE(waitUntil(
        [&] {
            const std::vector<HWND> dialogs = opened();
            if (!dialogs.empty()) {
                PostMessageA(dialogs.back(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            }
            return dialogs.empty();
        },
        kWindowDeadline));
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(strip) && IsWindowEnabled(main); },
                          kWindowDeadline));
}

TEST_F(FrontEnd, ComButtonsTooltipsNameThePortEachStandsFor) {
    {
        const std::string ini = std::string(std::getenv("APPDATA")) + "\\tarvo\\Tarvo.ini";
        std::ofstream(ini, std::ios::binary | std::ios::app) << "[Ports]\r\nCOM2=COM7\r\n";
    }
    launch();
    EXPECT_EQ(toolTipText(program->id(), main, GetDlgItem(main, id::kCom2)),
              "COM2: COM7 (present)");
    EXPECT_EQ(toolTipText(program->id(), main, GetDlgItem(main, id::kCom4)).substr(0, 11),
              "COM4: COM4 ")
        << "without a [Ports] entry COM4 is the system's COM4";
}

// --- an instrument that sends each reading as a line of text ------------------

class LineInstrument : public FrontEnd {
  protected:
    void putInstrument(const std::string& value) {
        const std::string ini = std::string(std::getenv("APPDATA")) + "\\tarvo\\Tarvo.ini";
        std::ofstream(ini, std::ios::binary | std::ios::app)
            << "[Instruments]\r\nCOM" << testPort() << "=" << value << "\r\n";
    }
};

TEST_F(LineInstrument, ItsLinesBecomeRowsNumberedByTarvoUntilThePortBreaks) {
    putInstrument("xrite-400,9600");
    startSimulator({"--instrument", "xrite-400", "--baud", "9600", "colour=7,1230,980,50,1500,0",
                    "colour=8,200,1500,300,1000,0"});
    launch();
    const int comButton[] = {id::kCom1, id::kCom2, id::kCom3, id::kCom4};
    EXPECT_THAT(toolTipText(program->id(), main, GetDlgItem(main, comButton[testPort() - 1])),
                ::testing::EndsWith(", X-Rite 400 series at 9600 baud"));
    clickStartAndWaitFor("Stop Dev.");
    ASSERT_TRUE(simulator->lockForClient());
    ASSERT_TRUE(waitUntil([&] { return list->rowCount() == 2; }, kReadingDeadline))
        << list->rowCount() << " rows";
    const Strings expected[] = {
        {"2", "  2", "0.20", "1.50", "0.30", "1.00", "0.00", "M"},
        {"1", "  1", "1.23", "0.98", "0.05", "1.50", "0.00", "K"},
    };
    for (int row = 0; row < 2; ++row) {
        Strings cells = list->row(row);
        cells.resize(8);
        EXPECT_EQ(cells, expected[row]) << "row " << row;
    }

    // The simulator gone, its terminal breaks as an adapter pulled out does.
    simulator.reset();
    EXPECT_TRUE(waitUntil([&] { return itemTextOf(main, id::kStartDev) == "Start Dev."; },
                          kReadingDeadline))
        << "a broken port did not stop acquisition";
    EXPECT_EQ(list->rowCount(), 2);
}

TEST_F(LineInstrument, AnUnknownNameIsShownOnStartDevAndNothingStarts) {
    putInstrument("xrite-999");
    launch();
    click(main, id::kStartDev);
    const MessageBoxSeen box = waitForMessageBox(program->id(), "tarvo", kReadingDeadline);
    ASSERT_NE(box.window, nullptr) << "no message box";
    EXPECT_EQ(box.text, "Unknown instrument \"xrite-999\" for COM" + std::to_string(testPort()) +
                            " in Tarvo.ini.");
    answer(box, IDOK);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(box.window); }, kWindowDeadline));
    EXPECT_EQ(itemTextOf(main, id::kStartDev), "Start Dev.");
}

// A 1DST21 reference as the program saves it: every patch of every ink at 1.00.
std::string flatReference(const std::string& type) {
    std::string text =
        "# Creator: Tarvo, Lindquart GmbH 0049-5521-604718 \r\n#!EFI 3\r\ntype: " + type +
        "\r\n#  Cyan  Magenta Yellow Black \r\n";
    for (int patch = 1; patch <= 21; ++patch) {
        text += std::to_string(patch) + " 1.00 1.00 1.00 1.00 \r\n";
    }
    return text;
}

void chooseInOpenDialog(DWORD processId, const std::string& path) {
    HWND dialog = waitForDialog(processId, "Reference", kWindowDeadline);
    ASSERT_NE(dialog, nullptr) << "no Reference dialog";
    SendMessageA(fileNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, kWindowDeadline));
}

bool listHolds(const RemoteListView& list, const std::string& text) {
    for (int row = 0; row < list.rowCount(); ++row) {
        if (list.cell(row, 0) == text) {
            return true;
        }
    }
    return false;
}

TEST_F(FrontEnd, AReferenceFromTheSystemMenuIsNamedInTheStripAndItsDriftsListed) {
    constexpr int kReferenceEntry = 512, kNoReferenceEntry = 528;
    constexpr int kReferenceLine = 1305, kChecksHeadline = 1303, kChecksList = 1304;
    writeSettings("1", "0");  // 1DST21
    std::ofstream(files.unixPath("press.cm1"), std::ios::binary) << flatReference("1DST21");
    std::ofstream(files.unixPath("custom.cm1"), std::ios::binary) << flatReference("1DST");
    startSimulator(kThreeReadings);
    launch();

    PostMessageA(main, WM_SYSCOMMAND, kReferenceEntry, 0);
    chooseInOpenDialog(program->id(), files.windowsPath("custom.cm1"));
    const MessageBoxSeen refused = waitForMessageBox(program->id(), "tarvo", kWindowDeadline);
    ASSERT_NE(refused.window, nullptr) << "a 1DST file was taken as a reference";
    EXPECT_EQ(refused.text, "Not a reference: " + files.windowsPath("custom.cm1") +
                                ", line 3: type 1DST is no 1DST34 or 1DST21 strip.");
    answer(refused, IDOK);

    PostMessageA(main, WM_SYSCOMMAND, kReferenceEntry, 0);
    chooseInOpenDialog(program->id(), files.windowsPath("press.cm1"));
    pressKey(main, VK_F3);
    HWND strip = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (strip = ownedWindowCalled(program->id(), main, "Strip")); },
                          kWindowDeadline));
    EXPECT_TRUE(
        waitUntil([&] { return itemTextOf(strip, kReferenceLine) == "Reference: press.cm1"; },
                  kWindowDeadline))
        << itemTextOf(strip, kReferenceLine);

    // Cyan 1 reads 1.23 and cyan 2 0.20, against 1.00.
    clickStartAndWaitFor("Stop Dev.");
    ASSERT_TRUE(waitUntil([&] { return list->rowCount() == 3; }, kReadingDeadline));
    const RemoteListView checks(GetDlgItem(strip, kChecksList), program->id());
    EXPECT_TRUE(waitUntil(
        [&] {
            return listHolds(checks, "Check Cyan 1: 0.23 above reference") &&
                   listHolds(checks, "Check Cyan 2: 0.80 below reference");
        },
        kReadingDeadline));
    EXPECT_EQ(itemTextOf(strip, kChecksHeadline), std::to_string(checks.rowCount()) + " checks");

    PostMessageA(main, WM_SYSCOMMAND, kNoReferenceEntry, 0);
    EXPECT_TRUE(
        waitUntil([&] { return itemTextOf(strip, kReferenceLine).empty(); }, kWindowDeadline));
    EXPECT_FALSE(listHolds(checks, "Check Cyan 1: 0.23 above reference"));
}

}  // namespace
}  // namespace tarvo::test
