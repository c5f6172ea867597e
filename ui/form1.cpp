#include "ui/form1.h"

#include "ui/controls.h"
#include "ui/window_registry.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace dilatany::ui {
namespace {

// Layout in twips.
constexpr int kClientWidth = 4836;
constexpr int kClientHeight = 3384;
constexpr TwipsRect kULoopButton{480, 600, 1575, 855};
constexpr TwipsRect kLBendButton{2640, 600, 1575, 855};
constexpr TwipsRect kHint{480, 1800, 3852, 372};
constexpr TwipsRect kCredits[] = {
    {2760, 2520, 1815, 255},
    {2760, 2760, 1815, 255},
    {2760, 3000, 1815, 255},
};

} // namespace

Form1::Form1(WindowRegistry &windows)
    : m_windows(windows)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Dilatany"));
    setFont(WindowFont());

    const QFont buttonFont = ArialFont(8.4, true, true);
    auto *uLoop = MakeButton(this, QStringLiteral("Command1"), QStringLiteral("Dilatan U"),
                             buttonFont, kULoopButton);
    connect(uLoop, &QPushButton::clicked, this, [this] { chooseShape(Shape::ULoop); });
    auto *lBend = MakeButton(this, QStringLiteral("Command2"), QStringLiteral("Dilatan L"),
                             buttonFont, kLBendButton);
    connect(lBend, &QPushButton::clicked, this, [this] { chooseShape(Shape::LBend); });
    setTabOrder(uLoop, lBend);
    uLoop->setFocus();

    // Red on the palette's midlight grey, the colour closest to the light grey
    // of a scroll-bar trough that the palette names.
    auto *hint = MakeLabel(this, QStringLiteral("Label2"),
                           QStringLiteral("Přepněte na anglickou klávesnici!"), ArialFont(12),
                           kHint, Qt::AlignLeft);
    hint->setWordWrap(false);
    hint->setAutoFillBackground(true);
    hint->setBackgroundRole(QPalette::Midlight);
    MakeTextRed(hint);

    const QString credits[] = {
        QStringLiteral("Dilatany"),
        QStringLiteral("verze ") + QStringLiteral(DILATANY_VERSION),
        QStringLiteral(DILATANY_YEAR),
    };
    for (int i = 0; i < 3; ++i) {
        auto *line = MakeLabel(this, Indexed("Label1", i), credits[i], WindowFont(), kCredits[i],
                               Qt::AlignLeft);
        line->setWordWrap(false);
    }

    resize(ToPixels(kClientWidth, kClientHeight));
}

void Form1::chooseShape(Shape shape)
{
    m_windows.openCalculation(shape);
    close();
}

} // namespace dilatany::ui
