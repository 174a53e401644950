#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "table/ReadingTable.h"

namespace tarvo {

// A patch measured twice reads the same to the hundredth the table shows,
// give or take the instrument's last digit.
inline constexpr double kSameReadingTolerance = 0.01;
// Neighbouring patches can read the same too: at the flat ends of a fine ramp
// (paper white, the solid) they differ by less than a hundredth. Only where
// the block's own ink steps by more than this into the pair and out of it
// can the ramp not have paused between them. Four hundredths, not three: the
// instrument's scatter of a few thousandths turns a ramp's steps of two or
// three hundredths into a steep one, a pause and a steep one now and then.
inline constexpr double kRampStep = 0.04;
// Where a ramp runs flat (paper white, the solid end) neighbouring patches
// step back and forth by a few hundredths; a step back of more than a tenth,
// or a patch that far off the line through its neighbours, is a patch from
// another place on the strip.
inline constexpr double kTrendTolerance = 0.10;

// A reading of a strip that looks like a slip of the operator: the table row
// to measure again and what looks wrong, naming the patch as the next-patch
// line does ("Check Cyan 7: looks like Magenta").
struct StripCheck {
    int row = 0;
    std::string text;

    bool operator==(const StripCheck&) const = default;
};

// The slips in a 1DST34 or 1DST21 strip measured so far, oldest reading
// first; none for other file types, a density table and readings beyond the
// strip. Found from the cells alone: nothing of the table is changed.
std::vector<StripCheck> stripChecks(const ReadingTable& table, int fileType);

// The line above the list: how many checks are open.
std::string checksHeadline(std::size_t count);

// Makes the checked row the table's only selected row, so that Change
// measures it again in place.
void selectCheckedRow(ReadingTable& table, const StripCheck& check);

// The checks a Strip window lists, so that choosing one finds its row as the
// table stands now.
class ListedChecks {
  public:
    // Takes the checks found now and tells from which index on the list's
    // texts changed, nothing when none did. A new reading moves every row one
    // down but mostly changes no text, or adds one check at the end: the list
    // is rewritten from there on only, and the operator keeps their place.
    std::optional<std::size_t> update(std::vector<StripCheck> checks);
    const std::vector<StripCheck>& checks() const { return checks_; }
    // Selects the row of the check at index for Change and gives that row;
    // nothing for an index outside the list.
    std::optional<int> choose(int index, ReadingTable& table) const;

  private:
    std::vector<StripCheck> checks_;
};

}  // namespace tarvo
