#pragma once

#include <vector>

#include "table/ReadingKind.h"
#include "table/ReadingTable.h"

namespace tarvo::test {

// How a press prints a strip's tone ramps. The ink spreads on the paper (the
// dot grows by `spread` at 50 %, less toward either end) and light scatters
// in the paper under the dots (Yule-Nielsen). With the spread of 3 % and
// n = 1.7 the instrument reads about 15 % dot gain at 50 %.
struct Press {
    double spread = 0.03;
    double yuleNielsen = 1.7;
};

// The tone values, in percent, of the patches of a 1DST34 (fine at both ends)
// or 1DST21 (every 5 %) strip; empty for other file types.
std::vector<double> stripTones(int fileType);

// What the instrument sends for a patch of one ink (0 cyan to 3 black) at a
// tone value: cyan, magenta, yellow and visual density in thousandths, each
// ink also dark in the filters of the others as real inks are, and the tone
// value it reads, in tenths of a percent.
ReadingValues patchReading(int ink, double tone, const Press& press = {});

// Every reading of a well measured strip, oldest first: each ink's ramp in
// the order of the strip.
std::vector<ReadingValues> goodStrip(int fileType, const Press& press = {});

// The same readings as an instrument scatters them: each density off by up
// to `thousandths` either way, the same for the same seed on every machine.
std::vector<ReadingValues> scattered(std::vector<ReadingValues> readings, int thousandths,
                                     unsigned seed);

// Adds a reading to the table as the acquisition writes it.
void addReading(ReadingTable& table, const ReadingValues& values);
void addReadings(ReadingTable& table, const std::vector<ReadingValues>& readings);

}  // namespace tarvo::test
