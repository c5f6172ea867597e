// The input data file format in memory: exact bytes, reading rules, round trips and refusals.
#include "files/input_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dilatany::files {
namespace {

using Kind = FileError::Kind;

// The text of each line, in file order.
std::vector<std::string> InFileOrder(const InputTexts &texts)
{
    std::vector<std::string> values;
    for (const std::int16_t index : FileOrder(texts.shape))
        values.push_back(texts[index]);
    return values;
}

InputTexts Parsed(std::string_view bytes, Shape shape)
{
    ReadResult result = ParseInputData(bytes, shape, "data.dat");
    if (const auto *error = std::get_if<FileError>(&result)) {
        ADD_FAILURE() << "refused: " << error->message;
        return {};
    }
    return std::get<InputTexts>(result);
}

FileError Refusal(std::string_view bytes, Shape shape, std::string_view name = "data.dat")
{
    ReadResult result = ParseInputData(bytes, shape, name);
    if (!std::holds_alternative<FileError>(result)) {
        ADD_FAILURE() << "accepted, but a refusal was expected";
        return {};
    }
    return std::get<FileError>(result);
}

std::string Encoded(const InputTexts &texts)
{
    auto result = EncodeInputData(texts);
    if (const auto *error = std::get_if<FileError>(&result)) {
        ADD_FAILURE() << "refused: " << error->message;
        return {};
    }
    return std::get<std::string>(result);
}

// Writes the texts, reads them back into the same shape and expects them unchanged.
void ExpectRoundTrip(const InputTexts &texts)
{
    EXPECT_EQ(Parsed(Encoded(texts), texts.shape), texts);
}

// ---- the written bytes -----------------------------------------------------

struct DefaultFileCase {
    const char *name;
    Shape shape;
    std::string bytes;
};

// Test names in CTest show the row name, not the bytes of the row.
void PrintTo(const DefaultFileCase &c, std::ostream *os) { *os << c.name; }

class DefaultFile : public testing::TestWithParam<DefaultFileCase> {};

TEST_P(DefaultFile, is_written_byte_for_byte_and_reads_back_as_the_defaults)
{
    const DefaultFileCase &c = GetParam();
    const std::string bytes = Encoded(DefaultTexts(c.shape));
    EXPECT_EQ(bytes, c.bytes);
    const std::string firstLine{0x22, 0x30, 0x2E, 0x30, 0x30, 0x30, 0x31, 0x32, 0x22, 0x0D, 0x0A};
    EXPECT_EQ(bytes.substr(0, firstLine.size()), firstLine);
    EXPECT_EQ(Parsed(bytes, c.shape), DefaultTexts(c.shape));
}

INSTANTIATE_TEST_SUITE_P(
    BothShapes, DefaultFile,
    testing::Values(
        DefaultFileCase{"ULoop87Bytes", Shape::ULoop,
                        "\"0.00012\"\r\n\"1150\"\r\n\"27\"\r\n\"90\"\r\n\"10\"\r\n\"60\"\r\n"
                        "\"700\"\r\n\"1500\"\r\n\"1000\"\r\n\"200\"\r\n\"4.5\"\r\n\"159\"\r\n"},
        DefaultFileCase{"LBend69Bytes", Shape::LBend,
                        "\"0.00012\"\r\n\"1150\"\r\n\"27\"\r\n\"90\"\r\n\"10\"\r\n\"5\"\r\n"
                        "\"15\"\r\n\"200\"\r\n\"4.5\"\r\n\"159\"\r\n"}),
    [](const testing::TestParamInfo<DefaultFileCase> &row) { return row.param.name; });

TEST(DefaultFileSize, is_87_bytes_for_the_u_loop_and_69_for_the_l_bend)
{
    EXPECT_EQ(Encoded(DefaultTexts(Shape::ULoop)).size(), 87u);
    EXPECT_EQ(Encoded(DefaultTexts(Shape::LBend)).size(), 69u);
}

TEST(Encoding, writes_czech_letters_and_the_euro_sign_in_code_page_1250)
{
    InputTexts texts = DefaultTexts(Shape::LBend);
    texts[0] = "ěščřžýáíé";
    texts[1] = "€";
    const std::string bytes = Encoded(texts);
    EXPECT_EQ(bytes.substr(0, 24), "\"\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\"\r\n\"\x80\"\r\n\"27\"\r\n");
}

// ---- round trips -----------------------------------------------------------

TEST(RoundTrip, restores_every_awkward_text_in_every_box_of_both_shapes)
{
    const std::vector<std::string> awkward{
        "",          " ",        "  1150",    "27  ",     " 4.5 ",  "1,5",     "12,",   ",",
        "abc",       "1e",       "ěščřžýáíé", "ĚŠČŘŽÝÁÍÉŮ", "€",   "\t90\t", "a'b",   "\xC2\x81",
        "'",         "§ ° × ÷",  "–—‘’‚…",    "\x01",
    };
    for (const Shape shape : {Shape::ULoop, Shape::LBend}) {
        for (const std::string &text : awkward) {
            SCOPED_TRACE("text [" + text + "]");
            InputTexts texts = DefaultTexts(shape);
            for (const std::int16_t index : FileOrder(shape))
                texts[index] = text;
            ExpectRoundTrip(texts);
        }
        // All of them at once, each in a different box, so a shifted line shows.
        InputTexts mixed = DefaultTexts(shape);
        std::size_t next = 0;
        for (const std::int16_t index : FileOrder(shape))
            mixed[index] = awkward[next++ % awkward.size()];
        ExpectRoundTrip(mixed);
    }
}

TEST(RoundTrip, keeps_every_byte_of_code_page_1250_including_the_undefined_ones)
{
    // Each byte but the quotation mark and the line ends, inside a quoted value.
    std::string value;
    for (int byte = 1; byte < 256; ++byte)
        if (byte != '"' && byte != '\r' && byte != '\n')
            value += static_cast<char>(byte);
    std::string file = "\"" + value + "\"\r\n";
    for (int line = 1; line < 10; ++line)
        file += "\"\"\r\n";
    const InputTexts texts = Parsed(file, Shape::LBend);
    EXPECT_EQ(Encoded(texts), file);
}

TEST(Decoding, reads_an_undefined_byte_as_the_control_character_of_the_same_code)
{
    std::string file = "\"a\x81z\x98\"\r\n";
    for (int line = 1; line < 10; ++line)
        file += "\"\"\r\n";
    EXPECT_EQ(Parsed(file, Shape::LBend)[0], "a\xC2\x81z\xC2\x98");
}

TEST(RoundTrip, every_character_of_the_basic_plane_is_refused_or_comes_back_unchanged)
{
    InputTexts texts = DefaultTexts(Shape::LBend);
    int refused = 0;
    for (char32_t cp = 1; cp < 0x10000; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF)
            continue;
        std::string utf8;
        if (cp < 0x80) {
            utf8 += static_cast<char>(cp);
        } else if (cp < 0x800) {
            utf8 += static_cast<char>(0xC0 | (cp >> 6));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        }
        texts[13] = "x" + utf8 + "x";
        auto encoded = EncodeInputData(texts);
        if (std::holds_alternative<FileError>(encoded)) {
            EXPECT_EQ(std::get<FileError>(encoded).kind, Kind::CannotCarry);
            ++refused;
            continue;
        }
        ReadResult back = ParseInputData(std::get<std::string>(encoded), Shape::LBend, "x");
        ASSERT_TRUE(std::holds_alternative<InputTexts>(back)) << "U+" << std::hex << unsigned(cp);
        ASSERT_EQ(std::get<InputTexts>(back), texts) << "U+" << std::hex << unsigned(cp);
    }
    // 256 byte values less the quotation mark, CR, LF and NUL are carried.
    EXPECT_EQ(refused, 0xFFFF - 0x800 - 252);
}

