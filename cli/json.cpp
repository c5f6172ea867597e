#include "cli/json.h"

#include "core/utf8.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace dilatany::cli {

std::string JsonString(std::string_view text)
{
    std::string out = "\"";
    while (!text.empty()) {
        std::size_t n = 0;
        if (!DecodeUtf8(text, n)) {
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
