// A calculation window asked to close while one of its own modal dialogs is
// up. Qt's modality blocks the mouse and the window manager's close, but not a
// screen reader pressing buttons through the accessibility interface, nor a
// close() from code. The real QMessageBox and QFileDialog are used here: the
// fault lies in the lifetime of the dialog object under the window, which a
// scripted dialog does not have.
#include "ui_test_support.h"

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>

using namespace dilatany;
using namespace dilatany::ui;
using namespace dilatany::ui::testing;

namespace {

/// The dialog that is up when the close request comes.
enum class Opened {
    FaultMessage,      // "Chyba výpočtu"
    UnreadableMessage, // "Chybný údaj"
    SaveErrorMessage,  // the save's file message
    LoadErrorMessage,  // the load's file message
    ExitQuestion,      // "Chcete opravdu opustit program?"
    OpenDialog,        // "Načtení dat"
    SaveDialog,        // "Ulozit"
};

/// How the window is asked to close while that dialog is up.
enum class Request {
    KonecAnsweredAno,  // "Konec" pressed, the question answered "Ano", both through QAccessible
    CloseFromCode,     // QWidget::close() from a timer
};

/// Every question and message is the real QMessageBox; the file dialogs are
/// the real QFileDialog, or answered at once with a prepared name where the
/// dialog under test is the message that follows them.
class RealDialogs final : public UserDialogs {
public:
    bool realFileDialogs = true;
    QString fileName;

    bool askYesNo(QWidget *parent, const QString &title, const QString &text) override
    {
        return m_real.askYesNo(parent, title, text);
    }
    std::optional<QString> openFileName(QWidget *parent, const FileDialogRequest &request) override
    {
        return realFileDialogs ? m_real.openFileName(parent, request) : fileName;
    }
    std::optional<QString> saveFileName(QWidget *parent, const FileDialogRequest &request) override
    {
        return realFileDialogs ? m_real.saveFileName(parent, request) : fileName;
    }
    void showMessage(QWidget *parent, MessageIcon icon, const QString &title, const QString &text) override
    {
        m_real.showMessage(parent, icon, title, text);
    }

private:
    QtUserDialogs m_real;
};

/// Presses a button as a screen reader does: the accessible press action,
/// which Qt's modality does not block.
bool PressAccessibly(QAbstractButton *button)
{
    QAccessibleInterface *face = button ? QAccessible::queryAccessibleInterface(button) : nullptr;
    QAccessibleActionInterface *actions = face ? face->actionInterface() : nullptr;
    if (!actions || !actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
        return false;
    actions->doAction(QAccessibleActionInterface::pressAction());
    return true;
}

/// Calls `then` from the event loop once `ready` holds for the active modal
/// widget. If it never does, every modal dialog is rejected so that the test
/// ends instead of waiting, and `gaveUp` is set.
void WhenModal(std::function<bool(QWidget *)> ready, std::function<void(QWidget *)> then, bool &gaveUp)
{
    auto *poll = new QTimer(qApp);
    auto tries = std::make_shared<int>(0);
    QObject::connect(poll, &QTimer::timeout, qApp, [=, &gaveUp] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && ready(modal)) {
            poll->stop();
            poll->deleteLater();
            then(modal);
        } else if (++*tries > 500) {
            poll->stop();
            poll->deleteLater();
            gaveUp = true;
            while (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        }
    });
    poll->start(10);
}

bool IsMessage(QWidget *widget, const QString &title)
{
    return qobject_cast<QMessageBox *>(widget) && widget->windowTitle() == title;
}

} // namespace

