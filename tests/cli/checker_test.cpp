#include "cli/checker.h"
#include "cli/json.h"
#include "cli/output.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <ios>
#include <streambuf>
#include <sstream>
#include <string>
#include <vector>

namespace dilatany::cli {
namespace {

namespace fs = std::filesystem;

// Input data files in a fresh folder, written byte by byte as the save command does.
class CheckerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("dilatany-checker-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static std::string Content(std::initializer_list<const char *> texts)
    {
        std::string bytes;
        for (const char *t : texts)
            bytes += std::string("\"") + t + "\"\r\n";
        return bytes;
    }

    // The name with forward slashes on every platform: the output escapes a
    // backslash, so a Windows path would come out with each one doubled.
    std::string Write(const std::string &name, const std::string &bytes)
    {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path.generic_string();
    }

    // U-loop file order: α, E, f, t_w, t_m, L_f, L3, L2, L1, R, s, D.
    std::string ULoop(const std::string &name, const char *Lf = "60", const char *f = "27", const char *E = "1150")
    {
        return Write(name, Content({"0.00012", E, f, "90", "10", Lf, "700", "1500", "1000", "200", "4.5", "159"}));
    }
    std::string LBend(const std::string &name)
    {
        return Write(name, Content({"0.00012", "1150", "27", "90", "10", "5", "15", "200", "4.5", "159"}));
    }

    struct Run {
        int status;
        std::string out;
        std::string err;
    };
    static Run Check(std::vector<std::string> args, const std::string &input = {})
    {
        std::istringstream in(input);
        std::ostringstream out, err;
        const int status = RunChecker(args, in, out, err);
        return {status, out.str(), err.str()};
    }

    fs::path m_dir;
};

TEST_F(CheckerTest, prints_the_result_label_texts_of_each_file)
{
    const std::string u = ULoop("u.dat");
    const std::string far = ULoop("far.dat", "300");
    const Run run = Check({"u", u, far});
    EXPECT_EQ(run.out, u + "\t20.00\t5.33\t73\tVyhovuje\n" + far + "\t20.00\t26.63\t-33\t!!! Nevyhovuje !!!\n");
    EXPECT_EQ(run.status, kSomeFailed);

    const std::string l = LBend("l.dat");
    const Run lrun = Check({"l", l});
    EXPECT_EQ(lrun.out, l + "\t20.00\t7.01\t65\tVyhovuje\n");
    EXPECT_EQ(lrun.status, kAllPassed);
}

TEST_F(CheckerTest, reports_a_fault_by_its_kind)
{
    const std::string file = ULoop("fault.dat", "60", "0");
    const Run run = Check({"u", file});
    EXPECT_EQ(run.out, file + "\tfault\tdivision-by-zero\n");
    EXPECT_EQ(run.status, kSomeFailed);
}

TEST_F(CheckerTest, an_empty_box_is_an_error_not_a_zero)
{
    const std::string file = ULoop("empty-modulus.dat", "60", "27", "");
    const Run run = Check({"u", file});
    EXPECT_EQ(run.out, file + "\terror\tTyto údaje nejsou čísla: Modul pružnosti\n");
    EXPECT_EQ(run.status, kError);
}

TEST_F(CheckerTest, refused_files_are_errors_and_the_others_are_still_checked)
{
    const std::string missing = (m_dir / "missing.dat").generic_string();
    const std::string lfile = LBend("l.dat");
    const std::string u = ULoop("u.dat");
    const Run run = Check({"u", missing, lfile, u});
    EXPECT_EQ(run.out, missing + "\terror\tSoubor „" + missing + "“ nelze otevřít.\n" + lfile +
                           "\terror\tSoubor „" + lfile +
                           "“ neobsahuje data tohoto dilatanu (počet hodnot: 10, potřebný počet: 12).\n" + u +
                           "\t20.00\t5.33\t73\tVyhovuje\n");
    EXPECT_EQ(run.status, kError);
}

TEST_F(CheckerTest, reads_standard_input_for_a_dash)
{
    const Run run = Check({"l", "-"}, "0.00012,1150,27,90,10,5,15,200,4.5,159\r\n");
    EXPECT_EQ(run.out, "-\t20.00\t7.01\t65\tVyhovuje\n");
    EXPECT_EQ(run.status, kAllPassed);

    const Run big = Check({"l", "-"}, std::string(70000, ','));
    EXPECT_EQ(big.out, "-\terror\tSoubor „-“ je příliš velký.\n");
    EXPECT_EQ(big.status, kError);
}

TEST_F(CheckerTest, json_lines_carry_the_numbers_and_the_texts)
{
    const std::string u = ULoop("u.dat");
    const std::string fault = ULoop("fault.dat", "60", "0");
    const Run run = Check({"u", "--json", u, fault});
    EXPECT_EQ(run.out, "{\"file\":" + JsonString(u) +
                           ",\"status\":\"pass\",\"allowable\":20,\"stress\":5.325394,\"reserve\":73.37303,"
                           "\"allowableText\":\"20.00\",\"stressText\":\"5.33\",\"reserveText\":\"73\","
                           "\"verdict\":\"Vyhovuje\"}\n"
                           "{\"file\":" + JsonString(fault) +
                           ",\"status\":\"fault\",\"fault\":\"division-by-zero\","
                           "\"message\":\"Výpočet nelze dokončit: dělení nulou.\"}\n");
    EXPECT_EQ(run.status, kSomeFailed);
}

TEST(CheckerUsage, errors_print_the_usage_and_exit_with_2)
{
    const std::vector<std::vector<std::string>> cases = {
        {}, {"u"}, {"x", "a.dat"}, {"u", "--verbose", "a.dat"}, {"--json"},
    };
    for (const auto &args : cases) {
        std::istringstream in;
        std::ostringstream out, err;
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(RunChecker(args, in, out, err), kError);
        EXPECT_EQ(out.str(), "");
        EXPECT_NE(err.str().find("Použití:"), std::string::npos);
    }
}

TEST(CheckerUsage, help_prints_the_usage_and_checks_nothing)
{
    const std::vector<std::string> args{"--help"};
    std::istringstream in;
    std::ostringstream out, err;
    EXPECT_EQ(RunChecker(args, in, out, err), kAllPassed);
    EXPECT_EQ(out.str(), UsageText());
}

TEST(Json, strings_are_escaped_and_always_valid_utf8)
{
    EXPECT_EQ(JsonString("a\"b\\c\td"), "\"a\\\"b\\\\c\\u0009d\"");
    EXPECT_EQ(JsonString("Pevnost ěš"), "\"Pevnost ěš\"");
    EXPECT_EQ(JsonString("bad\xff\xc3"), "\"bad\xEF\xBF\xBD\xEF\xBF\xBD\"");
    EXPECT_EQ(JsonNumber(-0.08958063f), "-0.08958063");
    EXPECT_EQ(JsonNumber(20.0f), "20");
}

// A stream buffer whose reads fail as a folder or a closed descriptor on
// standard input do: by an exception, or by reporting end of input with badbit.
class FailingReadBuffer : public std::streambuf {
protected:
    int_type underflow() override { throw std::ios_base::failure("read error"); }
};

// A stream buffer that takes `room` bytes and then refuses every write.
class FullWriteBuffer : public std::streambuf {
public:
    explicit FullWriteBuffer(std::size_t room) : m_room(room) {}
    std::string written;

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()) || written.size() >= m_room)
            return traits_type::eof();
        written += traits_type::to_char_type(c);
        return c;
    }

