// The U-loop window.
#pragma once

#include "ui/calculation_window.h"

namespace dilatany::ui {

class Form2 : public CalculationWindow {
public:
    explicit Form2(WindowRegistry &windows);
};

} // namespace dilatany::ui
