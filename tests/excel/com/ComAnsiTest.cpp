// The spreadsheet client's text on a Windows whose ANSI code page is 1251:
// run in a prefix started with that code page (the fixture's locale). Text
// typed in Cyrillic reaches the program as 1251 bytes through the A
// functions; Excel must receive it, and answer it, as Cyrillic characters.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "ExcelLinkServer.h"
#include "RecordingMessageBoxes.h"
#include "TestExcelServer.h"
#include "excel/ExcelMembers.h"
#include "excel/com/ComVariant.h"

namespace tarvo {
namespace {

using test::FakeExcel;
using ::testing::Contains;

// "Привет" and "Лист1" in code page 1251, and as Windows' wide characters.
const std::string kGreeting = "\xCF\xF0\xE8\xE2\xE5\xF2";
const std::string kSheet =
    "\xCB\xE8\xF1\xF2"
    "1";
constexpr const wchar_t* kWideGreeting = L"\u041F\u0440\u0438\u0432\u0435\u0442";
constexpr const wchar_t* kWideSheet = L"\u041B\u0438\u0441\u04421";

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
    EXPECT_EQ(std::wstring(V_BSTR(&*sent), SysStringLen(V_BSTR(&*sent))), kWideGreeting);
    com::Variant answered;
    V_VT(answered.get()) = VT_BSTR;
    V_BSTR(answered.get()) = SysAllocString(kWideSheet);
    EXPECT_EQ(com::fromVariant(*answered)->asString(), kSheet);
}

// The server's side is read as COM delivered it, in UTF-16 code units, and
// its answer is written in wide characters: a conversion that turned the
// bytes into the wrong characters and back again would pass a comparison of
// bytes decoded by the server with the client's own routine.
TEST_F(Cp1251Test, CommentAndSheetNameArriveAsCyrillicCharacters) {
    std::vector<std::wstring> arrived;
    const test::ArrivalWatching watching(
        [&arrived](DISPID member, WORD flags, const DISPPARAMS& parameters, VARIANT* result) {
            for (UINT i = 0; i < parameters.cArgs; ++i) {
                const VARIANT& argument = parameters.rgvarg[i];
                if (V_VT(&argument) == VT_BSTR)
                    arrived.emplace_back(V_BSTR(&argument), SysStringLen(V_BSTR(&argument)));
            }
            if (member != excel::kName || flags != DISPATCH_PROPERTYGET || result == nullptr)
                return false;
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocString(kWideSheet);
            return true;
        });
    FakeExcel excel;
    test::RecordingMessageBoxes boxes;
    ExcelLink link(test::serverFor(excel), boxes);
    ASSERT_EQ(link.newWorkbook(), ExcelError::Success);
    std::string name;
    ASSERT_EQ(link.worksheetName(1, name), ExcelError::Success);
    EXPECT_EQ(name, kSheet);
    ASSERT_EQ(link.selectWorksheet(name), ExcelError::Success);
    ASSERT_EQ(link.writeText(2, 3, kGreeting), ExcelError::Success);
    EXPECT_THAT(arrived, Contains(std::wstring(kWideSheet))) << "the sheet's name, selected";
    EXPECT_THAT(arrived, Contains(std::wstring(kWideGreeting))) << "the comment, written";
}

}  // namespace
}  // namespace tarvo
