#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvo {

// Why a file is not what it was taken for: the line it went wrong on (1 is
// the first; 0 when it is the file as a whole) and what is wrong there.
struct FileProblem {
    int line = 0;
    std::string what;

    bool operator==(const FileProblem&) const = default;
};

// One set of a CGATS file's data: its SAMPLE_ID and its densities through the
// status filters, red, green, blue and visual (D_RED, D_GREEN, D_BLUE, D_VIS).
struct CgatsSet {
    std::string sampleId;
    std::array<double, 4> densities{};
    int line = 0;  // where the set begins

    bool operator==(const CgatsSet& other) const {
        return sampleId == other.sampleId && densities == other.densities;
    }
};

struct CgatsSets {
    std::vector<CgatsSet> sets;  // in file order
    std::optional<FileProblem> problem;
};

// The sets of the first table of a CGATS.17 text, as colour tools write it:
// keyword lines, a data format naming the fields, the data; comments after
// "#", strings in double quotes, CR LF or LF line ends. Any other fields are
// passed over; a set must give a number for each of the four densities. Read
// from the text alone, with no library, so every system reads it alike.
CgatsSets readCgatsSets(std::string_view text);

// A number as colour tools write one: an optional sign, digits, a point, an
// exponent; nothing for any other text, an infinity or a NaN.
std::optional<double> writtenNumber(std::string_view text);

// Whether the text looks like a CGATS file at all: it declares a data format.
bool looksLikeCgats(std::string_view text);

}  // namespace tarvo
