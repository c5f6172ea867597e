// Helpers for driving the real windows by their object names.
#pragma once

#include "ui/calculation_window.h"
#include "ui/window_registry.h"

#include "scripted_dialogs.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

#include <functional>
#include <memory>

namespace dilatany::ui::testing {

/// Object names of the visible top-level windows, sorted.
QStringList VisibleWindows();

/// The visible top-level window with this object name, or nullptr.
QWidget *FindWindow(const QString &name);

/// A control of a window by its design name, or nullptr.
template <typename Control = QWidget>
Control *Find(QWidget *window, const QString &name)
{
    return window ? window->findChild<Control *>(name) : nullptr;
}

/// Clicks the named button of the window with the mouse; false if it has none.
bool Click(QWidget *window, const QString &button);

/// The four result texts of a calculation window, labels 0 to 3.
QStringList Results(QWidget *window);

/// The texts of every box of a calculation window.
InputTexts Boxes(QWidget *window);

struct EventLoopRun {
    int exitCode = -1;
    bool timedOut = false;
};

/// Runs the application's own event loop, as the program does, with `script`
/// started from inside it; returns when the program would end (or after the
/// timeout, which counts as a failure to end).
EventLoopRun RunEventLoop(const std::function<void()> &script, int timeoutMs = 5000);

/// The registry of one test with its scripted dialogs, and the check that the
/// test leaves no window behind.
class WindowsFixture {
public:
    void init();
    /// Fails the test on unused answers or on a window that is not destroyed
    /// when it closes; closes whatever is still open.
    void cleanup();

    ScriptedDialogs dialogs;
    std::unique_ptr<WindowRegistry> windows;
};

} // namespace dilatany::ui::testing

/// QTEST_MAIN with the offscreen platform when no other is asked for.
#define DILATANY_UI_TEST_MAIN(TestClass)                                   \
    int main(int argc, char *argv[])                                       \
    {                                                                      \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                \
            qputenv("QT_QPA_PLATFORM", "offscreen");                       \
        QApplication app(argc, argv);                                      \
        TestClass test;                                                    \
        return QTest::qExec(&test, argc, argv);                            \
    }
