// Saving input data files on Windows: the read-only attribute, and the
// reasons of Windows errors.
#include "files/save_reason.h"
#include "tests/files/disk_fixture.h"

#include <gtest/gtest.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace dilatany::files {
namespace {

using testing_support::InputFileOnDisk;
using Kind = FileError::Kind;

TEST_F(InputFileOnDisk, a_file_with_the_read_only_attribute_is_refused_and_stays_as_it_was)
{
    const std::filesystem::path file = Path("data.dat");
    Put(file, "old");
    ASSERT_TRUE(::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::optional<FileError> error = WriteInputFile(file, DefaultTexts(Shape::ULoop), "data.dat");
    const DWORD attributes = ::GetFileAttributesW(file.c_str());
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);  // so that the folder can be removed
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, Kind::CannotSave);
    EXPECT_EQ(error->message, SaveMessage("data.dat", "soubor je jen pro čtení"));
    EXPECT_EQ(Contents(file), "old");
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Listing(), std::vector<std::string>{"data.dat"});
}

TEST(SaveFailureReason, is_czech_for_the_common_windows_errors_and_the_system_text_for_the_rest)
{
    const std::vector<std::pair<DWORD, std::string>> cases{
        {ERROR_DISK_FULL, "na disku není dost místa"},
        {ERROR_HANDLE_DISK_FULL, "na disku není dost místa"},
        {ERROR_ACCESS_DENIED, "přístup odepřen"},
        {ERROR_WRITE_PROTECT, "disk je jen pro čtení"},
        {ERROR_FILE_TOO_LARGE, "soubor by byl příliš velký"},
        {ERROR_FILENAME_EXCED_RANGE, "název souboru je příliš dlouhý"},
        {1295, "byla překročena disková kvóta"},  // ERROR_DISK_QUOTA_EXCEEDED
        {ERROR_NOT_ENOUGH_QUOTA, "byla překročena disková kvóta"},
        {ERROR_DIRECTORY, "část cesty není složka"},
    };
    for (const auto &[code, reason] : cases) {
        SCOPED_TRACE(code);
        EXPECT_EQ(SaveFailureReason(platform::ErrorFromCode(code)), reason);
    }
    const platform::SystemError other = platform::ErrorFromCode(ERROR_GEN_FAILURE);
    EXPECT_EQ(other.reason, platform::Reason::Other);
    EXPECT_FALSE(other.text.empty());
    EXPECT_EQ(SaveFailureReason(other), other.text);
}

} // namespace
} // namespace dilatany::files
