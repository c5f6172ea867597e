#include "core/get_number.h"
#include "core/material_preset.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>

namespace dilatany {
namespace {

struct Readable {
    const char *text;
    float value;
};

TEST(ParseNumber, reads_number_texts_to_the_nearest_single)
{
    const Readable cases[] = {
        {"4.5", 4.5f},
        {"0.00012", 0.00012f},
        {"159", 159.0f},
        {"-10", -10.0f},
        {"+7", 7.0f},
        {"  4.5\t", 4.5f},
        {"1.2E-05", 1.2e-05f},
        {"1.2e5", 120000.0f},
        {"1,5", 1.5f},
        {"-0,25", -0.25f},
        {"1,2E-05", 1.2e-05f},
        {".5", 0.5f},
        {"5.", 5.0f},
        {"3.4028235e38", FLT_MAX},
        {"0.1", 0.1f},
        // Too small for single precision: still a number, and it is zero.
        {"1e-50", 0.0f},
        {"1e-99999999999999999999", 0.0f},
    };
    for (const Readable &c : cases) {
        SCOPED_TRACE(c.text);
        const std::optional<float> v = ParseNumber(c.text);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, c.value);
    }
}

TEST(ParseNumber, refuses_texts_that_are_not_one_number)
{
    const char *cases[] = {
        "", "   ", "abc", "4.5a", "1.2.3", "1,2,3", "1,234.5", "1 234", "1'234", "inf", "-infinity", "nan",
        "0x10", "+-1", "--1", ".", "-", "+", "e5", "1e", "1e+", "1e5.5", "4.5 mm",
        // Beyond the single-precision range.
        "1" "0000000000" "0000000000" "0000000000" "0000000000", "3.5e38", "-3.5e38", "1e99999999999999",
    };
    for (const char *text : cases) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseNumber(text).has_value());
        EXPECT_EQ(GetNumber(text), 0.0f);
    }
}

TEST(ParseNumber, keeps_the_sign_of_zero)
{
    EXPECT_TRUE(std::signbit(*ParseNumber("-0")));
    EXPECT_FALSE(std::signbit(*ParseNumber("0")));
}

TEST(MaterialPreset, texts_read_back_as_the_nearest_single)
{
    EXPECT_EQ(kSteel.alphaText(), "0.000012");
    EXPECT_EQ(kSteel.modulusText(), "210000");
    EXPECT_EQ(kSteel.strengthText(), "235");
    EXPECT_EQ(kPolypropylene.alphaText(), "0.00012");
    EXPECT_EQ(kPolypropylene.modulusText(), "1150");
    EXPECT_EQ(kPolypropylene.strengthText(), "27");
    EXPECT_EQ(GetNumber(kSteel.alphaText()), static_cast<float>(0.000012));
    EXPECT_EQ(GetNumber(kPolypropylene.alphaText()), static_cast<float>(0.00012));
}

} // namespace
} // namespace dilatany