private:
    std::size_t m_room;
};

TEST_F(CheckerTest, an_unreadable_standard_input_is_an_error_line_and_earlier_lines_stay)
{
    const std::string u = ULoop("u.dat");
    FailingReadBuffer buffer;
    std::istream in(&buffer);
    std::ostringstream out, err;
    const std::vector<std::string> args{"u", u, "-", u};
    EXPECT_EQ(RunChecker(args, in, out, err), kError);
    EXPECT_EQ(out.str(), u + "\t20.00\t5.33\t73\tVyhovuje\n-\terror\tSoubor „-“ nelze přečíst.\n" + u +
                             "\t20.00\t5.33\t73\tVyhovuje\n");
}

TEST_F(CheckerTest, output_that_cannot_be_written_stops_the_run_with_its_own_status)
{
    const std::string u = ULoop("u.dat");
    FullWriteBuffer buffer(10);
    std::ostream out(&buffer);
    std::istringstream in;
    std::ostringstream err;
    const std::vector<std::string> args{"u", u, u, u};
    EXPECT_EQ(RunChecker(args, in, out, err), kOutputError);
    EXPECT_EQ(buffer.written, u.substr(0, 10));
}

TEST(OutputFailed, a_closed_pipe_is_quiet_and_other_failures_are_reported)
{
    std::ostringstream quiet, loud;
    EXPECT_EQ(OutputFailed(EPIPE, quiet), kOutputError);
    EXPECT_EQ(quiet.str(), "");
    EXPECT_EQ(OutputFailed(ENOSPC, loud), kOutputError);
    EXPECT_EQ(loud.str(), "dilatany-check: výsledky nelze zapsat na standardní výstup: na zařízení není volné místo\n");
}