// ---- reading rules ---------------------------------------------------------

struct ReadingCase {
    const char *name;
    std::string bytes;
    std::vector<std::string> values;  // the L-bend's ten values, in file order
};

void PrintTo(const ReadingCase &c, std::ostream *os) { *os << c.name; }

class ReadingRule : public testing::TestWithParam<ReadingCase> {};

TEST_P(ReadingRule, gives_the_values_in_file_order)
{
    const ReadingCase &c = GetParam();
    EXPECT_EQ(InFileOrder(Parsed(c.bytes, Shape::LBend)), c.values);
}

const std::vector<std::string> kLDefaults{"0.00012", "1150", "27", "90", "10", "5", "15", "200", "4.5", "159"};
const std::string kLTail = "\"10\"\r\n\"5\"\r\n\"15\"\r\n\"200\"\r\n\"4.5\"\r\n\"159\"\r\n";  // lines 5 to 10

std::vector<std::string> WithHead(std::vector<std::string> head)
{
    head.insert(head.end(), kLDefaults.begin() + static_cast<long>(head.size()), kLDefaults.end());
    return head;
}

INSTANTIATE_TEST_SUITE_P(
    LBendFiles, ReadingRule,
    testing::Values(
        ReadingCase{"OneLineUnquotedCommaSeparated", "0.00012,1150,27,90,10,5,15,200,4.5,159", kLDefaults},
        ReadingCase{"OneLineWithLineEnd", "0.00012,1150,27,90,10,5,15,200,4.5,159\r\n", kLDefaults},
        ReadingCase{"OneLineWithTrailingComma", "0.00012,1150,27,90,10,5,15,200,4.5,159,\r\n", kLDefaults},
        ReadingCase{"SeveralQuotedFieldsOnALine",
                    "\"0.00012\",\"1150\",\"27\",\"90\"\r\n\"10\",\"5\",\"15\"\r\n\"200\",\"4.5\",\"159\"\r\n",
                    kLDefaults},
        ReadingCase{"LineFeedLineEnds", "\"0.00012\"\n\"1150\"\n\"27\"\n\"90\"\n\"10\"\n\"5\"\n\"15\"\n\"200\"\n\"4.5\"\n\"159\"\n",
                    kLDefaults},
        ReadingCase{"CarriageReturnLineEnds",
                    "\"0.00012\"\r\"1150\"\r\"27\"\r\"90\"\r\"10\"\r\"5\"\r\"15\"\r\"200\"\r\"4.5\"\r\"159\"\r",
                    kLDefaults},
        ReadingCase{"UnquotedLinesWithLineFeeds", "0.00012\n1150\n27\n90\n10\n5\n15\n200\n4.5\n159", kLDefaults},
        ReadingCase{"TrailingBlankLinesAreNoValues",
                    "\"0.00012\"\r\n\"1150\"\r\n\"27\"\r\n\"90\"\r\n" + kLTail + "\r\n\r\n  \r\n", kLDefaults},
        ReadingCase{"CommaInsideQuotesBelongsToTheValue",
                    "\"1,5\"\r\n\"a,b,c\"\r\n\"27\"\r\n\"90\"\r\n" + kLTail, WithHead({"1,5", "a,b,c"})},
        ReadingCase{"BlanksInsideQuotesAreKept", "\"  1 \"\r\n\"\t\"\r\n\"27\"\r\n\"90\"\r\n" + kLTail,
                    WithHead({"  1 ", "\t"})},
        ReadingCase{"BlanksBeforeAQuotedFieldAreSkipped", "  \"1\"\r\n\t\"2\"\r\n\"27\"\r\n\"90\"\r\n" + kLTail,
                    WithHead({"1", "2"})},
        ReadingCase{"BlanksAroundAnUnquotedFieldAreTrimmed", "  1.5  \r\n\t2 3\t\r\n\"27\"\r\n\"90\"\r\n" + kLTail,
                    WithHead({"1.5", "2 3"})},
        ReadingCase{"TextAfterAClosingQuoteIsSkipped", "\"ab\"cd\r\n\"1\" x,\"2\"\r\n\"90\"\r\n" + kLTail,
                    WithHead({"ab", "1", "2"})},
        ReadingCase{"AnEmptyLineInTheMiddleIsAnEmptyValue", "\"a\"\r\n\r\n\"27\"\r\n\"90\"\r\n" + kLTail,
                    WithHead({"a", ""})},
        ReadingCase{"EmptyUnquotedFieldsBetweenCommas", "a,,c,\r\n" + kLTail, WithHead({"a", "", "c", ""})},
        ReadingCase{"QuotedEmptyValueAtTheEndCounts",
                    "\"0.00012\"\r\n\"1150\"\r\n\"27\"\r\n\"90\"\r\n\"10\"\r\n\"5\"\r\n\"15\"\r\n\"200\"\r\n\"4.5\"\r\n\"\"\r\n",
                    WithHead({"0.00012", "1150", "27", "90", "10", "5", "15", "200", "4.5", ""})},
        ReadingCase{"UnclosedQuoteRunsToTheEnd",
                    "\"0.00012\"\r\n\"1150\"\r\n\"27\"\r\n\"90\"\r\n\"10\"\r\n\"5\"\r\n\"15\"\r\n\"200\"\r\n\"4.5\"\r\n\"159",
                    kLDefaults},
        ReadingCase{"CodePage1250IsDecoded", "\"\xEC\x9A\xE8\"\r\n\x80\r\n\"27\"\r\n\"90\"\r\n" + kLTail,
                    WithHead({"ěšč", "€"})}),
    [](const testing::TestParamInfo<ReadingCase> &row) { return row.param.name; });

