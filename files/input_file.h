// The input data file: one quoted box text per line, CR LF, in the shape's
// file order, code page 1250. Reading and writing are all or nothing.
#pragma once

#include "core/input_field.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace dilatany::files {

/// Largest input data file that is read or written; a real one is under 200
/// bytes.
inline constexpr std::size_t kMaxFileSize = 64 * 1024;

struct FileError {
    enum class Kind {
        CannotOpen,       // missing, unreadable
        NotRegularFile,   // a directory, a device, ...
        TooLarge,         // a file, or the file a set would give, over kMaxFileSize bytes
        WrongFieldCount,  // fewer or more fields than the shape's inputs
        CannotSave,       // the save failed
        CannotCarry,      // a box text the format cannot hold unchanged
        CannotSaveBack,   // a set read from a file that a save could not write back
        NotUtf8,          // a file marked as UTF-8 whose text is not UTF-8
    };
    Kind kind;
    std::string message;  // the Czech message for the user (UTF-8)
};

using ReadResult = std::variant<InputTexts, FileError>;

/// Reads an input data file of the shape. `displayName` is the name as the
/// user gave it, for the messages. Nothing is returned but a complete set.
ReadResult ReadInputFile(const std::filesystem::path &path, Shape shape,
                         std::string_view displayName);

/// Parses the bytes of an input data file (code page 1250, or UTF-8 behind a
/// byte-order mark, as other editors save it) already in memory,
/// with the same rules and refusals as ReadInputFile. A set is returned only
/// if EncodeInputData would write it: a load never gives a set that a save
/// refuses. Like the other functions here it throws std::system_error only
/// where the system has no CP1250 converter at all.
ReadResult ParseInputData(std::string_view bytes, Shape shape, std::string_view displayName);

/// The file content for the texts, or the error for the first text the format
/// cannot carry back unchanged (CannotCarry), or for a set whose file would
/// exceed kMaxFileSize bytes (TooLarge).
std::variant<std::string, FileError> EncodeInputData(const InputTexts &texts);

/// Writes the texts to `path`. A file this user may not write is refused and
/// left as it was. Where it can, the save goes through a temporary file in the
/// same folder that is renamed over the target, so that a failure keeps the
/// old file; where that would change the owner, the group, the permission
/// bits or the hard links of the file, it writes the file in place. Returns
/// the error, or nothing on success.
std::optional<FileError> WriteInputFile(const std::filesystem::path &path, const InputTexts &texts,
                                        std::string_view displayName);

} // namespace dilatany::files
