#include <gtest/gtest.h>

#include "imaging/Numbers.h"

namespace dg {
namespace {

TEST(Numbers, RoundHalfEvenInEveryPrecision) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.5000001), 3);
    EXPECT_EQ(roundHalfEven(0.5f), 0);
    EXPECT_EQ(roundHalfEven(3.5f), 4);
    EXPECT_EQ(roundHalfEven(127.5f), 128);
    EXPECT_EQ(roundHalfEven(27.5L), 28);
    // 1 cm at 70 DPI in extended precision
    EXPECT_EQ(roundHalfEven(1.0L / 2.54L * 70.0L), 28);
}

TEST(Numbers, ShortestText) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {{8.5, "8.5"}, {29.7, "29.7"}, {8.27, "8.27"}, {12.0, "12"}, {0.05, "0.05"},
                          {0.0, "0"}, {-0.0, "0"}, {100.0, "100"}, {8.0 + 50 / 100.0, "8.5"},
                          {0.1 + 0.2, "0.3"}, {1.0 / 3.0, "0.333333333333333"}, {-4.25, "-4.25"}};
    for (const auto& c : cases) EXPECT_EQ(shortestText(c.value), c.text) << c.value;
}

TEST(Numbers, ParseNumberReadsBackTheText) {
    double v = 0;
    ASSERT_TRUE(parseNumber("8.27", v));
    EXPECT_EQ(v, 8.27);
    EXPECT_FALSE(parseNumber("", v));
    EXPECT_FALSE(parseNumber("8,5", v));
    EXPECT_FALSE(parseNumber("abc", v));
}

TEST(Numbers, ChannelPercentageAndText) {
    struct Case {
        std::int64_t count, total;
        const char* text;
    };
    const Case cases[] = {{1234, 10000, "12.34"}, {1230, 10000, "12.3"}, {12, 100, "12"},
                          {5, 10000, "0.05"},     {1, 30000, "0"},        {2, 30000, "0.01"},
                          {0, 0, "0"},            {3, 3, "100"},          {1, 3, "33.33"}};
    for (const auto& c : cases) EXPECT_EQ(channelPercentageText(c.count, c.total), c.text) << c.count << "/" << c.total;
    EXPECT_DOUBLE_EQ(channelPercentage(1234, 10000), 12.34);
}

}  // namespace
}  // namespace dg
