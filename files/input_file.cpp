// Reader and writer of the input data file.
#include "files/input_file.h"

#include "core/messages.h"
#include "core/utf8.h"
#include "files/cp1250.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
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
constexpr std::string_view kNotAFileReason = "není soubor";

FileError Error(FileError::Kind kind, std::string_view text, std::string_view name)
{
    return {kind, FillMessage(text, {name})};
}

FileError SaveError(std::string_view name, int error)
{
    return {FileError::Kind::CannotSave, FillMessage(kCannotSave, {name, std::strerror(error)})};
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

// Reads at most `limit` bytes from `fd`; nothing on a read error.
std::optional<std::string> ReadBounded(int fd, std::size_t limit)
{
    std::string bytes(limit, '\0');
    std::size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, bytes.data() + got, limit - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    return bytes;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }
    // Closes now, reporting the result; the destructor then does nothing.
    int close()
    {
        const int rc = ::close(m_fd);
        m_fd = -1;
        return rc;
    }

private:
    int m_fd;
};

// Follows symbolic links to the path a save really replaces. A link to a
// missing file gives that file's path, which the save then creates.
std::filesystem::path ResolveLinks(std::filesystem::path path, int &error)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT)
                return path;
            error = errno;
            return {};
        }
        if (!S_ISLNK(st.st_mode))
            return path;
        std::error_code ec;
        const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
        if (ec) {
            error = ec.value();
            return {};
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    error = ELOOP;
    return {};
}

// Permission bits for a new file: 0666 less the process's umask, read without
// changing it where the system shows it.
mode_t NewFileMode()
{
    if (std::FILE *status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        unsigned mask = 0;
        bool found = false;
        while (!found && std::fgets(line, sizeof line, status))
            found = std::sscanf(line, "Umask: %o", &mask) == 1;
        std::fclose(status);
        if (found)
            return 0666 & ~static_cast<mode_t>(mask);
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The name of the temporary file beside `target`, a mkstemp template. A very
// long name is shortened so that the temporary stays within the name limit.
std::string TemporaryTemplate(const std::filesystem::path &target)
{
    std::string name = target.filename().string();
    if (name.size() > 200)
        name.resize(200);
    const std::filesystem::path folder = target.parent_path();
    const std::string prefix = folder.empty() ? std::string() : folder.string() + "/";
    return prefix + "." + name + ".XXXXXX";
}

} // namespace

ReadResult ParseInputData(std::string_view bytes, Shape shape, std::string_view displayName)
{
    if (bytes.size() > kMaxFileSize)
        return Error(FileError::Kind::TooLarge, kTooLarge, displayName);

    const std::vector<Field> fields = SplitFields(DecodeCp1250(bytes));
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
    return texts;
}

ReadResult ReadInputFile(const std::filesystem::path &path, Shape shape, std::string_view displayName)
{
    // A look before opening: opening a fifo would wait for a writer, and
    // opening a device can have effects of its own.
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return Error(FileError::Kind::CannotOpen, kCannotOpen, displayName);
    if (!S_ISREG(st.st_mode))
        return Error(FileError::Kind::NotRegularFile, kNotAFile, displayName);

    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    if (fd.get() < 0)
        return Error(FileError::Kind::CannotOpen, kCannotOpen, displayName);
    // The path may have been replaced in between; the open file decides.
    if (::fstat(fd.get(), &st) != 0)
        return Error(FileError::Kind::CannotOpen, kCannotOpen, displayName);
    if (!S_ISREG(st.st_mode))
        return Error(FileError::Kind::NotRegularFile, kNotAFile, displayName);
    if (static_cast<std::uintmax_t>(st.st_size) > kMaxFileSize)
        return Error(FileError::Kind::TooLarge, kTooLarge, displayName);

    // One byte more than allowed tells a file that grew since fstat.
    const std::optional<std::string> bytes = ReadBounded(fd.get(), kMaxFileSize + 1);
    if (!bytes)
        return Error(FileError::Kind::CannotOpen, kCannotOpen, displayName);
    return ParseInputData(*bytes, shape, displayName);
}

std::variant<std::string, FileError> EncodeInputData(const InputTexts &texts)
{
    std::string bytes;
    for (const std::int16_t index : FileOrder(texts.shape)) {
        const std::string &text = texts[index];
        bytes += '"';
        if (const std::optional<std::size_t> bad = EncodeText(text, bytes)) {
            const InputField *field = FindField(texts.shape, index);
            const std::string shown = ShowCharacter(std::string_view(text).substr(*bad));
            return FileError{FileError::Kind::CannotCarry,
                             FillMessage(kCannotCarry, {TrimmedCaption(*field), shown})};
        }
        bytes += "\"\r\n";
    }
    return bytes;
}

std::optional<FileError> WriteInputFile(const std::filesystem::path &path, const InputTexts &texts,
                                        std::string_view displayName)
{
    std::variant<std::string, FileError> encoded = EncodeInputData(texts);
    if (auto *error = std::get_if<FileError>(&encoded))
        return *error;
    const std::string &bytes = std::get<std::string>(encoded);

    int error = 0;
    const std::filesystem::path target = ResolveLinks(path, error);
    if (error != 0)
        return SaveError(displayName, error);

    // Only a regular file is replaced: renaming over a device or a folder
    // would destroy something that is no data file.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT)
        return SaveError(displayName, errno);
    if (exists && !S_ISREG(old.st_mode))
        return FileError{FileError::Kind::CannotSave,
                         FillMessage(kCannotSave, {displayName, kNotAFileReason})};

    std::string temporary = TemporaryTemplate(target);
    FileDescriptor fd(::mkstemp(temporary.data()));
    if (fd.get() < 0)
        return SaveError(displayName, errno);

    const auto fail = [&](int reason) {
        ::unlink(temporary.c_str());
        return SaveError(displayName, reason);
    };
    if (!WriteAll(fd.get(), bytes))
        return fail(errno);
    // Keep the owner of a file that someone else's save would otherwise take
    // over; only a privileged process can, and failing to is no failed save.
    // Before fchmod, as a change of owner clears the set-id bits.
    if (exists && (old.st_uid != ::geteuid() || old.st_gid != ::getegid())) {
        [[maybe_unused]] const int kept = ::fchown(fd.get(), old.st_uid, old.st_gid);
    }
    if (::fchmod(fd.get(), exists ? (old.st_mode & 07777) : NewFileMode()) != 0)
        return fail(errno);
    if (::fsync(fd.get()) != 0)
        return fail(errno);
    if (fd.close() != 0)
        return fail(errno);
    if (::rename(temporary.c_str(), target.c_str()) != 0)
        return fail(errno);

    // Make the new directory entry durable too; the save itself has succeeded.
    const std::filesystem::path folder = target.parent_path();
    FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        (void)::fsync(dir.get());
    return std::nullopt;
}

} // namespace dilatany::files
