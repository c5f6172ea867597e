// The material dialog of the L-bend window.
#pragma once

#include "ui/material_dialog.h"

namespace dilatany::ui {

class Form5 : public MaterialDialog {
public:
    explicit Form5(WindowRegistry &windows);
};

} // namespace dilatany::ui
