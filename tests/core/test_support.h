// Comparing a single-precision result with a value quoted to some significant digits.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace dilatany::testing {

/// Succeeds when `actual`, written with as many significant digits as
/// `expected` has, gives the same number: "5.3253942" demands all 8 digits.
inline ::testing::AssertionResult MatchesDigits(double actual, const std::string &expected)
{
    int digits = 0;
    bool started = false;
    for (const char c : expected) {
        if (c == 'e' || c == 'E')
            break;
        if (c >= '1' && c <= '9')
            started = true;
        if (started && c >= '0' && c <= '9')
            ++digits;
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", digits, actual);
    if (std::strtod(buf, nullptr) == std::strtod(expected.c_str(), nullptr))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got " << buf << " (" << actual << "), expected " << expected;
}

} // namespace dilatany::testing
