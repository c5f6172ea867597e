// The real dialogs behind the windows' questions and messages: what the user
// sees and which answer each key gives. The modal boxes are answered from a
// timer, since here the real dialog itself is under test.
#include "ui/translation.h"
#include "ui/user_dialogs.h"

#include <QPushButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace dilatany::ui;

namespace {

/// Calls `answer` with the message box once it is up.
void WhenTheBoxIsUp(std::function<void(QMessageBox *)> answer)
{
    auto *poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, answer] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            answer(box);
        }
    });
    poll->start(10);
}

} // namespace

class TestUserDialogs : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(InstallQtCzechTexts(*qApp), "Qt's Czech translation (qt6-translations-l10n) is missing");
    }

    void the_question_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("yes");
        QTest::newRow("Enter answers Yes") << int(Qt::Key_Return) << true;
        QTest::newRow("Escape answers No") << int(Qt::Key_Escape) << false;
        QTest::newRow("N answers No") << int(Qt::Key_N) << false;
    }
    void the_question()
    {
        QFETCH(int, key);
        QFETCH(bool, yes);
        QtUserDialogs dialogs;
        QString title, text, yesText, noText;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        bool yesIsDefault = false;
        WhenTheBoxIsUp([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            yesText = box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes)->text() : QString();
            noText = box->button(QMessageBox::No) ? box->button(QMessageBox::No)->text() : QString();
            yesIsDefault = box->defaultButton() == box->button(QMessageBox::Yes);
            QTest::keyClick(box, Qt::Key(key));
        });

        const bool answer = dialogs.askYesNo(nullptr, "Pozor", "Chcete opravdu opustit program?");

        QCOMPARE(answer, yes);
        QCOMPARE(title, QString("Pozor"));
        QCOMPARE(text, QString("Chcete opravdu opustit program?"));
        QCOMPARE(icon, QMessageBox::Question);
        QVERIFY(yesIsDefault);
        QCOMPARE(yesText.remove('&'), QString("Ano"));
        QCOMPARE(noText.remove('&'), QString("Ne"));
    }

    void a_message_data()
    {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("shown");
        QTest::newRow("warning") << int(MessageIcon::Warning) << int(QMessageBox::Warning);
        QTest::newRow("fault") << int(MessageIcon::Critical) << int(QMessageBox::Critical);
    }
    void a_message()
    {
        QFETCH(int, icon);
        QFETCH(int, shown);
        QtUserDialogs dialogs;
        QString title, text;
        int seenIcon = -1;
        WhenTheBoxIsUp([&](QMessageBox *box) {
            title = box->windowTitle();
            text = box->text();
            seenIcon = box->icon();
            QTest::keyClick(box, Qt::Key_Return);
        });

        dialogs.showMessage(nullptr, MessageIcon(icon), "Chybný údaj", "Tyto údaje nejsou čísla: Pevnost");

        QCOMPARE(title, QString("Chybný údaj"));
        QCOMPARE(text, QString("Tyto údaje nejsou čísla: Pevnost"));
        QCOMPARE(seenIcon, shown);
    }

    void cleanup()
    {
        QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestUserDialogs test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_user_dialogs.moc"
