#include <QApplication>

#include <gtest/gtest.h>

// GoogleTest's main with a QApplication around it, for tests that open windows.
int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
