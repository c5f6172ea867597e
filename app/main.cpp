#include "ui/translation.h"
#include "ui/user_dialogs.h"
#include "ui/window_registry.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dilatany"));
    QGuiApplication::setDesktopFileName(QStringLiteral("dilatany"));
    dilatany::ui::InstallQtCzechTexts(app);

    dilatany::ui::QtUserDialogs dialogs;
    dilatany::ui::WindowRegistry windows(dialogs);
    windows.openMain();
    return QApplication::exec();
}
