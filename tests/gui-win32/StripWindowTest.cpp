// The Win32 Strip window in this process under wine: the next-patch line as
// the static text screen readers read, the four curves in their inks, the
// PNG of "Save Picture...", and no GDI object left behind by readings.
#include "gui-win32/StripWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "AnsweringFileChooser.h"
#include "GdiObjects.h"
#include "RecordingMessageBoxes.h"
#include "ReferenceSamples.h"
#include "TempDir.h"
#include "WindowPump.h"
#include "app/strip/StripChartLook.h"
#include "gui-win32/StripChart.h"

namespace tarvo {
namespace {

constexpr int kDst21 = 1;

void addReading(ReadingTable& table) {
    const int j = table.rowCount() + 1;
    table.addRow();
    for (int ink = 0; ink < 4; ++ink) {
        char text[16];
        std::snprintf(text, sizeof text, "%.2f", 0.1 * j + 0.2 * ink);
        table.setCell(0, 2 + ink, text);
    }
}

std::string lineOf(const win32::StripWindow& strip) {
    char text[256] = {};
    GetDlgItemTextA(strip.handle(), win32::StripWindow::kTextId, text, sizeof text);
    return text;
}

class Win32Strip : public ::testing::Test {
  protected:
    ReadingTable table;
    test::RecordingMessageBoxes messages;
    test::AnsweringFileChooser chooser;
    win32::StripWindow strip{GetModuleHandleA(nullptr), nullptr, table, kDst21, messages, chooser};
};

TEST_F(Win32Strip, NextPatchLineFollowsThreeReadings) {
    ASSERT_NE(strip.handle(), nullptr);
    strip.show();
    EXPECT_EQ(lineOf(strip), "Cyan 1 of 21");
    for (int reading = 1; reading <= 3; ++reading) {
        addReading(table);
        const std::string next = "Cyan " + std::to_string(reading + 1) + " of 21";
        EXPECT_TRUE(test::pumpUntil([&] { return lineOf(strip) == next; }))
            << "after reading " << reading << " the line reads " << lineOf(strip);
    }
}

// Closed, the window stays and follows nothing; shown again it has every reading.
TEST_F(Win32Strip, ShownAgainAfterClosingItHoldsTheReadingsTakenMeanwhile) {
    strip.show();
    SendMessageA(strip.handle(), WM_CLOSE, 0, 0);
    ASSERT_FALSE(IsWindowVisible(strip.handle()));
    for (int reading = 1; reading <= 3; ++reading)
        addReading(table);
    strip.show();
    EXPECT_EQ(lineOf(strip), "Cyan 4 of 21");
}

std::string checksHeadlineOf(const win32::StripWindow& strip) {
    char text[256] = {};
    GetDlgItemTextA(strip.handle(), win32::StripWindow::kChecksHeadlineId, text, sizeof text);
    return text;
}

TEST_F(Win32Strip, ChecksAreListedAndChoosingOneSelectsItsRowForChange) {
    strip.show();
    int shown = -1;
    strip.setRowShower([&](int row) { shown = row; });
    addReading(table);
    addReading(table);
    for (int column = 2; column <= 5; ++column)  // reading 2 repeats reading 1
        table.setCell(0, column, std::string(table.cell(1, column)));
    addReading(table);
    ASSERT_TRUE(test::pumpUntil([&] { return checksHeadlineOf(strip) == "1 check"; }))
        << checksHeadlineOf(strip);
    HWND list = GetDlgItem(strip.handle(), win32::StripWindow::kChecksListId);
    ASSERT_EQ(ListView_GetItemCount(list), 1);
    char text[128] = {};
    ListView_GetItemText(list, 0, 0, text, sizeof text);
    EXPECT_STREQ(text, "Check Cyan 2: same as Cyan 1");

    ListView_SetItemState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(table.firstSelected(), 1);
    EXPECT_EQ(shown, 1);
    table.change();
    table.setCell(table.replaceRow(), 2, "0.77");
    EXPECT_TRUE(test::pumpUntil([&] { return checksHeadlineOf(strip) == "No checks"; }));
    EXPECT_EQ(ListView_GetItemCount(list), 0);
}

// Counts the pixels of each ink's exact colour in a chart drawn into a bitmap.
std::map<CurveInk, int> inkPixels(const StripPicture& picture) {
    constexpr int kWidth = 400, kHeight = 300;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    win32::drawStripChart(memory, RECT{0, 0, kWidth, kHeight}, picture,
                          static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    GdiFlush();
    std::map<CurveInk, int> counts;
    const auto* pixels = static_cast<const std::uint32_t*>(bits);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        for (const InkLook& look : inkLooks()) {
            const Rgb c = look.colour;
            if (pixels[i] == (std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue))
                ++counts[look.ink];
        }
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return counts;
}

TEST_F(Win32Strip, EachCurveIsDrawnInItsInksColour) {
    for (int reading = 0; reading < 4 * 21; ++reading)
        addReading(table);
    StripProgress progress(table, kDst21);
    const std::map<CurveInk, int> counts = inkPixels(progress.picture());
    for (CurveInk ink : {CurveInk::Cyan, CurveInk::Magenta, CurveInk::Yellow, CurveInk::Black})
        EXPECT_GT(counts.count(ink) ? counts.at(ink) : 0, 50) << inkLook(ink).name;
    EXPECT_EQ(counts.count(CurveInk::Density), 0u) << "a colour table has no density curve";
}

TEST_F(Win32Strip, SavePictureWritesAPngFile) {
    test::TempDir dir;
    const std::string path = (dir / "strip.png").string();
    addReading(table);
    chooser.answerNext(path);
    SendMessageA(strip.handle(), WM_COMMAND,
                 MAKEWPARAM(win32::StripWindow::kSavePictureId, BN_CLICKED), 0);
    std::ifstream file(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
    EXPECT_TRUE(messages.shown.empty());
}

// A drawing that kept one object per reading would add 500.
constexpr DWORD kSlack = 16;

TEST_F(Win32Strip, FiveHundredReadingsLeaveNoGdiObjectBehind) {
    strip.show();
    auto drawn = [&] {
        UpdateWindow(strip.handle());
        return test::pumpUntil([&] { return !GetUpdateRect(strip.handle(), nullptr, FALSE); });
    };
    addReading(table);
    ASSERT_TRUE(drawn());
    const DWORD before = test::gdiObjectsInUse();
    for (int reading = 0; reading < 500; ++reading) {
        addReading(table);
        strip.refresh();
        ASSERT_TRUE(drawn());
    }
    EXPECT_LE(test::gdiObjectsInUse(), before + kSlack);
}

std::string referenceLineOf(const win32::StripWindow& strip) {
    char text[256] = {};
    GetDlgItemTextA(strip.handle(), win32::StripWindow::kReferenceLineId, text, sizeof text);
    return text;
}

// The reference chosen: named under the next patch, its drifts listed with
// the checks, its curves drawn in the inks' colours behind the live ones.
TEST_F(Win32Strip, AReferenceIsNamedDrawnAndItsDriftsListed) {
    test::TempDir dir;
    IniFile ini(dir / "Tarvo.ini");
    ChosenReference reference(ini);
    strip.setReference(&reference);
    strip.show();
    EXPECT_EQ(referenceLineOf(strip), "");
    const std::string path = (dir / "press.cm1").string();
    std::ofstream(path, std::ios::binary) << test::tarvoFiery(test::kDst21Type);
    chooser.answerNext(path);
    reference.choose(chooser, messages);
    EXPECT_TRUE(test::pumpUntil([&] { return referenceLineOf(strip) == "Reference: press.cm1"; }))
        << referenceLineOf(strip);

    test::addStripReadings(table, 21, 1, 3);
    table.setCell(table.rowCount() - 3, 2, "0.40");  // Cyan 3, 0.21 above
    ASSERT_TRUE(test::pumpUntil([&] { return checksHeadlineOf(strip) == "1 check"; }))
        << checksHeadlineOf(strip);
    HWND list = GetDlgItem(strip.handle(), win32::StripWindow::kChecksListId);
    char text[128] = {};
    ListView_GetItemText(list, 0, 0, text, sizeof text);
    EXPECT_STREQ(text, "Check Cyan 3: 0.21 above reference");

    // With no reading of magenta yet, its colour beyond the legend is the reference's.
    StripProgress progress(table, kDst21);
    progress.setReference(&reference);
    const auto with = inkPixels(progress.picture());
    StripProgress without(table, kDst21);
    const auto alone = inkPixels(without.picture());
    for (CurveInk ink : {CurveInk::Magenta, CurveInk::Yellow, CurveInk::Black}) {
        const int legend = alone.count(ink) ? alone.at(ink) : 0;
        EXPECT_GT(with.count(ink) ? with.at(ink) : 0, legend + 20) << inkLook(ink).name;
    }

    reference.drop();
    EXPECT_TRUE(test::pumpUntil([&] { return referenceLineOf(strip).empty(); }));
    EXPECT_TRUE(test::pumpUntil([&] { return checksHeadlineOf(strip) == "No checks"; }));
    EXPECT_TRUE(messages.shown.empty());
    strip.setReference(nullptr);  // the reference goes first
}

}  // namespace
}  // namespace tarvo
