// The modal dialogs the windows put to the user, behind a small interface so
// that tests can script the answers instead of waiting for a person.
#pragma once

#include <QList>
#include <QString>

#include <optional>

class QFileDialog;
class QWidget;

namespace dilatany::ui {

/// One entry of a file dialog's filter list: the text the user reads and the
/// pattern that decides which files are shown.
struct FileFilter {
    QString text;
    QString pattern;
    friend bool operator==(const FileFilter &, const FileFilter &) = default;
};

/// What a file dialog is opened with. The file name field always starts empty.
struct FileDialogRequest {
    QString title;
    QString directory;
    QList<FileFilter> filters;  // the first is preselected
};

enum class MessageIcon { Information, Warning, Critical };

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    /// A modal question with the buttons Yes and No, Yes the default, and the
    /// question-mark icon. True when the user answers Yes.
    virtual bool askYesNo(QWidget *parent, const QString &title, const QString &text) = 0;

    /// A modal open dialog; the chosen file, or nothing when it was cancelled.
    virtual std::optional<QString> openFileName(QWidget *parent, const FileDialogRequest &request) = 0;

    /// A modal save dialog that asks before it replaces an existing file; the
    /// chosen file, or nothing when it was cancelled.
    virtual std::optional<QString> saveFileName(QWidget *parent, const FileDialogRequest &request) = 0;

    /// A modal message with an OK button.
    virtual void showMessage(QWidget *parent, MessageIcon icon, const QString &title,
                             const QString &text) = 0;
};

/// The real dialogs: QMessageBox and Qt's own file dialog.
class QtUserDialogs final : public UserDialogs {
public:
    bool askYesNo(QWidget *parent, const QString &title, const QString &text) override;
    std::optional<QString> openFileName(QWidget *parent, const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(QWidget *parent, const FileDialogRequest &request) override;
    void showMessage(QWidget *parent, MessageIcon icon, const QString &title,
                     const QString &text) override;

    /// Sets up a file dialog for the request: title, directory, filters, empty
    /// file name. Qt's own dialog is used rather than the desktop's, so that it
    /// speaks the program's language and shows each filter's text as given even
    /// where the text and the pattern differ ("všechny soubory (*.*)" showing "*").
    static void prepareFileDialog(QFileDialog &dialog, const FileDialogRequest &request);
};

} // namespace dilatany::ui
