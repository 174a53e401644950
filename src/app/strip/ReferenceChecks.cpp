#include "app/strip/ReferenceChecks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "files/StripBlocks.h"
#include "table/CellNumbers.h"

namespace tarvo {

namespace {

// The cells hold two decimals; parsed, 1.25 - 1.20 is a little above 0.05.
constexpr double kParsingSlack = 1e-6;

std::string twoDecimals(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::string driftText(int block, int patch, double difference) {
    return "Check " + std::string(kStripInkNames[block]) + " " + std::to_string(patch) + ": " +
           twoDecimals(std::abs(difference)) +
           (difference > 0 ? " above reference" : " below reference");
}

void checkBlock(const ReadingTable& table, const StripReference& reference, int block,
                double tolerance, std::vector<StripCheck>& checks) {
    for (int patch = 1; patch <= reference.patches; ++patch) {
        const int row = stripRow(table.rowCount(), reference.patches, block, patch);
        if (row < 0) {
            return;
        }
        const auto measured = shownNumber(table.cell(row, stripColumn(block)));
        if (!measured) {
            continue;
        }
        const double difference =
            *measured - reference.inks[block][static_cast<std::size_t>(patch - 1)];
        if (std::abs(difference) > tolerance + kParsingSlack) {
            checks.push_back({row, driftText(block, patch, difference)});
        }
    }
}

}  // namespace

bool comparesWith(const ReadingTable& table, int fileType, const StripReference& reference) {
    const auto format = exportFormatFromIndex(fileType);
    return table.mode() == ReadingKind::Colour && format == reference.layout;
}

std::vector<StripCheck> referenceChecks(const ReadingTable& table, int fileType,
                                        const StripReference& reference, double tolerance) {
    std::vector<StripCheck> checks;
    if (!comparesWith(table, fileType, reference)) {
        return checks;
    }
    for (int block = 0; block < kStripBlocks; ++block) {
        checkBlock(table, reference, block, tolerance, checks);
    }
    return checks;
}

std::vector<DensityCurve> referenceCurves(const StripReference& reference) {
    std::vector<DensityCurve> curves;
    for (int block = 0; block < kStripBlocks; ++block) {
        DensityCurve curve{static_cast<CurveInk>(block), {}};
        const auto& densities = reference.inks[static_cast<std::size_t>(block)];
        for (std::size_t patch = 0; patch < densities.size(); ++patch) {
            curve.points.push_back({static_cast<int>(patch) + 1, densities[patch]});
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

std::string referenceLine(const ReadingTable& table, int fileType,
                          const StripReference& reference) {
    std::string line = "Reference: " + reference.name;
    if (table.mode() == ReadingKind::Colour && !comparesWith(table, fileType, reference)) {
        line += " (" + std::string(typeName(reference.layout)) + ", not held against this type)";
    }
    return line;
}

// Both lists are oldest reading first; the rows count down as readings age.
std::vector<StripCheck> mergedChecks(std::vector<StripCheck> slips,
                                     std::vector<StripCheck> drifts) {
    std::vector<StripCheck> merged;
    merged.reserve(slips.size() + drifts.size());
    std::merge(std::make_move_iterator(slips.begin()), std::make_move_iterator(slips.end()),
               std::make_move_iterator(drifts.begin()), std::make_move_iterator(drifts.end()),
               std::back_inserter(merged),
               [](const StripCheck& a, const StripCheck& b) { return a.row > b.row; });
    return merged;
}

}  // namespace tarvo
