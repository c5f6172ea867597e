#include "ui/user_dialogs.h"

#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace dilatany::ui {
namespace {

QMessageBox::Icon ToQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

/// Qt takes a filter's pattern from the last parentheses of its text. Where the
/// shown text names another pattern, the real one is appended for Qt to read
/// and the combo box is given the shown text back afterwards.
QString QtFilterString(const FileFilter &filter)
{
    if (filter.text.endsWith(QLatin1Char('(') + filter.pattern + QLatin1Char(')')))
        return filter.text;
    return filter.text + QStringLiteral(" (") + filter.pattern + QLatin1Char(')');
}

std::optional<QString> RunFileDialog(QWidget *parent, const FileDialogRequest &request,
                                     QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    QtUserDialogs::prepareFileDialog(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    return files.first();
}

} // namespace

bool QtUserDialogs::askYesNo(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtUserDialogs::openFileName(QWidget *parent, const FileDialogRequest &request)
{
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtUserDialogs::saveFileName(QWidget *parent, const FileDialogRequest &request)
{
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

void QtUserDialogs::showMessage(QWidget *parent, MessageIcon icon, const QString &title,
                                const QString &text)
{
    QMessageBox box(ToQt(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

void QtUserDialogs::prepareFileDialog(QFileDialog &dialog, const FileDialogRequest &request)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(request.title);
    dialog.setDirectory(request.directory);

    QStringList qtFilters;
    for (const FileFilter &filter : request.filters)
        qtFilters << QtFilterString(filter);
    dialog.setNameFilters(qtFilters);

    // The widget dialog keeps its filter choice in this combo box; without it
    // the user reads Qt's filter strings, which still filter correctly.
    if (auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))) {
        for (int i = 0; i < request.filters.size() && i < combo->count(); ++i)
            combo->setItemText(i, request.filters.at(i).text);
    }
    dialog.selectFile(QString());
}

} // namespace dilatany::ui
