#include "ui/material_dialog.h"

#include "ui/controls.h"
#include "ui/window_registry.h"

#include <QPushButton>
#include <QRadioButton>

#include <map>

namespace dilatany::ui {
namespace {

/// An option button that stays a tab stop of its own. Qt makes an exclusive
/// group a single tab stop (the other options lose the tab focus whenever one
/// of them gets the focus); here each option keeps its place in the focus order.
class OptionButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QRadioButton::focusInEvent(event);
        for (auto *option : parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
            option->setFocusPolicy(Qt::StrongFocus);
    }
};

} // namespace

MaterialDialog::MaterialDialog(const MaterialDialogLayout &layout, WindowRegistry &windows)
    : m_layout(layout)
    , m_windows(windows)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QLatin1String(layout.objectName));
    setWindowTitle(QStringLiteral("Nápověda"));
    setFont(WindowFont());

    // Both options have this window as parent, which makes them one exclusive group.
    m_steel = new OptionButton(QStringLiteral("Ocel"), this);
    Place(m_steel, QStringLiteral("Option1"), WindowFont(), layout.steel.rect);
    m_polypropylene = new OptionButton(QStringLiteral("Polypropylen"), this);
    Place(m_polypropylene, QStringLiteral("Option2"), WindowFont(), layout.polypropylene.rect);

    auto *ok = MakeButton(this, QStringLiteral("Command2"), QStringLiteral("OK"), WindowFont(),
                          layout.ok.rect);
    connect(ok, &QPushButton::clicked, this, &MaterialDialog::onOkClicked);
    auto *withoutChoice = MakeButton(this, QStringLiteral("Command1(1)"), QStringLiteral("Bez výběru"),
                                     WindowFont(), layout.withoutChoice.rect);
    connect(withoutChoice, &QPushButton::clicked, this, &MaterialDialog::onWithoutChoiceClicked);

    const std::map<int, QWidget *> tabOrder{{layout.steel.tabIndex, m_steel},
                                            {layout.polypropylene.tabIndex, m_polypropylene},
                                            {layout.ok.tabIndex, ok},
                                            {layout.withoutChoice.tabIndex, withoutChoice}};
    QWidget *previous = nullptr;
    for (const auto &[tabIndex, widget] : tabOrder) {
        if (previous)
            setTabOrder(previous, widget);
        else
            widget->setFocus();
        previous = widget;
    }

    resize(ToPixels(layout.clientWidth, layout.clientHeight));
}

void MaterialDialog::onOkClicked()
{
    CalculationWindow *target = m_windows.openCalculation(m_layout.shape);
    if (m_steel->isChecked())
        target->applyPreset(kSteel);
    else if (m_polypropylene->isChecked())
        target->applyPreset(kPolypropylene);
    close();
}

void MaterialDialog::onWithoutChoiceClicked()
{
    m_windows.openCalculation(m_layout.shape);
    close();
}

} // namespace dilatany::ui
