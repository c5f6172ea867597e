// Reading and saving input data files on disk, the same on every platform:
// round trips, refusals, and saves that fail without harm.
#include "tests/files/disk_fixture.h"

#include <gtest/gtest.h>

namespace dilatany::files {
namespace {

using testing_support::InputFileOnDisk;
namespace fs = std::filesystem;
using Kind = FileError::Kind;

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

TEST_F(InputFileOnDisk, saving_a_file_with_two_hard_links_changes_both_names)
{
    Put(Path("data.dat"), "\"a much longer old content than the new one, to be cut off\"\r\n");
    fs::create_hard_link(Path("data.dat"), Path("also.dat"));
    // Both names showing the new content tell that they are still one file
    // (MinGW's hard_link_count says 1 on Windows whatever the count).
    for (const Shape shape : {Shape::LBend, Shape::ULoop}) {  // shorter, then longer than before
        ASSERT_EQ(WriteInputFile(Path("also.dat"), DefaultTexts(shape), "also.dat"), std::nullopt);
        EXPECT_EQ(Contents(Path("data.dat")), DefaultBytes(shape));
        EXPECT_EQ(Contents(Path("also.dat")), DefaultBytes(shape));
    }
    EXPECT_EQ(Listing(), (std::vector<std::string>{"also.dat", "data.dat"}));
}

TEST_F(InputFileOnDisk, every_set_read_from_a_fuzzer_seed_saves_and_reads_back_unchanged)
{
    int sets = 0;
    for (const fs::directory_entry &seed : fs::directory_iterator(fs::path(DILATANY_READER_SEEDS))) {
        const std::u8string name = seed.path().filename().u8string();
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        for (const Shape shape : {Shape::ULoop, Shape::LBend}) {
            ReadResult read = ReadInputFile(seed.path(), shape, "seed");
            if (!std::holds_alternative<InputTexts>(read))
                continue;
            ++sets;
            const InputTexts &texts = std::get<InputTexts>(read);
            ASSERT_EQ(WriteInputFile(Path("copy.dat"), texts, "copy.dat"), std::nullopt);
            ReadResult back = ReadInputFile(Path("copy.dat"), shape, "copy.dat");
            ASSERT_TRUE(std::holds_alternative<InputTexts>(back));
            EXPECT_EQ(std::get<InputTexts>(back), texts);
        }
    }
    EXPECT_GT(sets, 0) << "no seed gave a set";
}

// ---- refusals while reading --------------------------------------------------

TEST_F(InputFileOnDisk, refuses_what_is_not_a_readable_regular_file_of_at_most_64_kib)
{
    Put(Path("short.dat"), "\"1\"\r\n\"2\"\r\n");
    std::string big = DefaultBytes(Shape::ULoop);
    big.resize(kMaxFileSize + 1, '\n');
    Put(Path("big.dat"), big);
    fs::create_directory(Path("složka"));
    // Within the limit, but the twelve values saved back would exceed it.
    std::string unquoted = "0.00012,1150,27,90,10,60,700,1500,1000,200,4.5,159";
    unquoted.resize(kMaxFileSize, '0');
    Put(Path("plný.dat"), unquoted);

    struct Case {
        fs::path path;
        std::string name;
        Kind kind;
        std::string message;
    };
    const std::vector<Case> cases{
        {Path("chybí.dat"), "chybí.dat", Kind::CannotOpen, "Soubor „chybí.dat“ nelze otevřít."},
        {Path("short.dat/x.dat"), "x.dat", Kind::CannotOpen, "Soubor „x.dat“ nelze otevřít."},
        {Path("složka"), "složka", Kind::NotRegularFile, "„složka“ není soubor."},
        {Path("big.dat"), "big.dat", Kind::TooLarge, "Soubor „big.dat“ je příliš velký."},
        {Path("plný.dat"), "plný.dat", Kind::CannotSaveBack,
         "Soubor „plný.dat“ nelze načíst: uložený zpět by měl 65573 bajtů, smí mít nejvýše 65536. "
         "Nejdelší je údaj „Vnější průmer potrubí“."},
        {Path("short.dat"), "C:\\data\\short.dat", Kind::WrongFieldCount,
         "Soubor „C:\\data\\short.dat“ neobsahuje data tohoto dilatanu (počet hodnot: 2, potřebný počet: 12)."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
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

// ---- saves that fail -------------------------------------------------------

TEST_F(InputFileOnDisk, a_set_the_file_cannot_carry_writes_nothing)
{
    struct Case {
        const char *name;
        int index;
        std::string text;
        Kind kind;
        std::string message;
    };
    const std::vector<Case> cases{
        {"a quotation mark", 10, "1\"5", Kind::CannotCarry,
         "Údaj „Délka L2“ nelze uložit do souboru: obsahuje znak „\"“."},
        {"a file over the size a load reads", 5, "1000" + std::string(70000, ' '), Kind::TooLarge,
         "Údaje nelze uložit: soubor by měl 70087 bajtů, smí mít nejvýše 65536. Nejdelší je údaj „Délka L1“."},
    };
    Put(Path("data.dat"), "old");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        InputTexts texts = DefaultTexts(Shape::ULoop);
        texts[c.index] = c.text;
        for (const char *name : {"data.dat", "new.dat"}) {
            const std::optional<FileError> error = WriteInputFile(Path(name), texts, name);
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->kind, c.kind);
            EXPECT_EQ(error->message, c.message);
        }
        EXPECT_EQ(Contents(Path("data.dat")), "old");
        EXPECT_EQ(Listing(), std::vector<std::string>{"data.dat"});
    }
}

TEST_F(InputFileOnDisk, saving_into_a_missing_folder_fails_and_creates_nothing)
{
    const std::optional<FileError> error =
        WriteInputFile(Path("chybí/data.dat"), DefaultTexts(Shape::ULoop), "chybí/data.dat");
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->kind, Kind::CannotSave);
    const std::string prefix = SaveMessage("chybí/data.dat", "");
    EXPECT_EQ(error->message.substr(0, prefix.size()), prefix);
    EXPECT_GT(error->message.size(), prefix.size()) << "no reason given";
    EXPECT_TRUE(Listing().empty());
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
