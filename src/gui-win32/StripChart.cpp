#include "gui-win32/StripChart.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/strip/StripChartLook.h"
#include "gui-win32/ScreenScale.h"

namespace tarvo::win32 {

namespace {

// In pixels of this screen, as the text drawn beside them grows with it.
const int kLeftMargin = scaled(64);
const int kRightMargin = scaled(20);
const int kTopMargin = scaled(14);
const int kBottomMargin = scaled(60);
const int kMark = scaled(3);  // half the side of a reading's square
constexpr COLORREF kGrid = RGB(220, 220, 220);

COLORREF colourOf(CurveInk ink) {
    const Rgb rgb = inkLook(ink).colour;
    return RGB(rgb.red, rgb.green, rgb.blue);
}

// Where patches and densities land inside the plot.
class Scale {
  public:
    Scale(const RECT& plot, const StripPicture& picture)
        : plot_(plot),
          axis_(patchAxis(picture)),
          lowest_(picture.lowest),
          highest_(picture.highest > picture.lowest ? picture.highest : picture.lowest + 1) {}

    int x(double patch) const {
        return plot_.left +
               static_cast<int>((patch - 1) * (plot_.right - plot_.left) / (axis_.last - 1));
    }
    int y(double density) const {
        return plot_.bottom - static_cast<int>((density - lowest_) * (plot_.bottom - plot_.top) /
                                               (highest_ - lowest_));
    }
    const RECT& plot() const { return plot_; }
    const PatchAxis& axis() const { return axis_; }
    double lowest() const { return lowest_; }
    double highest() const { return highest_; }

  private:
    RECT plot_;
    PatchAxis axis_;
    double lowest_;
    double highest_;
};

void line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

void textAt(HDC dc, int x, int y, const std::string& text, UINT align) {
    SetTextAlign(dc, align);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void drawDensityScale(HDC dc, const Scale& scale, HPEN grid) {
    const RECT& plot = scale.plot();
    for (double d = scale.lowest(); d <= scale.highest() + 1e-9; d += kDensityStep) {
        const int y = scale.y(d);
        HGDIOBJ old = SelectObject(dc, grid);
        line(dc, plot.left, y, plot.right, y);
        SelectObject(dc, old);
        line(dc, plot.left - scaled(4), y, plot.left, y);
        char label[16];
        std::snprintf(label, sizeof label, "%.1f", d);
        textAt(dc, plot.left - scaled(6), y - scaled(7), label, TA_RIGHT | TA_TOP);
    }
}

void drawPatchScale(HDC dc, const Scale& scale) {
    const RECT& plot = scale.plot();
    const PatchAxis& axis = scale.axis();
    for (int patch = 1; patch <= axis.last; ++patch) {
        if (patch != 1 && patch % axis.step != 0) {
            continue;
        }
        const int x = scale.x(patch);
        line(dc, x, plot.bottom, x, plot.bottom + scaled(4));
        textAt(dc, x, plot.bottom + scaled(6), std::to_string(patch), TA_CENTER | TA_TOP);
    }
}

void drawTitles(HDC dc, const RECT& rect, const Scale& scale, HFONT verticalFont) {
    const RECT& plot = scale.plot();
    textAt(dc, (plot.left + plot.right) / 2, plot.bottom + scaled(22), "Patch", TA_CENTER | TA_TOP);
    HGDIOBJ old = SelectObject(dc, verticalFont);
    textAt(dc, rect.left + 4, (plot.top + plot.bottom) / 2, "Density", TA_CENTER | TA_TOP);
    SelectObject(dc, old);
}

std::vector<POINT> screenPoints(const Scale& scale, const DensityCurve& curve) {
    std::vector<POINT> points;
    for (const CurvePoint& point : curve.points) {
        points.push_back({scale.x(point.patch), scale.y(point.density)});
    }
    return points;
}

void drawCurve(HDC dc, const Scale& scale, const DensityCurve& curve) {
    if (curve.points.empty()) {
        return;
    }
    const std::vector<POINT> points = screenPoints(scale, curve);
    HPEN pen = CreatePen(PS_SOLID, 2, colourOf(curve.ink));
    HBRUSH brush = CreateSolidBrush(colourOf(curve.ink));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polyline(dc, points.data(), static_cast<int>(points.size()));
    for (const POINT& point : points) {
        const RECT mark{point.x - kMark, point.y - kMark, point.x + kMark + 1, point.y + kMark + 1};
        FillRect(dc, &mark, brush);
    }
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

// A reference curve: thin and dashed, in its ink's colour, with no marks, so
// the live curve drawn over it stays the one to read.
void drawReferenceCurve(HDC dc, const Scale& scale, const DensityCurve& curve) {
    if (curve.points.empty()) {
        return;
    }
    const std::vector<POINT> points = screenPoints(scale, curve);
    HPEN pen = CreatePen(PS_DASH, 1, colourOf(curve.ink));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    Polyline(dc, points.data(), static_cast<int>(points.size()));
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

// The inks in a row along the bottom: a stroke of the curve's colour, then
// the ink's name in it.
void drawLegend(HDC dc, const RECT& rect, const StripPicture& picture) {
    const int stroke = scaled(16);
    int x = rect.left + kLeftMargin;
    const int y = rect.bottom - scaled(18);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    for (const DensityCurve& curve : picture.curves) {
        const char* name = inkLook(curve.ink).name;
        const int length = static_cast<int>(std::strlen(name));
        HPEN pen = CreatePen(PS_SOLID, 2, colourOf(curve.ink));
        HGDIOBJ old = SelectObject(dc, pen);
        line(dc, x, y + scaled(7), x + stroke, y + scaled(7));
        SelectObject(dc, old);
        DeleteObject(pen);
        SetTextColor(dc, colourOf(curve.ink));
        TextOutA(dc, x + stroke + scaled(4), y, name, length);
        SIZE size{};
        GetTextExtentPoint32A(dc, name, length, &size);
        x += stroke + scaled(4) + size.cx + stroke;
    }
    SetTextColor(dc, RGB(0, 0, 0));
}

}  // namespace

void drawStripChart(HDC dc, const RECT& rect, const StripPicture& picture, HFONT verticalFont) {
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECT plot{rect.left + kLeftMargin, rect.top + kTopMargin, rect.right - kRightMargin,
                    rect.bottom - kBottomMargin};
    if (plot.right <= plot.left || plot.bottom <= plot.top) {
        return;  // too small to draw in
    }
    const Scale scale(plot, picture);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ oldPen = SelectObject(dc, GetStockObject(BLACK_PEN));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 0));
    HPEN grid = CreatePen(PS_SOLID, 1, kGrid);
    drawDensityScale(dc, scale, grid);
    DeleteObject(grid);
    drawPatchScale(dc, scale);
    line(dc, plot.left, plot.top, plot.left, plot.bottom);
    line(dc, plot.left, plot.bottom, plot.right, plot.bottom);
    drawTitles(dc, rect, scale, verticalFont);
    for (const DensityCurve& curve : picture.referenceCurves) {
        drawReferenceCurve(dc, scale, curve);
    }
    for (const DensityCurve& curve : picture.curves) {
        drawCurve(dc, scale, curve);
    }
    drawLegend(dc, rect, picture);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldFont);
}

}  // namespace tarvo::win32
