#include "files/ReferenceFile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "files/FilePath.h"

namespace tarvo {

namespace {

// A reference is a few kilobytes; a file far beyond that is none, and is not
// read whole into memory to find out.
constexpr std::size_t kMostReferenceBytes = 1 << 20;
// Densities of print lie between paper white and a little over 3; a value
// far outside is a wrong column or a wrong file, and would flatten the chart.
constexpr double kMostDensity = 10.0;
constexpr std::string_view kFieryMark = "#!EFI";
constexpr std::string_view kTypeKey = "type:";
constexpr ExportFormat kReferenceLayouts[] = {ExportFormat::Dst34, ExportFormat::Dst21};
constexpr std::size_t kFieryValues = 5;  // row number, cyan, magenta, yellow, black

struct Line {
    std::string_view text;
    int number = 0;
};

std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    int number = 1;
    for (std::size_t start = 0; start < text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        end = end == std::string_view::npos ? text.size() : end;
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back({line, number});
        start = end + 1;
    }
    return lines;
}

std::vector<std::string_view> wordsOf(std::string_view line) {
    std::vector<std::string_view> words;
    std::size_t at = 0;
    while ((at = line.find_first_not_of(" \t", at)) != std::string_view::npos) {
        const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string twoDecimals(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

std::optional<ExportFormat> referenceLayout(std::string_view type) {
    for (ExportFormat layout : kReferenceLayouts) {
        if (type == typeName(layout)) {
            return layout;
        }
    }
    return std::nullopt;
}

ReferenceRead refused(int line, std::string what) {
    return {std::nullopt, FileProblem{line, std::move(what)}};
}

std::optional<FileProblem> checkDensity(double value, int line) {
    if (std::abs(value) > kMostDensity) {
        return FileProblem{line, twoDecimals(value) + " is beyond any density"};
    }
    return std::nullopt;
}

StripReference emptyReference(std::string name, ExportFormat layout) {
    StripReference reference{std::move(name), layout, patchCount(layout), {}};
    for (auto& ink : reference.inks) {
        ink.reserve(static_cast<std::size_t>(reference.patches));
    }
    return reference;
}

// One patch line: its row number and the four inks, each followed by a blank.
std::optional<FileProblem> addFieryPatch(const Line& line, StripReference& reference) {
    const auto words = wordsOf(line.text);
    if (words.size() != kFieryValues) {
        return FileProblem{line.number, std::to_string(words.size()) + " values where " +
                                            std::to_string(kFieryValues) + " belong"};
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        const auto value = writtenNumber(words[i]);
        if (!value) {
            return FileProblem{line.number, "\"" + std::string(words[i]) + "\" is no number"};
        }
        if (i > 0) {
            if (auto problem = checkDensity(*value, line.number)) {
                return problem;
            }
            reference.inks[i - 1].push_back(*value);
        }
    }
    return std::nullopt;
}

ReferenceRead readFiery(const std::vector<Line>& lines, std::string name) {
    std::optional<StripReference> reference;
    int last = 0;
    for (const Line& line : lines) {
        const std::string_view text = trimmed(line.text);
        if (text.empty() || text.front() == '#') {
            continue;
        }
        if (!reference) {
            if (text.substr(0, kTypeKey.size()) != kTypeKey) {
                return refused(line.number, "a reading before the type line");
            }
            const std::string_view type = trimmed(text.substr(kTypeKey.size()));
            const auto layout = referenceLayout(type);
            if (!layout) {
                return refused(line.number,
                               "type " + std::string(type) + " is no 1DST34 or " + "1DST21 strip");
            }
            reference = emptyReference(std::move(name), *layout);
            continue;
        }
        if (static_cast<int>(reference->inks[0].size()) == reference->patches) {
            return refused(line.number, "more patches than the " +
                                            std::to_string(reference->patches) + " of " +
                                            std::string(typeName(reference->layout)));
        }
        if (auto problem = addFieryPatch(line, *reference)) {
            return {std::nullopt, problem};
        }
        last = line.number;
    }
    if (!reference) {
        return refused(lines.empty() ? 0 : lines.back().number, "no type line");
    }
    const auto found = static_cast<int>(reference->inks[0].size());
    if (found < reference->patches) {
        return refused(last > 0 ? last : lines.back().number,
                       "the strip ends after " + std::to_string(found) + " of " +
                           std::to_string(reference->patches) + " patches");
    }
    return {std::move(reference), std::nullopt};
}

std::optional<ExportFormat> layoutOfSets(std::size_t sets) {
    for (ExportFormat layout : kReferenceLayouts) {
        if (sets == static_cast<std::size_t>(kStripBlocks * patchCount(layout))) {
            return layout;
        }
    }
    return std::nullopt;
}

// Reading k (from 0) of the strip is patch k % N of block k / N, and gives
// the density of that block's own ink.
ReferenceRead readCgats(std::string_view text, std::string name) {
    CgatsSets read = readCgatsSets(text);
    if (read.problem) {
        return {std::nullopt, read.problem};
    }
    const auto layout = layoutOfSets(read.sets.size());
    if (!layout) {
        return refused(read.sets.empty() ? 0 : read.sets.back().line,
                       std::to_string(read.sets.size()) +
                           " sets, where a strip has 136 (1DST34) or 84 (1DST21)");
    }
    StripReference reference = emptyReference(std::move(name), *layout);
    for (std::size_t k = 0; k < read.sets.size(); ++k) {
        const CgatsSet& set = read.sets[k];
        const auto block = k / static_cast<std::size_t>(reference.patches);
        if (auto problem = checkDensity(set.densities[block], set.line)) {
            return {std::nullopt, problem};
        }
        reference.inks[block].push_back(set.densities[block]);
    }
    return {std::move(reference), std::nullopt};
}

bool isFiery(const std::vector<Line>& lines) {
    for (const Line& line : lines) {
        if (trimmed(line.text).substr(0, kFieryMark.size()) == kFieryMark) {
            return true;
        }
    }
    return false;
}

std::string fileName(std::string_view path) {
    const PathParts parts = splitPath(path);
    return parts.baseName + parts.extension;
}

}  // namespace

ReferenceRead readReference(std::string_view text, std::string name) {
    if (text.empty()) {
        return refused(0, "the file is empty");
    }
    if (const std::size_t zero = text.find('\0'); zero != std::string_view::npos) {
        const auto line = std::count(text.begin(), text.begin() + zero, '\n') + 1;
        return refused(static_cast<int>(line), "a binary file, no text");
    }
    const std::vector<Line> lines = linesOf(text);
    if (isFiery(lines)) {
        return readFiery(lines, std::move(name));
    }
    if (looksLikeCgats(text)) {
        return readCgats(text, std::move(name));
    }
    return refused(1, "neither a Fiery file (#!EFI 3) nor a CGATS file");
}

ReferenceRead loadReference(const std::string& path) {
    errno = 0;
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) {
        const std::string reason = errno != 0 ? std::string(" (") + std::strerror(errno) + ")" : "";
        return refused(0, "the file cannot be read" + reason);
    }
    std::string text(kMostReferenceBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (in.bad()) {
        return refused(0, "the file cannot be read");
    }
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (text.size() > kMostReferenceBytes) {
        return refused(0, "far too large for a reference");
    }
    return readReference(text, fileName(path));
}

std::string referenceRefusal(std::string_view path, const FileProblem& problem) {
    std::string text = "Not a reference: " + std::string(path);
    if (problem.line > 0) {
        text += ", line " + std::to_string(problem.line);
    }
    return text + ": " + problem.what + ".";
}

}  // namespace tarvo
