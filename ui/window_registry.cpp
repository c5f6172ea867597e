#include "ui/window_registry.h"

#include "ui/calculation_window.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/form3.h"
#include "ui/form4.h"
#include "ui/form5.h"
#include "ui/material_dialog.h"

namespace dilatany::ui {
namespace {

/// A closed window is hidden at once but deleted only when the event loop comes
/// round, so a hidden window counts as gone.
template <typename Window, typename Make>
Window *OpenSingle(QPointer<Window> &slot, Make make)
{
    if (!slot || slot->isHidden())
        slot = make();
    slot->show();
    slot->raise();
    slot->activateWindow();
    return slot.data();
}

} // namespace

WindowRegistry::WindowRegistry(UserDialogs &dialogs)
    : m_dialogs(dialogs)
{
}

WindowRegistry::~WindowRegistry()
{
    delete m_uLoopMaterial.data();
    delete m_lBendMaterial.data();
    delete m_uLoop.data();
    delete m_lBend.data();
    delete m_main.data();
}

Form1 *WindowRegistry::openMain()
{
    return OpenSingle(m_main, [this] { return new Form1(*this); });
}

CalculationWindow *WindowRegistry::openCalculation(Shape shape)
{
    if (shape == Shape::ULoop)
        return OpenSingle(m_uLoop, [this]() -> CalculationWindow * { return new Form2(*this); });
    return OpenSingle(m_lBend, [this]() -> CalculationWindow * { return new Form4(*this); });
}

MaterialDialog *WindowRegistry::openMaterialDialog(Shape shape)
{
    if (shape == Shape::ULoop)
        return OpenSingle(m_uLoopMaterial, [this]() -> MaterialDialog * { return new Form3(*this); });
    return OpenSingle(m_lBendMaterial, [this]() -> MaterialDialog * { return new Form5(*this); });
}

} // namespace dilatany::ui
