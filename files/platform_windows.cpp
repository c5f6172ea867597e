// The files layer's system calls on Windows: file names in UTF-16, the save
// through ReplaceFileW or MoveFileExW, and the system's code page 1250
// converter without best-fit replacements.
#include "files/platform.h"

#include "core/utf8.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <system_error>

namespace dilatany::files::platform {
namespace {

namespace fs = std::filesystem;

constexpr UINT kCodePage1250 = 1250;
// Not in every SDK's headers: "the storage quota was exceeded".
constexpr DWORD kDiskQuotaExceeded = 1295;
// Conversions run in pieces of this many bytes, well inside the int lengths
// of the Windows converters.
constexpr std::size_t kPiece = 1 << 20;

class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) : m_handle(handle) {}
    ~Handle() { close(); }
    Handle(const Handle &) = delete;
    Handle &operator=(const Handle &) = delete;
    HANDLE get() const { return m_handle; }
    void reset(HANDLE handle)
    {
        close();
        m_handle = handle;
    }
    bool valid() const { return m_handle != INVALID_HANDLE_VALUE; }
    // Closes now, reporting the result; the destructor then does nothing.
    bool close()
    {
        if (!valid())
            return true;
        const BOOL closed = ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
        return closed != 0;
    }

private:
    HANDLE m_handle;
};

std::string Utf8FromWide(std::wstring_view wide)
{
    if (wide.empty())
        return {};
    const int size = static_cast<int>(wide.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(needed, 0)), '\0');
    if (needed > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, text.data(), needed, nullptr, nullptr);
    return text;
}

// The system's own text for an error code, without the final full stop.
std::string SystemText(DWORD code)
{
    wchar_t *buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return "chyba " + std::to_string(code);
    return Utf8FromWide(text);
}

SystemError FromWindows(DWORD code)
{
    Reason reason = Reason::Other;
    switch (code) {
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: reason = Reason::NoSpace; break;
    case ERROR_ACCESS_DENIED: reason = Reason::PermissionDenied; break;
    case ERROR_WRITE_PROTECT: reason = Reason::ReadOnlyFileSystem; break;
    case ERROR_FILE_TOO_LARGE: reason = Reason::TooLarge; break;
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW: reason = Reason::NameTooLong; break;
    case kDiskQuotaExceeded:
    case ERROR_NOT_ENOUGH_QUOTA: reason = Reason::QuotaExceeded; break;
    case ERROR_DIRECTORY: reason = Reason::NotADirectory; break;
    default: break;
    }
    return {reason, SystemText(code)};
}

SystemError LastError() { return FromWindows(::GetLastError()); }

// An error of std::filesystem, which reports Windows codes or errno values.
SystemError FromErrorCode(const std::error_code &ec)
{
    if (ec.category() == std::system_category())
        return FromWindows(static_cast<DWORD>(ec.value()));
    const std::error_condition condition = ec.default_error_condition();
    Reason reason = Reason::Other;
    if (condition == std::errc::permission_denied || condition == std::errc::operation_not_permitted)
        reason = Reason::PermissionDenied;
    else if (condition == std::errc::filename_too_long)
        reason = Reason::NameTooLong;
    else if (condition == std::errc::not_a_directory)
        reason = Reason::NotADirectory;
    return {reason, ec.message()};
}

// Follows symbolic links to the path a save really replaces. A link to a
// missing file gives that file's path, which the save then creates.
std::optional<fs::path> ResolveLinks(fs::path path, SystemError &error)
{
    for (int hops = 0; hops < 40; ++hops) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(path, ec);
        if (status.type() == fs::file_type::not_found)
            return path;
        if (ec) {
            error = FromErrorCode(ec);
            return std::nullopt;
        }
        if (status.type() != fs::file_type::symlink)
            return path;
        const fs::path target = fs::read_symlink(path, ec);
        if (ec) {
            error = FromErrorCode(ec);
            return std::nullopt;
        }
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    error = FromWindows(ERROR_CANT_RESOLVE_FILENAME);
    return std::nullopt;
}