TEST(ReadingRule, puts_u_loop_lines_into_their_boxes_in_file_order)
{
    const InputTexts texts =
        Parsed("a0,a1,a2,a3,a4,a8,a9,a10,a5,a12,a13,a14\r\n", Shape::ULoop);
    for (const InputField &field : Fields(Shape::ULoop))
        EXPECT_EQ(texts[field.index], "a" + std::to_string(field.index));
    EXPECT_EQ(texts.shape, Shape::ULoop);
}

// ---- refusals while reading --------------------------------------------------

struct CountCase {
    const char *name;
    std::string bytes;
    Shape shape;
    std::string message;
};

void PrintTo(const CountCase &c, std::ostream *os) { *os << c.name; }

class WrongFieldCount : public testing::TestWithParam<CountCase> {};

TEST_P(WrongFieldCount, is_refused_with_both_counts)
{
    const CountCase &c = GetParam();
    const FileError error = Refusal(c.bytes, c.shape, "vstup.dat");
    EXPECT_EQ(error.kind, Kind::WrongFieldCount);
    EXPECT_EQ(error.message, c.message);
}

const std::string kUDefaultFile = "\"0.00012\"\r\n\"1150\"\r\n\"27\"\r\n\"90\"\r\n\"10\"\r\n\"60\"\r\n"
                                  "\"700\"\r\n\"1500\"\r\n\"1000\"\r\n\"200\"\r\n\"4.5\"\r\n\"159\"\r\n";
