// The calculation sheet: one self-contained HTML page in Czech, for A4.
#pragma once

#include "core/evaluate.h"

#include <optional>
#include <string>

namespace dilatany::cli {

struct ReportData {
    Shape shape = Shape::ULoop;
    std::string fileName;    // as the user gave it
    std::string sha256;      // of the file's bytes, 64 hex digits
    std::string when;        // date and time of the calculation
    InputTexts texts;
    Evaluation evaluation;
    CheckTrace trace;
    std::optional<std::string> chartSvg;  // a sweep chart to add, if any
};

/// The program's name and version as the report states them.
std::string ProgramNameAndVersion();

/// The page. Every text from the file is HTML-escaped; the drawing is the
/// window's own SVG, inline.
std::string ReportHtml(const ReportData &data);

} // namespace dilatany::cli
