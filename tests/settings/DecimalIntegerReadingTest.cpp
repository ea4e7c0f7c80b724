#include "DecimalIntegerReading.h"

#include <QString>

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(DecimalIntegerReading, ReadsLikeScanfPercentD)
{
    struct Row
    {
        const char *text;
        std::optional<int> value;
    };
    const Row rows[] = {
        {"12", 12},
        {"12abc", 12},
        {"007", 7},
        {"  \t9", 9},
        {"-3", -3},
        {"+5 minutes", 5},
        {"24", 24},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"x12", std::nullopt},
        {"- 3", std::nullopt},
        {"+-3", std::nullopt},
        {"１２", std::nullopt}, // full-width digits are not C digits
        {"99999999999", std::numeric_limits<int>::max()},
        {"-99999999999", std::numeric_limits<int>::min()},
        {"2147483647", std::numeric_limits<int>::max()},
        {"-2147483648", std::numeric_limits<int>::min()},
    };
    for (const Row &r : rows) {
        SCOPED_TRACE(r.text);
        EXPECT_EQ(ReadDecimalInteger(QString::fromUtf8(r.text)), r.value);
    }
}

} // namespace