const std::string kLDefaultFile = "\"0.00012\"\r\n\"1150\"\r\n\"27\"\r\n\"90\"\r\n" + kLTail;

std::string CountMessage(int count, int needed)
{
    return "Soubor „vstup.dat“ neobsahuje data tohoto dilatanu (počet hodnot: " + std::to_string(count)
         + ", potřebný počet: " + std::to_string(needed) + ").";
}

INSTANTIATE_TEST_SUITE_P(
    BothShapes, WrongFieldCount,
    testing::Values(
        CountCase{"ULoopFileReadAsLBend", kUDefaultFile, Shape::LBend, CountMessage(12, 10)},
        CountCase{"LBendFileReadAsULoop", kLDefaultFile, Shape::ULoop, CountMessage(10, 12)},
        CountCase{"FiveLines", "\"1\"\r\n\"2\"\r\n\"3\"\r\n\"4\"\r\n\"5\"\r\n", Shape::ULoop, CountMessage(5, 12)},
        CountCase{"EmptyFile", "", Shape::ULoop, CountMessage(0, 12)},
        CountCase{"OnlyBlankLines", "\r\n\r\n \r\n", Shape::LBend, CountMessage(0, 10)},
        CountCase{"OneQuotedEmptyValueTooMany", kLDefaultFile + "\"\"\r\n", Shape::LBend, CountMessage(11, 10)},
        CountCase{"CommaInsideAValueWrittenUnquoted", "1,5\r\n1150\r\n27\r\n90\r\n" + kLTail, Shape::LBend,
                  CountMessage(11, 10)}),
    [](const testing::TestParamInfo<CountCase> &row) { return row.param.name; });

