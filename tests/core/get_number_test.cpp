#include "core/get_number.h"
#include "core/material_preset.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>
#include <random>
#include <string>

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

TEST(ParseNumber, decides_the_range_at_the_single_precision_boundaries)
{
    const float denormMin = std::numeric_limits<float>::denorm_min();
    const Readable readable[] = {
        // FLT_MAX written out, and the largest texts below the midpoint to 2^128.
        {"340282346638528859811704183484516925440", FLT_MAX},
        {"340282356779733661637539395458142568447", FLT_MAX},
        {"3.4028235677973366e38", FLT_MAX},
        {"-3.4028235677973366e38", -FLT_MAX},
        // The smallest subnormal, and the texts just above and below half of it
        // (half is 2^-150 = 7.00649232162408535461864791644958065640130970938…e-46).
        {"1.40129846e-45", denormMin},
        {"7.0064924e-46", denormMin},
        {"7.0064923e-46", 0.0f},
        {"7.00649232162408535461864791644958065640130970938257885878534141944895541342930300743319094181060791015625e-46",
         0.0f},  // exactly half: ties to the even neighbour, zero
        {"7.00649232162408535461864791644958065640130970938257885878534141944895541342930300743319094181060791015626e-46",
         denormMin},
        {"-7.0064924e-46", -denormMin},
        {"1e-46", 0.0f},
    };
    for (const Readable &c : readable) {
        SCOPED_TRACE(c.text);
        const std::optional<float> v = ParseNumber(c.text);
        ASSERT_TRUE(v.has_value());
        EXPECT_EQ(*v, c.value);
    }
    for (const char *text : {"340282356779733661637539395458142568448", "3.4028235677973367e38", "3.5e38",
                             "-340282356779733661637539395458142568448", "1e39"}) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(ParseNumber(text).has_value());
    }
}

TEST(ParseNumber, judges_texts_of_any_length_by_their_value)
{
    const std::string millionZeros(2'000'000, '0');
    const std::string ones(1'500'000, '1');
    struct Case {
        std::string text;
        std::optional<float> value;
    };
    const Case cases[] = {
        // 10^999999: far beyond single precision, however many zeros precede it.
        {"0." + millionZeros + "1e3000000", std::nullopt},
        // 1.11…·10^-500001: tiny, reads as zero.
        {ones + "e-2000000", 0.0f},
        {"-" + ones + "e-2000000", -0.0f},
        // Leading zeros after the point balanced by the exponent.
        {"0." + millionZeros + "34028234663852886e2000039", FLT_MAX},
        {"0." + millionZeros + "45e2000001", 4.5f},
        // Trailing zeros, before and after the point.
        {"45" + millionZeros + "e-2000001", 4.5f},
        {"4.5" + millionZeros, 4.5f},
        {"1" + millionZeros + "." + millionZeros, std::nullopt},
        // A huge number of digits before the point.
        {ones, std::nullopt},
        {"0." + ones, 0.111111111f},
        // An exponent of any number of digits.
        {"4.5e" + millionZeros, 4.5f},
        {"4.5e-" + millionZeros + "1", 0.45f},
        {"1e" + std::string(40, '9'), std::nullopt},
        {"1e-" + std::string(40, '9'), 0.0f},
        {"0e" + std::string(40, '9'), 0.0f},
        {"0." + millionZeros, 0.0f},
        // Digits far beyond the first 200 still decide the rounding: 1 + 2^-24
        // is the midpoint between 1 and the next single, and any non-zero
        // digit after it rounds up.
        {"1.000000059604644775390625", 1.0f},
        {"1.000000059604644775390625" + millionZeros + "1", std::nextafter(1.0f, 2.0f)},
        {"1.000000059604644775390624" + std::string(1000, '9'), 1.0f},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40) + "… (" + std::to_string(c.text.size()) + " characters)");
        const std::optional<float> v = ParseNumber(c.text);
        ASSERT_EQ(v.has_value(), c.value.has_value());
        if (v) {
            EXPECT_EQ(*v, *c.value);
            EXPECT_EQ(std::signbit(*v), std::signbit(*c.value));
        }
    }
}

// Random short texts in every layout of zeros, point and exponent read as the
// standard library reads the same text.
TEST(ParseNumber, agrees_with_from_chars_on_random_texts)
{
    std::mt19937 rng(20261211);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        if (pick(0, 3) == 0)
            text += '-';
        text.append(static_cast<std::size_t>(pick(0, 3)), '0');
        const int digits = pick(1, 30);
        const int point = pick(-1, digits);
        for (int d = 0; d < digits; ++d) {
            if (d == point)
                text += '.';
            text += static_cast<char>('0' + (pick(0, 4) == 0 ? 0 : pick(0, 9)));
        }
        if (pick(0, 1))
            text += "e" + std::to_string(pick(-60, 50));
        SCOPED_TRACE(text);
        float expected = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), expected);
        ASSERT_EQ(end, text.data() + text.size());
        const std::optional<float> v = ParseNumber(text);
        if (ec == std::errc()) {
            ASSERT_TRUE(v.has_value());
            ASSERT_EQ(*v, expected);
            ASSERT_EQ(std::signbit(*v), std::signbit(expected));
        } else if (v) {
            ASSERT_EQ(*v, 0.0f) << "out of range in from_chars, so either refused or an underflow to zero";
        }
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
