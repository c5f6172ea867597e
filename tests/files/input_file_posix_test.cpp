// Reading and saving input data files on POSIX systems: permissions, symbolic
// links, pipes, devices and the system's own reasons.
#include "files/save_reason.h"
#include "tests/files/disk_fixture.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <functional>
#include <grp.h>
#include <pwd.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
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

// ---- saves that respect the file they replace ------------------------------

// The unprivileged user the cases below save as, and two groups for the files:
// one that user is a member of, one it is not. As root the tests drop to
// nobody; otherwise they save as the user who runs them, and the cases that
// need a second owner or group are left out.
struct Identity {
    uid_t user;
    gid_t group;
};

constexpr gid_t kMemberGroup = 23451;
constexpr gid_t kForeignGroup = 23452;

bool IsRoot() { return ::geteuid() == 0; }

Identity Unprivileged()
{
    if (!IsRoot())
        return {::geteuid(), ::getegid()};
    const passwd *nobody = ::getpwnam("nobody");
    return nobody ? Identity{nobody->pw_uid, nobody->pw_gid} : Identity{65534, 65534};
}

// Runs `body` as the unprivileged user and returns what it returned: as
// root in a child that gives up its privileges for good (groups, then group,
// then user), otherwise in this process.
std::string AsUnprivileged(const std::function<std::string()> &body)
{
    if (!IsRoot())
        return body();
    int channel[2];
    if (::pipe(channel) != 0)
        return "pipe: " + std::string(std::strerror(errno));
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        const Identity who = Unprivileged();
        const gid_t groups[] = {who.group, kMemberGroup};
        std::string report;
        if (::setgroups(2, groups) != 0 || ::setgid(who.group) != 0 || ::setuid(who.user) != 0)
            report = "could not drop privileges: " + std::string(std::strerror(errno));
        else if (::setuid(0) == 0)
            report = "privileges came back";
        else
            report = body();
        const ssize_t written = ::write(channel[1], report.data(), report.size());
        ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[512];
    for (ssize_t n; (n = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, static_cast<std::size_t>(n));
    ::close(channel[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        report += " (the child failed)";
    return report;
}

// The result of a save as the unprivileged user: its message, or "saved".
std::string SaveAsUnprivileged(const fs::path &path, const InputTexts &texts, std::string_view name)
{
    return AsUnprivileged([&] {
        const std::optional<FileError> error = WriteInputFile(path, texts, name);
        return error ? error->message : std::string("saved");
    });
}

enum class Owner { User, Root };
enum class Group { Users, Member, Foreign };
enum class Outcome { Refused, Replaced, WrittenInPlace };

struct RespectCase {
    const char *name;
    Owner folderOwner;
    Group folderGroup;
    mode_t folderMode;
    Owner fileOwner;
    Group fileGroup;
    mode_t fileMode;
    Outcome outcome;
};

// Where the file is written in place, it keeps its inode; a replacement is a
// new file under the old name with the old owner, group and bits.
const std::vector<RespectCase> kRespectCases{
    {"own read-only file", Owner::User, Group::Users, 0755, Owner::User, Group::Users, 0444, Outcome::Refused},
    {"own file with no write bit for its owner", Owner::User, Group::Users, 0755, Owner::User, Group::Users, 0466,
     Outcome::Refused},
    {"own read-only file in a read-only folder", Owner::User, Group::Users, 0555, Owner::User, Group::Users, 0444,
     Outcome::Refused},
    {"own file", Owner::User, Group::Users, 0755, Owner::User, Group::Users, 0640, Outcome::Replaced},
    {"own writable file in a folder the user may not write", Owner::User, Group::Users, 0555, Owner::User,
     Group::Users, 0644, Outcome::WrittenInPlace},
    {"another owner's file the user may not write", Owner::User, Group::Users, 0755, Owner::Root, Group::Users,
     0644, Outcome::Refused},
    {"another owner's file everyone may write", Owner::User, Group::Users, 0755, Owner::Root, Group::Users, 0666,
     Outcome::WrittenInPlace},
    {"own file of a group the user is not in", Owner::User, Group::Users, 0755, Owner::User, Group::Foreign, 0664,
     Outcome::WrittenInPlace},
    {"own file of another group the user is in", Owner::User, Group::Users, 0755, Owner::User, Group::Member, 0664,
     Outcome::Replaced},
    {"own set-group-id file of another group the user is in", Owner::User, Group::Users, 0755, Owner::User,
     Group::Member, 02764, Outcome::Replaced},
    {"own file in a shared group-writable folder", Owner::Root, Group::Member, 0775, Owner::User, Group::Member,
     0664, Outcome::Replaced},
    {"a colleague's file in a shared group-writable folder", Owner::Root, Group::Member, 0775, Owner::Root,
     Group::Member, 0664, Outcome::WrittenInPlace},
    {"a colleague's file in a shared set-group-id folder", Owner::Root, Group::Member, 02775, Owner::Root,
     Group::Member, 0664, Outcome::WrittenInPlace},
    {"own file in another user's sticky folder", Owner::Root, Group::Users, 01777, Owner::User, Group::Users, 0644,
     Outcome::Replaced},
    {"another owner's writable file in a sticky folder", Owner::Root, Group::Users, 01777, Owner::Root,
     Group::Users, 0666, Outcome::WrittenInPlace},
};

TEST_F(InputFileOnDisk, a_save_never_changes_the_owner_group_or_permissions_of_the_file_it_replaces)
{
    const Identity user = Unprivileged();
    const auto uidOf = [&](Owner owner) { return owner == Owner::User ? user.user : uid_t{0}; };
    const auto gidOf = [&](Group group) {
        return group == Group::Users ? user.group : group == Group::Member ? kMemberGroup : kForeignGroup;
    };
    // The unprivileged user must reach the test's folder.
    ASSERT_EQ(::chmod(m_dir.c_str(), 0755), 0);
    const std::string old = "\"old\"\r\n";
    const std::string saved = DefaultBytes(Shape::ULoop);

    int number = 0;  // each case gets a folder of its own
    for (const RespectCase &c : kRespectCases) {
        SCOPED_TRACE(c.name);
        const bool needsRoot = c.folderOwner == Owner::Root || c.fileOwner == Owner::Root
                            || c.folderGroup != Group::Users || c.fileGroup != Group::Users;
        if (needsRoot && !IsRoot())
            continue;  // a second owner or group needs root to set up
        const fs::path folder = Path("case" + std::to_string(++number));
        const fs::path file = folder / "data.dat";
        ASSERT_TRUE(fs::create_directory(folder));
        Put(file, old);
        if (IsRoot()) {
            ASSERT_EQ(::chown(file.c_str(), uidOf(c.fileOwner), gidOf(c.fileGroup)), 0);
            ASSERT_EQ(::chown(folder.c_str(), uidOf(c.folderOwner), gidOf(c.folderGroup)), 0);
        }
        ASSERT_EQ(::chmod(file.c_str(), c.fileMode), 0);
        ASSERT_EQ(::chmod(folder.c_str(), c.folderMode), 0);
        struct stat before {};
        ASSERT_EQ(::stat(file.c_str(), &before), 0);

        const std::string outcome = SaveAsUnprivileged(file, DefaultTexts(Shape::ULoop), "data.dat");

        ::chmod(folder.c_str(), 0755);  // to list it as a non-root user
        struct stat after {};
        ASSERT_EQ(::stat(file.c_str(), &after), 0);
        EXPECT_EQ(after.st_uid, before.st_uid);
        EXPECT_EQ(after.st_gid, before.st_gid);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_nlink, 1u);
        EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "data.dat");
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1) << "a file left behind";
        switch (c.outcome) {
        case Outcome::Refused:
            EXPECT_EQ(outcome, SaveMessage("data.dat", "soubor je jen pro čtení"));
            EXPECT_EQ(Contents(file), old);
            EXPECT_EQ(after.st_ino, before.st_ino);
            break;
        case Outcome::Replaced:
            EXPECT_EQ(outcome, "saved");
            EXPECT_EQ(Contents(file), saved);
            EXPECT_NE(after.st_ino, before.st_ino) << "written in place, not replaced";
            break;
        case Outcome::WrittenInPlace:
            EXPECT_EQ(outcome, "saved");
            EXPECT_EQ(Contents(file), saved);
            EXPECT_EQ(after.st_ino, before.st_ino) << "replaced, not written in place";
            break;
        }
    }
}

