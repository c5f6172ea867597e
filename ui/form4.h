// The L-bend window.
#pragma once

#include "ui/calculation_window.h"

namespace dilatany::ui {

class Form4 : public CalculationWindow {
public:
    explicit Form4(WindowRegistry &windows);
};

} // namespace dilatany::ui
