#pragma once

#include <array>
#include <cstdio>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "files/Cgats.h"
#include "files/ReferenceFile.h"
#include "files/Render.h"
#include "table/ReadingTable.h"

namespace tarvo {
// A failing test shows which line and why.
inline void PrintTo(const FileProblem& problem, std::ostream* out) {
    *out << "line " << problem.line << ": " << problem.what;
}
}  // namespace tarvo

// Strips and reference files as the program and other colour tools write
// them, for every test that holds a strip against a reference. Header only:
// each test program links the file layouts itself.
namespace tarvo::test {

inline constexpr int kDst34Type = 0, kDst21Type = 1;
inline constexpr std::array<double, 4> kSolids{1.45, 1.40, 1.00, 1.70};  // C, M, Y, K
inline constexpr double kPaper = 0.05;

inline std::string twoDecimals(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

// A block's own ink rising from paper white at patch 1 to the solid at the
// last patch, to the hundredth the instrument reads.
inline double rampDensity(int block, int patch, int patches) {
    const double step = (kSolids[static_cast<std::size_t>(block)] - kPaper) / (patches - 1);
    return std::stod(twoDecimals(kPaper + step * (patch - 1)));
}

// Adds readings first to last (1 is the oldest) of a strip of patches per
// ink, each ink a little darker by shift; the other inks read paper white.
inline void addStripReadings(ReadingTable& table, int patches, int first, int last,
                             double shift = 0) {
    for (int k = first; k <= last; ++k) {
        const int block = ((k - 1) / patches) % 4;
        std::array<std::string, 4> inks;
        for (int ink = 0; ink < 4; ++ink) {
            inks[static_cast<std::size_t>(ink)] = twoDecimals(
                ink == block ? rampDensity(block, (k - 1) % patches + 1, patches) + shift : kPaper);
        }
        table.addRow();
        const std::vector<std::string> cells = {
            "  " + std::to_string(k),      inks[0],    inks[1], inks[2], inks[3], "50.00",
            std::string(1, "CMYK"[block]), "10: 0: 0", ""};
        for (std::size_t i = 0; i < cells.size(); ++i) {
            table.setCell(0, static_cast<int>(i) + 1, cells[i]);
        }
    }
}

inline ReadingTable stripTable(int patches, double shift = 0) {
    ReadingTable table;
    addStripReadings(table, patches, 1, 4 * patches, shift);
    return table;
}

inline int patchesOf(int fileType) {
    return fileType == kDst34Type ? 34 : 21;
}

// The whole strip saved as the Fiery file of its type.
inline std::string tarvoFiery(int fileType, double shift = 0) {
    struct Quiet final : MessageBoxes {
        MessageAnswer show(std::string_view, std::string_view, MessageButtons,
                           MessageIcon) override {
            return MessageAnswer::Ok;
        }
    } quiet;
    const ReadingTable table = stripTable(patchesOf(fileType), shift);
    return renderTable({table, fileType, "8.12.2026", 'M'}, quiet);
}

// The whole strip exported as CGATS.
inline std::string tarvoCgats(int fileType, double shift = 0) {
    return cgatsText(stripTable(patchesOf(fileType), shift),
                     {fileType, "8.12.2026", "2026-12-08T14:05:09"});
}

// A CGATS file of another colour tool: LF line ends, tabs, comments, single
// and double quotes, fields in another order and one more, a plus sign.
inline std::string foreignCgats(int sets, int patches = 21) {
    std::string text =
        "CGATS.17\n"
        "ORIGINATOR\t\"Another tool # 2\"\n"
        "# measured on the press\n"
        "NUMBER_OF_FIELDS\t6\n"
        "BEGIN_DATA_FORMAT\n"
        "SAMPLE_ID\tSAMPLE_NAME\tD_VIS\tD_RED\tD_GREEN\tD_BLUE\n"
        "END_DATA_FORMAT\n"
        "NUMBER_OF_SETS\t" +
        std::to_string(sets) + "\nBEGIN_DATA\n";
    for (int k = 1; k <= sets; ++k) {
        const int block = ((k - 1) / patches) % 4;
        std::array<std::string, 4> inks;  // C, M, Y, K
        for (int ink = 0; ink < 4; ++ink) {
            inks[static_cast<std::size_t>(ink)] = twoDecimals(
                ink == block ? rampDensity(block, (k - 1) % patches + 1, patches) : kPaper);
        }
        text += "A" + std::to_string(k) + (k % 2 ? "\t'patch " : "\t\"patch ") + std::to_string(k) +
                (k % 2 ? "'\t" : "\"\t") + inks[3] + "\t+" + inks[0] + "\t" + inks[1] + "\t" +
                inks[2] + (k == 1 ? "\t# the first\n" : "\n");
    }
    return text + "END_DATA\n";
}

// Every CGATS text the tests read, good and bad, by name: each is read both
// by the program and by LittleCMS on Linux, and both must find the same sets.
inline std::vector<std::pair<std::string, std::string>> cgatsSamples() {
    std::string truncated = tarvoCgats(kDst21Type);
    truncated.resize(truncated.find("\r\n", truncated.size() * 2 / 3) + 2);
    std::string wordValue = foreignCgats(84);
    wordValue.replace(wordValue.find("+0.05"), 5, "+0.O5");
    return {
        {"tarvo 1DST34", tarvoCgats(kDst34Type)},
        {"tarvo 1DST21", tarvoCgats(kDst21Type)},
        {"tarvo darker 1DST21", tarvoCgats(kDst21Type, 0.08)},
        {"foreign 1DST21", foreignCgats(84)},
        {"foreign 1DST34", foreignCgats(136, 34)},
        {"fewer sets than patches", foreignCgats(83)},
        {"truncated", truncated},
        {"a value that is no number", wordValue},
    };
}

}  // namespace tarvo::test
