#include <QApplication>

#include <gtest/gtest.h>

// GoogleTest's main with a QApplication around it, for tests that open windows.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest does it at build time, with no display and no
    // platform set) needs no windows.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
