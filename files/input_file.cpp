// Reader and writer of the input data file.
#include "files/input_file.h"

#include "core/messages.h"
#include "core/utf8.h"
#include "files/cp1250.h"
#include "files/platform.h"
#include "files/save_reason.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace dilatany::files {
namespace {

constexpr std::string_view kCannotOpen = "Soubor „%1“ nelze otevřít.";
constexpr std::string_view kNotAFile = "„%1“ není soubor.";
constexpr std::string_view kTooLarge = "Soubor „%1“ je příliš velký.";
constexpr std::string_view kWrongCount =
    "Soubor „%1“ neobsahuje data tohoto dilatanu (počet hodnot: %2, potřebný počet: %3).";
constexpr std::string_view kCannotSave = "Soubor „%1“ nelze uložit: %2";
constexpr std::string_view kCannotCarry = "Údaj „%1“ nelze uložit do souboru: obsahuje znak %2.";
constexpr std::string_view kSetTooLarge =
    "Údaje nelze uložit: soubor by měl %1 bajtů, smí mít nejvýše %2. Nejdelší je údaj „%3“.";
constexpr std::string_view kCannotCarryBack =
    "Soubor „%1“ nelze načíst: údaj „%2“ obsahuje znak %3, který do souboru nelze uložit zpět.";
constexpr std::string_view kSetTooLargeBack =
    "Soubor „%1“ nelze načíst: uložený zpět by měl %2 bajtů, smí mít nejvýše %3. Nejdelší je údaj „%4“.";
constexpr std::string_view kNotUtf8 =
    "Soubor „%1“ začíná značkou kódování UTF-8, ale jeho text není platný text UTF-8.";

// Text of the file a UTF-8 editor saved with a byte-order mark (Windows
// Notepad does): EF BB BF. A file this program writes starts with a quotation
// mark, and no input set in code page 1250 starts with "ď»ż".
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

FileError Error(FileError::Kind kind, std::string_view text, std::string_view name)
{
    return {kind, FillMessage(text, {name})};
}

FileError SaveError(std::string_view name, const platform::SystemError &error)
{
    return {FileError::Kind::CannotSave, FillMessage(kCannotSave, {name, SaveFailureReason(error)})};
}

bool IsUtf8(std::string_view text)
{
    while (!text.empty()) {
        std::size_t length = 1;
        if (!DecodeUtf8(text, length))
            return false;
        text.remove_prefix(length);
    }
    return true;
}

// ---- reading ---------------------------------------------------------------

struct Field {
    std::string value;
    bool quoted = false;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Consumes the comma or line end (CR LF, LF or CR) at `pos`, if any.
std::size_t SkipDelimiter(std::string_view text, std::size_t pos)
{
    if (pos >= text.size())
        return pos;
    if (text[pos] == ',' || text[pos] == '\n')
        return pos + 1;
    if (text[pos] == '\r')
        return pos + 1 < text.size() && text[pos + 1] == '\n' ? pos + 2 : pos + 1;
    return pos;
}

// Splits decoded file text into fields. A quoted field runs to the next
// quotation mark, whatever lies between; anything after its closing mark up
// to the next comma or line end is dropped. An unquoted field runs to the next
// comma or line end, without the blanks around it.
std::vector<Field> SplitFields(std::string_view text)
{
    std::vector<Field> fields;
    std::size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && IsBlank(text[pos]))
            ++pos;
        Field field;
        if (pos < text.size() && text[pos] == '"') {
            field.quoted = true;
            const std::size_t close = text.find('"', pos + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            field.value = text.substr(pos + 1, end - pos - 1);
            pos = end == text.size() ? end : end + 1;
            while (pos < text.size() && text[pos] != ',' && !IsLineEnd(text[pos]))
                ++pos;
        } else {
            const std::size_t start = pos;
            while (pos < text.size() && text[pos] != ',' && !IsLineEnd(text[pos]))
                ++pos;
            std::size_t end = pos;
            while (end > start && IsBlank(text[end - 1]))
                --end;
            field.value = text.substr(start, end - start);
        }
        pos = SkipDelimiter(text, pos);
        fields.push_back(std::move(field));
    }
    // Unquoted empty fields at the end (blank lines, a trailing comma) are no values.
    while (!fields.empty() && !fields.back().quoted && fields.back().value.empty())
        fields.pop_back();
    return fields;
}

// ---- writing ---------------------------------------------------------------

// Characters a user cannot see in a message: controls, line and paragraph
// separators, zero-width and direction marks, the wide blanks.
bool IsInvisible(char32_t cp)
{
    return cp < 0x20 || (cp >= 0x7F && cp <= 0x9F) || cp == 0xAD || (cp >= 0x2000 && cp <= 0x200F)
        || (cp >= 0x2028 && cp <= 0x202F) || (cp >= 0x205F && cp <= 0x206F) || cp == 0x3000
        || cp == 0xFEFF || (cp >= 0xFFF9 && cp <= 0xFFFB);
}

// How a message shows the character at text[0]: „≥“, or U+000D for one the
// user could not see, or 0xFF for a byte that is no UTF-8 at all.
std::string ShowCharacter(std::string_view text)
{
    std::size_t length = 1;
    const std::optional<char32_t> cp = DecodeUtf8(text, length);
    std::array<char, 16> buffer{};
    if (!cp) {
        std::snprintf(buffer.data(), buffer.size(), "0x%02X", static_cast<unsigned char>(text[0]));
        return buffer.data();
    }
    if (IsInvisible(*cp)) {
        std::snprintf(buffer.data(), buffer.size(), "U+%04X", static_cast<unsigned>(*cp));
        return buffer.data();
    }
    return "„" + std::string(text.substr(0, length)) + "“";
}

// Where the text holds the first character the file cannot carry back
// unchanged, or nothing. Its CP1250 bytes are appended to `out`.
std::optional<std::size_t> EncodeText(std::string_view text, std::string &out)
{
    // A quotation mark would end the value early; a line end would split it.
    const std::size_t breaking = text.find_first_of("\"\r\n");
    Cp1250Encoding encoded = EncodeCp1250(text.substr(0, breaking));
    if (encoded.unencodableAt)
        return encoded.unencodableAt;
    if (breaking != std::string_view::npos)
        return breaking;
    out += encoded.bytes;
    return std::nullopt;
}

// Why a set cannot be saved: a character the file cannot carry, or a file
// over the size that a load reads.
struct UnsavableCharacter {
    std::string caption;  // of the input, trimmed
    std::string shown;    // the character, as a message shows it
};
struct UnsavableSize {
    std::size_t size;     // of the file the set would give
    std::string longest;  // the caption of the input with the longest text
};
using Encoded = std::variant<std::string, UnsavableCharacter, UnsavableSize>;

// The file content for the texts, or why there is none. This one test
// decides both what a save writes and what a load accepts, so that every
// saved file loads and every loaded set saves.
Encoded Encode(const InputTexts &texts)
{
    std::string bytes;
    const InputField *longest = nullptr;
    std::size_t longestSize = 0;
    for (const std::int16_t index : FileOrder(texts.shape)) {
        const std::string &text = texts[index];
        const InputField *field = FindField(texts.shape, index);
        bytes += '"';
        if (const std::optional<std::size_t> bad = EncodeText(text, bytes))
            return UnsavableCharacter{std::string(TrimmedCaption(*field)),
                                      ShowCharacter(std::string_view(text).substr(*bad))};
        bytes += "\"\r\n";
        if (!longest || text.size() > longestSize) {
            longest = field;
            longestSize = text.size();
        }
    }
    if (bytes.size() > kMaxFileSize)
        return UnsavableSize{bytes.size(), std::string(TrimmedCaption(*longest))};
    return bytes;
}

} // namespace

