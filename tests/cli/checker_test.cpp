#include "cli/checker.h"
#include "cli/json.h"
#include "cli/output.h"
#include "cli/quantity_texts.h"
#include "cli/report.h"
#include "cli/sha256.h"
#include "cli/svg_chart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <map>
#include <regex>
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
                           "\"verdict\":\"Vyhovuje\",\"inputs\":{\"D\":0.159,\"s\":0.0045,\"R\":0.2,\"L1\":1,"
                           "\"L2\":1.5,\"L3\":0.7,\"Lf\":60,\"alpha\":0.00012,\"E\":1.15e+09,\"f\":27,\"tw\":90,"
                           "\"tm\":10},\"quantities\":{\"I\":6.52268e-06,\"lambda\":0.15081535,\"i\":3.1764753,"
                           "\"k\":7.353131,\"dL\":0.576,\"Ls\":14.940217,\"yc\":0.8673372,\"B\":21.197787410019856,"
                           "\"Ix\":32.436924,\"F\":133.20076,\"y2\":1.0326627,\"ymax\":1.0326627,\"M\":137.55147},"
                           "\"forces\":{\"F\":133.20076}}\n"
                           "{\"file\":" + JsonString(fault) +
                           ",\"status\":\"fault\",\"fault\":\"division-by-zero\","
                           "\"message\":\"Výpočet nelze dokončit: dělení nulou.\",\"faultAt\":\"reserve\","
                           "\"inputs\":{\"D\":0.159,\"s\":0.0045,\"R\":0.2,\"L1\":1,"
                           "\"L2\":1.5,\"L3\":0.7,\"Lf\":60,\"alpha\":0.00012,\"E\":1.15e+09,\"f\":0,\"tw\":90,"
                           "\"tm\":10},\"quantities\":{\"I\":6.52268e-06,\"lambda\":0.15081535,\"i\":3.1764753,"
                           "\"k\":7.353131,\"dL\":0.576,\"Ls\":14.940217,\"yc\":0.8673372,\"B\":21.197787410019856,"
                           "\"Ix\":32.436924,\"F\":133.20076,\"y2\":1.0326627,\"ymax\":1.0326627,\"M\":137.55147}}\n");
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

TEST_F(CheckerTest, solve_prints_the_runs_of_passing_values)
{
    const std::string u = ULoop("u.dat");
    const std::string far = ULoop("far.dat", "300");
    const Run run = Check({"u", "--solve", "L2=0:3000:10", u, far});
    EXPECT_EQ(run.out, u + "\tL2\t270..3000\n" + far + "\tL2\t1970..3000\n");
    EXPECT_EQ(run.status, kAllPassed);
    const Run none = Check({"u", "--solve", "L2=0:1000:10", u, far});
    EXPECT_EQ(none.out, u + "\tL2\t270..1000\n" + far + "\tL2\t-\n");
    EXPECT_EQ(none.status, kSomeFailed);

    // The stress grows with the distance between the fixed points: five times
    // the distance needs a reserve of 80 % at 60 m, as the JSON test shows.
    // NAME alone takes the default grid around the file's value: 0:3000:10 here.
    EXPECT_EQ(Check({"u", "--solve", "L2", u}).out, u + "\tL2\t270..3000\n");
    EXPECT_EQ(Check({"u", "--solve", "L2", u}).status, kAllPassed);

    const Run twoRuns = Check({"l", "--solve", "R=0:400:1", "--reserve", "40", LBend("l.dat")});
    EXPECT_EQ(twoRuns.out, m_dir.generic_string() + "/l.dat\tR\t0..79,94..400\n");
}

