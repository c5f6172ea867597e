#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace dilatany {
namespace {

struct Case {
    float value;
    int places;
    const char *text;
};

TEST(NumberText, lays_out_the_seven_digit_text_rounded_half_away_from_zero)
{
    const Case cases[] = {
        {20.0f, 2, "20.00"},
        {5.3253942f, 2, "5.33"},
        {174.07407f, 2, "174.07"},
        {73.373032f, 0, "73"},
        {72.5f, 0, "73"},
        {-72.5f, 0, "-73"},
        {99.5f, 0, "100"},
        {0.5f, 0, "1"},
        {-0.5f, 0, "-1"},
        {0.125f, 2, "0.13"},
        {-0.125f, 2, "-0.13"},
        // Rounded from the 7-digit text, not from the binary value.
        {0.005f, 2, "0.01"},
        {9.995f, 2, "10.00"},
        {12345678.0f, 2, "12345680.00"},
        {1e30f, 2, "1000000000000000000000000000000.00"},
        {0.0f, 2, "0.00"},
        {0.0f, 0, "0"},
        {0.75f, 2, "0.75"},
        {-0.08958063f, 2, "-0.09"},
        {-437.2281f, 0, "-437"},
        {1e-10f, 2, "0.00"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(NumberText(c.value, c.places), c.text);
    }
}

TEST(NumberText, shows_no_minus_sign_on_a_value_that_rounds_to_zero)
{
    EXPECT_EQ(NumberText(-0.0f, 2), "0.00");
    EXPECT_EQ(NumberText(-0.001f, 2), "0.00");
    EXPECT_EQ(NumberText(-0.4f, 0), "0");
    EXPECT_EQ(NumberText(-0.0049f, 2), "0.00");
}

} // namespace
} // namespace dilatany
