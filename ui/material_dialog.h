// What the two material dialogs (Form3 for the U-loop, Form5 for the L-bend)
// have in common: two options, "OK" and "Bez výběru". Each gives its layout.
#pragma once

#include "core/input_field.h"
#include "ui/calculation_window.h"

#include <QWidget>

class QRadioButton;

namespace dilatany::ui {

class WindowRegistry;

struct MaterialDialogLayout {
    Shape shape;             // the calculation window the dialog writes into
    const char *objectName;  // "Form3" or "Form5"
    int clientWidth;
    int clientHeight;
    ButtonPlace steel;       // Option1 "Ocel"
    ButtonPlace polypropylene;  // Option2 "Polypropylen"
    ButtonPlace ok;          // Command2 "OK"
    ButtonPlace withoutChoice;  // Command1(1) "Bez výběru"
};

/// A top-level, non-modal window with no owner: it may outlive its calculation
/// window, and then opens it anew. No option is selected when it opens, and
/// giving an option the focus does not select it.
class MaterialDialog : public QWidget {
public:
    MaterialDialog(const MaterialDialogLayout &layout, WindowRegistry &windows);

private:
    void onOkClicked();
    void onWithoutChoiceClicked();

    const MaterialDialogLayout &m_layout;
    WindowRegistry &m_windows;
    QRadioButton *m_steel = nullptr;
    QRadioButton *m_polypropylene = nullptr;
};

} // namespace dilatany::ui
