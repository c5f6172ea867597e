// The chart of a sweep as plain SVG 1.1 text: the stress and the allowable
// stress against one input, the passing ranges shaded, the file's value marked.
#pragma once

#include "core/check_result.h"
#include "core/input_field.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dilatany::cli {

struct SweepChart {
    struct Point {
        double value;                       // the grid value, in the box's unit
        std::optional<CheckResult> result;  // nothing where the check faulted
        bool passes;
    };
    Shape shape = Shape::ULoop;
    const InputField *field = nullptr;
    std::vector<Point> points;              // in grid order
    std::optional<float> current;           // the file's own value of the input
};

/// Text for XML content and attribute values: & < > " ' escaped.
std::string XmlEscape(std::string_view text);

/// A standalone SVG document (180 mm × 110 mm, fits an A4 page). The series
/// are polylines with the ids "stress" and "allowable", points "x,y" in the
/// order of the grid; a fault breaks a series into further polylines
/// ("stress-2", …). Passing ranges are rects with ids "pass-1", "pass-2", ….
std::string SweepChartSvg(const SweepChart &chart);

} // namespace dilatany::cli
