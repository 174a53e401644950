#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tarvo {

class IniFile;

// The instrument families tarvo reads: the densitometer it polls, and the
// X-Rite series that send each reading as a line of text by themselves.
enum class Instrument { Polled, XRite400, XRite500 };

// What [Instruments] says of one port: the family and, for the line
// families, the baud rate (the polled densitometer always runs at 4800).
struct InstrumentChoice {
    Instrument instrument = Instrument::Polled;
    int baudRate = 4800;
    bool operator==(const InstrumentChoice&) const = default;
};

// The families in the order the Ports window offers them.
std::span<const Instrument> instruments();
// "Densitometer (polled)", "X-Rite 400 series", "X-Rite 500 series".
const char* instrumentTitle(Instrument instrument);
// The series' own rate: 1200 for the 400 series, 9600 for the 500 series.
int defaultBaudRate(Instrument instrument);
// The rates a line instrument may be set to, 300 to 9600.
std::span<const int> lineBaudRates();

// A value of [Instruments]: absent, empty or "poll" is the polled
// densitometer, "xrite-400" or "xrite-500" a series at its own rate, and
// "xrite-400,9600" one at another rate (names in either case). Nothing for
// an unknown name or a rate outside lineBaudRates: it is not guessed at.
std::optional<InstrumentChoice> parseInstrument(std::string_view value);
// The value that reads back as the choice: "poll", "xrite-400", "xrite-500,2400".
std::string instrumentValue(const InstrumentChoice& choice);

// [Instruments] COMn as the file holds it now (empty when absent), and what
// it chooses.
struct InstrumentSetting {
    std::string value;
    std::optional<InstrumentChoice> choice;
};
InstrumentSetting instrumentSetting(const IniFile& settings, int comPort);

// Writes [Instruments] COMn at once; false for a number outside 1 to 4 or a
// file that could not be written.
bool writeInstrument(IniFile& settings, int comPort, const InstrumentChoice& choice);

// "Unknown instrument "NAME" for COM1 in Tarvo.ini."
std::string unknownInstrumentText(std::string_view value, int comPort);

// The instrument as a file names what took its readings: "X-Rite 400 series",
// or "densitometer" for the polled one and a name tarvo does not know.
std::string instrumentation(const InstrumentSetting& setting);

// What a COM button's tooltip adds for the instrument: nothing for the
// polled densitometer, ", X-Rite 400 series at 1200 baud" for a line
// instrument, ", unknown instrument "NAME"" for a name tarvo does not know.
std::string instrumentToolTip(const InstrumentSetting& setting);

}  // namespace tarvo
