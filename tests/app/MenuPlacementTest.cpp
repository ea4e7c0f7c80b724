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

// Where the tray says where its icon is.
struct IconCase
{
    const char *name;
    QRect output;
    QRect workArea;
    QRect icon;
    QPoint expected;
};

void PrintTo(const IconCase &c, std::ostream *out)
{
    *out << c.name;
}

class MenuBesideIconTest : public ::testing::TestWithParam<IconCase>
{
};

TEST_P(MenuBesideIconTest, MenuOpensBesideTheIconAwayFromItsPanel)
{
    const IconCase &c = GetParam();
    const QPoint at = MenuPlacement{c.output, c.workArea}.besideIcon(c.icon, kMenu);
    EXPECT_EQ(at, c.expected);
    const QRect menu(at, kMenu);
    EXPECT_FALSE(menu.intersects(c.icon)) << "the menu covers the icon";
    EXPECT_TRUE(c.output.contains(menu)) << "the menu leaves its output";
}

INSTANTIATE_TEST_SUITE_P(Panels, MenuBesideIconTest,
    ::testing::Values(
        // trayer along the top, 24 px high, the icon at its right end: the
        // menu under it, moved back from the output's edge.
        IconCase{"TopPanelAtTheRightEnd", {0, 0, 1280, 800}, {0, 24, 1280, 776}, {1256, 0, 24, 24}, {1160, 24}},
        IconCase{"TopPanelInTheMiddle", {0, 0, 1280, 800}, {0, 24, 1280, 776}, {600, 0, 24, 24}, {600, 24}},
        // A panel taller than the icon: under the panel, not inside it.
        IconCase{"TallTopPanel", {0, 0, 1280, 800}, {0, 40, 1280, 760}, {600, 8, 24, 24}, {600, 40}},
        // Plasma's bottom panel: above the panel, clear of the icon.
        IconCase{"BottomPanel", {0, 0, 1280, 800}, {0, 0, 1280, 756}, {1100, 766, 22, 22}, {1100, 676}},
        IconCase{"BottomPanelAtTheRightEnd", {0, 0, 1280, 800}, {0, 0, 1280, 756}, {1250, 766, 22, 22}, {1152, 676}},
        // A panel with no strut: the icon's own edge.
        IconCase{"BottomPanelNoWorkArea", {0, 0, 1280, 800}, {}, {1100, 770, 24, 24}, {1100, 690}},
        IconCase{"LeftPanel", {0, 0, 1280, 800}, {48, 0, 1232, 800}, {12, 700, 24, 24}, {48, 700}},
        IconCase{"RightPanelAtTheBottom", {0, 0, 1280, 800}, {0, 0, 1232, 800}, {1244, 770, 24, 24}, {1112, 714}},
        // On a second output to the right of the first.
        IconCase{"TopPanelOnASecondOutput", {1920, 0, 1280, 1024}, {1920, 30, 1280, 994}, {3170, 3, 24, 24},
            {3074, 30}},
        // A corner icon of a panel without a strut: a bottom panel.
        IconCase{"CornerNoWorkArea", {0, 0, 1280, 800}, {}, {1256, 776, 24, 24}, {1160, 696}}),
    [](const ::testing::TestParamInfo<IconCase> &info) { return std::string(info.param.name); });

} // namespace
