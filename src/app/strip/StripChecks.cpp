#include "app/strip/StripChecks.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string_view>

#include "files/StripBlocks.h"
#include "table/CellNumbers.h"

namespace tarvo {

namespace {

constexpr std::string_view kInkLetters = "CMYK";  // in block order
constexpr int kLetterColumn = 7;
// The short colour row of the VERSION letter "L" has no percent, so its
// letter stands one column to the left.
constexpr int kShortRowLetterColumn = 6;
// The cells hold two decimals; parsed, 1.23 - 1.22 is a little above 0.01.
constexpr double kParsingSlack = 1e-6;

struct PatchReading {
    int row = 0;
    std::array<std::optional<double>, kStripBlocks> inks;  // cyan to black
    char letter = 0;                                       // 0 when the cell has none
};

using Block = std::vector<PatchReading>;  // patch 1 first, as far as measured

char colourLetter(const ReadingTable& table, int row) {
    for (int column : {kLetterColumn, kShortRowLetterColumn}) {
        const std::string_view cell = table.cell(row, column);
        if (cell.size() == 1 && kInkLetters.find(cell[0]) != std::string_view::npos) {
            return cell[0];
        }
    }
    return 0;
}

Block measuredBlock(const ReadingTable& table, int patches, int block) {
    Block readings;
    for (int patch = 1; patch <= patches; ++patch) {
        const int row = stripRow(table.rowCount(), patches, block, patch);
        if (row < 0) {
            break;
        }
        PatchReading reading{row, {}, colourLetter(table, row)};
        for (int ink = 0; ink < kStripBlocks; ++ink) {
            reading.inks[ink] = shownNumber(table.cell(row, stripColumn(ink)));
        }
        readings.push_back(reading);
    }
    return readings;
}

std::string patchName(int block, std::size_t index) {
    return std::string(kStripInkNames[block]) + " " + std::to_string(index + 1);
}

// Another chromatic ink's letter than the block's; in the black block any
// of them. "K" never is: a light patch of any ink reads neutral.
bool looksLikeOtherInk(char letter, int block) {
    const auto ink = kInkLetters.find(letter);
    return letter != 0 && ink != std::string_view::npos && ink != kInkLetters.size() - 1 &&
           ink != static_cast<std::size_t>(block);
}

bool sameReading(const PatchReading& a, const PatchReading& b) {
    for (int ink = 0; ink < kStripBlocks; ++ink) {
        if (!a.inks[ink] || !b.inks[ink] ||
            std::abs(*a.inks[ink] - *b.inks[ink]) > kSameReadingTolerance + kParsingSlack) {
            return false;
        }
    }
    return true;
}

// A block's own ink patch by patch: whether it rises (1) or falls (-1) with
// the patch number, by the majority of its steps, so one stray patch cannot
// turn it (0 while the steps do not tell), and where it runs steep.
class BlockTrend {
  public:
    BlockTrend(const Block& block, int ink, int patches) : patches_(patches) {
        for (const PatchReading& reading : block) {
            values_.push_back(reading.inks[ink]);
        }
        int balance = 0;
        for (std::size_t i = 1; i < values_.size(); ++i) {
            if (values_[i] && values_[i - 1]) {
                balance += (*values_[i] > *values_[i - 1]) - (*values_[i] < *values_[i - 1]);
            }
        }
        direction_ = (balance > 0) - (balance < 0);
    }

    // A patch is out of order when it steps back from the patch before it and
    // from the one before that, or when the two patches after it both step
    // back from it: a patch too high for a rising ramp shows only once two
    // later ones are in, and the patch after it is not blamed for it. One
    // that steps back from neither but lies off the line its neighbours draw
    // is out of order too.
    bool outOfOrder(std::size_t i) const {
        return againstLater(i) || offTrend(i) ||
               (i >= 1 && steppedBack(i - 1, i) && (i < 2 || steppedBack(i - 2, i)) &&
                !againstLater(i - 1));
    }

    // Whether the ramp steps steeply on each side of patches i - 1 and i that
    // the block has: there it cannot pause between them. The last patch of a
    // block has no side after it; any other waits for the patch after it.
    bool steepAround(std::size_t i) const {
        const bool before = i >= 2;
        const bool after = i + 1 < static_cast<std::size_t>(patches_);
        return i >= 1 && (!before || steep(i - 2, i - 1)) &&
               (!after || (i + 1 < values_.size() && steep(i, i + 1)));
    }