TEST(TooLarge, data_over_64_kib_is_refused_and_64_kib_of_it_is_read)
{
    std::string bytes = kLDefaultFile;
    bytes.resize(kMaxFileSize, '\n');  // blank lines are no values
    EXPECT_EQ(Parsed(bytes, Shape::LBend), DefaultTexts(Shape::LBend));
    bytes += '\n';
    const FileError error = Refusal(bytes, Shape::LBend, "velký.dat");
    EXPECT_EQ(error.kind, Kind::TooLarge);
    EXPECT_EQ(error.message, "Soubor „velký.dat“ je příliš velký.");
}

// ---- sets the save could not write back --------------------------------------

struct SaveBackCase {
    const char *name;
    std::string bytes;
    Shape shape;
    std::string message;
};

void PrintTo(const SaveBackCase &c, std::ostream *os) { *os << c.name; }

class LoadedSetTheSaveCannotWrite : public testing::TestWithParam<SaveBackCase> {};

TEST_P(LoadedSetTheSaveCannotWrite, is_refused_with_the_reason)
{
    const SaveBackCase &c = GetParam();
    const FileError error = Refusal(c.bytes, c.shape, "vstup.dat");
    EXPECT_EQ(error.kind, Kind::CannotSaveBack);
    EXPECT_EQ(error.message, c.message);
}

std::string CarryBackMessage(std::string_view caption, std::string_view character)
{
    return "Soubor „vstup.dat“ nelze načíst: údaj „" + std::string(caption) + "“ obsahuje znak "
         + std::string(character) + ", který do souboru nelze uložit zpět.";
}

// Twelve unquoted values, comma-separated on one line, filling `size` bytes:
// the last one is padded with digits.
std::string UnquotedULoopFile(std::size_t size)
{
    std::string bytes = "0.00012,1150,27,90,10,60,700,1500,1000,200,4.5,159";
    bytes.resize(size, '0');
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    BothShapes, LoadedSetTheSaveCannotWrite,
    testing::Values(
        SaveBackCase{"QuotedValueRunsAcrossALineEnd", "\"a\r\nb\"\r\n\"1150\"\r\n\"27\"\r\n\"90\"\r\n" + kLTail,
                     Shape::LBend, CarryBackMessage("Součinitel teplotní roztažnosti", "U+000D")},
        SaveBackCase{"UnquotedValueHoldingAQuotationMark", "0.00012,1150,27,90,10,60,7\"00,1500,1000,200,4.5,159",
                     Shape::ULoop, CarryBackMessage("Délka L3", "„\"“")},
        // 65 536 bytes read; written back, the quotes and line ends would make
        // 65 536 - 11 commas + 12 x 4 = 65 573.
        SaveBackCase{"SixtyFourKibOfUnquotedValues", UnquotedULoopFile(kMaxFileSize), Shape::ULoop,
                     "Soubor „vstup.dat“ nelze načíst: uložený zpět by měl 65573 bajtů, smí mít nejvýše 65536. "
                     "Nejdelší je údaj „Vnější průmer potrubí“."}),
    [](const testing::TestParamInfo<SaveBackCase> &row) { return row.param.name; });

