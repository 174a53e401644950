// Any bytes as a reference file: either a reference of a strip the program
// knows, every density a number a chart can show, or a refusal that names a
// line of the file; never both, never a crash. A reference that was read is
// then held against a strip of its type.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "app/strip/ReferenceChecks.h"
#include "files/ReferenceFile.h"

namespace tarvo::fuzz {
namespace {

int lineCount(std::string_view text) {
    int lines = 1;
    for (char c : text) {
        lines += c == '\n';
    }
    return lines;
}

void checkReference(const StripReference& reference) {
    require(reference.patches == patchCount(reference.layout), "a strip of a known type");
    for (const auto& ink : reference.inks) {
        require(static_cast<int>(ink.size()) == reference.patches, "every patch of every ink");
        for (double density : ink) {
            require(std::isfinite(density) && std::abs(density) <= 10, "a density on the chart");
        }
    }
}

// A strip of the reference's type with one reading per patch at 1.00.
void holdAgainstStrip(const StripReference& reference) {
    ReadingTable table;
    for (int reading = 0; reading < 4 * reference.patches; ++reading) {
        table.addRow();
        for (int column = 2; column <= 5; ++column) {
            table.setCell(0, column, "1.00");
        }
    }
    const int fileType = static_cast<int>(reference.layout);
    const auto checks = referenceChecks(table, fileType, reference, kReferenceTolerance);
    require(checks.size() <= static_cast<std::size_t>(4 * reference.patches),
            "at most one check a patch");
    require(referenceCurves(reference).size() == 4, "a curve for each ink");
}

}  // namespace
}  // namespace tarvo::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvo;
    using namespace tarvo::fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ReferenceRead read = readReference(text, "fuzz.cm1");
    require(read.reference.has_value() != read.problem.has_value(), "a reference or a refusal");
    if (read.problem) {
        require(read.problem->line >= 0 && read.problem->line <= lineCount(text),
                "the refusal names a line of the file");
        require(!read.problem->what.empty(), "the refusal says why");
        return 0;
    }
    checkReference(*read.reference);
    holdAgainstStrip(*read.reference);
    const CgatsSets sets = readCgatsSets(text);
    for (const CgatsSet& set : sets.sets) {
        for (double density : set.densities) {
            require(std::isfinite(density), "a set's densities are numbers");
        }
    }
    return 0;
}