bool WriteAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), kPiece));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr))
            return false;
        if (written == 0) {
            ::SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool SetLength(HANDLE file, std::uint64_t length)
{
    LARGE_INTEGER position{};
    position.QuadPart = static_cast<LONGLONG>(length);
    return ::SetFilePointerEx(file, position, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
}

// Writes the file through its own handle, for the cases where a replacement
// would lose its hard links or cannot be made in its folder. The file is
// first grown to the new length, so a full disk stops the save before any
// old byte is overwritten.
std::optional<SystemError> WriteInPlace(Handle &file, std::uint64_t oldSize, std::string_view bytes)
{
    if (bytes.size() > oldSize && !SetLength(file.get(), bytes.size()))
        return LastError();
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(file.get(), start, nullptr, FILE_BEGIN) || !WriteAll(file.get(), bytes)
        || !SetLength(file.get(), bytes.size()) || !::FlushFileBuffers(file.get()))
        return LastError();
    if (!file.close())
        return LastError();
    return std::nullopt;
}

// A name for the temporary file beside `target` that no other file has yet;
// CREATE_NEW makes sure of that.
fs::path TemporaryName(const fs::path &target, unsigned attempt)
{
    std::wstring name = target.filename().wstring();
    if (name.size() > 200)
        name.resize(200);
    const unsigned long long stamp = ::GetTickCount64() ^ (static_cast<unsigned long long>(::GetCurrentProcessId()) << 32);
    return target.parent_path() / (L"." + name + L"." + std::to_wstring(stamp + attempt) + L".tmp");
}

} // namespace

SystemError ErrorFromCode(unsigned long code) { return FromWindows(static_cast<DWORD>(code)); }

ReadOutcome ReadRegularFile(const fs::path &path, std::size_t limit)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {ReadStatus::CannotOpen, {}};
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return {ReadStatus::NotRegularFile, {}};

    Handle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        return {ReadStatus::CannotOpen, {}};
    // A device name (NUL, CON, COM1) opens as something that is no disk file.
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return {ReadStatus::NotRegularFile, {}};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.get(), &info))
        return {ReadStatus::CannotOpen, {}};
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return {ReadStatus::NotRegularFile, {}};
    const std::uint64_t size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > limit)
        return {ReadStatus::TooLarge, {}};

    // One byte more than allowed tells a file that grew since the look.
    std::string bytes(limit + 1, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - got, kPiece));
        DWORD read = 0;
        if (!::ReadFile(file.get(), bytes.data() + got, want, &read, nullptr))
            return {ReadStatus::CannotOpen, {}};
        if (read == 0)
            break;
        got += read;
    }
    if (got > limit)
        return {ReadStatus::TooLarge, {}};
    bytes.resize(got);
    return {ReadStatus::Read, std::move(bytes)};
}

