// Saving input data files on Windows: the read-only attribute.
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

} // namespace
} // namespace dilatany::files
