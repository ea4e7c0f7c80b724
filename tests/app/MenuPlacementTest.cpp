#include "MenuPlacement.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

const QSize kMenu(120, 80);

struct PlacementCase
{
    const char *name;
    QRect output;
    QRect workArea;
    QPoint expected;
};

void PrintTo(const PlacementCase &c, std::ostream *out)
{
    *out << c.name;
}

class MenuPlacementTest : public ::testing::TestWithParam<PlacementCase>
{
};

TEST_P(MenuPlacementTest, MenuOpensAtThePanelsEndOfTheWorkArea)
{
    const PlacementCase &c = GetParam();
    const QPoint at = MenuPlacement{c.output, c.workArea}.menuPosition(kMenu);
    EXPECT_EQ(at, c.expected);
    if (kMenu.width() <= c.output.width() && kMenu.height() <= c.output.height()) {
        EXPECT_TRUE(c.output.contains(QRect(at, kMenu))) << "the menu leaves its output";
    }
}

INSTANTIATE_TEST_SUITE_P(Bars, MenuPlacementTest,
    ::testing::Values(PlacementCase{"TopBar", {0, 0, 1280, 800}, {0, 26, 1280, 774}, {1160, 26}},
        PlacementCase{"BottomBar", {0, 0, 1280, 800}, {0, 0, 1280, 770}, {1160, 690}},
        PlacementCase{"LeftBar", {0, 0, 1280, 800}, {40, 0, 1240, 800}, {40, 720}},
        PlacementCase{"RightBar", {0, 0, 1280, 800}, {0, 0, 1240, 800}, {1120, 720}},
        PlacementCase{"TopAndBottomBars", {0, 0, 1280, 800}, {0, 20, 1280, 760}, {1160, 20}},
        PlacementCase{"NoBar", {0, 0, 1280, 800}, {0, 0, 1280, 800}, {1160, 0}},
        PlacementCase{"NoWorkAreaKnown", {0, 0, 1280, 800}, {}, {1160, 0}},
        // A second output to the right of the first, and one above it.
        PlacementCase{"TopBarOnASecondOutput", {1920, 0, 1280, 1024}, {1920, 30, 1280, 994}, {3080, 30}},
        PlacementCase{"BottomBarOnAnOutputAbove", {0, -768, 1024, 768}, {0, -768, 1024, 740}, {904, -108}},
        // A work area that reaches past its output is cut to it.
        PlacementCase{"WorkAreaPastTheOutput", {0, 0, 1280, 800}, {0, 26, 1400, 900}, {1160, 26}},
        // Taller than what the bar leaves: on the output all the same.
        PlacementCase{"OutputSmallerThanTheMenu", {0, 0, 100, 60}, {0, 10, 100, 50}, {0, 0}}),
    [](const ::testing::TestParamInfo<PlacementCase> &info) { return std::string(info.param.name); });

} // namespace
