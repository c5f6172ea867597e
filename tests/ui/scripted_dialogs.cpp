#include "scripted_dialogs.h"

#include <QTest>

namespace dilatany::ui::testing {
namespace {

const char *Name(DialogKind kind)
{
    switch (kind) {
    case DialogKind::Question:
        return "question";
    case DialogKind::OpenFile:
        return "open dialog";
    case DialogKind::SaveFile:
        return "save dialog";
    case DialogKind::Message:
        return "message";
    }
    return "dialog";
}

} // namespace

void ScriptedDialogs::answerYesNo(bool yes)
{
    m_script.append({DialogKind::Question, yes, std::nullopt});
}

void ScriptedDialogs::answerOpenFile(std::optional<QString> fileName)
{
    m_script.append({DialogKind::OpenFile, false, std::move(fileName)});
}

void ScriptedDialogs::answerSaveFile(std::optional<QString> fileName)
{
    m_script.append({DialogKind::SaveFile, false, std::move(fileName)});
}

void ScriptedDialogs::expectMessage()
{
    m_script.append({DialogKind::Message, false, std::nullopt});
}

void ScriptedDialogs::verifyAndReset()
{
    if (!m_script.isEmpty()) {
        const QByteArray message = QByteArray("scripted answer not used: ") + Name(m_script.first().kind);
        QTest::qFail(message.constData(), __FILE__, __LINE__);
    }
    m_script.clear();
    m_calls.clear();
}

std::optional<ScriptedDialogs::Answer> ScriptedDialogs::take(const DialogCall &call)
{
    m_calls.append(call);
    if (m_script.isEmpty() || m_script.first().kind != call.kind) {
        const QByteArray message = QByteArray("unexpected ") + Name(call.kind) + " \""
                                   + call.title.toUtf8() + "\": " + call.text.toUtf8();
        QTest::qFail(message.constData(), __FILE__, __LINE__);
        return std::nullopt;
    }
    return m_script.takeFirst();
}

bool ScriptedDialogs::askYesNo(QWidget *, const QString &title, const QString &text)
{
    const auto answer = take({DialogKind::Question, title, text, MessageIcon::Information, {}});
    return answer && answer->yes;
}

std::optional<QString> ScriptedDialogs::openFileName(QWidget *, const FileDialogRequest &request)
{
    const auto answer = take({DialogKind::OpenFile, request.title, {}, MessageIcon::Information, request});
    return answer ? answer->fileName : std::nullopt;
}

std::optional<QString> ScriptedDialogs::saveFileName(QWidget *, const FileDialogRequest &request)
{
    const auto answer = take({DialogKind::SaveFile, request.title, {}, MessageIcon::Information, request});
    return answer ? answer->fileName : std::nullopt;
}

void ScriptedDialogs::showMessage(QWidget *, MessageIcon icon, const QString &title, const QString &text)
{
    take({DialogKind::Message, title, text, icon, {}});
}

} // namespace dilatany::ui::testing
