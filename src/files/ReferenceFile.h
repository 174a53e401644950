#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/CgatsSets.h"
#include "files/ExportFormat.h"
#include "files/StripBlocks.h"

namespace tarvo {

// A strip measured before, to hold today's against: per ink (cyan, magenta,
// yellow, black, the order the blocks are measured in) the density of each
// patch in that ink, patch 1 first.
struct StripReference {
    std::string name;  // the file's name without its folder, as the Strip window shows it
    ExportFormat layout = ExportFormat::Dst34;  // Dst34 or Dst21
    int patches = 0;                            // per ink: 34 or 21
    std::array<std::vector<double>, kStripBlocks> inks;
};

struct ReferenceRead {
    std::optional<StripReference> reference;
    std::optional<FileProblem> problem;  // when there is none
};

// A reference from a file's text: a Fiery file of type 1DST34 or 1DST21 as
// the program saves it (each line one patch of all four inks), or a CGATS
// file with SAMPLE_ID, D_RED, D_GREEN, D_BLUE and D_VIS whose sets, in file
// order, are the strip's readings as they are measured: 136 for 1DST34, 84
// for 1DST21; cyan is read through the red filter, magenta green, yellow blue
// and black visual. Which of the two it is, the text tells.
ReferenceRead readReference(std::string_view text, std::string name);

// Reads the file at path (as the file dialog gives it) as a reference.
ReferenceRead loadReference(const std::string& path);

// The message that refuses a file: "Not a reference: PATH, line N: WHAT."
std::string referenceRefusal(std::string_view path, const FileProblem& problem);

}  // namespace tarvo
