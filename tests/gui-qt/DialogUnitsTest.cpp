#include "gui-qt/DialogUnits.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

namespace tarvo {
namespace {

TEST(DialogUnits, EdgesAreConvertedAndRoundedLikeTheDialogManager) {
    const DialogUnits units(6, 13);
    EXPECT_EQ(units.x(366), 549);
    EXPECT_EQ(units.y(252), 410);  // 409.5 rounds up
    EXPECT_EQ(units.rect(7, 7, 351, 203), QRect(11, 11, 526, 330));
    // Neighbouring buttons share an edge instead of overlapping or gapping.
    EXPECT_EQ(units.rect(7, 230, 37, 14).right() + 1, units.rect(44, 230, 37, 14).left());
}

TEST(DialogUnits, BaseUnitsComeFromTheFontsAverageLetterAndHeight) {
    QFont font(QStringLiteral("Sans Serif"));
    font.setPointSize(8);
    const DialogUnits units = DialogUnits::of(font);
    const QFontMetrics metrics(font);
    EXPECT_EQ(units.baseY(), metrics.height());
    EXPECT_NEAR(units.baseX(), metrics.averageCharWidth(), 2);
    EXPECT_GT(units.baseX(), 0);
}

}  // namespace
}  // namespace tarvo
