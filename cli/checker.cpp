#include "cli/checker.h"

#include "cli/json.h"
#include "cli/output.h"
#include "core/evaluate.h"
#include "core/messages.h"
#include "files/input_file.h"

#include <algorithm>
#include <exception>
#include <istream>
#include <iterator>
#include <optional>
#include <ostream>
#include <vector>

namespace dilatany::cli {
namespace {

constexpr std::string_view kCannotReadStandardInput = "Soubor „%1“ nelze přečíst.";

struct Options {
    Shape shape = Shape::ULoop;
    bool json = false;
    bool help = false;
    std::vector<std::string> files;
};

std::optional<Options> ParseArgs(std::span<const std::string> args, std::ostream &err)
{
    Options options;
    bool shapeSeen = false;
    bool optionsEnded = false;
    for (const std::string &arg : args) {
        if (!optionsEnded && arg == "--help") {
            options.help = true;
        } else if (!optionsEnded && arg == "--json") {
            options.json = true;
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

// One line of output per file; returns the file's exit status.
int CheckOne(const Options &options, const std::string &file, std::istream &in, std::ostream &out)
{
    const files::ReadResult read =
        file == "-" ? ReadStandardInput(in, options.shape) : files::ReadInputFile(file, options.shape, file);

    auto error = [&](const std::string &message) {
        if (options.json)
            out << '{' << JsonFileMember(file) << ",\"status\":\"error\",\"message\":" << JsonString(message)
                << "}\n";
        else
            out << EscapeText(file) << "\terror\t" << EscapeText(message) << '\n';
        return kError;
    };

    if (const auto *refused = std::get_if<files::FileError>(&read))
        return error(refused->message);

    const Evaluation evaluation = Evaluate(std::get<InputTexts>(read));
    if (const auto *unreadable = std::get_if<UnreadableInputs>(&evaluation))
        return error(NotNumbersMessage(*unreadable));

    if (const auto *fault = std::get_if<FpFault>(&evaluation)) {
        if (options.json)
            out << '{' << JsonFileMember(file) << ",\"status\":\"fault\",\"fault\":\"" << FaultName(*fault)
                << "\",\"message\":" << JsonString(FaultMessage(*fault)) << "}\n";
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
            << ",\"verdict\":" << JsonString(texts.verdict) << "}\n";
    } else {
        out << EscapeText(file) << '\t' << texts.allowable << '\t' << texts.stress << '\t' << texts.reserve << '\t'
            << texts.verdict << '\n';
    }
    return result.fails() ? kSomeFailed : kAllPassed;
}

} // namespace

std::string UsageText()
{
    return "Použití:\n"
           "  dilatany-check u [--json] SOUBOR...   vstupní data U-dilatanu\n"
           "  dilatany-check l [--json] SOUBOR...   vstupní data L-dilatanu\n"
           "  dilatany-check --help\n"
           "\n"
           "Zkontroluje každý soubor stejně jako tlačítko „Výpočet“ v okně dilatanu.\n"
           "SOUBOR „-“ je standardní vstup. Pro každý soubor vypíše jeden řádek\n"
           "(části oddělené tabulátorem):\n"
           "  SOUBOR  dovolené napětí  napětí  rezerva  verdikt\n"
           "  SOUBOR  fault  division-by-zero | overflow | invalid-operation\n"
           "  SOUBOR  error  zpráva\n"
           "S --json vypíše místo toho na každý řádek jeden objekt JSON.\n"
           "Jména a zprávy v textovém výstupu: \\\\ za zpětné lomítko, \\t tabulátor,\n"
           "\\n konec řádku, \\r návrat vozíku, \\xHH jiný bajt, který není tisknutelný\n"
           "znak UTF-8. V JSON má jméno, které není UTF-8, navíc \"fileBytes\": jeho bajty\n"
           "šestnáctkově.\n"
           "\n"
           "Návratový kód: 0 všechny soubory vyhovují, 1 některý nevyhovuje nebo výpočet\n"
           "nelze dokončit, 2 chybné použití, odmítnutý soubor nebo údaj, který není číslo,\n"
           "3 výsledky nelze zapsat na standardní výstup.\n";
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
    int status = kAllPassed;
    for (const std::string &file : options->files) {
        status = std::max(status, CheckOne(*options, file, in, out));
        // Nothing more can reach the reader; main says why.
        if (!out)
            return kOutputError;
    }
    return status;
}

} // namespace dilatany::cli
