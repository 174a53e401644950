#include "device/InstrumentSettings.h"

#include <gtest/gtest.h>

#include "TempDir.h"
#include "files/IniFile.h"

namespace tarvo {
namespace {

using Choice = std::optional<InstrumentChoice>;

TEST(InstrumentSettings, AbsentEmptyAndPollAreThePolledDensitometer) {
    for (const char* value : {"", "  ", "poll", "POLL"}) {
        EXPECT_EQ(parseInstrument(value), Choice(InstrumentChoice{})) << value;
    }
}

TEST(InstrumentSettings, EachSeriesRunsAtItsOwnRateUnlessAnotherIsNamed) {
    EXPECT_EQ(parseInstrument("xrite-400"), Choice({Instrument::XRite400, 1200}));
    EXPECT_EQ(parseInstrument("xrite-500"), Choice({Instrument::XRite500, 9600}));
    EXPECT_EQ(parseInstrument("xrite-400,9600"), Choice({Instrument::XRite400, 9600}));
    EXPECT_EQ(parseInstrument(" XRite-500 , 300 "), Choice({Instrument::XRite500, 300}));
}

TEST(InstrumentSettings, UnknownNamesAndRatesAreNotGuessedAt) {
    for (const char* value : {"xrite-600", "xrite 400", "xrite-400,1234", "xrite-400,19200",
                              "xrite-400,", "xrite-400,9600,1", "poll,4800", ",1200"}) {
        EXPECT_EQ(parseInstrument(value), std::nullopt) << value;
    }
}

TEST(InstrumentSettings, EveryChoiceWrittenReadsBackTheSame) {
    for (const Instrument instrument : instruments()) {
        for (const int rate : lineBaudRates()) {
            InstrumentChoice choice{instrument, rate};
            if (instrument == Instrument::Polled) {
                choice.baudRate = 4800;
            }
            EXPECT_EQ(parseInstrument(instrumentValue(choice)), Choice(choice))
                << instrumentValue(choice);
        }
    }
    EXPECT_EQ(instrumentValue({Instrument::XRite400, 1200}), "xrite-400");
    EXPECT_EQ(instrumentValue({Instrument::XRite500, 2400}), "xrite-500,2400");
    EXPECT_EQ(instrumentValue({}), "poll");
}

TEST(InstrumentSettings, TheFileKeepsOneInstrumentPerPort) {
    test::TempDir dir;
    IniFile ini(dir / "Tarvo.ini");
    EXPECT_EQ(instrumentSetting(ini, 1).choice, Choice(InstrumentChoice{}));
    ASSERT_TRUE(writeInstrument(ini, 2, {Instrument::XRite500, 4800}));
    ASSERT_TRUE(writeInstrument(ini, 3, {Instrument::XRite400, 1200}));
    EXPECT_FALSE(writeInstrument(ini, 5, {Instrument::XRite400, 1200}));
    EXPECT_EQ(ini.value("Instruments", "COM2"), "xrite-500,4800");
    EXPECT_EQ(ini.value("Instruments", "COM3"), "xrite-400");
    EXPECT_EQ(instrumentSetting(ini, 2).choice, Choice({Instrument::XRite500, 4800}));
    EXPECT_EQ(ini.value("Instruments", "COM5"), std::nullopt);
}

TEST(InstrumentSettings, TheMessageAndTooltipNameWhatTheFileSays) {
    EXPECT_EQ(unknownInstrumentText("xrite-600", 1),
              "Unknown instrument \"xrite-600\" for COM1 in Tarvo.ini.");
    EXPECT_EQ(instrumentToolTip({"", InstrumentChoice{}}), "");
    EXPECT_EQ(instrumentToolTip({"xrite-400", InstrumentChoice{Instrument::XRite400, 1200}}),
              ", X-Rite 400 series at 1200 baud");
    EXPECT_EQ(instrumentToolTip({"spectro", std::nullopt}), ", unknown instrument \"spectro\"");
    EXPECT_STREQ(instrumentTitle(Instrument::Polled), "Densitometer (polled)");
    EXPECT_STREQ(instrumentTitle(Instrument::XRite500), "X-Rite 500 series");
}

}  // namespace
}  // namespace tarvo
