#include "ui/translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace dilatany::ui {

bool InstallQtCzechTexts(QCoreApplication &app)
{
    // A copy beside the program comes first: the Windows program ships Qt's
    // translation in its own folder, matching the Qt libraries it ships. A
    // program that uses the system's Qt finds none there and takes the
    // system's from Qt's translations folder.
    const QString folders[] = {
        QCoreApplication::applicationDirPath(),
        QLibraryInfo::path(QLibraryInfo::TranslationsPath),
    };
    auto *translator = new QTranslator(&app);
    for (const QString &folder : folders) {
        if (!folder.isEmpty() && translator->load(QStringLiteral("qtbase_cs"), folder))
            return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

} // namespace dilatany::ui
