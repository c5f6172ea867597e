// The main window: the choice of shape, shown once at the start.
#pragma once

#include "core/input_field.h"

#include <QWidget>

namespace dilatany::ui {

class WindowRegistry;

class Form1 : public QWidget {
public:
    explicit Form1(WindowRegistry &windows);

private:
    /// Opens the shape's calculation window, then closes this one, so that the
    /// program never passes through a moment without a window.
    void chooseShape(Shape shape);

    WindowRegistry &m_windows;
};

} // namespace dilatany::ui