TEST(SizeLimit, a_set_whose_file_fills_64_kib_saves_and_loads_and_one_byte_more_is_refused_by_both)
{
    for (const Shape shape : {Shape::ULoop, Shape::LBend}) {
        SCOPED_TRACE(shape == Shape::ULoop ? "U-loop" : "L-bend");
        InputTexts texts = DefaultTexts(shape);
        const std::int16_t last = FileOrder(shape).back();
        const std::size_t room = kMaxFileSize - Encoded(texts).size();
        texts[last] += std::string(room, ' ');
        const std::string full = Encoded(texts);
        EXPECT_EQ(full.size(), kMaxFileSize);
        EXPECT_EQ(Parsed(full, shape), texts);

        texts[last] += ' ';
        auto refused = EncodeInputData(texts);
        ASSERT_TRUE(std::holds_alternative<FileError>(refused));
        EXPECT_EQ(std::get<FileError>(refused).kind, Kind::TooLarge);
        // Nearly the same set (an x behind each value keeps its blanks) from a
        // file of unquoted values, which is within the limit itself.
        std::string unquoted;
        for (const std::int16_t index : FileOrder(shape))
            unquoted += (unquoted.empty() ? "" : ",") + texts[index] + "x";
        ASSERT_LE(unquoted.size(), kMaxFileSize);
        EXPECT_EQ(Refusal(unquoted, shape).kind, Kind::CannotSaveBack);
    }
}

TEST(SizeLimit, a_box_text_with_70000_trailing_blanks_is_refused_before_anything_is_written)
{
    InputTexts texts = DefaultTexts(Shape::ULoop);
    texts[5] = "1000" + std::string(70000, ' ');  // Délka L1
    auto result = EncodeInputData(texts);
    ASSERT_TRUE(std::holds_alternative<FileError>(result));
    EXPECT_EQ(std::get<FileError>(result).kind, Kind::TooLarge);
    EXPECT_EQ(std::get<FileError>(result).message,
              "Údaje nelze uložit: soubor by měl 70087 bajtů, smí mít nejvýše 65536. Nejdelší je údaj „Délka L1“.");
}

// ---- files saved as UTF-8 with a byte-order mark -------------------------------

const std::string kUtf8Mark = "\xEF\xBB\xBF";

TEST(Utf8WithMark, reads_the_texts_as_utf8_without_the_mark_and_saves_them_in_code_page_1250)
{
    EXPECT_EQ(Parsed(kUtf8Mark + kLDefaultFile, Shape::LBend), DefaultTexts(Shape::LBend));
    EXPECT_EQ(Parsed(kUtf8Mark + "0.00012,1150,27,90,10,5,15,200,4.5,159\r\n", Shape::LBend),
              DefaultTexts(Shape::LBend));

    const InputTexts texts = Parsed(kUtf8Mark + "\"ěščřžýáíé\"\r\n\"€ 1,5\"\r\n\"27\"\r\n\"90\"\r\n" + kLTail, Shape::LBend);
    EXPECT_EQ(InFileOrder(texts), WithHead({"ěščřžýáíé", "€ 1,5"}));
    EXPECT_EQ(Encoded(texts).substr(0, 22), "\"\xEC\x9A\xE8\xF8\x9E\xFD\xE1\xED\xE9\"\r\n\"\x80 1,5\"\r\n");
}

TEST(Utf8WithMark, is_refused_when_the_text_is_no_utf8_or_holds_what_code_page_1250_cannot)
{
    const FileError broken = Refusal(kUtf8Mark + "\"1\xFF\"\r\n" + kLTail, Shape::LBend, "vstup.dat");
    EXPECT_EQ(broken.kind, Kind::NotUtf8);
    EXPECT_EQ(broken.message, "Soubor „vstup.dat“ začíná značkou kódování UTF-8, ale jeho text není platný text UTF-8.");
    // A code page 1250 file after the mark, as a careless conversion leaves it.
    EXPECT_EQ(Refusal(kUtf8Mark + "\"\xEC\x9A\"\r\n" + kLTail, Shape::LBend).kind, Kind::NotUtf8);

    const FileError greek = Refusal(kUtf8Mark + "\"0.00012\"\r\n\"1150 α\"\r\n\"27\"\r\n\"90\"\r\n" + kLTail,
                                    Shape::LBend, "vstup.dat");
    EXPECT_EQ(greek.kind, Kind::CannotSaveBack);
    EXPECT_EQ(greek.message, CarryBackMessage("Modul pružnosti", "„α“"));

    const FileError empty = Refusal(kUtf8Mark, Shape::ULoop, "vstup.dat");
    EXPECT_EQ(empty.kind, Kind::WrongFieldCount);
}

