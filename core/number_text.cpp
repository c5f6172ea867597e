#include "core/number_text.h"

#include <charconv>
#include <cmath>
#include <string>

namespace dilatany {

std::string NumberText(float v, int places)
{
    if (std::isnan(v))
        return "NaN";
    if (std::isinf(v))
        return v < 0 ? "-Inf" : "Inf";

    // The value with 7 significant digits: d.dddddde±x.
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific, 6);
    const std::string_view sci(buf, static_cast<std::size_t>(res.ptr - buf));
    const bool negative = sci.front() == '-';
    const std::string_view body = negative ? sci.substr(1) : sci;
    const std::string digits = std::string(1, body[0]) + std::string(body.substr(2, 6));
    const std::size_t ePos = body.find('e');
    int exponent = 0;
    std::from_chars(body.data() + ePos + 1 + (body[ePos + 1] == '+' ? 1 : 0), body.data() + body.size(), exponent);

    // The text's value is digits × 10^(exponent − 6); scaled to the kept
    // places it is digits × 10^shift, rounded here a half away from zero.
    const int shift = exponent - 6 + places;
    std::string whole;
    if (shift >= 0) {
        whole = digits + std::string(static_cast<std::size_t>(shift), '0');
    } else {
        const int keep = static_cast<int>(digits.size()) + shift;
        if (keep >= 0) {
            whole = digits.substr(0, static_cast<std::size_t>(keep));
            const bool roundUp = digits[static_cast<std::size_t>(keep)] >= '5';
            if (roundUp) {
                int at = keep - 1;
                for (; at >= 0 && whole[static_cast<std::size_t>(at)] == '9'; --at)
                    whole[static_cast<std::size_t>(at)] = '0';
                if (at >= 0)
                    ++whole[static_cast<std::size_t>(at)];
                else
                    whole.insert(whole.begin(), '1');
            }
        }
    }
    const std::size_t firstNonZero = whole.find_first_not_of('0');
    whole = firstNonZero == std::string::npos ? std::string() : whole.substr(firstNonZero);
    const bool isZero = whole.empty();

    const auto needed = static_cast<std::size_t>(places) + 1;
    if (whole.size() < needed)
        whole.insert(0, needed - whole.size(), '0');
    if (places > 0)
        whole.insert(whole.size() - static_cast<std::size_t>(places), ".");
    if (negative && !isZero)
        whole.insert(0, "-");
    return whole;
}

} // namespace dilatany
