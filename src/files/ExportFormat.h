#pragma once

#include <optional>
#include <string_view>

namespace tarvo {

// The index of the file-type combo box, stored as FILETYPE. The order is the
// order of the combo box entries and must not change: files written by older
// runs name their layout by this number.
enum class ExportFormat {
    Dst34 = 0,
    Dst21 = 1,
    DstCustom = 2,
    Ascii = 3,
    AsciiBw = 4,
    Display = 5
};

inline constexpr int kExportFormatCount = 6;

// The layout a FILETYPE value names, or nothing for a value outside 0 to 5
// (only an edited settings file holds one).
inline std::optional<ExportFormat> exportFormatFromIndex(int index) {
    if (index < 0 || index >= kExportFormatCount) {
        return std::nullopt;
    }
    return static_cast<ExportFormat>(index);
}

// The combo box entry, exactly as the operator sees it.
inline std::string_view comboEntry(ExportFormat format) {
    switch (format) {
        case ExportFormat::Dst34:
            return "1DST34 (*.cm1)";
        case ExportFormat::Dst21:
            return "1DST21 (*.cm1)";
        case ExportFormat::DstCustom:
            return "1DSTCustom (*.cm1)";
        case ExportFormat::Ascii:
            return "ASCII (*.den)";
        case ExportFormat::AsciiBw:
            return "ASCIIBW(*.den)";
        case ExportFormat::Display:
            return "DISPLAY[*.txt]";
    }
    return {};
}

// The name the operator knows a file type by: its combo box entry without
// the file pattern ("ASCIIBW(*.den)" is ASCIIBW).
inline std::string_view typeName(ExportFormat format) {
    const std::string_view entry = comboEntry(format);
    return entry.substr(0, entry.find_first_of(" (["));
}

// Fiery files end in cm1, ColorBus files in den, the Display listing in txt.
inline std::string_view fileExtension(ExportFormat format) {
    switch (format) {
        case ExportFormat::Dst34:
        case ExportFormat::Dst21:
        case ExportFormat::DstCustom:
            return "cm1";
        case ExportFormat::Ascii:
        case ExportFormat::AsciiBw:
            return "den";
        case ExportFormat::Display:
            return "txt";
    }
    return "txt";
}

// Readings per colour block of the Fiery strip layouts; 0 where the layout has none.
inline int patchCount(ExportFormat format) {
    switch (format) {
        case ExportFormat::Dst34:
            return 34;
        case ExportFormat::Dst21:
            return 21;
        default:
            return 0;
    }
}

}  // namespace tarvo