TEST_F(InputFileOnDisk, a_new_file_in_a_folder_the_user_may_not_write_is_refused)
{
    ASSERT_EQ(::chmod(m_dir.c_str(), 0755), 0);
    const Identity user = Unprivileged();
    const fs::path folder = Path("ro");
    ASSERT_TRUE(fs::create_directory(folder));
    ASSERT_EQ(::chown(folder.c_str(), user.user, user.group), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);

    const std::string outcome = SaveAsUnprivileged(folder / "new.dat", DefaultTexts(Shape::LBend), "new.dat");
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(outcome, SaveMessage("new.dat", "přístup odepřen"));
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST_F(InputFileOnDisk, a_file_with_extended_attributes_keeps_them)
{
    // An access list is one such attribute; a user attribute is one that any
    // owner can set.
    const fs::path file = Path("data.dat");
    Put(file, "old");
    const std::string_view value = "https://example.org/data.dat";
    if (::setxattr(file.c_str(), "user.xdg.origin.url", value.data(), value.size(), 0) != 0)
        GTEST_SKIP() << "no user attributes here: " << std::strerror(errno);
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);

    ASSERT_EQ(WriteInputFile(file, DefaultTexts(Shape::LBend), "data.dat"), std::nullopt);
    EXPECT_EQ(Contents(file), DefaultBytes(Shape::LBend));
    char kept[64] = {};
    EXPECT_EQ(::getxattr(file.c_str(), "user.xdg.origin.url", kept, sizeof kept),
              static_cast<ssize_t>(value.size()));
    EXPECT_EQ(std::string_view(kept), value);
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(Listing(), std::vector<std::string>{"data.dat"});
}

