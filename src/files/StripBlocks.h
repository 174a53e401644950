#pragma once

#include "files/ExportFormat.h"

namespace tarvo {

// The Fiery strip layouts take a table as four blocks of N readings in the
// order of measurement, one block per ink: cyan first, then magenta, yellow
// and black. Reading k (1 is the oldest) stands in row rows - k.
inline constexpr int kStripBlocks = 4;
inline constexpr const char* kStripInkNames[kStripBlocks] = {"Cyan", "Magenta", "Yellow", "Black"};

inline bool isStripLayout(ExportFormat format) {
    return format == ExportFormat::Dst34 || format == ExportFormat::Dst21 ||
           format == ExportFormat::DstCustom;
}

// N for a table of the given size: fixed for 1DST34 and 1DST21; 1DSTCustom,
// which has no patch count of its own, takes the table as four equal blocks.
// 0 for the layouts that are no strip.
inline int stripPatchCount(ExportFormat format, int rows) {
    if (format == ExportFormat::DstCustom) {
        return rows / kStripBlocks;
    }
    return patchCount(format);
}

// The row holding block's (0 cyan to 3 black) reading of patch (from 1) in a
// table of rows rows; below 0 when that reading has not been taken.
inline int stripRow(int rows, int patches, int block, int patch) {
    return rows - (block * patches + patch);
}

// Each block's reading supplies the density of its own ink: cyan stands in
// column 2, magenta 3, yellow 4 and black 5.
inline int stripColumn(int block) {
    return 2 + block;
}

}  // namespace tarvo