TEST_F(CheckerTest, solve_json_gives_the_grid_the_runs_and_the_current_value)
{
    const std::string u = ULoop("u.dat");
    const Run run = Check({"u", "--json", "--solve", "L2=0:3000:10", u});
    EXPECT_EQ(run.out, "{\"file\":" + JsonString(u) +
                           ",\"solve\":\"L2\",\"unit\":\"[mm]\",\"from\":\"0\",\"to\":\"3000\",\"step\":\"10\","
                           "\"reserve\":null,\"passing\":[[\"270\",\"3000\"]],\"current\":\"1500\","
                           "\"currentPasses\":true}\n");
    const Run reserve = Check({"u", "--json", "--solve", "L2=0:3000:10", "--reserve", "080.0", u});
    EXPECT_NE(reserve.out.find("\"reserve\":80,\"passing\":[[\"1970\",\"3000\"]],\"current\":\"1500\","
                               "\"currentPasses\":false}"),
              std::string::npos)
        << reserve.out;
}

TEST_F(CheckerTest, solve_refusals)
{
    const std::string u = ULoop("u.dat");
    struct Case {
        const char *name;
        std::vector<std::string> args;
        const char *message;
    };
    const std::vector<Case> cases = {
        {"an unknown name", {"u", "--solve", "X=0:1:1", u}, "„X“ není vstup tohoto dilatanu (vstupy: D, s, R, L1, L2, L3, Lf, alpha, E, f, tw, tm)"},
        {"a U-loop name on the L-bend", {"l", "--solve", "L3=0:1:1", u}, "(vstupy: D, s, R, L1, L2, alpha, E, f, tw, tm)"},
        {"a bad grid", {"u", "--solve", "L2=0:3000", u}, "desetinná čísla"},
        {"a zero step", {"u", "--solve", "L2=0:3000:0", u}, "KROK musí být větší než 0"},
        {"a grid too large", {"u", "--solve", "L2=0:1000000:1", u}, "více než 1 000 000 hodnot"},
        {"a bad reserve", {"u", "--solve", "L2", "--reserve", "5%", u}, "rezerva „5%“"},
        {"a reserve without solve", {"u", "--reserve", "5", u}, "--reserve patří k --solve"},
        {"no value", {"u", u, "--solve"}, "chybí hodnota"},
        {"solve and sweep", {"u", "--solve", "L2", "--sweep", "L2", u}, "nelze spojit"},
        {"a sweep of two files", {"u", "--sweep", "L2", u, u}, "právě jeden soubor"},
        {"a plot without a sweep", {"u", "--plot", "x.svg", u}, "--plot patří k --sweep"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Run run = Check(c.args);
        EXPECT_EQ(run.status, kError);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST_F(CheckerTest, solve_reports_refused_files_and_other_unreadable_inputs_as_errors)
{
    const std::string l = LBend("l.dat");
    const std::string emptyModulus = ULoop("e.dat", "60", "27", "");
    const std::string emptyLeg =
        Write("leg.dat", Content({"0.00012", "1150", "27", "90", "10", "60", "700", "", "1000", "200", "4.5", "159"}));
    const Run run = Check({"u", "--solve", "L2=0:3000:10", l, emptyModulus, emptyLeg});
    EXPECT_EQ(run.out, l + "\terror\tSoubor „" + l +
                           "“ neobsahuje data tohoto dilatanu (počet hodnot: 10, potřebný počet: 12).\n" +
                           emptyModulus + "\terror\tTyto údaje nejsou čísla: Modul pružnosti\n" + emptyLeg +
                           "\tL2\t270..3000\n");
    EXPECT_EQ(run.status, kError);
    // Without a grid the box's own value is needed.
    EXPECT_EQ(Check({"u", "--solve", "L2", emptyLeg}).out,
              emptyLeg + "\terror\tVýchozí mřížku pro L2 nelze určit: „“ není číslo.\n");
}

TEST_F(CheckerTest, sweep_prints_every_grid_value)
{
    const std::string u = ULoop("u.dat");
    const Run run = Check({"u", "--sweep", "f=0:27:13.5", u});
    EXPECT_EQ(run.out, "0\tfault\tdivision-by-zero\n"
                       "13.5\t10.00\t5.33\t47\tVyhovuje\n"
                       "27\t20.00\t5.33\t73\tVyhovuje\n");
    EXPECT_EQ(run.status, kAllPassed);
    const Run json = Check({"u", "--json", "--sweep", "f=0:27:27", u});
    EXPECT_EQ(json.out, "{\"value\":\"0\",\"status\":\"fault\",\"fault\":\"division-by-zero\"}\n"
                        "{\"value\":\"27\",\"status\":\"pass\",\"allowable\":20,\"stress\":5.325394,"
                        "\"reserve\":73.37303,\"verdict\":\"Vyhovuje\"}\n");
    EXPECT_EQ(Check({"u", "--sweep", "Lf=300:400:100", u}).status, kSomeFailed);
}

// Elements of an XML document, each checked for balance and quoted attributes.
struct XmlElement {
    std::string name;
    std::map<std::string, std::string> attributes;
};

std::vector<XmlElement> ParseXml(const std::string &text)
{
    std::vector<XmlElement> elements;
    std::vector<std::string> open;
    std::size_t pos = 0;
    while ((pos = text.find('<', pos)) != std::string::npos) {
        const std::size_t end = text.find('>', pos);
        EXPECT_NE(end, std::string::npos);
        if (end == std::string::npos)
            break;
        std::string tag = text.substr(pos + 1, end - pos - 1);
        pos = end + 1;
        if (tag.starts_with("?") || tag.starts_with("!"))
            continue;
        if (tag.starts_with("/")) {
            EXPECT_FALSE(open.empty());
            if (open.empty())
                break;
            EXPECT_EQ(tag.substr(1), open.back());
            open.pop_back();
            continue;
        }
        const bool selfClosing = tag.ends_with("/");
        if (selfClosing)
            tag.pop_back();
        XmlElement element;
        std::smatch m;
        std::regex_search(tag, m, std::regex("^([A-Za-z][\\w:-]*)"));
        element.name = m[1];
        std::string rest = m.suffix();
        const std::regex attribute("^\\s+([\\w:-]+)=\"([^\"<&]*)\"");
        while (std::regex_search(rest, m, attribute)) {
            element.attributes[m[1]] = m[2];
            rest = m.suffix();
        }
        EXPECT_TRUE(std::regex_match(rest, std::regex("\\s*"))) << "in <" << tag << ">";
        if (!selfClosing)
            open.push_back(element.name);
        elements.push_back(element);
    }
    EXPECT_TRUE(open.empty());
    return elements;
}

TEST_F(CheckerTest, sweep_plot_is_svg_with_the_series_and_the_passing_range)
{
    const std::string u = ULoop("u.dat");
    const std::string svgPath = (m_dir / "chart.svg").string();
    // Values 0 .. 3000 step 250: 0 and 250 fail, the rest pass; L2 = 0 computes.
    const Run run = Check({"u", "--sweep", "L2=0:3000:250", "--plot", svgPath, u});
    ASSERT_EQ(run.status, kAllPassed) << run.err;
    std::ifstream file(svgPath);
    const std::string svg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::vector<XmlElement> elements = ParseXml(svg);
    ASSERT_FALSE(elements.empty());
    EXPECT_EQ(elements[0].name, "svg");
    EXPECT_EQ(elements[0].attributes.at("version"), "1.1");

    std::map<std::string, XmlElement> byId;
    for (const XmlElement &e : elements)
        if (e.attributes.count("id"))
            byId[e.attributes.at("id")] = e;
    ASSERT_TRUE(byId.count("stress") && byId.count("allowable") && byId.count("pass-1") && byId.count("current"));
    EXPECT_FALSE(byId.count("pass-2"));
    EXPECT_FALSE(byId.count("stress-2"));

    auto points = [](const std::string &list) {
        std::vector<std::pair<double, double>> out;
        std::istringstream in(list);
        std::string pair;
        while (in >> pair)
            out.emplace_back(std::stod(pair.substr(0, pair.find(','))), std::stod(pair.substr(pair.find(',') + 1)));
        return out;
    };
    const auto stress = points(byId["stress"].attributes.at("points"));
    const auto allowable = points(byId["allowable"].attributes.at("points"));
    ASSERT_EQ(stress.size(), 13u);
    ASSERT_EQ(allowable.size(), 13u);
    // Equal steps in x; the allowable stress is a flat line; the stress falls
    // as the leg grows and crosses the allowable line between 250 and 500.
    for (std::size_t n = 1; n < stress.size(); ++n) {
        EXPECT_NEAR(stress[n].first - stress[n - 1].first, stress[1].first - stress[0].first, 0.02);
        EXPECT_DOUBLE_EQ(allowable[n].second, allowable[0].second);
        EXPECT_GT(stress[n].second, stress[n - 1].second);  // SVG y grows downwards
    }
    EXPECT_LT(stress[1].second, allowable[1].second);
    EXPECT_GT(stress[2].second, allowable[2].second);
    // The shaded range starts between 250 and 500 and runs to the end.
    const double x0 = std::stod(byId["pass-1"].attributes.at("x"));
    EXPECT_GT(x0, stress[1].first);
    EXPECT_LT(x0, stress[2].first);
    // The file's own value, 1500 mm, is the seventh grid value.
    EXPECT_NEAR(std::stod(byId["current"].attributes.at("x1")), stress[6].first, 0.02);
    EXPECT_NE(svg.find("Délka L2 [mm]"), std::string::npos);
    EXPECT_NE(svg.find("Napětí [MPa]"), std::string::npos);
}

TEST(SvgChart, a_fault_breaks_the_series_and_texts_are_escaped)
{
    InputField field = *FindField(Shape::ULoop, 2);
    field.caption = "a<b&c";
    SweepChart chart;
    chart.field = &field;
    chart.points = {{0, std::nullopt, false}, {1, CheckResult{1, 2, -100}, false},
                    {2, std::nullopt, false}, {3, CheckResult{1, 0.5f, 50}, true}};
    const std::string svg = SweepChartSvg(chart);
    ParseXml(svg);
    EXPECT_NE(svg.find("id=\"stress-2\""), std::string::npos);
    EXPECT_EQ(svg.find("id=\"stress-3\""), std::string::npos);
    EXPECT_NE(svg.find("a&lt;b&amp;c"), std::string::npos);
}

TEST_F(CheckerTest, json_of_the_l_bend_carries_the_legs_after_the_exchange_and_the_loads)
{
    // Leg 1 typed as the shorter one: the check exchanges them.
    const std::string l =
        Write("swapped.dat", Content({"0.00012", "1150", "27", "90", "10", "15", "5", "50", "4.5", "159"}));
    const Run run = Check({"l", "--json", l});
    // R = 50 mm is below D/2: a sharp corner, R used as 0.
    EXPECT_NE(run.out.find("\"inputs\":{\"D\":0.159,\"s\":0.0045,\"R\":0,\"L1\":15,\"L2\":5,"), std::string::npos)
        << run.out;
    // F1 = 43.20623 N, F2 = −5.440784 N; F = √(F1² + F2²) in double, rounded once.
    const double f1 = 43.206226f, f2 = -5.440784f;
    EXPECT_NE(run.out.find("\"M2\":219.63165"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\"forces\":{\"F1\":43.206226,\"F2\":-5.440784,\"F\":" +
                           JsonNumber(static_cast<float>(std::sqrt(f1 * f1 + f2 * f2))) + ",\"M2\":219.63165}"),
              std::string::npos)
        << run.out;
}

TEST_F(CheckerTest, json_fault_lines_name_the_step_and_keep_only_the_values_before_it)
{
    struct Case {
        const char *name;
        Shape shape;
        std::vector<const char *> texts;
        const char *faultAt;
        const char *quantities;
    };
    const std::vector<Case> cases = {
        {"U-loop wall 0: a power of λ = 0", Shape::ULoop,
         {"0.00012", "1150", "27", "90", "10", "60", "700", "1500", "1000", "200", "0", "159"}, "i",
         "\"quantities\":{\"I\":0,\"lambda\":0}}"},
        {"L-bend straight line: the determinant", Shape::LBend,
         {"0.00012", "1150", "27", "90", "10", "0", "15", "0", "4.5", "159"}, "F1", nullptr},
        {"U-loop modulus beyond single precision", Shape::ULoop,
         {"0.00012", "1e33", "27", "90", "10", "60", "700", "1500", "1000", "200", "4.5", "159"}, "E",
         "\"quantities\":{}}"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes;
        for (const char *t : c.texts)
            bytes += std::string("\"") + t + "\"\r\n";
        const std::string file = Write("fault.dat", bytes);
        const Run run = Check({c.shape == Shape::ULoop ? "u" : "l", "--json", file});
        EXPECT_EQ(run.status, kSomeFailed);
        EXPECT_NE(run.out.find(std::string("\"faultAt\":\"") + c.faultAt + "\""), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find("\"forces\""), std::string::npos);
        if (c.quantities) {
            EXPECT_NE(run.out.find(c.quantities), std::string::npos) << run.out;
        }
    }
}

TEST_F(CheckerTest, trace_prints_the_inputs_every_step_the_loads_and_the_results)
{
    const std::string u = ULoop("u.dat");
    const Run run = Check({"u", "--trace", u});
    EXPECT_EQ(run.status, kAllPassed);
    for (const char *line : {
             "  Délka L2                          1500        [mm]\n",
             "  λ       0.1508154      –     charakteristika poddajnosti oblouku\n",
             "  k       7.353131       –     součinitel poddajnosti oblouku\n",
             "  B       21.19779       m³    moment čáry dilatanu k ose potrubí\n",
             "  M       137.5515       N·m   největší ohybový moment\n",
             "Zatížení pevných bodů:\n  F       133.2008       N     ",
             "  Napětí na dilatanu    5.33      MPa\n  Rezerva napětí        73        %\n  Vyhovuje\n",
         }) {
        EXPECT_NE(run.out.find(line), std::string::npos) << line << "\n" << run.out;
    }

    const std::string fault =
        Write("fault.dat", Content({"0.00012", "1150", "27", "90", "10", "60", "700", "1500", "1000", "200", "0", "159"}));
    const Run faulted = Check({"u", "--trace", fault});
    EXPECT_EQ(faulted.status, kSomeFailed);
    EXPECT_NE(faulted.out.find("Výpočet nelze dokončit: dělení nulou. Krok: i (součinitel zvýšení napětí v oblouku)\n"),
              std::string::npos)
        << faulted.out;
    EXPECT_EQ(faulted.out.find("  k "), std::string::npos) << "no value after the faulting step";
    EXPECT_EQ(faulted.out.find("Výsledky"), std::string::npos);

    const Run refused = Check({"u", "--trace", LBend("l.dat")});
    EXPECT_EQ(refused.status, kError);
    EXPECT_NE(refused.out.find("  Chyba: Soubor „"), std::string::npos);
}

std::string ReadAll(const std::string &path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The texts of the table cells of a page, in order, with the entities undone.
std::vector<std::string> Cells(const std::string &html)
{
    std::vector<std::string> cells;
    const std::regex cell("<td[^>]*>([^<]*)</td>");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), cell); it != std::sregex_iterator(); ++it) {
        std::string text = (*it)[1];
        for (const auto &[entity, c] : std::vector<std::pair<std::string, std::string>>{
                 {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}})
            for (std::size_t p; (p = text.find(entity)) != std::string::npos;)
                text.replace(p, entity.size(), c);
        cells.push_back(text);
    }
    return cells;
}

bool HasRow(const std::vector<std::string> &cells, const std::vector<std::string> &row)
{
    for (std::size_t n = 0; n + row.size() <= cells.size(); ++n)
        if (std::equal(row.begin(), row.end(), cells.begin() + static_cast<std::ptrdiff_t>(n)))
            return true;
    return false;
}

TEST_F(CheckerTest, report_holds_every_input_quantity_load_and_result)
{
    // A file name and a box text with characters HTML must escape. Windows
    // refuses < and > in a file name; there the name holds & and ' instead.
#ifdef _WIN32
    const char *name = "a'b&c.dat";
#else
    const char *name = "a<b>&c.dat";
#endif
    const std::string file =
        Write(name, Content({"0.00012", "1150", "27", "90", "10", "60", "700", "1500", "1000", "200", "4.5", "159 "}));
    const std::string page = (m_dir / "report.html").string();
    const Run run = Check({"u", "--report", page, file});
    ASSERT_EQ(run.status, kAllPassed) << run.err;
    const std::string html = ReadAll(page);
    ParseXml(html);  // balanced, attributes quoted
    EXPECT_EQ(html.find("<script"), std::string::npos);
    EXPECT_EQ(html.find("http://www.w3.org/2000/svg\"", 0) != std::string::npos, true);
    EXPECT_EQ(html.find(" src="), std::string::npos) << "no external resources";
    EXPECT_EQ(html.find(" href="), std::string::npos) << "no external resources";
    EXPECT_NE(html.find("@page { size: A4"), std::string::npos);

    const std::vector<std::string> cells = Cells(html);
    EXPECT_TRUE(HasRow(cells, {"Program:", ProgramNameAndVersion()}));
    EXPECT_TRUE(HasRow(cells, {"Vstupní soubor:", file}));
    EXPECT_TRUE(HasRow(cells, {"SHA-256 souboru:", Sha256Hex(ReadAll(file))}));
    EXPECT_TRUE(HasRow(cells, {"Vnější průmer potrubí", "159 ", "[mm]"}));
    EXPECT_TRUE(HasRow(cells, {"Délka L2", "1500", "[mm]"}));
    EXPECT_TRUE(HasRow(cells, {"D", "vnější průměr potrubí", "0.159", "m"}));
    EXPECT_TRUE(HasRow(cells, {"λ", "charakteristika poddajnosti oblouku", "0.1508154", "–"}));
    EXPECT_TRUE(HasRow(cells, {"B", "moment čáry dilatanu k ose potrubí", "21.19779", "m³"}));
    EXPECT_TRUE(HasRow(cells, {"M", "největší ohybový moment", "137.5515", "N·m"}));
    EXPECT_TRUE(HasRow(cells, {"F", "síla v ose potrubí, která vyrovná prodloužení", "133.2008", "N"}));
    EXPECT_TRUE(HasRow(cells, {"Dovolené napětí", "20.00", "MPa"}));
    EXPECT_TRUE(HasRow(cells, {"Napětí na dilatanu", "5.33", "MPa"}));
    EXPECT_TRUE(HasRow(cells, {"Rezerva napětí", "73", "%"}));
    EXPECT_NE(html.find("<p class=\"verdict\">Vyhovuje</p>"), std::string::npos);
    // The window's own drawing, inline.
    EXPECT_NE(html.find("<title>U-loop</title>"), std::string::npos);
    EXPECT_EQ(html.find("<?xml", html.find("<body>")), std::string::npos);
}

TEST(Report, a_fault_names_its_step_and_a_chart_is_added)
{
    ReportData data;
    data.shape = Shape::LBend;
    data.fileName = "l.dat";
    data.sha256 = std::string(64, '0');
    data.when = "2026-12-11 15:00:00";
    data.texts = DefaultTexts(Shape::LBend);
    data.texts[10] = "0";
    data.texts[12] = "0";
    data.evaluation = Evaluate(data.texts, &data.trace);
    data.chartSvg = "<?xml version=\"1.0\"?>\n<svg id=\"chart\"></svg>\n";
    const std::string html = ReportHtml(data);
    ParseXml(html);
    EXPECT_NE(html.find("Výpočet nelze dokončit: dělení nulou. Krok: F1 (síla rovnoběžná s ramenem 1)"),
              std::string::npos);
    EXPECT_EQ(html.find("class=\"verdict\""), std::string::npos);
    EXPECT_NE(html.find("<title>L-bend</title>"), std::string::npos);
    EXPECT_NE(html.find("<div class=\"chart\"><svg id=\"chart\"></svg>"), std::string::npos);
    EXPECT_NE(html.find("<td>2026-12-11 15:00:00</td>"), std::string::npos);
    EXPECT_TRUE(HasRow(Cells(html), {"Délka L2", "0", "[m]"}));
}

TEST_F(CheckerTest, report_refusals)
{
    const std::string u = ULoop("u.dat");
    for (const std::vector<std::string> &args : std::vector<std::vector<std::string>>{
             {"u", "--report", "x.html", u, u}, {"u", "--report", "x.html", "-"},
             {"u", "--report", "x.html", "--solve", "L2", u}, {"u", "--trace", "--report", "x.html", u}}) {
        SCOPED_TRACE(::testing::PrintToString(args));
        EXPECT_EQ(Check(args).status, kError);
    }
    const Run refused = Check({"u", "--report", (m_dir / "r.html").string(), LBend("l.dat")});
    EXPECT_EQ(refused.status, kError);
    EXPECT_NE(refused.err.find("protokol nelze sestavit"), std::string::npos);
    const Run unwritable = Check({"u", "--report", (m_dir / "no" / "r.html").string(), u});
    EXPECT_EQ(unwritable.status, kError);
    EXPECT_NE(unwritable.err.find("protokol nelze zapsat"), std::string::npos);
}

// Every "$ dilatany-check ..." example of the help, run on copies of the
// example files, prints exactly the lines the help shows under it.
TEST(CheckerUsage, the_examples_of_the_help_hold)
{
    const fs::path dir = fs::temp_directory_path() / "dilatany-help-examples";
    fs::remove_all(dir);
    fs::create_directories(dir / "examples");
    for (const char *name : {"u-default.dat", "u-steel.dat", "l-default.dat", "l-steel.dat"})
        fs::copy_file(fs::path(DILATANY_EXAMPLES) / name, dir / "examples" / name);
    const fs::path before = fs::current_path();
    fs::current_path(dir);

    std::istringstream help(UsageText());
    std::string line;
    std::vector<std::pair<std::vector<std::string>, std::string>> examples;
    while (std::getline(help, line)) {
        if (line.starts_with("  $ dilatany-check ")) {
            std::istringstream words(line.substr(19));
            std::vector<std::string> args;
            for (std::string w; words >> w;)
                args.push_back(w);
            examples.push_back({args, ""});
        } else if (!examples.empty() && line.starts_with("  ") && !line.empty()) {
            examples.back().second += line.substr(2) + "\n";
        } else {
            if (!examples.empty() && line.empty())
                break;
        }
    }
    ASSERT_EQ(examples.size(), 5u);
    for (const auto &[args, expected] : examples) {
        SCOPED_TRACE(::testing::PrintToString(args));
        std::istringstream in;
        std::ostringstream out, err;
        const int status = RunChecker(args, in, out, err);
        EXPECT_EQ(out.str(), expected);
        EXPECT_EQ(status, kAllPassed) << err.str();
    }
    EXPECT_TRUE(fs::exists("graf.svg"));
    EXPECT_TRUE(fs::exists("protokol.html"));
    fs::current_path(before);
    fs::remove_all(dir);
}

} // namespace
} // namespace dilatany::cli
