#pragma once

#include <string>
#include <vector>

#include "table/ReadingKind.h"
#include "table/ReadingTable.h"

namespace tarvo {

// Number texts always carry a decimal point, whatever locale the desktop runs in.
std::string fixedText(float value, int decimals);

// The value cells of a colour reading, columns 2 upwards: densities, percent,
// colour letter and time. With the version letter 'L' the percent is left out
// and the later cells move one column left. The result's last column + 1 is
// the reading's comment column.
std::vector<CellText> colourCells(const ReadingValues& values, char version,
                                  const std::string& time);
// Density and percent with three decimals, then the time.
std::vector<CellText> densityCells(const ReadingValues& values, const std::string& time);

// "C", "M", "Y", "K" or "" from the raw cyan..black values.
std::string colourLetter(const ReadingValues& values);

}  // namespace tarvo