TEST(EscapeText, keeps_one_record_on_one_line_and_names_distinct)
{
    struct Case {
        const char *name;
        std::string text;
        std::string escaped;
    };
    const Case cases[] = {
        {"plain UTF-8 stays", "Měření/ů.dat", "Měření/ů.dat"},
        {"tab and line ends", "a\tb\nc\rd", "a\\tb\\nc\\rd"},
        {"a backslash is doubled, so escapes stay distinct", "a\\nb", "a\\\\nb"},
        {"other control bytes", std::string("a\x01\x7f", 3) + std::string(1, '\0'), "a\\x01\\x7f\\x00"},
        {"bytes that are not UTF-8", "\xff.dat", "\\xff.dat"},
        {"a cut sequence", "x\xc3", "x\\xc3"},
        {"C1 controls and line separators", "\xc2\x85|\xe2\x80\xa8", "\\xc2\\x85|\\xe2\\x80\\xa8"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(EscapeText(c.text), c.escaped);
    }
}

// File names that only POSIX systems allow: a line break, a tab, bytes that
// are not UTF-8. Windows refuses such names.
#ifndef _WIN32
TEST_F(CheckerTest, a_name_with_a_line_break_prints_one_line)
{
    const std::string file = ULoop("a\nb.dat");
    const Run run = Check({"u", file});
    EXPECT_EQ(run.out, EscapeText(file) + "\t20.00\t5.33\t73\tVyhovuje\n");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);

    const std::string missing = (m_dir / "x\ty.dat").string();
    const Run refused = Check({"u", missing});
    EXPECT_EQ(refused.out, EscapeText(missing) + "\terror\tSoubor „" + EscapeText(missing) + "“ nelze otevřít.\n");
}

TEST_F(CheckerTest, json_names_that_are_not_utf8_carry_their_bytes)
{
    const std::string ff = ULoop("\xff.dat");
    const std::string fe = ULoop("\xfe.dat");
    const Run run = Check({"u", "--json", ff, fe});
    std::istringstream lines(run.out);
    std::string first, second;
    std::getline(lines, first);
    std::getline(lines, second);
    EXPECT_NE(first, second);
    auto hex = [](const std::string &name) {
        std::string out;
        for (const char c : name) {
            char buf[3];
            std::snprintf(buf, sizeof buf, "%02x", static_cast<unsigned char>(c));
            out += buf;
        }
        return out;
    };
    EXPECT_EQ(first.rfind("{\"file\":" + JsonString(ff) + ",\"fileBytes\":\"" + hex(ff) + "\",\"status\":\"pass\"", 0), 0u)
        << first;
    EXPECT_EQ(JsonFileMember("a.dat"), "\"file\":\"a.dat\"");
}
#endif

} // namespace
} // namespace dilatany::cli
