// The drawings of the two shapes, the SVG files the windows show, compiled in.
#pragma once

#include "core/input_field.h"

#include <string_view>

namespace dilatany::cli {

/// The bytes of ui/uloop.svg or ui/lbend.svg.
std::string_view DrawingSvg(Shape shape);

} // namespace dilatany::cli