// ---- the reason a save gives --------------------------------------------------

TEST(SaveFailureReason, is_czech_for_the_common_reasons_and_the_system_text_for_the_rest)
{
    const std::vector<std::pair<int, std::string>> cases{
        {ENOSPC, "na disku není dost místa"},
        {EACCES, "přístup odepřen"},
        {EPERM, "přístup odepřen"},
        {EROFS, "disk je jen pro čtení"},
        {EFBIG, "soubor by byl příliš velký"},
        {ENAMETOOLONG, "název souboru je příliš dlouhý"},
        {EDQUOT, "byla překročena disková kvóta"},
        {EISDIR, "není soubor"},
        {ENOTDIR, "část cesty není složka"},
        {ENOENT, std::strerror(ENOENT)},
        {EIO, std::strerror(EIO)},
    };
    for (const auto &[code, reason] : cases) {
        SCOPED_TRACE(std::strerror(code));
        EXPECT_EQ(SaveFailureReason(platform::ErrorFromCode(static_cast<unsigned long>(code))), reason);
    }
}

TEST_F(InputFileOnDisk, saves_that_fail_give_the_reason_in_czech)
{
    ASSERT_EQ(::chmod(m_dir.c_str(), 0755), 0);
    Put(Path("soubor.dat"), "old");
    const std::string longName(300, 'x');
    struct Case {
        fs::path path;
        std::string reason;
    };
    const std::vector<Case> cases{
        {Path("soubor.dat/data.dat"), "část cesty není složka"},
        {Path(longName + ".dat"), "název souboru je příliš dlouhý"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reason);
        const std::string outcome = SaveAsUnprivileged(c.path, DefaultTexts(Shape::ULoop), "data.dat");
        EXPECT_EQ(outcome, SaveMessage("data.dat", c.reason));
    }
    EXPECT_EQ(Contents(Path("soubor.dat")), "old");
    EXPECT_EQ(Listing(), std::vector<std::string>{"soubor.dat"});
}

// Saves the default U-loop set to `path` in a child limited to 40-byte
// files, so that the 87-byte file fails part way with EFBIG, and expects the
// save to report it with `message`.
void ExpectSaveFailsUnderASizeLimit(const fs::path &path, const std::string &message)
{
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{40, 40};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            ::_exit(3);
        const std::optional<FileError> error = WriteInputFile(path, DefaultTexts(Shape::ULoop), "data.dat");
        if (!error)
            ::_exit(1);
        const bool expected = error->kind == Kind::CannotSave && error->message == message;
        ::_exit(expected ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: reported success, 2: wrong error, 3: no limit";
}

TEST_F(InputFileOnDisk, a_write_that_fails_midway_keeps_the_old_file_and_leaves_no_temporary)
{
    const std::string old = "\"old contents\"\r\n";
    Put(Path("data.dat"), old);

    ExpectSaveFailsUnderASizeLimit(Path("data.dat"), SaveMessage("data.dat", "soubor by byl příliš velký"));
    EXPECT_EQ(Contents(Path("data.dat")), old);
    EXPECT_EQ(Listing(), std::vector<std::string>{"data.dat"});
}

TEST_F(InputFileOnDisk, a_write_in_place_that_would_exceed_a_size_limit_fails_before_it_changes_a_byte)
{
    // Two names for one file make the save write in place; the space for the
    // longer file is asked for before any old byte is overwritten.
    const std::string old = "\"old contents\"\r\n";
    Put(Path("data.dat"), old);
    fs::create_hard_link(Path("data.dat"), Path("other.dat"));

    ExpectSaveFailsUnderASizeLimit(Path("data.dat"), SaveMessage("data.dat", "soubor by byl příliš velký"));
    EXPECT_EQ(Contents(Path("data.dat")), old);
    EXPECT_EQ(fs::hard_link_count(Path("data.dat")), 2u);
    EXPECT_EQ(Listing(), (std::vector<std::string>{"data.dat", "other.dat"}));
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
