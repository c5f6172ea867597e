#include "cli/output.h"

#include "cli/json.h"
#include "core/utf8.h"

#include <cerrno>
#include <cstring>
#include <ostream>

namespace dilatany::cli {
namespace {

void AppendHexByte(std::string &out, unsigned char byte, bool withPrefix)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    if (withPrefix)
        out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0x0F];
}

bool Prints(char32_t cp)
{
    if (cp < 0x20 || cp == 0x7F)
        return false;
    if (cp >= 0x80 && cp <= 0x9F)
        return false;
    return cp != 0x2028 && cp != 0x2029;
}

} // namespace

std::string EscapeText(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        std::size_t n = 1;
        const std::optional<char32_t> cp = DecodeUtf8(text, n);
        if (!cp)
            n = 1;
        if (cp && *cp == '\\')
            out += "\\\\";
        else if (cp && *cp == '\t')
            out += "\\t";
        else if (cp && *cp == '\n')
            out += "\\n";
        else if (cp && *cp == '\r')
            out += "\\r";
        else if (cp && Prints(*cp))
            out.append(text.substr(0, n));
        else
            for (std::size_t b = 0; b < n; ++b)
                AppendHexByte(out, static_cast<unsigned char>(text[b]), true);
        text.remove_prefix(n);
    }
    return out;
}

bool IsUtf8(std::string_view text)
{
    while (!text.empty()) {
        std::size_t n = 0;
        if (!DecodeUtf8(text, n))
            return false;
        text.remove_prefix(n);
    }
    return true;
}

std::string JsonFileMember(std::string_view name)
{
    std::string out = "\"file\":" + JsonString(name);
    if (!IsUtf8(name)) {
        out += ",\"fileBytes\":\"";
        for (const char c : name)
            AppendHexByte(out, static_cast<unsigned char>(c), false);
        out += '"';
    }
    return out;
}

int OutputFailed(int errorNumber, std::ostream &err)
{
    if (errorNumber == EPIPE)
        return kOutputError;
    std::string reason;
    switch (errorNumber) {
    case ENOSPC: reason = "na zařízení není volné místo"; break;
    case EIO: reason = "chyba vstupu/výstupu"; break;
    case EBADF: reason = "standardní výstup je zavřený"; break;
    case EFBIG: reason = "soubor je příliš velký"; break;
    case 0: reason = "neznámá chyba"; break;
    default: reason = std::strerror(errorNumber); break;
    }
    err << "dilatany-check: výsledky nelze zapsat na standardní výstup: " << reason << '\n';
    err.flush();
    return kOutputError;
}

} // namespace dilatany::cli
