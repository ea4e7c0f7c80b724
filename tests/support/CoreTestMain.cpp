#include <QCoreApplication>

#include <gtest/gtest.h>

// GoogleTest's main with a QCoreApplication, for logic tests that use timers
// or the event loop but no windows.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
