// The five windows of the program, each at most once: opening a window that
// exists brings it to the front instead of making a second one.
#pragma once

#include "core/input_field.h"

#include <QPointer>

namespace dilatany::ui {

class CalculationWindow;
class Form1;
class MaterialDialog;
class UserDialogs;

class WindowRegistry {
public:
    /// The windows put their questions and messages through `dialogs`, which
    /// must outlive the registry.
    explicit WindowRegistry(UserDialogs &dialogs);
    /// Destroys any window still open; the windows refer to the registry.
    ~WindowRegistry();

    WindowRegistry(const WindowRegistry &) = delete;
    WindowRegistry &operator=(const WindowRegistry &) = delete;

    UserDialogs &dialogs() const { return m_dialogs; }

    /// Each open...() creates the window with its default contents when it is
    /// not open, shows it and makes it the active window; an open window is
    /// only raised and activated, its contents untouched.
    Form1 *openMain();
    /// Form2 for the U-loop, Form4 for the L-bend.
    CalculationWindow *openCalculation(Shape shape);
    /// Form3 for the U-loop, Form5 for the L-bend.
    MaterialDialog *openMaterialDialog(Shape shape);

private:
    UserDialogs &m_dialogs;
    QPointer<Form1> m_main;
    QPointer<CalculationWindow> m_uLoop;
    QPointer<CalculationWindow> m_lBend;
    QPointer<MaterialDialog> m_uLoopMaterial;
    QPointer<MaterialDialog> m_lBendMaterial;
};

} // namespace dilatany::ui
