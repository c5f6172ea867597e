#include "core/utf8.h"

namespace dilatany {

std::optional<char32_t> DecodeUtf8(std::string_view text, std::size_t &length)
{
    const auto lead = static_cast<unsigned char>(text[0]);
    char32_t cp = 0;
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() < length)
        return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if ((c & 0xC0) != 0x80)
            return std::nullopt;
        cp = (cp << 6) | (c & 0x3F);
    }
    const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return std::nullopt;
    return cp;
}

} // namespace dilatany
