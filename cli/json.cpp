#include "cli/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace dilatany::cli {
namespace {

// Length of the well-formed UTF-8 sequence at the start of s, or 0.
std::size_t Utf8Length(std::string_view s)
{
    const auto b0 = static_cast<unsigned char>(s[0]);
    std::size_t n = 0;
    unsigned lo = 0x80, hi = 0xBF;
    if (b0 < 0x80)
        return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        n = 2;
    else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        if (b0 == 0xE0)
            lo = 0xA0;
        if (b0 == 0xED)
            hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        if (b0 == 0xF0)
            lo = 0x90;
        if (b0 == 0xF4)
            hi = 0x8F;
    } else
        return 0;
    if (s.size() < n)
        return 0;
    for (std::size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < (i == 1 ? lo : 0x80) || b > (i == 1 ? hi : 0xBF))
            return 0;
    }
    return n;
}

} // namespace

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    while (!text.empty()) {
        const std::size_t n = Utf8Length(text);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            text.remove_prefix(1);
            continue;
        }
        const char c = text[0];
        if (n == 1 && (c == '"' || c == '\\')) {
            out += '\\';
            out += c;
        } else if (n == 1 && static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        } else {
            out.append(text.substr(0, n));
        }
        text.remove_prefix(n);
    }
    out += '"';
    return out;
}

std::string JsonNumber(float value)
{
    if (!std::isfinite(value))
        return "null";
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return {buf, res.ptr};
}

} // namespace dilatany::cli