std::string SaveFailureReason(const platform::SystemError &error)
{
    using platform::Reason;
    switch (error.reason) {
    case Reason::NoSpace: return "na disku není dost místa";
    case Reason::PermissionDenied: return "přístup odepřen";
    case Reason::ReadOnlyFileSystem: return "disk je jen pro čtení";
    case Reason::TooLarge: return "soubor by byl příliš velký";
    case Reason::NameTooLong: return "název souboru je příliš dlouhý";
    case Reason::QuotaExceeded: return "byla překročena disková kvóta";
    case Reason::NotAFile: return "není soubor";
    case Reason::NotADirectory: return "část cesty není složka";
    case Reason::ReadOnlyFile: return "soubor je jen pro čtení";
    case Reason::Other: break;
    }
    return error.text;
}

ReadResult ParseInputData(std::string_view bytes, Shape shape, std::string_view displayName)
{
    if (bytes.size() > kMaxFileSize)
        return Error(FileError::Kind::TooLarge, kTooLarge, displayName);

    std::string text;
    if (bytes.starts_with(kUtf8Mark)) {
        text = bytes.substr(kUtf8Mark.size());
        if (!IsUtf8(text))
            return Error(FileError::Kind::NotUtf8, kNotUtf8, displayName);
    } else {
        text = DecodeCp1250(bytes);
    }
    const std::vector<Field> fields = SplitFields(text);
    const std::span<const std::int16_t> order = FileOrder(shape);
    if (fields.size() != order.size()) {
        const std::string count = std::to_string(fields.size());
        const std::string needed = std::to_string(order.size());
        return FileError{FileError::Kind::WrongFieldCount,
                         FillMessage(kWrongCount, {displayName, count, needed})};
    }
    InputTexts texts;
    texts.shape = shape;
    for (std::size_t line = 0; line < order.size(); ++line)
        texts[order[line]] = fields[line].value;

    // A set that a save could not write back is refused now, not at the save.
    const Encoded encoded = Encode(texts);
    if (const auto *bad = std::get_if<UnsavableCharacter>(&encoded))
        return FileError{FileError::Kind::CannotSaveBack,
                         FillMessage(kCannotCarryBack, {displayName, bad->caption, bad->shown})};
    if (const auto *big = std::get_if<UnsavableSize>(&encoded)) {
        const std::string size = std::to_string(big->size);
        const std::string limit = std::to_string(kMaxFileSize);
        return FileError{FileError::Kind::CannotSaveBack,
                         FillMessage(kSetTooLargeBack, {displayName, size, limit, big->longest})};
    }
    return texts;
}

