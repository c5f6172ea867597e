// Reading and saving input data files on POSIX systems: permissions, symbolic
// links, pipes, devices and the system's own reasons.
#include "tests/files/disk_fixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dilatany::files {
namespace {

using testing_support::InputFileOnDisk;
namespace fs = std::filesystem;
using Kind = FileError::Kind;

TEST_F(InputFileOnDisk, a_new_file_gets_the_usual_permissions_and_a_replaced_one_keeps_its_own)
{
    const mode_t mask = ::umask(022);
    const fs::path fresh = Path("new.dat");
    EXPECT_EQ(WriteInputFile(fresh, DefaultTexts(Shape::ULoop), "new.dat"), std::nullopt);
    struct stat st {};
    ASSERT_EQ(::stat(fresh.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);

    const fs::path old = Path("old.dat");
    Put(old, "old");
    ASSERT_EQ(::chmod(old.c_str(), 0640), 0);
    EXPECT_EQ(WriteInputFile(old, DefaultTexts(Shape::LBend), "old.dat"), std::nullopt);
    ASSERT_EQ(::stat(old.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Contents(old), DefaultBytes(Shape::LBend));
    ::umask(mask);
}

TEST_F(InputFileOnDisk, saving_through_a_symbolic_link_replaces_the_file_it_points_to)
{
    fs::create_directory(Path("real"));
    Put(Path("real/data.dat"), "old");
    fs::create_symlink("real/data.dat", Path("link.dat"));
    fs::create_symlink("real/missing.dat", Path("dangling.dat"));

    EXPECT_EQ(WriteInputFile(Path("link.dat"), DefaultTexts(Shape::ULoop), "link.dat"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(Path("link.dat")));
    EXPECT_EQ(Contents(Path("real/data.dat")), DefaultBytes(Shape::ULoop));

    EXPECT_EQ(WriteInputFile(Path("dangling.dat"), DefaultTexts(Shape::LBend), "dangling.dat"), std::nullopt);
    EXPECT_TRUE(fs::is_symlink(Path("dangling.dat")));
    EXPECT_EQ(Contents(Path("real/missing.dat")), DefaultBytes(Shape::LBend));
}

// ---- refusals while reading --------------------------------------------------

TEST_F(InputFileOnDisk, refuses_links_to_nothing_pipes_and_devices)
{
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);  // opening it would wait for a writer
    fs::create_symlink("nowhere.dat", Path("dangling.dat"));

    struct Case {
        fs::path path;
        std::string name;
        Kind kind;
        std::string message;
    };
    const std::vector<Case> cases{
        {Path("dangling.dat"), "dangling.dat", Kind::CannotOpen, "Soubor „dangling.dat“ nelze otevřít."},
        {Path("fifo"), "~/fifo", Kind::NotRegularFile, "„~/fifo“ není soubor."},
        {"/dev/null", "/dev/null", Kind::NotRegularFile, "„/dev/null“ není soubor."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.string());
        const FileError error = ReadRefusal(c.path, Shape::ULoop, c.name);
        EXPECT_EQ(error.kind, c.kind);
        EXPECT_EQ(error.message, c.message);
    }
}

TEST_F(InputFileOnDisk, saving_into_a_missing_folder_fails_with_the_system_reason)
{
    const std::optional<FileError> error =
        WriteInputFile(Path("chybí/data.dat"), DefaultTexts(Shape::ULoop), "chybí/data.dat");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, Kind::CannotSave);
    EXPECT_EQ(error->message, SaveMessage("chybí/data.dat", std::strerror(ENOENT)));
    EXPECT_TRUE(Listing().empty());
}

TEST_F(InputFileOnDisk, saving_into_a_read_only_folder_fails_and_keeps_the_old_file)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "running as root, where folder permissions do not stop a write";
    Put(Path("data.dat"), "old");
    fs::permissions(m_dir, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::optional<FileError> error = WriteInputFile(Path("data.dat"), DefaultTexts(Shape::ULoop), "data.dat");
    fs::permissions(m_dir, fs::perms::owner_write, fs::perm_options::add);
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, Kind::CannotSave);
    EXPECT_EQ(error->message, SaveMessage("data.dat", std::strerror(EACCES)));
    EXPECT_EQ(Contents(Path("data.dat")), "old");
    EXPECT_EQ(Listing(), std::vector<std::string>{"data.dat"});
}

TEST_F(InputFileOnDisk, a_write_that_fails_midway_keeps_the_old_file_and_leaves_no_temporary)
{
    const std::string old = "\"old contents\"\r\n";
    Put(Path("data.dat"), old);

    // A child limited to 40-byte files: the 87-byte file fails part way with EFBIG.
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{40, 40};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        const std::optional<FileError> error =
            WriteInputFile(Path("data.dat"), DefaultTexts(Shape::ULoop), "data.dat");
        if (!error)
            ::_exit(1);
        const bool expected = error->kind == Kind::CannotSave
                           && error->message == SaveMessage("data.dat", std::strerror(EFBIG));
        ::_exit(expected ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: wrong error, 3: no limit";
    EXPECT_EQ(Contents(Path("data.dat")), old);
    EXPECT_EQ(Listing(), std::vector<std::string>{"data.dat"});
}

TEST_F(InputFileOnDisk, saving_over_a_device_is_refused_and_leaves_it_in_place)
{
    // A privileged process could rename over the system's /dev/full if the
    // guard failed, so as root the test makes a node of its own: the same
    // device, in the test's folder. Without privileges /dev/full itself is
    // safe, as /dev is not writable then.
    fs::path device = "/dev/full";
    if (::geteuid() == 0) {
        device = Path("full");
        ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 7)), 0) << std::strerror(errno);
    } else if (!fs::is_character_file(device)) {
        GTEST_SKIP() << "this system has no /dev/full";
    }
    struct stat before {};
    ASSERT_EQ(::stat(device.c_str(), &before), 0);
    fs::create_symlink(device, Path("full-link.dat"));

    for (const fs::path &path : {device, Path("full-link.dat")}) {
        SCOPED_TRACE(path.string());
        const std::optional<FileError> error = WriteInputFile(path, DefaultTexts(Shape::ULoop), "plný");
        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->kind, Kind::CannotSave);
        EXPECT_EQ(error->message, SaveMessage("plný", "není soubor"));
    }
    struct stat after {};
    ASSERT_EQ(::stat(device.c_str(), &after), 0);
    EXPECT_TRUE(S_ISCHR(after.st_mode));
    EXPECT_EQ(after.st_rdev, before.st_rdev);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_TRUE(fs::is_symlink(Path("full-link.dat")));
}

} // namespace
} // namespace dilatany::files