std::optional<SystemError> SaveFile(const fs::path &path, std::string_view bytes)
{
    SystemError linkError;
    const std::optional<fs::path> resolved = ResolveLinks(path, linkError);
    if (!resolved)
        return linkError;
    const fs::path &target = *resolved;

    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (!exists && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return LastError();
    if (exists && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return SystemError{Reason::NotAFile, {}};
    if (exists && (attributes & FILE_ATTRIBUTE_READONLY))
        return SystemError{Reason::ReadOnlyFile, SystemText(ERROR_ACCESS_DENIED)};

    // Opening the old file for writing tells whether this user may write it
    // (an access list can forbid it without the read-only attribute); it
    // changes nothing yet.
    Handle old;
    std::uint64_t oldSize = 0;
    DWORD links = 1;
    if (exists) {
        old.reset(::CreateFileW(target.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                nullptr));
        if (!old.valid()) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_ACCESS_DENIED)
                return SystemError{Reason::ReadOnlyFile, SystemText(code)};
            return FromWindows(code);
        }
        if (::GetFileType(old.get()) != FILE_TYPE_DISK)
            return SystemError{Reason::NotAFile, {}};
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(old.get(), &info))
            return LastError();
        oldSize = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
        links = info.nNumberOfLinks;
    }
    // A replacement would leave the other names of the file with the old content.
    if (links > 1)
        return WriteInPlace(old, oldSize, bytes);

    fs::path temporary;
    Handle fresh;
    for (unsigned attempt = 0; attempt < 100 && !fresh.valid(); ++attempt) {
        temporary = TemporaryName(target, attempt);
        fresh.reset(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                  nullptr));
        if (!fresh.valid() && ::GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    if (!fresh.valid()) {
        const DWORD code = ::GetLastError();
        // A folder that takes no new file can still hold a writable file.
        if (exists && code == ERROR_ACCESS_DENIED)
            return WriteInPlace(old, oldSize, bytes);
        return FromWindows(code);
    }
    old.close();

    const auto fail = [&](DWORD code) {
        fresh.close();
        ::DeleteFileW(temporary.c_str());
        return FromWindows(code);
    };
    if (!WriteAll(fresh.get(), bytes) || !::FlushFileBuffers(fresh.get()))
        return fail(::GetLastError());
    if (!fresh.close())
        return fail(::GetLastError());
    // ReplaceFileW keeps the old file's attributes, access list and creation
    // time; a new file is moved into place with the write-through flag.
    const BOOL moved = exists ? ::ReplaceFileW(target.c_str(), temporary.c_str(), nullptr,
                                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                              : ::MoveFileExW(temporary.c_str(), target.c_str(),
                                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!moved)
        return fail(::GetLastError());
    return std::nullopt;
}

std::string DecodeCp1250Defined(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 4);
    std::wstring wide;
    while (!bytes.empty()) {
        const std::string_view piece = bytes.substr(0, kPiece);
        const int size = static_cast<int>(piece.size());
        const int needed = ::MultiByteToWideChar(kCodePage1250, MB_ERR_INVALID_CHARS, piece.data(), size, nullptr, 0);
        if (needed <= 0)
            throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(),
                                    "MultiByteToWideChar 1250");
        wide.assign(static_cast<std::size_t>(needed), L'\0');
        ::MultiByteToWideChar(kCodePage1250, MB_ERR_INVALID_CHARS, piece.data(), size, wide.data(), needed);
        text += Utf8FromWide(wide);
        bytes.remove_prefix(piece.size());
    }
    return text;
}

namespace {

// Converts well-formed UTF-8 to code page 1250; false where any character
// has no exact byte in the code page.
bool EncodeExactly(std::string_view utf8, std::string &out)
{
    if (utf8.empty())
        return true;
    const int size = static_cast<int>(utf8.size());
    const int wideSize = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (wideSize <= 0)
        return false;
    std::wstring wide(static_cast<std::size_t>(wideSize), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, wide.data(), wideSize);
    BOOL usedDefault = FALSE;
    const int needed = ::WideCharToMultiByte(kCodePage1250, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, nullptr, 0,
                                             nullptr, &usedDefault);
    if (needed <= 0 || usedDefault)
        return false;
    std::string bytes(static_cast<std::size_t>(needed), '\0');
    ::WideCharToMultiByte(kCodePage1250, WC_NO_BEST_FIT_CHARS, wide.data(), wideSize, bytes.data(), needed, nullptr,
                          &usedDefault);
    if (usedDefault)
        return false;
    out += bytes;
    return true;
}

} // namespace

std::size_t EncodeCp1250Prefix(std::string_view utf8, std::string &out)
{
    std::size_t done = 0;
    while (done < utf8.size()) {
        // A piece ends before a character, never inside one.
        std::size_t end = std::min(utf8.size(), done + kPiece);
        while (end < utf8.size() && end > done && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
            --end;
        if (EncodeExactly(utf8.substr(done, end - done), out)) {
            done = end;
            continue;
        }
        // Some character of the piece has no byte: find the first, one by one.
        while (done < end) {
            std::size_t length = 1;
            if (!DecodeUtf8(utf8.substr(done), length) || !EncodeExactly(utf8.substr(done, length), out))
                return done;
            done += length;
        }
    }
    return done;
}

} // namespace dilatany::files::platform