TEST(Utf8WithMark, only_at_the_start_is_a_mark)
{
    // Anywhere else the three bytes are code page 1250 letters, "ď»ż".
    EXPECT_EQ(InFileOrder(Parsed("\"\xEF\xBB\xBF\"\r\n\"1150\"\r\n\"27\"\r\n\"90\"\r\n" + kLTail, Shape::LBend))[0],
              "ď»ż");
}

// ---- refusals while writing --------------------------------------------------

struct CarryCase {
    const char *name;
    Shape shape;
    std::vector<std::pair<int, std::string>> texts;  // box index, text
    std::string message;
};

void PrintTo(const CarryCase &c, std::ostream *os) { *os << c.name; }

class CannotCarry : public testing::TestWithParam<CarryCase> {};

TEST_P(CannotCarry, is_refused_naming_the_input_and_the_character)
{
    const CarryCase &c = GetParam();
    InputTexts texts = DefaultTexts(c.shape);
    for (const auto &[index, text] : c.texts)
        texts[index] = text;
    auto result = EncodeInputData(texts);
    ASSERT_TRUE(std::holds_alternative<FileError>(result));
    EXPECT_EQ(std::get<FileError>(result).kind, Kind::CannotCarry);
    EXPECT_EQ(std::get<FileError>(result).message, c.message);
}

std::string CarryMessage(std::string_view caption, std::string_view character)
{
    return "Údaj „" + std::string(caption) + "“ nelze uložit do souboru: obsahuje znak " + std::string(character)
         + ".";
}

INSTANTIATE_TEST_SUITE_P(
    BothShapes, CannotCarry,
    testing::Values(
        CarryCase{"QuotationMark", Shape::ULoop, {{13, "4\"5"}}, CarryMessage("Tloušťka stěny potrubí", "„\"“")},
        CarryCase{"CaptionWithoutItsTrailingBlank", Shape::ULoop, {{0, "≥1"}},
                  CarryMessage("Součinitel teplotní roztažnosti", "„≥“")},
        CarryCase{"LBendSpellingOfTheCaption", Shape::LBend, {{14, "159 α"}},
                  CarryMessage("Vnější pruměr potrubí", "„α“")},
        CarryCase{"CharacterBeyondTheBasicPlane", Shape::LBend, {{3, "😀"}}, CarryMessage("Teplota vody", "„😀“")},
        CarryCase{"CarriageReturnShownByItsCode", Shape::ULoop, {{2, "1\r\n2"}}, CarryMessage("Pevnost", "U+000D")},
        CarryCase{"LineFeedShownByItsCode", Shape::LBend, {{11, "15\n"}}, CarryMessage("Délka L1", "U+000A")},
        CarryCase{"ControlCharacterOutsideTheCodePage", Shape::ULoop, {{4, "1\xC2\x85"}},
                  CarryMessage("Teplota montáže", "U+0085")},
        CarryCase{"ByteThatIsNoUtf8", Shape::ULoop, {{1, "1\xFF"}}, CarryMessage("Modul pružnosti", "0xFF")},
        CarryCase{"FirstBadCharacterOfTheText", Shape::ULoop, {{3, "≥\"α"}}, CarryMessage("Teplota vody", "„≥“")},
        CarryCase{"QuotationMarkBeforeAnUnencodableCharacter", Shape::ULoop, {{3, "\"≥"}},
                  CarryMessage("Teplota vody", "„\"“")},
        // Box 8 stands on line 6, box 5 on line 9: the file order decides.
        CarryCase{"FirstInputInFileOrder", Shape::ULoop, {{5, "\""}, {8, "α"}},
                  CarryMessage("Vzdálenost pevných bodů", "„α“")}),
    [](const testing::TestParamInfo<CarryCase> &row) { return row.param.name; });

TEST(CannotCarry, ignores_texts_in_slots_the_shape_has_no_box_for)
{
    InputTexts texts = DefaultTexts(Shape::ULoop);
    texts[6] = "\"";
    texts[11] = "≥";
    EXPECT_EQ(Encoded(texts).size(), 87u);
}

} // namespace
} // namespace dilatany::files
