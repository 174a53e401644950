// The pure pieces of the Windows front-end: what it hands the system's
// dialogs and printer, and how it reads its own resources.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "files/Saving.h"
#include "gui-win32/DialogInit.h"
#include "gui-win32/GdiPrinter.h"
#include "gui-win32/Win32FileChooser.h"
#include "gui-win32/Win32MessageBoxes.h"

namespace tarvo::win32 {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes record(std::uint16_t id, std::uint16_t message, const std::string& text) {
    // One allocation of the whole record: GCC 12 for i686 takes an insert
    // after the 8-byte head for a write beyond it (-Warray-bounds).
    const auto length = static_cast<std::uint32_t>(text.size() + 1);
    Bytes bytes(8 + length, 0);
    std::memcpy(bytes.data(), &id, 2);
    std::memcpy(bytes.data() + 2, &message, 2);
    std::memcpy(bytes.data() + 4, &length, 4);
    std::memcpy(bytes.data() + 8, text.data(), text.size());
    return bytes;
}

Bytes joined(const std::vector<Bytes>& records) {
    Bytes all;
    for (const Bytes& r : records) {
        all.insert(all.end(), r.begin(), r.end());
    }
    all.push_back(0);
    all.push_back(0);
    return all;
}

TEST(DialogInit, OddLengthsLeaveTheNextRecordUnalignedAndItIsStillRead) {
    const Bytes data = joined({record(1009, 0x403, "1DST34 (*.cm1)"),
                               record(1009, 0x403, "ASCII (*.den)"), record(1009, 0x403, "x")});
    const auto items = parseDialogInit(data.data(), data.size());
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "1DST34 (*.cm1)");
    EXPECT_EQ(items[1].text, "ASCII (*.den)");
    EXPECT_EQ(items[2].controlId, 1009);
    EXPECT_EQ(items[2].message, 0x403u);
    EXPECT_EQ(items[2].text, "x");
}

TEST(DialogInit, ARecordRunningPastTheEndEndsTheListWithoutReadingBeyondIt) {
    Bytes data = joined({record(1009, 0x403, "kept"), record(1009, 0x403, "cut off")});
    data.resize(data.size() - 6);
    const auto items = parseDialogInit(data.data(), data.size());
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].text, "kept");
    EXPECT_TRUE(parseDialogInit(data.data(), 5).empty());
}

TEST(MessageBoxAnswers, YesNoQuestionHasYesAndNoButtonsAndItsAnswersComeBack) {
    EXPECT_EQ(messageBoxStyle(MessageButtons::YesNo, MessageIcon::None), UINT{MB_YESNO});
    EXPECT_EQ(messageBoxStyle(MessageButtons::OkCancel, MessageIcon::Exclamation),
              UINT{MB_OKCANCEL | MB_ICONEXCLAMATION});
    EXPECT_EQ(messageBoxStyle(MessageButtons::Ok, MessageIcon::None), UINT{MB_OK});
    EXPECT_EQ(messageAnswer(IDYES), MessageAnswer::Yes);
    EXPECT_EQ(messageAnswer(IDNO), MessageAnswer::No);
    EXPECT_EQ(messageAnswer(IDOK), MessageAnswer::Ok);
    EXPECT_EQ(messageAnswer(IDCANCEL), MessageAnswer::Cancel) << "Esc or the close box";
}

TEST(FilterList, KeepsLeadingBlanksAndEndsWithAnEmptyString) {
    const std::string list = filterList(saveFilters(5));
    const std::string expected(
        " Display (*.txt)\0 *.txt\0 Fiery (*.cm1)\0 *.cm1\0 ColorBus (*.den)\0 *.den\0\0", 72);
    EXPECT_EQ(list, expected);
    EXPECT_EQ(filterList({}), std::string(1, '\0'));
}

TEST(PageTexts, LinesBeyondOnePageContinueOnTheNextWithNoneLost) {
    const std::vector<std::string_view> lines = {"a", "b\tc", "", "d", "e"};
    EXPECT_EQ(pageTexts(lines, 2),
              (std::vector<std::string>{"a\r\nb\tc\r\n", "\r\nd\r\n", "e\r\n"}));
    EXPECT_EQ(pageTexts(lines, 0).size(), 5u) << "a page too small for a line still takes one";
    EXPECT_TRUE(pageTexts({}, 10).empty());
}

}  // namespace
}  // namespace tarvo::win32
