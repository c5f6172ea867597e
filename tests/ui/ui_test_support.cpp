#include "ui_test_support.h"

#include <QAbstractButton>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

#include <algorithm>

namespace dilatany::ui::testing {

QStringList VisibleWindows()
{
    QStringList names;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            names << widget->objectName();
    }
    names.sort();
    return names;
}

QWidget *FindWindow(const QString &name)
{
    const auto widgets = QApplication::topLevelWidgets();
    const auto it = std::find_if(widgets.begin(), widgets.end(), [&name](QWidget *widget) {
        return widget->isVisible() && widget->objectName() == name;
    });
    return it == widgets.end() ? nullptr : *it;
}

bool Click(QWidget *window, const QString &button)
{
    auto *target = Find<QAbstractButton>(window, button);
    if (!target)
        return false;
    // An option button takes clicks on its mark and caption only, at its left.
    const QPoint at = qobject_cast<QRadioButton *>(target) ? QPoint(6, target->height() / 2)
                                                           : target->rect().center();
    QTest::mouseClick(target, Qt::LeftButton, {}, at);
    return true;
}

QStringList Results(QWidget *window)
{
    const QString name = window->objectName() == QLatin1String("Form2") ? QStringLiteral("Label3")
                                                                        : QStringLiteral("Label2");
    QStringList texts;
    for (int i = 0; i < 4; ++i) {
        auto *label = Find<QLabel>(window, QStringLiteral("%1(%2)").arg(name).arg(i));
        texts << (label ? label->text() : QStringLiteral("<no %1(%2)>").arg(name).arg(i));
    }
    return texts;
}

InputTexts Boxes(QWidget *window)
{
    const Shape shape = window->objectName() == QLatin1String("Form2") ? Shape::ULoop : Shape::LBend;
    InputTexts texts;
    texts.shape = shape;
    for (const InputField &field : Fields(shape)) {
        auto *box = Find<QLineEdit>(window, QStringLiteral("Text1(%1)").arg(field.index));
        texts[field.index] = box ? box->text().toStdString() : "<no box>";
    }
    return texts;
}

EventLoopRun RunEventLoop(const std::function<void()> &script, int timeoutMs)
{
    EventLoopRun run;
    QTimer timeout;
    timeout.setSingleShot(true);
    QObject::connect(&timeout, &QTimer::timeout, qApp, [&run] {
        run.timedOut = true;
        QCoreApplication::exit(1);
    });
    timeout.start(timeoutMs);
    QTimer::singleShot(0, qApp, script);
    run.exitCode = QApplication::exec();
    return run;
}

void WindowsFixture::init()
{
    windows = std::make_unique<WindowRegistry>(dialogs);
}

void WindowsFixture::cleanup()
{
    dialogs.verifyAndReset();
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible())
            widget->close();
    }
    // Closed windows are deleted when the event loop comes round; any window
    // left after that was never meant to go, or was not made to.
    const bool allGone = QTest::qWaitFor([] { return QApplication::topLevelWidgets().isEmpty(); });
    if (!allGone) {
        QStringList names;
        for (QWidget *widget : QApplication::topLevelWidgets())
            names << widget->metaObject()->className() + QStringLiteral(" ") + widget->objectName();
        QTest::qFail(qPrintable(QStringLiteral("windows left behind: ") + names.join(QStringLiteral(", "))),
                     __FILE__, __LINE__);
        QList<QPointer<QWidget>> strays;
        for (QWidget *widget : QApplication::topLevelWidgets())
            strays << widget;
        for (const QPointer<QWidget> &widget : strays)
            delete widget.data();
    }
    windows.reset();
    dialogs.verifyAndReset();
}

} // namespace dilatany::ui::testing
