// Renders each of the five windows to a PNG, the calculation windows after a
// calculation with their default inputs: `dilatany-screenshots OUTPUT_FOLDER`.
// Run it under a display (xvfb-run) so that the pictures show the real fonts.
#include "ui/calculation_window.h"
#include "ui/form1.h"
#include "ui/material_dialog.h"
#include "ui/user_dialogs.h"
#include "ui/window_registry.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

using namespace dilatany;
using namespace dilatany::ui;

/// No dialog belongs in a screenshot: any request is reported and refused.
class NoDialogs final : public UserDialogs {
public:
    bool askYesNo(QWidget *, const QString &title, const QString &) override { return refuse(title); }
    std::optional<QString> openFileName(QWidget *, const FileDialogRequest &request) override
    {
        refuse(request.title);
        return std::nullopt;
    }
    std::optional<QString> saveFileName(QWidget *, const FileDialogRequest &request) override
    {
        refuse(request.title);
        return std::nullopt;
    }
    void showMessage(QWidget *, MessageIcon, const QString &title, const QString &) override { refuse(title); }

    bool failed = false;

private:
    bool refuse(const QString &title)
    {
        std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(title));
        failed = true;
        return false;
    }
};

bool Save(QWidget *window, const QDir &folder, const QString &name)
{
    if (!QTest::qWaitForWindowExposed(window))
        std::fprintf(stderr, "%s was not exposed; grabbing it anyway\n", qPrintable(name));
    QTest::qWait(100);
    const QString path = folder.filePath(name);
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

bool Calculate(CalculationWindow *window)
{
    auto *button = window->findChild<QPushButton *>(QStringLiteral("Command1"));
    if (!button)
        return false;
    button->click();
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    NoDialogs dialogs;
    bool ok = true;
    {
        WindowRegistry windows(dialogs);
        ok &= Save(windows.openMain(), folder, QStringLiteral("form1-main.png"));

        CalculationWindow *uLoop = windows.openCalculation(Shape::ULoop);
        ok &= Calculate(uLoop) && Save(uLoop, folder, QStringLiteral("form2-uloop.png"));
        ok &= Save(windows.openMaterialDialog(Shape::ULoop), folder,
                   QStringLiteral("form3-uloop-material.png"));

        CalculationWindow *lBend = windows.openCalculation(Shape::LBend);
        ok &= Calculate(lBend) && Save(lBend, folder, QStringLiteral("form4-lbend.png"));
        ok &= Save(windows.openMaterialDialog(Shape::LBend), folder,
                   QStringLiteral("form5-lbend-material.png"));
    }
    return ok && !dialogs.failed ? 0 : 1;
}
