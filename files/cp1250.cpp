// Code page 1250 conversion: the five undefined bytes here, the rest through
// the platform's converter.
#include "files/cp1250.h"

#include "core/utf8.h"
#include "files/platform.h"

namespace dilatany::files {
namespace {

// The bytes CP1250 leaves undefined; Windows maps each to U+0080 + (byte - 0x80).
bool IsUndefinedByte(unsigned char byte)
{
    return byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
}

// ASCII is the same in code page 1250 and UTF-8, and is what real input
// files hold; such text needs no converter.
bool IsAscii(std::string_view text)
{
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string DecodeCp1250(std::string_view bytes)
{
    if (IsAscii(bytes))
        return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    std::size_t start = 0;
    for (std::size_t pos = 0; pos <= bytes.size(); ++pos) {
        if (pos < bytes.size() && !IsUndefinedByte(static_cast<unsigned char>(bytes[pos])))
            continue;
        if (pos > start)
            text += platform::DecodeCp1250Defined(bytes.substr(start, pos - start));
        if (pos < bytes.size()) {
            // U+0081 and its twins, two bytes of UTF-8 each.
            const auto byte = static_cast<unsigned char>(bytes[pos]);
            text += static_cast<char>(0xC0 | (byte >> 6));
            text += static_cast<char>(0x80 | (byte & 0x3F));
        }
        start = pos + 1;
    }
    return text;
}

Cp1250Encoding EncodeCp1250(std::string_view text)
{
    Cp1250Encoding result;
    if (IsAscii(text)) {
        result.bytes = text;
        return result;
    }
    result.bytes.reserve(text.size());
    std::size_t start = 0;  // of the run not yet handed to the converter
    // Hands text[start, end) to the converter; false where it stopped early.
    const auto flush = [&](std::size_t end) {
        const std::size_t done = platform::EncodeCp1250Prefix(text.substr(start, end - start), result.bytes);
        if (start + done < end) {
            result.unencodableAt = start + done;
            return false;
        }
        return true;
    };
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t length = 1;
        const std::optional<char32_t> cp = DecodeUtf8(text.substr(pos), length);
        if (!cp) {
            if (flush(pos))
                result.unencodableAt = pos;
            return result;
        }
        if (*cp >= 0x80 && *cp <= 0xFF && IsUndefinedByte(static_cast<unsigned char>(*cp))) {
            // Written back as the byte it came from.
            if (!flush(pos))
                return result;
            result.bytes += static_cast<char>(*cp);
            start = pos + length;
        }
        pos += length;
    }
    flush(text.size());
    return result;
}

} // namespace dilatany::files
