#include "PlatformChoice.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Case
{
    const char *name;
    PlatformEnvironment environment;
    QByteArray expected;
};

void PrintTo(const Case &c, std::ostream *out)
{
    *out << c.name;
}

class PlatformChoiceTest : public ::testing::TestWithParam<Case>
{
};

TEST_P(PlatformChoiceTest, XWaylandFirstUnlessTheUserChose)
{
    EXPECT_EQ(preferredPlatform(GetParam().environment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Sessions, PlatformChoiceTest,
    ::testing::Values(Case{"WaylandWithXWayland", {"", "wayland-0", ":0", false}, "xcb;wayland"},
        Case{"WaylandWithoutXWayland", {"", "wayland-0", "", false}, ""},
        Case{"X11", {"", "", ":0", false}, ""},
        Case{"UserSetTheVariable", {"wayland", "wayland-0", ":0", false}, ""},
        Case{"UserGaveTheOption", {"", "wayland-0", ":0", true}, ""},
        Case{"NoDisplayAtAll", {"", "", "", false}, ""}),
    [](const ::testing::TestParamInfo<Case> &info) { return std::string(info.param.name); });

} // namespace
