#include "ModelStrip.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "app/ReadingCells.h"

namespace tarvo::test {
namespace {

constexpr int kDst34 = 0, kDst21 = 1;
constexpr double kPaper = 0.05;

// Each ink's solid through the cyan, magenta, yellow and visual filters: its
// own filter reads the strip's solid, the others what the ink also absorbs.
constexpr std::array<std::array<double, 4>, 4> kSolids{{
    {1.45, 0.45, 0.20, 0.50},  // cyan
    {0.14, 1.40, 0.65, 0.75},  // magenta
    {0.04, 0.10, 1.00, 0.09},  // yellow
    {1.68, 1.66, 1.58, 1.70},  // black
}};

// The part of the paper the ink covers, the spread dot included.
double printedArea(double area, const Press& press) {
    return area + 4 * press.spread * area * (1 - area);
}

double reflectance(double density) {
    return std::pow(10.0, -density);
}

// Yule-Nielsen: the reflectances of dot and paper mix after the n-th root.
double density(double solid, double area, const Press& press) {
    const double n = press.yuleNielsen;
    const double mixed = area * std::pow(reflectance(solid), 1 / n) +
                         (1 - area) * std::pow(reflectance(kPaper), 1 / n);
    return -std::log10(std::pow(mixed, n));
}

// What a densitometer calls the tone value: the dot area that would reflect
// as much without any gain (Murray-Davies).
double apparentArea(double solid, double measured) {
    return (reflectance(kPaper) - reflectance(measured)) /
           (reflectance(kPaper) - reflectance(solid));
}

int thousandths(double value) {
    return static_cast<int>(std::lround(value * 1000));
}

}  // namespace

std::vector<double> stripTones(int fileType) {
    std::vector<double> tones;
    if (fileType == kDst34) {
        tones = {0,  1,  2,  3,  4,  5,  6,  8,  10, 12, 14, 16, 18, 20, 25, 30, 35,
                 40, 45, 50, 55, 60, 65, 70, 75, 80, 85, 90, 93, 95, 97, 98, 99, 100};
    } else if (fileType == kDst21) {
        for (int tone = 0; tone <= 100; tone += 5) {
            tones.push_back(tone);
        }
    }
    return tones;
}

ReadingValues patchReading(int ink, double tone, const Press& press) {
    const double area = printedArea(tone / 100, press);
    ReadingValues values{};
    for (int filter = 0; filter < 4; ++filter) {
        values[1 + filter] = thousandths(density(kSolids[ink][filter], area, press));
    }
    const double ownSolid = kSolids[ink][ink];
    const double measured = values[1 + ink] / 1000.0;
    values[5] = static_cast<int>(std::lround(apparentArea(ownSolid, measured) * 1000));
    return values;
}

std::vector<ReadingValues> goodStrip(int fileType, const Press& press) {
    std::vector<ReadingValues> readings;
    for (int ink = 0; ink < 4; ++ink) {
        for (double tone : stripTones(fileType)) {
            readings.push_back(patchReading(ink, tone, press));
        }
    }
    return readings;
}

std::vector<ReadingValues> scattered(std::vector<ReadingValues> readings, int thousandths,
                                     unsigned seed) {
    // A linear congruential generator of its own: the standard distributions
    // may differ between libraries.
    std::uint32_t state = seed;
    const auto next = [&] {
        state = state * 1664525u + 1013904223u;
        return static_cast<int>((state >> 16) % static_cast<std::uint32_t>(2 * thousandths + 1)) -
               thousandths;
    };
    for (ReadingValues& values : readings) {
        for (int filter = 1; filter <= 4; ++filter) {
            values[filter] += next();
        }
    }
    return readings;
}

void addReading(ReadingTable& table, const ReadingValues& values) {
    const int row = table.addRow();
    ReadingValues numbered = values;
    numbered[0] = table.rowCount();
    for (CellText& cell : colourCells(numbered, 'M', "10: 0: 0")) {
        table.setCell(row, cell.column, std::move(cell.text));
    }
}

void addReadings(ReadingTable& table, const std::vector<ReadingValues>& readings) {
    for (const ReadingValues& values : readings) {
        addReading(table, values);
    }
}

}  // namespace tarvo::test
