// Code page 1250 conversion with glibc's iconv, plus the five undefined bytes.
#include "files/cp1250.h"

#include <cerrno>
#include <iconv.h>
#include <system_error>

namespace dilatany::files {
namespace {

// The bytes CP1250 leaves undefined; Windows maps each to U+0080 + (byte - 0x80).
bool IsUndefinedByte(unsigned char byte)
{
    return byte == 0x81 || byte == 0x83 || byte == 0x88 || byte == 0x90 || byte == 0x98;
}

// One iconv descriptor per direction and thread, opened on first use.
class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::system_error(errno, std::generic_category(),
                                    std::string("iconv_open ") + from + " -> " + to);
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts as much of `in` as it can, appending to `out`. Returns the
    // number of input bytes consumed; fewer than in.size() means the byte at
    // that offset could not be converted.
    std::size_t Convert(std::string_view in, std::string &out)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        char *inPtr = const_cast<char *>(in.data());
        std::size_t inLeft = in.size();
        char buffer[1024];
        while (inLeft > 0) {
            char *outPtr = buffer;
            std::size_t outLeft = sizeof buffer;
            const std::size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
            if (rc == static_cast<std::size_t>(-1) && errno != E2BIG)
                break;  // EILSEQ or EINVAL: the caller looks at the byte
        }
        return in.size() - inLeft;
    }

private:
    iconv_t m_cd;
};

Converter &Decoder()
{
    thread_local Converter converter("UTF-8", "CP1250");
    return converter;
}

Converter &Encoder()
{
    thread_local Converter converter("CP1250", "UTF-8");
    return converter;
}

} // namespace

std::string DecodeCp1250(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    while (!bytes.empty()) {
        const std::size_t done = Decoder().Convert(bytes, text);
        bytes.remove_prefix(done);
        if (bytes.empty())
            break;
        // Only the undefined bytes stop a single-byte decoder; any other stop
        // would be a fault of the converter, and the byte is kept the same way.
        const auto byte = static_cast<unsigned char>(bytes.front());
        text += static_cast<char>(0xC0 | (byte >> 6));
        text += static_cast<char>(0x80 | (byte & 0x3F));
        bytes.remove_prefix(1);
    }
    return text;
}

Cp1250Encoding EncodeCp1250(std::string_view text)
{
    Cp1250Encoding result;
    std::size_t offset = 0;
    while (offset < text.size()) {
        offset += Encoder().Convert(text.substr(offset), result.bytes);
        if (offset == text.size())
            break;
        // U+0081 and its four twins are written back as the byte they came from.
        const std::string_view rest = text.substr(offset);
        if (rest.size() >= 2 && static_cast<unsigned char>(rest[0]) == 0xC2
            && IsUndefinedByte(static_cast<unsigned char>(rest[1]))) {
            result.bytes += rest[1];
            offset += 2;
            continue;
        }
        result.unencodableAt = offset;
        break;
    }
    return result;
}

} // namespace dilatany::files
