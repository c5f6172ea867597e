// A UserDialogs whose answers a test scripts in advance. Every dialog the
// windows open is recorded; one that the script does not expect fails the
// running test and is answered No or Cancel, so that nothing ever waits.
#pragma once

#include "ui/user_dialogs.h"

#include <QList>
#include <QString>

#include <optional>

namespace dilatany::ui::testing {

enum class DialogKind { Question, OpenFile, SaveFile, Message };

/// What a window asked for.
struct DialogCall {
    DialogKind kind;
    QString title;
    QString text;                 // question or message
    MessageIcon icon = MessageIcon::Information;
    FileDialogRequest request;    // file dialogs
};

class ScriptedDialogs final : public UserDialogs {
public:
    void answerYesNo(bool yes);
    /// Nothing means the user cancelled the dialog.
    void answerOpenFile(std::optional<QString> fileName);
    void answerSaveFile(std::optional<QString> fileName);
    void expectMessage();

    /// Every dialog opened so far, oldest first.
    const QList<DialogCall> &calls() const { return m_calls; }

    /// Fails the running test when scripted answers were left unused, then
    /// forgets the script and the calls.
    void verifyAndReset();

    bool askYesNo(QWidget *parent, const QString &title, const QString &text) override;
    std::optional<QString> openFileName(QWidget *parent, const FileDialogRequest &request) override;
    std::optional<QString> saveFileName(QWidget *parent, const FileDialogRequest &request) override;
    void showMessage(QWidget *parent, MessageIcon icon, const QString &title,
                     const QString &text) override;

private:
    struct Answer {
        DialogKind kind;
        bool yes = false;
        std::optional<QString> fileName;
    };
    /// The next scripted answer if it is of this kind; fails the test otherwise.
    std::optional<Answer> take(const DialogCall &call);

    QList<Answer> m_script;
    QList<DialogCall> m_calls;
};

} // namespace dilatany::ui::testing
