#pragma once

#include <string>
#include <vector>

#include "app/strip/StripChecks.h"
#include "app/strip/StripProgress.h"
#include "files/ReferenceFile.h"
#include "table/ReadingTable.h"

namespace tarvo {

// How far a patch's density in its own ink may stray from the reference's
// before it is named. +-0.05 is the range press rooms commonly hold a process
// ink to around the approved sheet during a run, the target quoted in offset
// quality-control practice; it is five of the hundredths the table shows, so
// the instrument's repeatability of about one never raises a check by
// itself. [Strip] TOLERANCE in Tarvo.ini sets another.
inline constexpr double kReferenceTolerance = 0.05;

// The patches of the strip measured so far whose density in their own ink
// (cyan patch: cyan, ...; black: black) differs from the reference's by more
// than the tolerance: "Check Cyan 7: 0.12 above reference", oldest reading
// first. None unless the file type is the reference's strip and the table
// holds colour readings.
std::vector<StripCheck> referenceChecks(const ReadingTable& table, int fileType,
                                        const StripReference& reference, double tolerance);

// Whether today's strip is held against the reference: the file type is the
// reference's and the table holds colour readings.
bool comparesWith(const ReadingTable& table, int fileType, const StripReference& reference);

// The reference's four curves, each ink's patches in order.
std::vector<DensityCurve> referenceCurves(const StripReference& reference);

// The line under the next patch: "Reference: NAME", and why it is not held
// against today's strip when it is not.
std::string referenceLine(const ReadingTable& table, int fileType, const StripReference& reference);

// The checks of both rules together, each reading's in the order they were
// found, oldest reading first: the list reads along the strip.
std::vector<StripCheck> mergedChecks(std::vector<StripCheck> slips, std::vector<StripCheck> drifts);

}  // namespace tarvo
