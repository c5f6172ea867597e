// Qt's own texts (the Yes and No buttons, the file dialog) in Czech.
#pragma once

class QCoreApplication;

namespace dilatany::ui {

/// Installs Qt's Czech translation (qtbase_cs.qm from the program's own folder,
/// else from Qt's translations folder) whatever the system's language, so that Qt's buttons read "Ano" and "Ne"
/// like the rest of the program. False if the translation is not installed;
/// Qt's texts then stay in English.
bool InstallQtCzechTexts(QCoreApplication &app);

} // namespace dilatany::ui
