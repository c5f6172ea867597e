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

/// Largest input data file that is read; a real one is under 200 bytes.
inline constexpr std::size_t kMaxFileSize = 64 * 1024;

struct FileError {
    enum class Kind {
        CannotOpen,       // missing, unreadable
        NotRegularFile,   // a directory, a device, ...
        TooLarge,         // more than kMaxFileSize bytes
        WrongFieldCount,  // fewer or more fields than the shape's inputs
        CannotSave,       // the save failed; the old file is unchanged
        CannotCarry,      // a box text the format cannot hold unchanged
    };
    Kind kind;
    std::string message;  // the Czech message for the user (UTF-8)
};

using ReadResult = std::variant<InputTexts, FileError>;

/// Reads an input data file of the shape. `displayName` is the name as the
/// user gave it, for the messages. Nothing is returned but a complete set.
ReadResult ReadInputFile(const std::filesystem::path &path, Shape shape,
                         std::string_view displayName);

/// Parses the bytes of an input data file (code page 1250) already in memory,
/// with the same rules and refusals as ReadInputFile. Like the other functions
/// here it throws std::system_error only where the C library has no CP1250
/// converter at all.
ReadResult ParseInputData(std::string_view bytes, Shape shape, std::string_view displayName);

/// The file content for the texts, or the error for the first text the format
/// cannot carry back unchanged.
std::variant<std::string, FileError> EncodeInputData(const InputTexts &texts);

/// Writes the texts to `path` through a temporary file in the same folder that
/// is renamed over the target: on any failure the old file stays as it was.
/// Returns the error, or nothing on success.
std::optional<FileError> WriteInputFile(const std::filesystem::path &path, const InputTexts &texts,
                                        std::string_view displayName);

} // namespace dilatany::files
