// Reading and saving input data files on disk: refusals, and saves that fail without harm.
#include "files/input_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace dilatany::files {
namespace {

namespace fs = std::filesystem;
using Kind = FileError::Kind;

// A fresh folder of its own for each test, removed afterwards.
class InputFileOnDisk : public testing::Test {
protected:
    void SetUp() override
    {
        std::random_device random;
        m_dir = fs::temp_directory_path()
              / ("dilatany-files-" + std::to_string(::getpid()) + "-" + std::to_string(random()));
        ASSERT_TRUE(fs::create_directory(m_dir));
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::permissions(m_dir, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(m_dir, ec);
    }

    fs::path Path(std::string_view name) const { return m_dir / name; }

    static void Put(const fs::path &path, std::string_view bytes)
    {
        std::ofstream out(path, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(out.good());
    }

    static std::string Contents(const fs::path &path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    // The names in the folder, to see that no temporary file was left behind.
    std::vector<std::string> Listing() const
    {
        std::vector<std::string> names;
        for (const fs::directory_entry &entry : fs::directory_iterator(m_dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::string DefaultBytes(Shape shape) { return std::get<std::string>(EncodeInputData(DefaultTexts(shape))); }

    static FileError ReadRefusal(const fs::path &path, Shape shape, std::string_view name)
    {
        ReadResult result = ReadInputFile(path, shape, name);
        if (!std::holds_alternative<FileError>(result)) {
            ADD_FAILURE() << "read, but a refusal was expected";
            return {};
        }
        return std::get<FileError>(result);
    }

    static std::string SaveMessage(std::string_view name, std::string_view reason)
    {
        return "Soubor „" + std::string(name) + "“ nelze uložit: " + std::string(reason);
    }

    fs::path m_dir;
};

TEST_F(InputFileOnDisk, saves_and_reads_back_both_shapes)
{
    for (const Shape shape : {Shape::ULoop, Shape::LBend}) {
        SCOPED_TRACE(shape == Shape::ULoop ? "U-loop" : "L-bend");
        InputTexts texts = DefaultTexts(shape);
        texts[0] = " 1,2e-5 ";
        texts[2] = "";
        texts[3] = "žluťoučký €";
        const fs::path file = Path("data.dat");
        ASSERT_EQ(WriteInputFile(file, texts, "data.dat"), std::nullopt);
        EXPECT_EQ(Contents(file), std::get<std::string>(EncodeInputData(texts)));
        ReadResult back = ReadInputFile(file, shape, "data.dat");
        ASSERT_TRUE(std::holds_alternative<InputTexts>(back));
        EXPECT_EQ(std::get<InputTexts>(back), texts);
        EXPECT_EQ(Listing(), std::vector<std::string>{"data.dat"});
    }
}

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

TEST_F(InputFileOnDisk, refuses_what_is_not_a_readable_regular_file_of_at_most_64_kib)
{
    Put(Path("short.dat"), "\"1\"\r\n\"2\"\r\n");
    std::string big = DefaultBytes(Shape::ULoop);
    big.resize(kMaxFileSize + 1, '\n');
    Put(Path("big.dat"), big);
    fs::create_directory(Path("složka"));
    ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);  // opening it would wait for a writer
    fs::create_symlink("nowhere.dat", Path("dangling.dat"));

    struct Case {
        fs::path path;
        std::string name;
        Kind kind;
        std::string message;
    };
    const std::vector<Case> cases{
        {Path("chybí.dat"), "chybí.dat", Kind::CannotOpen, "Soubor „chybí.dat“ nelze otevřít."},
        {Path("dangling.dat"), "dangling.dat", Kind::CannotOpen, "Soubor „dangling.dat“ nelze otevřít."},
        {Path("short.dat/x.dat"), "x.dat", Kind::CannotOpen, "Soubor „x.dat“ nelze otevřít."},
        {Path("složka"), "složka", Kind::NotRegularFile, "„složka“ není soubor."},
        {Path("fifo"), "~/fifo", Kind::NotRegularFile, "„~/fifo“ není soubor."},
        {"/dev/null", "/dev/null", Kind::NotRegularFile, "„/dev/null“ není soubor."},
        {Path("big.dat"), "big.dat", Kind::TooLarge, "Soubor „big.dat“ je příliš velký."},
        {Path("short.dat"), "C:\\data\\short.dat", Kind::WrongFieldCount,
         "Soubor „C:\\data\\short.dat“ neobsahuje data tohoto dilatanu (počet hodnot: 2, potřebný počet: 12)."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path.string());
        const FileError error = ReadRefusal(c.path, Shape::ULoop, c.name);
        EXPECT_EQ(error.kind, c.kind);
        EXPECT_EQ(error.message, c.message);
    }
}

TEST_F(InputFileOnDisk, reads_a_file_of_exactly_64_kib)
{
    std::string bytes = DefaultBytes(Shape::LBend);
    bytes.resize(kMaxFileSize, ' ');
    Put(Path("full.dat"), bytes);
    ReadResult result = ReadInputFile(Path("full.dat"), Shape::LBend, "full.dat");
    ASSERT_TRUE(std::holds_alternative<InputTexts>(result));
    EXPECT_EQ(std::get<InputTexts>(result), DefaultTexts(Shape::LBend));
}

// ---- saves that fail -------------------------------------------------------

TEST_F(InputFileOnDisk, a_text_the_file_cannot_carry_writes_nothing)
{
    Put(Path("data.dat"), "old");
    InputTexts texts = DefaultTexts(Shape::ULoop);
    texts[10] = "1\"5";
    const std::optional<FileError> error = WriteInputFile(Path("data.dat"), texts, "data.dat");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, Kind::CannotCarry);
    EXPECT_EQ(error->message, "Údaj „Délka L2“ nelze uložit do souboru: obsahuje znak „\"“.");
    EXPECT_EQ(Contents(Path("data.dat")), "old");
    EXPECT_EQ(Listing(), std::vector<std::string>{"data.dat"});
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

TEST_F(InputFileOnDisk, saving_over_a_folder_is_refused)
{
    fs::create_directory(Path("data.dat"));
    const std::optional<FileError> error = WriteInputFile(Path("data.dat"), DefaultTexts(Shape::LBend), "data.dat");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->message, SaveMessage("data.dat", "není soubor"));
    EXPECT_TRUE(fs::is_directory(Path("data.dat")));
    EXPECT_EQ(Listing(), std::vector<std::string>{"data.dat"});
}

} // namespace
} // namespace dilatany::files
