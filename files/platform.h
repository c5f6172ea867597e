// The system calls of the files layer behind one small interface, one source
// per platform (platform_posix.cpp, platform_windows.cpp), chosen by CMake.
// Private to files/: the portable rules and the messages stay in
// input_file.cpp and cp1250.cpp.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace dilatany::files::platform {

/// The reasons of a failed save that a user meets most, the same on every
/// platform; whatever else the system reports is Other, shown in its own words.
enum class Reason {
    Other,
    NoSpace,             // the disk is full
    PermissionDenied,    // the folder or the file may not be written
    ReadOnlyFileSystem,  // the medium is mounted read-only or write-protected
    TooLarge,            // the file would exceed a size limit
    NameTooLong,         // the name or the path is too long
    QuotaExceeded,       // the user's disk quota is used up
    NotAFile,            // the name is a folder, a device, a pipe, ...
    NotADirectory,       // a part of the path is no folder
    ReadOnlyFile,        // the file exists and this user may not write it
};

/// A failure of the system: its reason and the system's own text (UTF-8).
struct SystemError {
    Reason reason = Reason::Other;
    std::string text;
};

/// The SystemError of one of the system's error codes: errno on POSIX,
/// GetLastError on Windows.
SystemError ErrorFromCode(unsigned long code);

enum class ReadStatus { Read, CannotOpen, NotRegularFile, TooLarge };

/// The outcome of ReadRegularFile; `bytes` is set only for Read.
struct ReadOutcome {
    ReadStatus status = ReadStatus::CannotOpen;
    std::string bytes;
};

/// Reads the whole regular file at `path` if it holds at most `limit` bytes.
/// Looks before it opens: a pipe, a device or a folder is never opened for
/// reading (opening a fifo would wait for a writer, a device can have effects
/// of its own), and the opened file is checked again.
ReadOutcome ReadRegularFile(const std::filesystem::path &path, std::size_t limit);

/// Makes `bytes` the content of the file at `path`, following symbolic links
/// to the file they name. A file this user may not write is refused
/// (ReadOnlyFile) and left alone; only a regular file is ever replaced. Where
/// it can, the save writes a temporary file beside the target, flushes it and
/// renames it over the target, so a failure keeps the old file whole. Where
/// that would change the owner, the group, the permissions or the hard links
/// of the file it replaces, or the folder takes no new file, it writes the
/// file in place instead, flushes it and reports any failure.
std::optional<SystemError> SaveFile(const std::filesystem::path &path, std::string_view bytes);

/// Decodes code page 1250 to UTF-8. `bytes` holds none of the five bytes
/// the code page leaves undefined (the caller handles those). Throws
/// std::system_error if the system has no converter for the code page.
std::string DecodeCp1250Defined(std::string_view bytes);

/// Encodes well-formed UTF-8 to code page 1250, appending to `out`, up to the
/// first character the code page cannot hold exactly (no best-fit
/// replacement). Returns the number of bytes of `utf8` it converted.
std::size_t EncodeCp1250Prefix(std::string_view utf8, std::string &out);

} // namespace dilatany::files::platform
