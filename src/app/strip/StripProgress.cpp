#include "app/strip/StripProgress.h"

#include <algorithm>
#include <cmath>

#include "app/strip/ReferenceChecks.h"
#include "files/StripBlocks.h"
#include "table/CellNumbers.h"

namespace tarvo {

namespace {

constexpr int kDensityColumn = 2;  // of a density table
constexpr double kAxisStep = 0.5;
constexpr double kAxisLeast = 2.0;

void addPoint(const ReadingTable& table, int row, int column, int patch, DensityCurve& curve) {
    if (auto value = shownNumber(table.cell(row, column))) {
        curve.points.push_back({patch, *value});
    }
}

std::string nextPatchText(int rows, int patches) {
    const int strip = kStripBlocks * patches;
    if (rows < strip) {
        return std::string(kStripInkNames[rows / patches]) + " " +
               std::to_string(rows % patches + 1) + " of " + std::to_string(patches);
    }
    if (rows == strip) {
        return "Strip complete: " + std::to_string(strip) + " readings";
    }
    return "Too many readings: " + std::to_string(rows) + " of " + std::to_string(strip);
}

// 1DSTCustom learns its patch count from the table, so there is no next
// patch to name: the text tells how the layout would split the table now.
std::string customText(int rows) {
    const int patches = rows / kStripBlocks;
    const int over = rows % kStripBlocks;
    if (patches > 0 && over == 0) {
        return "Strip complete: " + std::to_string(rows) + " readings";
    }
    std::string text = "1DSTCustom: " + std::to_string(rows) + " readings, " +
                       std::to_string(patches) + " per ink";
    if (over > 0) {
        text += ", " + std::to_string(over) + " over";
    }
    return text;
}

std::vector<DensityCurve> blockCurves(const ReadingTable& table, int patches) {
    const int rows = table.rowCount();
    std::vector<DensityCurve> curves;
    for (int block = 0; block < kStripBlocks; ++block) {
        DensityCurve curve{static_cast<CurveInk>(block), {}};
        for (int patch = 1; patch <= patches; ++patch) {
            const int row = stripRow(rows, patches, block, patch);
            if (row < 0) {
                break;
            }
            addPoint(table, row, stripColumn(block), patch, curve);
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

// The newest readings, oldest of them first, each ink from its own column.
std::vector<DensityCurve> recentCurves(const ReadingTable& table, std::vector<CurveInk> inks) {
    const int count = std::min(table.rowCount(), StripProgress::kRecentReadings);
    std::vector<DensityCurve> curves;
    for (CurveInk ink : inks) {
        DensityCurve curve{ink, {}};
        const int column =
            ink == CurveInk::Density ? kDensityColumn : stripColumn(static_cast<int>(ink));
        for (int patch = 1; patch <= count; ++patch) {
            addPoint(table, count - patch, column, patch, curve);
        }
        curves.push_back(std::move(curve));
    }
    return curves;
}

void fitDensityAxis(StripPicture& picture, const std::vector<DensityCurve>& curves) {
    for (const DensityCurve& curve : curves) {
        for (const CurvePoint& point : curve.points) {
            picture.lowest =
                std::min(picture.lowest, std::floor(point.density / kAxisStep) * kAxisStep);
            picture.highest =
                std::max(picture.highest, std::ceil(point.density / kAxisStep) * kAxisStep);
        }
    }
    picture.highest = std::max(picture.highest, kAxisLeast);
}

}  // namespace

StripProgress::StripProgress(ReadingTable& table, int fileType)
    : table_(table), fileType_(fileType) {
    table_.addObserver(this);
}

StripProgress::~StripProgress() {
    if (reference_) {
        reference_->removeObserver(this);
    }
    table_.removeObserver(this);
}

void StripProgress::setReference(ChosenReference* reference) {
    if (reference_) {
        reference_->removeObserver(this);
    }
    reference_ = reference;
    if (reference_) {
        reference_->addObserver(this);
    }
    changed();
}

void StripProgress::setFileType(int fileType) {
    if (fileType != fileType_) {
        fileType_ = fileType;
        changed();
    }
}

void StripProgress::changed() {
    if (listener_) {
        listener_();
    }
}

std::string StripProgress::text() const {
    if (table_.mode() == ReadingKind::Density) {
        return "Density readings: no strip";
    }
    const auto format = exportFormatFromIndex(fileType_);
    if (!format) {
        return "No file type chosen: the last " + std::to_string(kRecentReadings) + " readings";
    }
    if (!isStripLayout(*format)) {
        return std::string(typeName(*format)) + " is no strip type: the last " +
               std::to_string(kRecentReadings) + " readings";
    }
    const int rows = table_.rowCount();
    if (*format == ExportFormat::DstCustom) {
        return customText(rows);
    }
    return nextPatchText(rows, stripPatchCount(*format, rows));
}

StripPicture StripProgress::picture() const {
    StripPicture picture;
    picture.text = text();
    const auto format = exportFormatFromIndex(fileType_);
    if (table_.mode() == ReadingKind::Density) {
        picture.patches = kRecentReadings;
        picture.curves = recentCurves(table_, {CurveInk::Density});
    } else if (format && isStripLayout(*format)) {
        picture.patches = stripPatchCount(*format, table_.rowCount());
        picture.curves = blockCurves(table_, picture.patches);
    } else {
        picture.patches = kRecentReadings;
        picture.curves = recentCurves(
            table_, {CurveInk::Cyan, CurveInk::Magenta, CurveInk::Yellow, CurveInk::Black});
    }
    picture.checks = stripChecks(table_, fileType_);
    addReference(picture);
    fitDensityAxis(picture, picture.curves);
    fitDensityAxis(picture, picture.referenceCurves);
    return picture;
}

void StripProgress::addReference(StripPicture& picture) const {
    const StripReference* reference = reference_ ? reference_->reference() : nullptr;
    if (!reference) {
        return;
    }
    picture.reference = referenceLine(table_, fileType_, *reference);
    if (comparesWith(table_, fileType_, *reference)) {
        picture.referenceCurves = referenceCurves(*reference);
        picture.checks =
            mergedChecks(std::move(picture.checks),
                         referenceChecks(table_, fileType_, *reference, reference_->tolerance()));
    }
}

}  // namespace tarvo