class TestDialogLifetime : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_temp = std::make_unique<QTemporaryDir>();
        QVERIFY(m_temp->isValid());
        m_oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(m_temp->path()));
    }
    void cleanup()
    {
        QDir::setCurrent(m_oldCurrent);
        m_temp.reset();
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void a_window_asked_to_close_under_its_dialog_goes_when_the_dialog_returns_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("request");
        const struct {
            Opened opened;
            const char *name;
        } dialogs[] = {
            {Opened::FaultMessage, "the fault message"},
            {Opened::UnreadableMessage, "the unreadable inputs message"},
            {Opened::SaveErrorMessage, "the save's file message"},
            {Opened::LoadErrorMessage, "the load's file message"},
            {Opened::ExitQuestion, "the exit question"},
            {Opened::OpenDialog, "the open dialog"},
            {Opened::SaveDialog, "the save dialog"},
        };
        const struct {
            Request request;
            const char *name;
        } requests[] = {
            {Request::KonecAnsweredAno, "Konec and Ano pressed through QAccessible"},
            {Request::CloseFromCode, "close() from a timer"},
        };
        for (Shape shape : {Shape::ULoop, Shape::LBend}) {
            for (const auto &dialog : dialogs) {
                for (const auto &request : requests) {
                    QTest::addRow("%s, %s, %s", shape == Shape::ULoop ? "U-loop" : "L-bend", dialog.name,
                                  request.name)
                        << int(shape) << int(dialog.opened) << int(request.request);
                }
            }
        }
    }
    void a_window_asked_to_close_under_its_dialog_goes_when_the_dialog_returns()
    {
        QFETCH(int, shape);
        QFETCH(int, opened);
        QFETCH(int, request);
        const auto what = Opened(opened);

        RealDialogs dialogs;
        dialogs.realFileDialogs = what == Opened::OpenDialog || what == Opened::SaveDialog;
        // A folder cannot be saved over; a missing file cannot be loaded.
        dialogs.fileName = what == Opened::SaveErrorMessage ? m_temp->path()
                                                            : m_temp->filePath("missing.dat");
        auto registry = std::make_unique<WindowRegistry>(dialogs);
        QPointer<CalculationWindow> window = registry->openCalculation(Shape(shape));
        QVERIFY(QTest::qWaitForWindowExposed(window));

        std::function<bool(QWidget *)> isTheDialog;
        std::function<void()> open;
        auto trigger = [&window](const char *action) {
            return [&window, action] { Find<QAction>(window, action)->trigger(); };
        };
        switch (what) {
        case Opened::FaultMessage:
            // A strength of 0 divides by zero on the U-loop; a modulus beyond
            // single precision overflows on the L-bend.
            if (shape == int(Shape::ULoop))
                Find<QLineEdit>(window, "Text1(2)")->setText("0");
            else
                Find<QLineEdit>(window, "Text1(1)")->setText("1e33");
            isTheDialog = [](QWidget *w) { return IsMessage(w, "Chyba výpočtu"); };
            open = [&window] { Click(window, "Command1"); };
            break;
        case Opened::UnreadableMessage:
            Find<QLineEdit>(window, "Text1(1)")->setText("");
            isTheDialog = [](QWidget *w) { return IsMessage(w, "Chybný údaj"); };
            open = [&window] { Click(window, "Command1"); };
            break;
        case Opened::SaveErrorMessage:
            isTheDialog = [](QWidget *w) { return IsMessage(w, "Ulozit"); };
            open = trigger("ulozit");
            break;
        case Opened::LoadErrorMessage:
            isTheDialog = [](QWidget *w) { return IsMessage(w, "Načtení dat"); };
            open = trigger("nacist");
            break;
        case Opened::ExitQuestion:
            isTheDialog = [](QWidget *w) { return IsMessage(w, "Pozor"); };
            open = [&window] { Click(window, "Command3"); };
            break;
        case Opened::OpenDialog:
            isTheDialog = [](QWidget *w) { return qobject_cast<QFileDialog *>(w) && w->windowTitle() == "Načtení dat"; };
            open = trigger("nacist");
            break;
        case Opened::SaveDialog:
            isTheDialog = [](QWidget *w) { return qobject_cast<QFileDialog *>(w) && w->windowTitle() == "Ulozit"; };
            open = trigger("ulozit");
            break;
        }

        bool gaveUp = false;
        bool sawTheDialog = false;
        bool askedToLeave = false;
        bool shownUnderTheDialog = false;
        // Dismisses the dialog under test: No to the question, OK to a message,
        // Cancel to a file dialog.
        const auto dismiss = [&](QWidget *dialog) {
            shownUnderTheDialog = window && window->isVisible();
            if (auto *box = qobject_cast<QMessageBox *>(dialog)) {
                QAbstractButton *button = box->button(what == Opened::ExitQuestion ? QMessageBox::No : QMessageBox::Ok);
                if (!PressAccessibly(button))
                    box->reject();
            } else {
                qobject_cast<QDialog *>(dialog)->reject();
            }
        };
        WhenModal(isTheDialog, [&](QWidget *dialog) {
            sawTheDialog = true;
            if (Request(request) == Request::CloseFromCode) {
                window->close();
                dismiss(dialog);
                return;
            }
            QVERIFY(PressAccessibly(Find<QPushButton>(window, "Command3")));
            QPointer<QWidget> underTest = dialog;
            WhenModal([underTest](QWidget *w) { return w != underTest && IsMessage(w, "Pozor"); },
                      [&, underTest](QWidget *question) {
                          askedToLeave = true;
                          PressAccessibly(qobject_cast<QMessageBox *>(question)->button(QMessageBox::Yes));
                          // Back under the dialog once the question has gone.
                          WhenModal([underTest](QWidget *w) { return w == underTest; },
                                    [&](QWidget *back) { dismiss(back); }, gaveUp);
                      },
                      gaveUp);
        }, gaveUp);

        open();

        QVERIFY2(!gaveUp, "a dialog that the test waited for did not come up");
        QVERIFY(sawTheDialog);
        QCOMPARE(askedToLeave, Request(request) == Request::KonecAnsweredAno);
        QVERIFY2(shownUnderTheDialog, "the window must stay while its dialog is up");
        QTRY_VERIFY2(window.isNull(), "the window must go once its dialog has returned");
        QCOMPARE(VisibleWindows(), QStringList());
    }

private:
    std::unique_ptr<QTemporaryDir> m_temp;
    QString m_oldCurrent;
};

DILATANY_UI_TEST_MAIN(TestDialogLifetime)
#include "tst_dialog_lifetime.moc"