  private:
    bool againstLater(std::size_t i) const {
        return i + 2 < values_.size() && steppedBack(i, i + 1) && steppedBack(i, i + 2);
    }

    bool steppedBack(std::size_t from, std::size_t to) const {
        return values_[from] && values_[to] &&
               direction_ * (*values_[to] - *values_[from]) < -(kTrendTolerance + kParsingSlack);
    }

    bool steep(std::size_t from, std::size_t to) const {
        return values_[from] && values_[to] &&
               std::abs(*values_[to] - *values_[from]) > kRampStep + kParsingSlack;
    }

    // Between two neighbours, more than the tolerance off the line through
    // them and further off than either of them lies off its own: a patch
    // that sits too high bends the lines of its neighbours half as far.
    bool offTrend(std::size_t i) const {
        const double off = offLine(i);
        return i >= 1 && i + 1 < values_.size() && off > kTrendTolerance + kParsingSlack &&
               off >= offLine(i - 1) && off >= offLine(i + 1);
    }

    // How far patch i lies off the line through its two neighbours or, at
    // either end of what is measured, through the two patches next to it; 0
    // where a reading is missing or too few are in.
    double offLine(std::size_t i) const {
        const std::size_t n = values_.size();
        if (n < 3) {
            return 0;
        }
        // The line's two points, and where patch i stands from the first
        // toward the second in steps of the distance between them.
        const std::size_t from = i == 0 ? 1 : i == n - 1 ? n - 3 : i - 1;
        const std::size_t to = i == 0 ? 2 : i == n - 1 ? n - 2 : i + 1;
        const double at = i == 0 ? -1.0 : i == n - 1 ? 2.0 : 0.5;
        if (!values_[i] || !values_[from] || !values_[to]) {
            return 0;
        }
        return std::abs(*values_[i] - (*values_[from] + at * (*values_[to] - *values_[from])));
    }

    std::vector<std::optional<double>> values_;
    int direction_ = 0;
    int patches_ = 0;
};

void checkBlock(const Block& readings, int block, int patches, std::vector<StripCheck>& checks) {
    const BlockTrend trend(readings, block, patches);
    for (std::size_t i = 0; i < readings.size(); ++i) {
        const PatchReading& reading = readings[i];
        const std::string name = "Check " + patchName(block, i);
        if (looksLikeOtherInk(reading.letter, block)) {
            const auto ink = kInkLetters.find(reading.letter);
            checks.push_back({reading.row, name + ": looks like " + kStripInkNames[ink]});
        }
        if (i >= 1 && sameReading(reading, readings[i - 1]) && trend.steepAround(i)) {
            checks.push_back({reading.row, name + ": same as " + patchName(block, i - 1)});
        }
        if (trend.outOfOrder(i)) {
            checks.push_back({reading.row, name + ": out of order"});
        }
    }
}

}  // namespace

std::vector<StripCheck> stripChecks(const ReadingTable& table, int fileType) {
    const auto format = exportFormatFromIndex(fileType);
    std::vector<StripCheck> checks;
    if (table.mode() != ReadingKind::Colour || !format || patchCount(*format) == 0) {
        return checks;
    }
    const int patches = patchCount(*format);
    for (int block = 0; block < kStripBlocks; ++block) {
        checkBlock(measuredBlock(table, patches, block), block, patches, checks);
    }
    return checks;
}

std::string checksHeadline(std::size_t count) {
    if (count == 0) {
        return "No checks";
    }
    return std::to_string(count) + (count == 1 ? " check" : " checks");
}

void selectCheckedRow(ReadingTable& table, const StripCheck& check) {
    for (int row = 0; row < table.rowCount(); ++row) {
        table.setSelected(row, row == check.row);
    }
}

std::optional<std::size_t> ListedChecks::update(std::vector<StripCheck> checks) {
    const auto [changed, unused] =
        std::mismatch(checks.begin(), checks.end(), checks_.begin(), checks_.end(),
                      [](const StripCheck& a, const StripCheck& b) { return a.text == b.text; });
    const auto first = static_cast<std::size_t>(changed - checks.begin());
    const bool same = first == checks.size() && checks.size() == checks_.size();
    checks_ = std::move(checks);
    return same ? std::nullopt : std::optional(first);
}

std::optional<int> ListedChecks::choose(int index, ReadingTable& table) const {
    if (index < 0 || index >= static_cast<int>(checks_.size())) {
        return std::nullopt;
    }
    const StripCheck& check = checks_[static_cast<std::size_t>(index)];
    selectCheckedRow(table, check);
    return check.row;
}

}  // namespace tarvo
