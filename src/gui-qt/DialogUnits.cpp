#include "gui-qt/DialogUnits.h"

#include <QFontMetrics>

namespace tarvo {

namespace {

// value * numerator / denominator, rounded half away from zero.
int scaled(int value, int numerator, int denominator) {
    const long long product = static_cast<long long>(value) * numerator;
    const long long half = denominator / 2;
    return static_cast<int>(product >= 0 ? (product + half) / denominator
                                         : (product - half) / denominator);
}

}  // namespace

DialogUnits DialogUnits::of(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const int averageWidth = (letters / 26 + 1) / 2;
    return DialogUnits(averageWidth, metrics.height());
}

int DialogUnits::x(int units) const {
    return scaled(units, baseX_, 4);
}

int DialogUnits::y(int units) const {
    return scaled(units, baseY_, 8);
}

// Edges are converted, not sizes, so neighbouring controls meet exactly.
QRect DialogUnits::rect(int left, int top, int width, int height) const {
    return QRect(QPoint(x(left), y(top)), QPoint(x(left + width) - 1, y(top + height) - 1));
}

}  // namespace tarvo
