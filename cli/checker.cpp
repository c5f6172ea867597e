#include "cli/checker.h"

#include "cli/json.h"
#include "cli/output.h"
#include "cli/quantity_texts.h"
#include "cli/report.h"
#include "cli/sha256.h"
#include "cli/svg_chart.h"
#include "cli/system.h"
#include "core/design.h"
#include "core/evaluate.h"
#include "core/get_number.h"
#include "core/messages.h"
#include "files/input_file.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <exception>
#include <fstream>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <utility>
#include <variant>
#include <vector>

namespace dilatany::cli {
namespace {

constexpr std::string_view kCannotReadStandardInput = "Soubor „%1“ nelze přečíst.";

enum class Mode { Check, Trace, Solve, Sweep };

struct Options {
    Shape shape = Shape::ULoop;
    Mode mode = Mode::Check;
    bool json = false;
    bool help = false;
    std::string gridArgument;                  // --solve or --sweep: NAME=FROM:TO:STEP or NAME
    const InputField *field = nullptr;     // NAME
    std::optional<design::Grid> grid;      // nothing: the default grid of each file
    std::optional<std::string> reserveText;
    std::optional<double> reserve;
    std::optional<std::string> plot;
    std::optional<std::string> report;
    std::vector<std::string> files;
};

std::string InputKeys(Shape shape)
{
    std::string keys;
    for (const std::int16_t index : ReadOrder(shape)) {
        if (!keys.empty())
            keys += ", ";
        keys += design::QuantityKey(FindField(shape, index)->quantity);
    }
    return keys;
}

// Checks the options that need the shape: NAME, the grid, the reserve.
bool ResolveDesignOptions(Options &options, std::ostream &err)
{
    if (options.reserveText && options.mode != Mode::Solve) {
        err << "dilatany-check: --reserve patří k --solve\n";
        return false;
    }
    if (options.plot && options.mode != Mode::Sweep) {
        err << "dilatany-check: --plot patří k --sweep\n";
        return false;
    }
    if (options.report) {
        if (options.mode == Mode::Solve || options.mode == Mode::Trace) {
            err << "dilatany-check: --report nelze spojit s --solve ani --trace\n";
            return false;
        }
        if (options.files.size() != 1 || options.files.front() == "-") {
            err << "dilatany-check: --report bere právě jeden soubor (ne standardní vstup)\n";
            return false;
        }
    }
    if (options.mode == Mode::Trace && options.json) {
        err << "dilatany-check: --trace je výpis pro čtení; veličiny v JSON dává samo --json\n";
        return false;
    }
    if (options.mode == Mode::Check || options.mode == Mode::Trace)
        return true;
    const std::size_t equals = options.gridArgument.find('=');
    const std::string name = options.gridArgument.substr(0, equals);
    options.field = design::FindInput(options.shape, name);
    if (!options.field) {
        err << "dilatany-check: „" << EscapeText(name) << "“ není vstup tohoto dilatanu (vstupy: "
            << InputKeys(options.shape) << ")\n";
        return false;
    }
    if (equals != std::string::npos) {
        const design::GridOrError grid = design::ParseGrid(std::string_view(options.gridArgument).substr(equals + 1));
        if (const auto *error = std::get_if<design::GridError>(&grid)) {
            err << "dilatany-check: mřížka „" << EscapeText(options.gridArgument.substr(equals + 1))
                << "“: " << design::GridErrorText(*error) << "\n";
            return false;
        }
        options.grid = std::get<design::Grid>(grid);
    }
    if (options.reserveText) {
        double reserve = 0;
        const std::string &text = *options.reserveText;
        const auto res = std::from_chars(text.data(), text.data() + text.size(), reserve);
        if (!design::ParseDecimal(text) || res.ec != std::errc() || res.ptr != text.data() + text.size()) {
            err << "dilatany-check: rezerva „" << EscapeText(text) << "“ není desetinné číslo\n";
            return false;
        }
        options.reserve = reserve;
        options.reserveText = design::DecimalText(*design::ParseDecimal(text));
    }
    if (options.mode == Mode::Sweep && options.files.size() != 1) {
        err << "dilatany-check: --sweep bere právě jeden soubor\n";
        return false;
    }
    return true;
}

std::optional<Options> ParseArgs(std::span<const std::string> args, std::ostream &err)
{
    Options options;
    bool shapeSeen = false;
    bool optionsEnded = false;
    for (std::size_t a = 0; a < args.size(); ++a) {
        const std::string &arg = args[a];
        // An option with a value: the value is the next argument.
        auto value = [&](std::optional<std::string> &into) {
            if (a + 1 >= args.size()) {
                err << "dilatany-check: u přepínače „" << arg << "“ chybí hodnota\n";
                return false;
            }
            into = args[++a];
            return true;
        };
        auto mode = [&](Mode m) {
            std::optional<std::string> argument;
            if (options.mode != Mode::Check) {
                err << "dilatany-check: --solve, --sweep a --trace nelze spojit ani opakovat\n";
                return false;
            }
            if (!value(argument))
                return false;
            options.mode = m;
            options.gridArgument = *argument;
            return true;
        };
        if (!optionsEnded && arg == "--help") {
            options.help = true;
        } else if (!optionsEnded && arg == "--json") {
            options.json = true;
        } else if (!optionsEnded && arg == "--trace") {
            if (options.mode != Mode::Check) {
                err << "dilatany-check: --trace nelze spojit s --solve ani --sweep\n";
                return std::nullopt;
            }
            options.mode = Mode::Trace;
        } else if (!optionsEnded && arg == "--solve") {
            if (!mode(Mode::Solve))
                return std::nullopt;
        } else if (!optionsEnded && arg == "--sweep") {
            if (!mode(Mode::Sweep))
                return std::nullopt;
        } else if (!optionsEnded && arg == "--reserve") {
            if (!value(options.reserveText))
                return std::nullopt;
        } else if (!optionsEnded && arg == "--report") {
            if (!value(options.report))
                return std::nullopt;
        } else if (!optionsEnded && arg == "--plot") {
            if (!value(options.plot))
                return std::nullopt;
        } else if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-' && arg != "-") {
            err << "dilatany-check: neznámý přepínač „" << arg << "“\n";
            return std::nullopt;
        } else if (!shapeSeen) {
            shapeSeen = true;
            if (arg == "u" || arg == "U")
                options.shape = Shape::ULoop;
            else if (arg == "l" || arg == "L")
                options.shape = Shape::LBend;
            else {
                err << "dilatany-check: tvar dilatanu musí být „u“ nebo „l“, ne „" << arg << "“\n";
                return std::nullopt;
            }
        } else {
            options.files.push_back(arg);
        }
    }
    if (options.help)
        return options;
    if (!shapeSeen) {
        err << "dilatany-check: chybí tvar dilatanu (u nebo l)\n";
        return std::nullopt;
    }
    if (options.files.empty()) {
        err << "dilatany-check: chybí vstupní soubor\n";
        return std::nullopt;
    }
    if (!ResolveDesignOptions(options, err))
        return std::nullopt;
    return options;
}

files::ReadResult ReadStandardInput(std::istream &in, Shape shape)
{
    std::string bytes;
    // A read error (standard input is a folder, or closed) is reported by
    // the stream buffer as an exception or as badbit, depending on the library.
    bool failed = false;
    try {
        std::istreambuf_iterator<char> it(in), end;
        // Read one byte past the limit, so an oversized input is refused, not cut.
        for (; it != end && bytes.size() <= files::kMaxFileSize; ++it)
            bytes.push_back(*it);
        failed = in.bad();
    } catch (const std::exception &) {
        failed = true;
    }
    if (failed) {
        in.clear(std::ios::badbit);
        return files::FileError{files::FileError::Kind::CannotOpen, FillMessage(kCannotReadStandardInput, {"-"})};
    }
    return files::ParseInputData(bytes, shape, "-");
}

files::ReadResult ReadOne(const Options &options, const std::string &file, std::istream &in)
{
    if (file == "-")
        return ReadStandardInput(in, options.shape);
    return files::ReadInputFile(PathFromArgument(file), options.shape, file);
}

// The error line of a file; returns its exit status.
int ErrorLine(const Options &options, const std::string &file, const std::string &message, std::ostream &out)
{
    if (options.json)
        out << '{' << JsonFileMember(file) << ",\"status\":\"error\",\"message\":" << JsonString(message) << "}\n";
    else
        out << EscapeText(file) << "\terror\t" << EscapeText(message) << '\n';
    return kError;
}

std::string_view FaultAt(const CheckTrace &trace)
{
    return std::visit([](const auto &t) { return t.faultAt; }, trace);
}

// A JSON object of traced values, only those that describe the inputs.
std::string JsonObject(const std::vector<TraceValue> &values, Shape shape, std::string_view faultAt)
{
    const std::vector<bool> valid = design::ValidBeforeFault(values, shape, faultAt);
    std::string json = "{";
    for (std::size_t n = 0; n < values.size(); ++n) {
        if (!valid[n])
            continue;
        if (json.size() > 1)
            json += ',';
        json += '"';
        json += values[n].key;
        json += "\":" + JsonValue(values[n]);
    }
    return json + '}';
}

// ,"inputs":{…},"quantities":{…}[,"forces":{…}] of a check that ran.
std::string TraceMembers(Shape shape, const CheckTrace &trace, bool withForces)
{
    const std::string_view faultAt = FaultAt(trace);
    std::string json = ",\"inputs\":" + JsonObject(TraceInputs(trace), shape, faultAt) +
                       ",\"quantities\":" + JsonObject(TraceQuantities(trace), shape, faultAt);
    if (withForces)
        json += ",\"forces\":" + JsonObject(design::FixedPointLoads(trace), shape, {});
    return json;
}

// One line of output per file; returns the file's exit status.
int CheckOne(const Options &options, const std::string &file, std::istream &in, std::ostream &out)
{
    const files::ReadResult read = ReadOne(options, file, in);
    auto error = [&](const std::string &message) { return ErrorLine(options, file, message, out); };

    if (const auto *refused = std::get_if<files::FileError>(&read))
        return error(refused->message);

    CheckTrace trace;
    const Evaluation evaluation = Evaluate(std::get<InputTexts>(read), &trace);
    if (const auto *unreadable = std::get_if<UnreadableInputs>(&evaluation))
        return error(NotNumbersMessage(*unreadable));

    if (const auto *fault = std::get_if<FpFault>(&evaluation)) {
        if (options.json)
            out << '{' << JsonFileMember(file) << ",\"status\":\"fault\",\"fault\":\"" << FaultName(*fault)
                << "\",\"message\":" << JsonString(FaultMessage(*fault)) << ",\"faultAt\":\"" << FaultAt(trace)
                << '"' << TraceMembers(options.shape, trace, false) << "}\n";
        else
            out << EscapeText(file) << "\tfault\t" << FaultName(*fault) << '\n';
        return kSomeFailed;
    }

    const CheckResult &result = std::get<CheckResult>(evaluation);
    const ResultTexts texts = FormatResult(result);
    if (options.json) {
        out << '{' << JsonFileMember(file) << ",\"status\":\"" << (result.fails() ? "fail" : "pass")
            << "\",\"allowable\":" << JsonNumber(result.allowable) << ",\"stress\":" << JsonNumber(result.stress)
            << ",\"reserve\":" << JsonNumber(result.reserve) << ",\"allowableText\":" << JsonString(texts.allowable)
            << ",\"stressText\":" << JsonString(texts.stress) << ",\"reserveText\":" << JsonString(texts.reserve)
            << ",\"verdict\":" << JsonString(texts.verdict) << TraceMembers(options.shape, trace, true) << "}\n";
    } else {
        out << EscapeText(file) << '\t' << texts.allowable << '\t' << texts.stress << '\t' << texts.reserve << '\t'
            << texts.verdict << '\n';
    }
    return result.fails() ? kSomeFailed : kAllPassed;
}

// Pads a UTF-8 text to `width` characters.
std::string Pad(std::string text, std::size_t width)
{
    std::size_t chars = 0;
    for (const char c : text)
        chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    if (chars < width)
        text.append(width - chars, ' ');
    return text;
}

void TraceValues(std::ostream &out, Shape shape, const std::vector<TraceValue> &values, std::string_view faultAt)
{
    const std::vector<bool> valid = design::ValidBeforeFault(values, shape, faultAt);
    for (std::size_t n = 0; n < values.size(); ++n) {
        if (!valid[n])
            continue;
        const QuantityText t = TextOf(shape, values[n].key);
        out << "  " << Pad(std::string(t.symbol), 8) << Pad(SevenDigits(values[n].value), 15) << Pad(std::string(t.unit), 6)
            << t.meaning << '\n';
    }
}

// The calculation of one file as a person reads it; returns the exit status.
int TraceOne(const Options &options, const std::string &file, std::istream &in, std::ostream &out)
{
    out << "Soubor " << EscapeText(file) << " ("
        << (options.shape == Shape::ULoop ? "U-dilatan" : "L-dilatan") << ")\n";
    const files::ReadResult read = ReadOne(options, file, in);
    if (const auto *refused = std::get_if<files::FileError>(&read)) {
        out << "  Chyba: " << EscapeText(refused->message) << "\n\n";
        return kError;
    }
    const InputTexts &texts = std::get<InputTexts>(read);
    out << "Vstupy (text, jak je v souboru):\n";
    for (const std::int16_t index : FileOrder(options.shape)) {
        const InputField &field = *FindField(options.shape, index);
        out << "  " << Pad(std::string(TrimmedCaption(field)), 34) << Pad(EscapeText(texts[index]), 12) << field.unit
            << '\n';
    }
    CheckTrace trace;
    const Evaluation evaluation = Evaluate(texts, &trace);
    if (const auto *unreadable = std::get_if<UnreadableInputs>(&evaluation)) {
        out << "  Chyba: " << NotNumbersMessage(*unreadable) << "\n\n";
        return kError;
    }
    const std::string_view faultAt = FaultAt(trace);
    out << "Vstupy, jak je výpočet použil (SI):\n";
    TraceValues(out, options.shape, TraceInputs(trace), faultAt);
    out << "Výpočet:\n";
    TraceValues(out, options.shape, TraceQuantities(trace), faultAt);
    if (const auto *fault = std::get_if<FpFault>(&evaluation)) {
        const QuantityText t = TextOf(options.shape, faultAt);
        out << FaultMessage(*fault) << " Krok: " << t.symbol;
        if (!t.meaning.empty())
            out << " (" << t.meaning << ')';
        out << "\n\n";
        return kSomeFailed;
    }
    out << "Zatížení pevných bodů:\n";
    TraceValues(out, options.shape, design::FixedPointLoads(trace), {});
    const CheckResult &result = std::get<CheckResult>(evaluation);
    const ResultTexts r = FormatResult(result);
    out << "Výsledky:\n"
        << "  " << Pad(options.shape == Shape::ULoop ? "Dovolené napětí" : "Dovolene napětí", 22) << Pad(r.allowable, 10)
        << "MPa\n"
        << "  " << Pad("Napětí na dilatanu", 22) << Pad(r.stress, 10) << "MPa\n"
        << "  " << Pad("Rezerva napětí", 22) << Pad(r.reserve, 10) << "%\n"
        << "  " << r.verdict << "\n\n";
    return result.fails() ? kSomeFailed : kAllPassed;
}

std::string Now()
{
    const std::time_t now = std::time(nullptr);
    char buf[64] = "";
    if (const std::tm *local = std::localtime(&now))
        std::strftime(buf, sizeof buf, "%Y-%m-%d %H:%M:%S", local);
    return buf;
}

// Writes the calculation sheet of the file; the check line or the sweep has
// already been printed. Returns an error status or kAllPassed.
int WriteReport(const Options &options, const std::string &file, const std::optional<std::string> &chartSvg,
                std::ostream &err)
{
    const files::ReadResult read = files::ReadInputFile(PathFromArgument(file), options.shape, file);
    if (const auto *refused = std::get_if<files::FileError>(&read)) {
        err << "dilatany-check: protokol nelze sestavit: " << EscapeText(refused->message) << '\n';
        return kError;
    }
    std::ifstream input(PathFromArgument(file), std::ios::binary);
    std::string bytes;
    std::istreambuf_iterator<char> it(input), end;
    for (; it != end && bytes.size() <= files::kMaxFileSize; ++it)
        bytes.push_back(*it);
    if (input.bad()) {
        err << "dilatany-check: soubor „" << EscapeText(file) << "“ nelze přečíst\n";
        return kError;
    }
    // The texts of the page come from the very bytes the hash is taken of.
    const files::ReadResult parsed = files::ParseInputData(bytes, options.shape, file);
    if (const auto *refused = std::get_if<files::FileError>(&parsed)) {
        err << "dilatany-check: protokol nelze sestavit: " << EscapeText(refused->message) << '\n';
        return kError;
    }
    ReportData data;
    data.shape = options.shape;
    data.fileName = file;
    data.sha256 = Sha256Hex(bytes);
    data.when = Now();
    data.texts = std::get<InputTexts>(parsed);
    data.evaluation = Evaluate(data.texts, &data.trace);
    data.chartSvg = chartSvg;
    std::ofstream html(PathFromArgument(*options.report), std::ios::binary | std::ios::trunc);
    html << ReportHtml(data);
    html.close();
    if (!html) {
        err << "dilatany-check: protokol nelze zapsat do „" << EscapeText(*options.report) << "“\n";
        return kError;
    }
    return kAllPassed;
}

constexpr std::string_view kNoDefaultGrid = "Výchozí mřížku pro %1 nelze určit: „%2“ není číslo.";

// The grid of a design command for one file: the one given, or the default
// around the file's value. Writes the error line where there is none.
std::optional<design::Grid> GridFor(const Options &options, const std::string &file, const InputTexts &texts,
                                    std::ostream &out)
{
    if (options.grid)
        return options.grid;
    const std::string &text = texts[options.field->index];
    if (std::optional<design::Grid> grid = design::DefaultGrid(*options.field, text))
        return grid;
    ErrorLine(options, file, FillMessage(kNoDefaultGrid, {design::QuantityKey(options.field->quantity), text}), out);
    return std::nullopt;
}

// Inputs other than NAME that are not numbers make every grid value fail the
// same way: that is an error of the file, not an answer.
std::optional<std::string> OtherInputsUnreadable(const Options &options, const InputTexts &texts,
                                                 const design::Grid &grid)
{
    InputTexts probe = texts;
    probe[options.field->index] = grid.Text(0);
    const Evaluation evaluation = Evaluate(probe);
    const auto *unreadable = std::get_if<UnreadableInputs>(&evaluation);
    if (!unreadable)
        return std::nullopt;
    UnreadableInputs others;
    for (const InputField *field : unreadable->fields)
        if (field != options.field)
            others.fields.push_back(field);
    if (others.fields.empty())
        return std::nullopt;
    return NotNumbersMessage(others);
}

// A file read for a design command, with its grid.
struct GridRun {
    InputTexts texts;
    design::Grid grid;
};

// Reads the file of a design command and finds its grid; where either is
// refused, writes the error line and gives the exit status instead.
std::variant<GridRun, int> PrepareGridRun(const Options &options, const std::string &file, std::istream &in,
                                          std::ostream &out)
{
    files::ReadResult read = ReadOne(options, file, in);
    if (const auto *refused = std::get_if<files::FileError>(&read))
        return ErrorLine(options, file, refused->message, out);
    InputTexts &texts = std::get<InputTexts>(read);
    std::optional<design::Grid> grid = GridFor(options, file, texts, out);
    if (!grid)
        return kError;
    if (const std::optional<std::string> message = OtherInputsUnreadable(options, texts, *grid))
        return ErrorLine(options, file, *message, out);
    return GridRun{std::move(texts), std::move(*grid)};
}

int SolveOne(const Options &options, const std::string &file, std::istream &in, std::ostream &out)
{
    std::variant<GridRun, int> prepared = PrepareGridRun(options, file, in, out);
    if (const int *status = std::get_if<int>(&prepared))
        return *status;
    const InputTexts &texts = std::get<GridRun>(prepared).texts;
    const design::Grid *grid = &std::get<GridRun>(prepared).grid;

    const std::vector<design::PassingRun> runs = design::PassingRuns(texts, *options.field, *grid, options.reserve);
    const std::string_view name = design::QuantityKey(options.field->quantity);
    if (options.json) {
        out << '{' << JsonFileMember(file) << ",\"solve\":\"" << name << "\",\"unit\":"
            << JsonString(options.field->unit) << ",\"from\":\"" << DecimalText(grid->from()) << "\",\"to\":\""
            << DecimalText(grid->to()) << "\",\"step\":\"" << DecimalText(grid->step()) << "\",\"reserve\":"
            << (options.reserveText ? *options.reserveText : std::string("null")) << ",\"passing\":[";
        for (std::size_t r = 0; r < runs.size(); ++r)
            out << (r ? "," : "") << "[\"" << grid->Text(runs[r].first) << "\",\"" << grid->Text(runs[r].last)
                << "\"]";
        out << "],\"current\":" << JsonString(texts[options.field->index]) << ",\"currentPasses\":"
            << (design::Passes(Evaluate(texts), options.reserve) ? "true" : "false") << "}\n";
    } else {
        out << EscapeText(file) << '\t' << name << '\t';
        if (runs.empty())
            out << '-';
        for (std::size_t r = 0; r < runs.size(); ++r)
            out << (r ? "," : "") << grid->Text(runs[r].first) << ".." << grid->Text(runs[r].last);
        out << '\n';
    }
    return runs.empty() ? kSomeFailed : kAllPassed;
}

double GridValue(const std::string &text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

int SweepFile(const Options &options, const std::string &file, std::istream &in, std::ostream &out,
              std::ostream &err)
{
    std::variant<GridRun, int> prepared = PrepareGridRun(options, file, in, out);
    if (const int *status = std::get_if<int>(&prepared))
        return *status;
    const InputTexts &texts = std::get<GridRun>(prepared).texts;
    const design::Grid *grid = &std::get<GridRun>(prepared).grid;

    SweepChart chart;
    chart.shape = options.shape;
    chart.field = options.field;
    bool anyPasses = false;
    design::Sweep(texts, *options.field, *grid, [&](std::size_t, const std::string &text, const Evaluation &e) {
        if (!out)
            return;
        const bool passes = design::Passes(e, std::nullopt);
        anyPasses = anyPasses || passes;
        SweepChart::Point point{GridValue(text), std::nullopt, passes};
        if (const auto *result = std::get_if<CheckResult>(&e)) {
            point.result = *result;
            const ResultTexts t = FormatResult(*result);
            if (options.json)
                out << "{\"value\":\"" << text << "\",\"status\":\"" << (result->fails() ? "fail" : "pass")
                    << "\",\"allowable\":" << JsonNumber(result->allowable)
                    << ",\"stress\":" << JsonNumber(result->stress) << ",\"reserve\":" << JsonNumber(result->reserve)
                    << ",\"verdict\":" << JsonString(t.verdict) << "}\n";
            else
                out << text << '\t' << t.allowable << '\t' << t.stress << '\t' << t.reserve << '\t' << t.verdict << '\n';
        } else if (const auto *fault = std::get_if<FpFault>(&e)) {
            if (options.json)
                out << "{\"value\":\"" << text << "\",\"status\":\"fault\",\"fault\":\"" << FaultName(*fault)
                    << "\"}\n";
            else
                out << text << "\tfault\t" << FaultName(*fault) << '\n';
        } else {
            const std::string message = NotNumbersMessage(std::get<UnreadableInputs>(e));
            if (options.json)
                out << "{\"value\":\"" << text << "\",\"status\":\"error\",\"message\":" << JsonString(message)
                    << "}\n";
            else
                out << text << "\terror\t" << EscapeText(message) << '\n';
        }
        chart.points.push_back(point);
    });
    chart.current = ParseNumber(texts[options.field->index]);
    const std::string chartSvg = SweepChartSvg(chart);
    if (options.plot) {
        std::ofstream svg(PathFromArgument(*options.plot), std::ios::binary | std::ios::trunc);
        svg << chartSvg;
        svg.close();
        if (!svg) {
            err << "dilatany-check: graf nelze zapsat do „" << EscapeText(*options.plot) << "“\n";
            return kError;
        }
    }
    if (options.report)
        if (const int status = WriteReport(options, file, chartSvg, err); status != kAllPassed)
            return status;
    return anyPasses ? kAllPassed : kSomeFailed;
}

} // namespace

std::string UsageText()
{
    return "Použití:\n"
           "  dilatany-check u|l [--json] SOUBOR...\n"
           "  dilatany-check u|l --trace SOUBOR...\n"
           "  dilatany-check u|l --solve NÁZEV[=OD:DO:KROK] [--reserve P] [--json] SOUBOR...\n"
           "  dilatany-check u|l --sweep NÁZEV[=OD:DO:KROK] [--json] [--plot GRAF.svg] SOUBOR\n"
           "  dilatany-check u|l --report PROTOKOL.html [--sweep NÁZEV[=OD:DO:KROK]] SOUBOR\n"
           "  dilatany-check --help\n"
           "\n"
           "u: vstupní data U-dilatanu, l: L-dilatanu. Každý soubor se načte jako „Načíst“\n"
           "a spočítá jako tlačítko „Výpočet“ v okně. SOUBOR „-“ je standardní vstup.\n"
           "\n"
           "Kontrola: pro každý soubor jeden řádek (části oddělené tabulátorem):\n"
           "  SOUBOR  dovolené napětí  napětí  rezerva  verdikt\n"
           "  SOUBOR  fault  division-by-zero | overflow | invalid-operation\n"
           "  SOUBOR  error  zpráva\n"
           "S --json jeden objekt JSON na řádek, navíc \"inputs\" (vstupy, jak je výpočet\n"
           "použil, v SI), \"quantities\" (všechny veličiny výpočtu), \"forces\" (zatížení\n"
           "pevných bodů: U F [N] v ose potrubí; L F1, F2 [N] rovnoběžně s ramenem 1 a 2,\n"
           "F jejich výslednice, M2 [N·m] moment v pevném bodě ramene 2) a u chyby výpočtu\n"
           "\"faultAt\", krok, kde nastala: kromě veličin i převody vstupů E, D, s, R, L1,\n"
           "L2, L3, sigma_a (dovolené napětí), sigma (napětí), reserve (rezerva).\n"
           "--trace vypíše celý výpočet: vstupy, každý krok s významem, zatížení, výsledky.\n"
           "\n"
           "NÁZEV je vstup: U-dilatan D, s, R, L1, L2, L3, Lf, alpha, E, f, tw, tm;\n"
           "L-dilatan D, s, R, L1, L2, alpha, E, f, tw, tm. OD, DO a KROK jsou desetinná\n"
           "čísla s tečkou v jednotce pole (mm, m, MPa, °C). Mřížka OD, OD+KROK, ... až DO\n"
           "se počítá přesně v desítkové soustavě, nejvýše 1 000 000 hodnot. Bez mřížky:\n"
           "od 0 do dvojnásobku hodnoty v souboru (záporné od dvojnásobku do 0, nula bere\n"
           "výchozí hodnotu pole), krok 1, 2 nebo 5krát mocnina deseti, největší, který dá\n"
           "aspoň 300 kroků (L2 = 1500 mm dá 0:3000:10).\n"
           "--solve: SOUBOR  NÁZEV  úseky vyhovujících hodnot OD..DO oddělené „,“ nebo „-“.\n"
           "Hodnota vyhovuje, když výpočet dá výsledek „Vyhovuje“ a s --reserve P\n"
           "rezervu aspoň P %.\n"
           "--sweep: HODNOTA  dovolené napětí  napětí  rezerva  verdikt (nebo fault, error);\n"
           "--plot zapíše graf napětí a dovoleného napětí (SVG).\n"
           "--report zapíše výpočtový protokol (HTML pro tisk na A4); s --sweep i s grafem.\n"
           "\n"
           "Jména a zprávy v textovém výstupu: \\\\ za zpětné lomítko, \\t tabulátor,\n"
           "\\n konec řádku, \\r návrat vozíku, \\xHH jiný bajt, který není tisknutelný\n"
           "znak UTF-8. V JSON má jméno, které není UTF-8, navíc \"fileBytes\": jeho bajty\n"
           "šestnáctkově. Řádky končí znakem LF (i ve Windows).\n"
           "\n"
           "Příklady:\n"
           "  $ dilatany-check u examples/u-default.dat\n"
           "  examples/u-default.dat\t20.00\t5.33\t73\tVyhovuje\n"
           "  $ dilatany-check u --solve L2=0:3000:10 examples/u-default.dat\n"
           "  examples/u-default.dat\tL2\t270..3000\n"
           "  $ dilatany-check l --solve L2 --reserve 50 examples/l-default.dat examples/l-steel.dat\n"
           "  examples/l-default.dat\tL2\t4.12..10\n"
           "  examples/l-steel.dat\tL2\t6.14..10\n"
           "  $ dilatany-check u --sweep L2=0:1000:250 --plot graf.svg examples/u-default.dat\n"
           "  0\t20.00\t38.59\t-93\t!!! Nevyhovuje !!!\n"
           "  250\t20.00\t20.57\t-3\t!!! Nevyhovuje !!!\n"
           "  500\t20.00\t13.70\t32\tVyhovuje\n"
           "  750\t20.00\t10.09\t50\tVyhovuje\n"
           "  1000\t20.00\t7.88\t61\tVyhovuje\n"
           "  $ dilatany-check l --report protokol.html examples/l-default.dat\n"
           "  examples/l-default.dat\t20.00\t7.01\t65\tVyhovuje\n"
           "\n"
           "Návratový kód: 0 všechny soubory vyhovují (--solve, --sweep: v každém souboru\n"
           "vyhovuje některá hodnota), 1 některý nevyhovuje, výpočet nelze dokončit nebo\n"
           "žádná hodnota nevyhovuje, 2 chybné použití, odmítnutý soubor nebo údaj, který\n"
           "není číslo, 3 výsledky nelze zapsat na standardní výstup.\n";
}

int RunChecker(std::span<const std::string> args, std::istream &in, std::ostream &out, std::ostream &err)
{
    const std::optional<Options> options = ParseArgs(args, err);
    if (!options) {
        err << UsageText();
        return kError;
    }
    if (options->help) {
        out << UsageText();
        return kAllPassed;
    }
    if (options->mode == Mode::Sweep) {
        const int status = SweepFile(*options, options->files.front(), in, out, err);
        return out ? status : kOutputError;
    }
    int status = kAllPassed;
    for (const std::string &file : options->files) {
        int one = kAllPassed;
        if (options->mode == Mode::Solve)
            one = SolveOne(*options, file, in, out);
        else if (options->mode == Mode::Trace)
            one = TraceOne(*options, file, in, out);
        else
            one = CheckOne(*options, file, in, out);
        if (options->report)
            one = std::max(one, WriteReport(*options, file, std::nullopt, err));
        status = std::max(status, one);
        // Nothing more can reach the reader; main says why.
        if (!out)
            return kOutputError;
    }
    return status;
}

} // namespace dilatany::cli
