#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "SimScript.h"

namespace tarvo::sim {

// How an instrument that sends each reading as a line of text writes it.
struct LineOptions {
    enum class Series { XRite400, XRite500 };
    // What the eighth bit of each 7-bit character carries on the wire.
    enum class Parity { Space, Mark, Even, Odd };

    Series series = Series::XRite400;
    bool crSeparator = false;  // CR between fields instead of a blank or comma
    bool crEnd = false;        // CR alone at the end of a line instead of CR LF
    bool noPoint = false;      // values in hundredths without a decimal point
    bool header = false;       // a header line before every reading
    bool noise = false;        // a line of noise before every reading
    Parity parity = Parity::Space;
};

// "xrite-400" or "xrite-500"; false for another name.
bool parseSeries(const std::string& name, LineOptions::Series& series);
// "space", "mark", "even" or "odd"; false for another name.
bool parseParity(const std::string& name, LineOptions::Parity& parity);

// The series' own rate: 1200 for the 400 series, 9600 for the 500 series.
int seriesBaudRate(LineOptions::Series series);

// The values a reading's line carries, as the table will show them: cyan,
// magenta, yellow and black (a density reading: its value alone) in
// thousandths, rounded to the hundredths the instrument writes.
struct LineValues {
    bool density = false;
    std::array<int, 4> values{};  // C, M, Y, K; a density reading uses [0]
};
LineValues lineValues(const SimReading& reading);

// The line of one reading, e.g. "V1.45 C1.38 M1.41 Y1.02 \r\n" (400 series)
// or "C 1.38,M 1.41,Y 1.02,V 1.45\r\n" (500 series); a density reading has
// the V field alone.
Bytes readingLine(const LineValues& values, const LineOptions& options);
// The header line the options call for before a reading.
Bytes headerLine(const LineOptions& options);
// A line of noise that no reader may take for a reading: control characters,
// a NUL and bytes with the top bit set, different for each n.
Bytes noiseLine(const LineOptions& options, int n);

}  // namespace tarvo::sim
