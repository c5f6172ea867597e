// The material dialog of the U-loop window.
#pragma once

#include "ui/material_dialog.h"

namespace dilatany::ui {

class Form3 : public MaterialDialog {
public:
    explicit Form3(WindowRegistry &windows);
};

} // namespace dilatany::ui