ReadResult ReadInputFile(const std::filesystem::path &path, Shape shape, std::string_view displayName)
{
    platform::ReadOutcome read = platform::ReadRegularFile(path, kMaxFileSize);
    switch (read.status) {
    case platform::ReadStatus::Read: break;
    case platform::ReadStatus::CannotOpen: return Error(FileError::Kind::CannotOpen, kCannotOpen, displayName);
    case platform::ReadStatus::NotRegularFile: return Error(FileError::Kind::NotRegularFile, kNotAFile, displayName);
    case platform::ReadStatus::TooLarge: return Error(FileError::Kind::TooLarge, kTooLarge, displayName);
    }
    return ParseInputData(read.bytes, shape, displayName);
}

std::variant<std::string, FileError> EncodeInputData(const InputTexts &texts)
{
    Encoded encoded = Encode(texts);
    if (const auto *bad = std::get_if<UnsavableCharacter>(&encoded))
        return FileError{FileError::Kind::CannotCarry, FillMessage(kCannotCarry, {bad->caption, bad->shown})};
    if (const auto *big = std::get_if<UnsavableSize>(&encoded)) {
        const std::string size = std::to_string(big->size);
        const std::string limit = std::to_string(kMaxFileSize);
        return FileError{FileError::Kind::TooLarge, FillMessage(kSetTooLarge, {size, limit, big->longest})};
    }
    return std::move(std::get<std::string>(encoded));
}

std::optional<FileError> WriteInputFile(const std::filesystem::path &path, const InputTexts &texts,
                                        std::string_view displayName)
{
    std::variant<std::string, FileError> encoded = EncodeInputData(texts);
    if (auto *error = std::get_if<FileError>(&encoded))
        return *error;
    const std::string &bytes = std::get<std::string>(encoded);

    if (const std::optional<platform::SystemError> error = platform::SaveFile(path, bytes))
        return SaveError(displayName, *error);
    return std::nullopt;
}

} // namespace dilatany::files
