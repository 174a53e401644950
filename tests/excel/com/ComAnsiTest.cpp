// The spreadsheet client's text on a Windows whose ANSI code page is 1251:
// run in a prefix started with that code page (the fixture's locale). Text
// typed in Cyrillic reaches the program as 1251 bytes through the A
// functions; Excel must receive it, and answer it, as Cyrillic characters.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include "ExcelLinkServer.h"
#include "RecordingMessageBoxes.h"
#include "excel/ExcelMembers.h"
#include "excel/com/ComVariant.h"

namespace tarvo {
namespace {

using test::FakeExcel;
using ::testing::Contains;

// "Привет" and "Лист1" in code page 1251.
const std::string kGreeting = "\xCF\xF0\xE8\xE2\xE5\xF2";
const std::string kSheet =
    "\xCB\xE8\xF1\xF2"
    "1";

class Cp1251Test : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(GetACP(), 1251u) << "the prefix must run with code page 1251";
    }
};

// What any server, Excel included, receives and answers: the characters, not
// the bytes read as Windows-1252.
TEST_F(Cp1251Test, BstrsCarryTheCyrillicCharactersBothWays) {
    com::Variant sent;
    ASSERT_TRUE(com::toVariant(AutomationValue::string(kGreeting), *sent.get(), nullptr));
    EXPECT_EQ(std::wstring(V_BSTR(&*sent), SysStringLen(V_BSTR(&*sent))),
              L"\u041F\u0440\u0438\u0432\u0435\u0442");
    com::Variant answered;
    V_VT(answered.get()) = VT_BSTR;
    V_BSTR(answered.get()) = SysAllocString(L"\u041B\u0438\u0441\u04421");
    EXPECT_EQ(com::fromVariant(*answered)->asString(), kSheet);
}

TEST_F(Cp1251Test, CommentAndSheetNameCrossToTheServerIntact) {
    FakeExcel excel;
    excel.worksheet->answer("get", excel::kName, AutomationValue::string(kSheet));
    test::RecordingMessageBoxes boxes;
    ExcelLink link(test::serverFor(excel), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    std::string name;
    ASSERT_EQ(link.worksheetName(1, name), ExcelError::Success);
    EXPECT_EQ(name, kSheet);
    ASSERT_EQ(link.selectWorksheet(name), ExcelError::Success);
    ASSERT_EQ(link.writeText(2, 3, kGreeting), ExcelError::Success);
    EXPECT_THAT(excel.calls(), Contains("Worksheets.get 0xAA BSTR \"" + kSheet + "\""));
    EXPECT_THAT(excel.calls(), Contains("Range.put 0x6 BSTR \"" + kGreeting + "\""));
}

}  // namespace
}  // namespace tarvo
