#include "cli/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace dilatany::cli {
namespace {

// Plot area in user units; the document is 180 mm wide.
constexpr double kWidth = 900, kHeight = 550;
constexpr double kLeft = 95, kRight = 30, kTop = 60, kBottom = 85;

std::string Num(double v)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    return buf;
}

struct Axis {
    double low, high, step;
    int decimals;
};

// Ticks at 1, 2 or 5 times a power of ten, about six of them.
Axis NiceAxis(double low, double high)
{
    if (!(high > low)) {
        const double pad = low == 0 ? 1 : std::fabs(low) * 0.1;
        low -= pad;
        high += pad;
    }
    const double raw = (high - low) / 6;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = power;
    for (const double c : {1.0, 2.0, 5.0, 10.0})
        if (c * power >= raw) {
            step = c * power;
            break;
        }
    const int decimals = std::max(0, static_cast<int>(-std::floor(std::log10(step) + 1e-9)));
    return {std::floor(low / step + 1e-9) * step, std::ceil(high / step - 1e-9) * step, step, decimals};
}

std::string TickText(double v, int decimals)
{
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, std::fabs(v) < 1e-12 ? 0.0 : v);
    return buf;
}

} // namespace

std::string XmlEscape(std::string_view text)
{
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&apos;"; break;
        default: out += c;
        }
    }
    return out;
}

