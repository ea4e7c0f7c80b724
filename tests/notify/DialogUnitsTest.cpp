#include "DialogUnits.h"

#include <QFontInfo>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

TEST(DialogUnits, RoundHalfAwayFromZeroLikeMulDiv)
{
    // Base units of a typical 8-point dialog font: 6 across, 13 down.
    const DialogUnits units(6, 13);
    struct Row
    {
        int dialog;
        int pixelsX;
        int pixelsY;
    };
    const Row rows[] = {
        {0, 0, 0},
        {1, 2, 2},       // 1.5 -> 2, 1.625 -> 2
        {2, 3, 3},       // 3.25 -> 3
        {3, 5, 5},       // 4.5 -> 5, 4.875 -> 5
        {4, 6, 7},       // 6.5 -> 7
        {214, 321, 348}, // 347.75 -> 348
        {74, 111, 120},  // 120.25 -> 120
        {-1, -2, -2},
        {-3, -5, -5},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.dialog);
        EXPECT_EQ(units.toPixelsX(row.dialog), row.pixelsX);
        EXPECT_EQ(units.toPixelsY(row.dialog), row.pixelsY);
    }
    // Each value on its own: the width does not depend on the position.
    EXPECT_EQ(units.toPixels(QRect(1, 1, 3, 3)), QRect(2, 2, 5, 5));
    EXPECT_EQ(units.toPixels(QSize(214, 74)), QSize(321, 120));

    // Stretched for a font that needs more room: 214 * 6 * 1.5 / 4 = 481.5,
    // 74 * 13 * 1.025 / 8 = 123.26.
    const DialogUnits wider = units.stretched(1500, 1025);
    EXPECT_EQ(wider.toPixels(QSize(214, 74)), QSize(482, 123));
    EXPECT_EQ(wider.toPixelsX(-3), -7); // -6.75
    // 19 + 18 = 37: a width of 40.5 rounded to 41 would reach from 43 past
    // 83, where a control at 37 starts; edges give 43 to 83.
    EXPECT_EQ(wider.toPixels(QRect(19, 0, 18, 8)), QRect(43, 0, 40, 13));
    EXPECT_EQ(wider.toPixelsX(37), 83);
}

TEST(DialogUnits, MissingTemplateFontFallsBackToTheJapaneseFont)
{
    const QFont font = DialogUnits::templateFont(QStringLiteral("No Such Font Family"), 9);
    EXPECT_EQ(font.pointSize(), 9);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U'設'));

    const QFont installed = DialogUnits::templateFont(QStringLiteral("Noto Serif CJK JP"), 9);
    EXPECT_EQ(QFontInfo(installed).family(), QStringLiteral("Noto Serif CJK JP"));

    // Installed, but without Japanese: DejaVu Sans here, "MS Shell Dlg"
    // on a Windows that is not Japanese.
    for (const char *latin : {"DejaVu Sans", "MS Shell Dlg"}) {
        SCOPED_TRACE(latin);
        const QFont font = DialogUnits::templateFont(QString::fromLatin1(latin), 8);
        EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Noto Sans CJK JP"));
    }
}

} // namespace
