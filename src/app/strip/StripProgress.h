#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/strip/ChosenReference.h"
#include "app/strip/StripChecks.h"
#include "table/ReadingTable.h"

namespace tarvo {

// The inks of a strip's four blocks, in the order they are measured, and the
// one value of a density reading.
enum class CurveInk { Cyan, Magenta, Yellow, Black, Density };

struct CurvePoint {
    int patch = 0;  // from 1
    double density = 0;
};

struct DensityCurve {
    CurveInk ink = CurveInk::Cyan;
    std::vector<CurvePoint> points;  // in patch order
};

// What the Strip window shows.
struct StripPicture {
    std::string text;  // the next patch to measure, or why there is no strip
    int patches = 0;   // the patch axis runs from 1 to this
    // The four inks for a colour table, the density alone for a density table;
    // a curve with no reading yet has no points.
    std::vector<DensityCurve> curves;
    double lowest = 0;  // the density axis, in steps of 0.5, 0 to 2 at least
    double highest = 2;
    std::vector<StripCheck> checks;  // the readings that look like a slip or drift
    // "Reference: NAME" while a reference is chosen, and its curves while the
    // strip is held against it, drawn behind the live ones.
    std::string reference;
    std::vector<DensityCurve> referenceCurves;
};

// How far the operator is in measuring a strip for the chosen file type, and
// the tone curves measured so far, counted as the strip layouts count the
// table's blocks. Follows the table and tells its listener of each change.
class StripProgress final : public TableObserver, public ReferenceObserver {
  public:
    // The last readings shown when the file type is no strip.
    static constexpr int kRecentReadings = 50;

    StripProgress(ReadingTable& table, int fileType);
    ~StripProgress() override;
    StripProgress(const StripProgress&) = delete;
    StripProgress& operator=(const StripProgress&) = delete;

    void setFileType(int fileType);
    int fileType() const { return fileType_; }
    void setChangeListener(std::function<void()> listener) { listener_ = std::move(listener); }
    // The reference the strip is held against, followed as it changes; null: none.
    void setReference(ChosenReference* reference);

    std::string text() const;
    StripPicture picture() const;

  private:
    void columnsRebuilt() override { changed(); }
    void rowsReset() override { changed(); }
    void rowInserted(int) override { changed(); }
    void rowChanged(int) override { changed(); }
    void readingWritten(int, bool) override { changed(); }
    void referenceChanged() override { changed(); }
    void changed();
    void addReference(StripPicture& picture) const;

    ReadingTable& table_;
    int fileType_;
    std::function<void()> listener_;
    ChosenReference* reference_ = nullptr;
};

}  // namespace tarvo