std::string SweepChartSvg(const SweepChart &chart)
{
    double xmin = 0, xmax = 1, ymin = 0, ymax = 1;
    bool anyX = false, anyY = false;
    for (const auto &p : chart.points) {
        xmin = anyX ? std::min(xmin, p.value) : p.value;
        xmax = anyX ? std::max(xmax, p.value) : p.value;
        anyX = true;
        if (p.result) {
            for (const float y : {p.result->stress, p.result->allowable}) {
                if (!std::isfinite(y))
                    continue;
                ymin = anyY ? std::min(ymin, double(y)) : std::min(0.0, double(y));
                ymax = anyY ? std::max(ymax, double(y)) : double(y);
                anyY = true;
            }
        }
    }
    const Axis xa = NiceAxis(xmin, xmax);
    const Axis ya = NiceAxis(ymin, ymax);
    const double plotW = kWidth - kLeft - kRight, plotH = kHeight - kTop - kBottom;
    auto X = [&](double v) { return kLeft + (v - xa.low) / (xa.high - xa.low) * plotW; };
    auto Y = [&](double v) { return kTop + plotH - (v - ya.low) / (ya.high - ya.low) * plotH; };

    std::string svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"180mm\" height=\"110mm\" viewBox=\"0 0 " +
           Num(kWidth) + " " + Num(kHeight) + "\" font-family=\"Arial, Helvetica, sans-serif\">\n";
    const std::string caption(chart.field ? TrimmedCaption(*chart.field) : std::string_view{});
    const std::string unit(chart.field ? chart.field->unit : std::string_view{});
    svg += "<title>" + XmlEscape("Napětí podle vstupu: " + caption) + "</title>\n";
    svg += "<rect x=\"0\" y=\"0\" width=\"" + Num(kWidth) + "\" height=\"" + Num(kHeight) +
           "\" fill=\"#ffffff\" stroke=\"none\"/>\n";

    // Passing ranges: from half a grid step before the first passing value to
    // half a step after the last, within the plot.
    const double half = chart.points.size() > 1 ? (chart.points[1].value - chart.points[0].value) / 2 : 0;
    int run = 0;
    for (std::size_t n = 0; n < chart.points.size(); ++n) {
        if (!chart.points[n].passes || (n > 0 && chart.points[n - 1].passes))
            continue;
        std::size_t last = n;
        while (last + 1 < chart.points.size() && chart.points[last + 1].passes)
            ++last;
        const double x0 = std::max(kLeft, X(chart.points[n].value - half));
        const double x1 = std::min(kLeft + plotW, X(chart.points[last].value + half));
        svg += "<rect id=\"pass-" + std::to_string(++run) + "\" x=\"" + Num(x0) + "\" y=\"" + Num(kTop) +
               "\" width=\"" + Num(std::max(1.0, x1 - x0)) + "\" height=\"" + Num(plotH) +
               "\" fill=\"#c8ecc8\" stroke=\"none\"/>\n";
    }

    // Grid lines and tick values.
    svg += "<g id=\"ticks\" font-size=\"16\" fill=\"#000000\">\n";
    for (double v = xa.low; v <= xa.high + xa.step / 2; v += xa.step) {
        const std::string x = Num(X(v));
        svg += "<line x1=\"" + x + "\" y1=\"" + Num(kTop) + "\" x2=\"" + x + "\" y2=\"" + Num(kTop + plotH) +
               "\" stroke=\"#d0d0d0\" stroke-width=\"1\"/>\n";
        svg += "<text x=\"" + x + "\" y=\"" + Num(kTop + plotH + 22) + "\" text-anchor=\"middle\">" +
               TickText(v, xa.decimals) + "</text>\n";
    }
    for (double v = ya.low; v <= ya.high + ya.step / 2; v += ya.step) {
        const std::string y = Num(Y(v));
        svg += "<line x1=\"" + Num(kLeft) + "\" y1=\"" + y + "\" x2=\"" + Num(kLeft + plotW) + "\" y2=\"" + y +
               "\" stroke=\"#d0d0d0\" stroke-width=\"1\"/>\n";
        svg += "<text x=\"" + Num(kLeft - 8) + "\" y=\"" + Num(Y(v) + 5) + "\" text-anchor=\"end\">" +
               TickText(v, ya.decimals) + "</text>\n";
    }
    svg += "</g>\n";
    svg += "<rect x=\"" + Num(kLeft) + "\" y=\"" + Num(kTop) + "\" width=\"" + Num(plotW) + "\" height=\"" +
           Num(plotH) + "\" fill=\"none\" stroke=\"#000000\" stroke-width=\"1.5\"/>\n";

    // The two series, each broken where a value faulted.
    auto series = [&](const char *id, const char *colour, const char *dash, auto value) {
        std::string points;
        int part = 0;
        auto flush = [&] {
            if (points.empty())
                return;
            ++part;
            svg += std::string("<polyline id=\"") + id + (part > 1 ? "-" + std::to_string(part) : "") +
                   "\" fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"2.5\"" + dash + " points=\"" + points +
                   "\"/>\n";
            points.clear();
        };
        for (const auto &p : chart.points) {
            if (!p.result || !std::isfinite(value(*p.result))) {
                flush();
                continue;
            }
            if (!points.empty())
                points += ' ';
            points += Num(X(p.value)) + "," + Num(Y(value(*p.result)));
        }
        flush();
    };
    series("allowable", "#c00000", " stroke-dasharray=\"10,6\"", [](const CheckResult &r) { return double(r.allowable); });
    series("stress", "#0050b0", "", [](const CheckResult &r) { return double(r.stress); });

    if (chart.current && *chart.current >= xa.low && *chart.current <= xa.high) {
        const std::string x = Num(X(*chart.current));
        svg += "<line id=\"current\" x1=\"" + x + "\" y1=\"" + Num(kTop) + "\" x2=\"" + x + "\" y2=\"" +
               Num(kTop + plotH) + "\" stroke=\"#000000\" stroke-width=\"1.5\" stroke-dasharray=\"4,4\"/>\n";
        svg += "<text x=\"" + Num(X(*chart.current) + 5) + "\" y=\"" + Num(kTop + 18) +
               "\" font-size=\"15\">hodnota v souboru</text>\n";
    }

    // Axis titles and the legend.
    svg += "<text x=\"" + Num(kLeft + plotW / 2) + "\" y=\"" + Num(kHeight - 22) +
           "\" font-size=\"18\" text-anchor=\"middle\">" + XmlEscape(caption + " " + unit) + "</text>\n";
    svg += "<text x=\"22\" y=\"" + Num(kTop + plotH / 2) + "\" font-size=\"18\" text-anchor=\"middle\" transform=\"rotate(-90 22 " +
           Num(kTop + plotH / 2) + ")\">Napětí [MPa]</text>\n";
    svg += "<g id=\"legend\" font-size=\"15\">\n"
           "<line x1=\"95\" y1=\"30\" x2=\"135\" y2=\"30\" stroke=\"#0050b0\" stroke-width=\"2.5\"/>"
           "<text x=\"142\" y=\"35\">Napětí na dilatanu</text>\n"
           "<line x1=\"330\" y1=\"30\" x2=\"370\" y2=\"30\" stroke=\"#c00000\" stroke-width=\"2.5\" stroke-dasharray=\"10,6\"/>"
           "<text x=\"377\" y=\"35\">Dovolené napětí</text>\n"
           "<rect x=\"540\" y=\"21\" width=\"40\" height=\"18\" fill=\"#c8ecc8\" stroke=\"none\"/>"
           "<text x=\"587\" y=\"35\">Vyhovuje</text>\n"
           "</g>\n";
    svg += "</svg>\n";
    return svg;
}

} // namespace dilatany::cli
