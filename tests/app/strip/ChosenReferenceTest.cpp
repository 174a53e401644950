#include "app/strip/ChosenReference.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "AnsweringFileChooser.h"
#include "RecordingMessageBoxes.h"
#include "ReferenceSamples.h"
#include "TempDir.h"

namespace tarvo {
namespace {

using test::kDst21Type;
using test::kDst34Type;

class ChosenReferenceTest : public ::testing::Test, public ReferenceObserver {
  protected:
    test::TempDir dir_;
    IniFile ini_{dir_ / "Tarvo.ini"};
    test::RecordingMessageBoxes messages_;
    test::AnsweringFileChooser chooser_;
    int told_ = 0;

    void referenceChanged() override { ++told_; }

    std::string file(const std::string& name, const std::string& text) {
        const std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        return path;
    }

    std::string stored(const char* key) { return ini_.value(kStripSection, key).value_or("-"); }
};

TEST_F(ChosenReferenceTest, AChosenFileIsKeptAndReadAgainAfterARestart) {
    const std::string path = file("press.cm1", test::tarvoFiery(kDst34Type));
    {
        ChosenReference chosen(ini_);
        chosen.load(messages_);
        chosen.addObserver(this);
        chooser_.answerNext(path);
        chosen.choose(chooser_, messages_);
        ASSERT_NE(chosen.reference(), nullptr);
        EXPECT_EQ(chosen.reference()->name, "press.cm1");
        EXPECT_EQ(told_, 1);
        chosen.removeObserver(this);
    }
    ASSERT_EQ(chooser_.requests.size(), 1u);
    EXPECT_EQ(chooser_.requests[0].mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(chooser_.requests[0].title, "Reference");
    EXPECT_EQ(stored(kReferenceKey), path);

    ChosenReference restarted(ini_);
    restarted.load(messages_);
    ASSERT_NE(restarted.reference(), nullptr);
    EXPECT_EQ(restarted.reference()->layout, ExportFormat::Dst34);
    EXPECT_TRUE(messages_.shown.empty());
}

TEST_F(ChosenReferenceTest, ARefusedFileIsNamedWithItsLineAndTheEarlierReferenceStays) {
    const std::string good = file("good.cm1", test::tarvoFiery(kDst21Type));
    std::string custom = test::tarvoFiery(kDst21Type);
    custom.replace(custom.find("1DST21"), 6, "1DST");
    const std::string other = file("other.cm1", custom);
    ChosenReference chosen(ini_);
    chosen.load(messages_);
    chooser_.answerNext(good);
    chooser_.answerNext(other);
    chooser_.answerNext("");  // cancelled
    chosen.choose(chooser_, messages_);
    chosen.addObserver(this);
    chosen.choose(chooser_, messages_);
    chosen.choose(chooser_, messages_);
    EXPECT_EQ(messages_.texts(),
              (std::vector<std::string>{"Not a reference: " + other +
                                        ", line 3: type 1DST is no 1DST34 or 1DST21 strip."}));
    EXPECT_EQ(messages_.shown[0].caption, "tarvo");
    ASSERT_NE(chosen.reference(), nullptr);
    EXPECT_EQ(chosen.reference()->name, "good.cm1");
    EXPECT_EQ(stored(kReferenceKey), good);
    EXPECT_EQ(told_, 0);
    // The next dialog opens in the reference's folder.
    EXPECT_EQ(chooser_.requests[1].initialFolder, (dir_.path() / "").string());
    chosen.removeObserver(this);
}

TEST_F(ChosenReferenceTest, NoReferenceDropsItFromTheSettingsToo) {
    ChosenReference chosen(ini_);
    chooser_.answerNext(file("a.txt", test::tarvoCgats(kDst21Type)));
    chosen.choose(chooser_, messages_);
    ASSERT_NE(chosen.reference(), nullptr);
    chosen.addObserver(this);
    chosen.drop();
    EXPECT_EQ(chosen.reference(), nullptr);
    EXPECT_EQ(stored(kReferenceKey), "");
    EXPECT_EQ(told_, 1);
    chosen.removeObserver(this);
    ChosenReference restarted(ini_);
    restarted.load(messages_);
    EXPECT_EQ(restarted.reference(), nullptr);
}

TEST_F(ChosenReferenceTest, AReferenceGoneByTheStartIsToldOnceThenNone) {
    const std::string path = file("gone.cm1", test::tarvoFiery(kDst21Type));
    ini_.write(kStripSection, kReferenceKey, path);
    std::filesystem::remove(path);
    ChosenReference chosen(ini_);
    chosen.load(messages_);
    EXPECT_EQ(chosen.reference(), nullptr);
    ASSERT_EQ(messages_.shown.size(), 1u);
    EXPECT_EQ(
        messages_.shown[0].text.rfind("Not a reference: " + path + ": the file cannot be read", 0),
        0u)
        << messages_.shown[0].text;
    ChosenReference again(ini_);
    again.load(messages_);
    EXPECT_EQ(messages_.shown.size(), 1u);
}

TEST_F(ChosenReferenceTest, ToleranceFromTheSettingsWrittenBackWithTheUsualOneForNonsense) {
    ChosenReference chosen(ini_);
    chosen.load(messages_);
    EXPECT_DOUBLE_EQ(chosen.tolerance(), 0.05);
    EXPECT_EQ(stored(kToleranceKey), "0.05");
    for (const auto& [text, expected] :
         std::vector<std::pair<std::string, double>>{{"0.1", 0.1},
                                                     {" 0.08 ", 0.08},
                                                     {"0", 0.0},
                                                     {"abc", 0.05},
                                                     {"-0.1", 0.05},
                                                     {"7", 0.05},
                                                     {"", 0.05}}) {
        ini_.write(kStripSection, kToleranceKey, text);
        chosen.load(messages_);
        EXPECT_DOUBLE_EQ(chosen.tolerance(), expected) << text;
    }
    EXPECT_EQ(stored(kToleranceKey), "0.05");
}

}  // namespace
}  // namespace tarvo
