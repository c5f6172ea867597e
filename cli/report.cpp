#include "cli/report.h"

#include "cli/drawings.h"
#include "cli/quantity_texts.h"
#include "cli/svg_chart.h"
#include "core/design.h"
#include "core/messages.h"

namespace dilatany::cli {
namespace {

constexpr std::string_view kStyle = R"(
@page { size: A4; margin: 15mm; }
body { font-family: Arial, Helvetica, sans-serif; font-size: 10pt; color: #000; margin: 0 auto; max-width: 180mm; }
h1 { font-size: 15pt; margin: 0 0 2mm 0; }
h2 { font-size: 12pt; margin: 5mm 0 2mm 0; border-bottom: 0.3mm solid #000; }
table { border-collapse: collapse; width: 100%; page-break-inside: avoid; }
th, td { border: 0.2mm solid #888; padding: 1mm 2mm; text-align: left; vertical-align: top; }
th { background: #eee; }
td.value { text-align: right; font-family: "Courier New", monospace; white-space: nowrap; }
.meta td { border: none; padding: 0.5mm 2mm 0.5mm 0; }
.hash { font-family: "Courier New", monospace; font-size: 8.5pt; word-break: break-all; }
.drawing svg, .chart svg { width: 100%; height: auto; max-height: 110mm; }
.verdict { color: #ff0000; font-weight: bold; font-size: 13pt; }
.fault { color: #ff0000; font-weight: bold; }
@media print { h2 { page-break-after: avoid; } .chart { page-break-inside: avoid; } }
)";

std::string H(std::string_view text) { return XmlEscape(text); }

// An SVG file as an element inside the page: without its XML declaration.
std::string InlineSvg(std::string_view svg)
{
    const std::size_t start = svg.find("<svg");
    return std::string(start == std::string_view::npos ? svg : svg.substr(start));
}

void ValueRows(std::string &html, Shape shape, const std::vector<TraceValue> &values, std::string_view faultAt)
{
    const std::vector<bool> valid = design::ValidBeforeFault(values, shape, faultAt);
    for (std::size_t n = 0; n < values.size(); ++n) {
        if (!valid[n])
            continue;
        const QuantityText t = TextOf(shape, values[n].key);
        html += "<tr><td>" + H(t.symbol) + "</td><td>" + H(t.meaning) + "</td><td class=\"value\">" +
                SevenDigits(values[n].value) + "</td><td>" + H(t.unit) + "</td></tr>\n";
    }
}

void ValueTable(std::string &html, Shape shape, const std::vector<TraceValue> &values, std::string_view faultAt)
{
    html += "<table>\n<tr><th>Značka</th><th>Význam</th><th>Hodnota</th><th>Jednotka</th></tr>\n";
    ValueRows(html, shape, values, faultAt);
    html += "</table>\n";
}

} // namespace

std::string ProgramNameAndVersion() { return std::string("Dilatany ") + DILATANY_VERSION; }

std::string ReportHtml(const ReportData &data)
{
    const bool uloop = data.shape == Shape::ULoop;
    const std::string shapeName = uloop ? "U-dilatan" : "L-dilatan";
    std::string html = "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>Výpočet " +
                       shapeName + " – " + H(data.fileName) + "</title>\n<style>" + std::string(kStyle) +
                       "</style>\n</head>\n<body>\n";
    html += "<h1>Kontrola napětí – " + shapeName + "</h1>\n<table class=\"meta\">\n";
    html += "<tr><td>Program:</td><td>" + H(ProgramNameAndVersion()) + "</td></tr>\n";
    html += "<tr><td>Datum a čas výpočtu:</td><td>" + H(data.when) + "</td></tr>\n";
    html += "<tr><td>Vstupní soubor:</td><td>" + H(data.fileName) + "</td></tr>\n";
    html += "<tr><td>SHA-256 souboru:</td><td class=\"hash\">" + H(data.sha256) + "</td></tr>\n</table>\n";

    html += "<h2>Schéma</h2>\n<div class=\"drawing\">" + InlineSvg(DrawingSvg(data.shape)) + "</div>\n";

    html += "<h2>Vstupní údaje</h2>\n<table>\n<tr><th>Údaj</th><th>Text v souboru</th><th>Jednotka</th></tr>\n";
    for (const std::int16_t index : FileOrder(data.shape)) {
        const InputField &field = *FindField(data.shape, index);
        html += "<tr><td>" + H(TrimmedCaption(field)) + "</td><td class=\"value\">" + H(data.texts[index]) +
                "</td><td>" + H(field.unit) + "</td></tr>\n";
    }
    html += "</table>\n";

    if (const auto *unreadable = std::get_if<UnreadableInputs>(&data.evaluation)) {
        html += "<h2>Výsledky</h2>\n<p class=\"fault\">" + H(NotNumbersMessage(*unreadable)) + "</p>\n";
        return html + "</body>\n</html>\n";
    }

    const std::string_view faultAt = std::visit([](const auto &t) { return t.faultAt; }, data.trace);
    html += "<h2>Vstupy, jak je výpočet použil (SI)</h2>\n";
    ValueTable(html, data.shape, TraceInputs(data.trace), faultAt);
    html += "<h2>Výpočet</h2>\n";
    ValueTable(html, data.shape, TraceQuantities(data.trace), faultAt);

    if (const auto *fault = std::get_if<FpFault>(&data.evaluation)) {
        const QuantityText t = TextOf(data.shape, faultAt);
        html += "<h2>Výsledky</h2>\n<p class=\"fault\">" + H(FaultMessage(*fault)) + " Krok: " + H(t.symbol);
        if (!t.meaning.empty())
            html += " (" + H(t.meaning) + ")";
        html += "</p>\n";
    } else {
        html += "<h2>Zatížení pevných bodů</h2>\n";
        ValueTable(html, data.shape, design::FixedPointLoads(data.trace), {});
        const ResultTexts r = FormatResult(std::get<CheckResult>(data.evaluation));
        html += "<h2>Výsledky</h2>\n<table>\n";
        html += std::string("<tr><td>") + (uloop ? "Dovolené napětí" : "Dovolene napětí") +
                "</td><td class=\"value\">" + H(r.allowable) + "</td><td>MPa</td></tr>\n";
        html += "<tr><td>Napětí na dilatanu</td><td class=\"value\">" + H(r.stress) + "</td><td>MPa</td></tr>\n";
        html += "<tr><td>Rezerva napětí</td><td class=\"value\">" + H(r.reserve) + "</td><td>%</td></tr>\n";
        html += "</table>\n<p class=\"verdict\">" + H(r.verdict) + "</p>\n";
    }
    if (data.chartSvg)
        html += "<h2>Průběh napětí</h2>\n<div class=\"chart\">" + InlineSvg(*data.chartSvg) + "</div>\n";
    return html + "</body>\n</html>\n";
}

} // namespace dilatany::cli
