// The window sequence: start, shape choice, single instances, the exit
// confirmation, the material dialogs and the end of the program.
#include "ui_test_support.h"

#include "core/material_preset.h"
#include "ui/form1.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTimer>

using namespace dilatany;
using namespace dilatany::ui;
using namespace dilatany::ui::testing;

namespace {

InputTexts WithMaterial(Shape shape, const MaterialPreset *preset)
{
    InputTexts texts = DefaultTexts(shape);
    if (preset) {
        texts[0] = preset->alphaText();
        texts[1] = preset->modulusText();
        texts[2] = preset->strengthText();
    }
    return texts;
}

} // namespace

class TestNavigation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_fixture.init(); }
    void cleanup() { m_fixture.cleanup(); }

    void starts_with_the_main_window_alone()
    {
        m_fixture.windows->openMain();
        QCOMPARE(VisibleWindows(), QStringList{"Form1"});
        QCOMPARE(FindWindow("Form1")->windowTitle(), QString("Dilatany"));
    }

    void choosing_a_shape_leaves_only_its_window_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("shape");
        QTest::newRow("Dilatan U opens the U-loop window") << "Command1" << "Form2" << "Dilatan U" << int(Shape::ULoop);
        QTest::newRow("Dilatan L opens the L-bend window") << "Command2" << "Form4" << "Dilatan L" << int(Shape::LBend);
    }
    void choosing_a_shape_leaves_only_its_window()
    {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(QString, title);
        QFETCH(int, shape);
        QWidget *main = m_fixture.windows->openMain();
        QStringList windowsAfterChoice;
        QString shownTitle;
        InputTexts boxes;
        QStringList results;

        // In the program's own event loop, which ends when its last window closes.
        const EventLoopRun run = RunEventLoop([&] {
            Click(main, button);
            QTimer::singleShot(0, qApp, [&] {
                windowsAfterChoice = VisibleWindows();
                if (QWidget *calculation = FindWindow(window)) {
                    shownTitle = calculation->windowTitle();
                    boxes = Boxes(calculation);
                    results = Results(calculation);
                    calculation->close();
                }
            });
        });

        QCOMPARE(windowsAfterChoice, QStringList{window});
        QCOMPARE(shownTitle, title);
        QCOMPARE(boxes, DefaultTexts(Shape(shape)));
        QCOMPARE(results, QStringList({"", "", "", ""}));
        QVERIFY2(!run.timedOut, "closing the calculation window did not end the program");
        QCOMPARE(run.exitCode, 0);
    }

    void closing_the_last_window_ends_the_program_data()
    {
        QTest::addColumn<QString>("chooseButton");
        QTest::addColumn<QString>("lastWindow");
        QTest::newRow("main window closed without a choice") << "" << "Form1";
        QTest::newRow("U-loop window after the choice") << "Command1" << "Form2";
        QTest::newRow("L-bend window after the choice") << "Command2" << "Form4";
    }
    void closing_the_last_window_ends_the_program()
    {
        QFETCH(QString, chooseButton);
        QFETCH(QString, lastWindow);
        QWidget *main = m_fixture.windows->openMain();
        if (!chooseButton.isEmpty())
            QVERIFY(Click(main, chooseButton));
        QTRY_COMPARE(VisibleWindows(), QStringList{lastWindow});
        QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);

        const EventLoopRun run = RunEventLoop([&] { FindWindow(lastWindow)->close(); });

        QVERIFY(!run.timedOut);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(lastClosed.count(), 1);
    }

    void a_material_dialog_left_alone_keeps_the_program_running()
    {
        CalculationWindow *uLoop = m_fixture.windows->openCalculation(Shape::ULoop);
        QVERIFY(Click(uLoop, "Command2"));
        QStringList windowsLeft;

        const EventLoopRun run = RunEventLoop([&] {
            uLoop->close();
            // Runs only if closing the calculation window did not end the program.
            QTimer::singleShot(0, qApp, [&] {
                windowsLeft = VisibleWindows();
                if (QWidget *dialog = FindWindow("Form3"))
                    dialog->close();
            });
        });

        QCOMPARE(windowsLeft, QStringList{"Form3"});
        QVERIFY(!run.timedOut);
        QCOMPARE(run.exitCode, 0);
    }

    void napoveda_twice_opens_one_dialog_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("U-loop") << int(Shape::ULoop) << "Form3";
        QTest::newRow("L-bend") << int(Shape::LBend) << "Form5";
    }
    void napoveda_twice_opens_one_dialog()
    {
        QFETCH(int, shape);
        QFETCH(QString, dialog);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));

        QVERIFY(Click(window, "Command2"));
        QWidget *first = FindWindow(dialog);
        QVERIFY(first);
        QCOMPARE(first->windowTitle(), QString("Nápověda"));
        auto *steel = Find<QRadioButton>(first, "Option1");
        QVERIFY(steel);
        steel->setChecked(true);
        QVERIFY(Click(window, "Command2"));

        QCOMPARE(VisibleWindows().count(dialog), 1);
        QCOMPARE(FindWindow(dialog), first);
        QVERIFY2(steel->isChecked(), "opening an open dialog must keep its choice");
    }

    void exit_asks_first_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<bool>("answerYes");
        QTest::newRow("U-loop, Yes closes the window") << int(Shape::ULoop) << true;
        QTest::newRow("U-loop, No keeps inputs and results") << int(Shape::ULoop) << false;
        QTest::newRow("L-bend, Yes closes the window") << int(Shape::LBend) << true;
        QTest::newRow("L-bend, No keeps inputs and results") << int(Shape::LBend) << false;
    }
    void exit_asks_first()
    {
        QFETCH(int, shape);
        QFETCH(bool, answerYes);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        const QString name = window->objectName();
        Find<QLineEdit>(window, "Text1(3)")->setText("95");
        QVERIFY(Click(window, "Command1"));
        const QStringList results = Results(window);
        const InputTexts boxes = Boxes(window);

        m_fixture.dialogs.answerYesNo(answerYes);
        QVERIFY(Click(window, "Command3"));

        QCOMPARE(m_fixture.dialogs.calls().size(), 1);
        QCOMPARE(m_fixture.dialogs.calls()[0].title, QString("Pozor"));
        QCOMPARE(m_fixture.dialogs.calls()[0].text, QString("Chcete opravdu opustit program?"));
        if (answerYes) {
            QCOMPARE(VisibleWindows(), QStringList());
        } else {
            QCOMPARE(FindWindow(name), window);
            QCOMPARE(Boxes(window), boxes);
            QCOMPARE(Results(window), results);
        }
    }

    void the_close_button_asks_nothing_data()
    {
        QTest::addColumn<int>("shape");
        QTest::newRow("U-loop") << int(Shape::ULoop);
        QTest::newRow("L-bend") << int(Shape::LBend);
    }
    void the_close_button_asks_nothing()
    {
        QFETCH(int, shape);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        QVERIFY(window->close());
        QCOMPARE(VisibleWindows(), QStringList());
        QCOMPARE(m_fixture.dialogs.calls().size(), 0);
    }

    void yes_with_the_dialog_open_closes_only_the_calculation_window()
    {
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape::LBend);
        QVERIFY(Click(window, "Command2"));
        m_fixture.dialogs.answerYesNo(true);
        QVERIFY(Click(window, "Command3"));
        QCOMPARE(VisibleWindows(), QStringList{"Form5"});
    }

    void a_dialog_outliving_its_window_opens_it_anew_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("written");  // 0 nothing, 1 steel, 2 polypropylene
        QTest::newRow("U-loop OK with Ocel writes steel into the fresh window")
            << int(Shape::ULoop) << "Option1" << "Command2" << 1;
        QTest::newRow("U-loop OK without a choice gives the defaults")
            << int(Shape::ULoop) << "" << "Command2" << 0;
        QTest::newRow("U-loop Bez výběru writes nothing, whatever is selected")
            << int(Shape::ULoop) << "Option1" << "Command1(1)" << 0;
        QTest::newRow("L-bend OK with Ocel writes steel into the fresh window")
            << int(Shape::LBend) << "Option1" << "Command2" << 1;
        QTest::newRow("L-bend OK with Polypropylen")
            << int(Shape::LBend) << "Option2" << "Command2" << 2;
        QTest::newRow("L-bend Bez výběru does what the U-loop one does")
            << int(Shape::LBend) << "Option2" << "Command1(1)" << 0;
    }
    void a_dialog_outliving_its_window_opens_it_anew()
    {
        QFETCH(int, shape);
        QFETCH(QString, option);
        QFETCH(QString, button);
        QFETCH(int, written);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        const QString name = window->objectName();
        const QString dialogName = name == "Form2" ? "Form3" : "Form5";
        Find<QLineEdit>(window, "Text1(13)")->setText("7");
        QVERIFY(Click(window, "Command1"));
        QVERIFY(Click(window, "Command2"));
        window->close();
        QWidget *dialog = FindWindow(dialogName);
        QVERIFY(dialog);
        if (!option.isEmpty())
            QVERIFY(Click(dialog, option));

        QVERIFY(Click(dialog, button));

        QTRY_COMPARE(VisibleWindows(), QStringList{name});
        QWidget *fresh = FindWindow(name);
        const MaterialPreset *presets[] = {nullptr, &kSteel, &kPolypropylene};
        QCOMPARE(Boxes(fresh), WithMaterial(Shape(shape), presets[written]));
        QCOMPARE(Results(fresh), QStringList({"", "", "", ""}));
    }

    void ok_without_a_choice_only_brings_the_window_to_the_front()
    {
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape::ULoop);
        Find<QLineEdit>(window, "Text1(1)")->setText("2000");
        const InputTexts before = Boxes(window);
        QVERIFY(Click(window, "Command2"));
        QWidget *dialog = FindWindow("Form3");
        QVERIFY(QTest::qWaitForWindowActive(dialog));

        QVERIFY(Click(dialog, "Command2"));

        QCOMPARE(VisibleWindows(), QStringList{"Form2"});
        QCOMPARE(FindWindow("Form2"), window);
        QCOMPARE(Boxes(window), before);
        QTRY_COMPARE(QApplication::activeWindow(), window);
    }

    void the_dialogs_close_button_writes_nothing()
    {
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape::LBend);
        QVERIFY(Click(window, "Command2"));
        QWidget *dialog = FindWindow("Form5");
        QVERIFY(Click(dialog, "Option1"));

        dialog->close();

        QCOMPARE(VisibleWindows(), QStringList{"Form4"});
        QCOMPARE(Boxes(window), DefaultTexts(Shape::LBend));
    }

    void napoveda_after_ok_shows_a_dialog_without_the_old_choice()
    {
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape::ULoop);
        QVERIFY(Click(window, "Command2"));
        QVERIFY(Click(FindWindow("Form3"), "Option1"));
        QVERIFY(Click(FindWindow("Form3"), "Command2"));
        QTRY_COMPARE(VisibleWindows(), QStringList{"Form2"});

        QVERIFY(Click(window, "Command2"));

        QWidget *dialog = FindWindow("Form3");
        QVERIFY(dialog);
        QVERIFY(!Find<QRadioButton>(dialog, "Option1")->isChecked());
        QVERIFY(!Find<QRadioButton>(dialog, "Option2")->isChecked());
    }

private:
    WindowsFixture m_fixture;
};

DILATANY_UI_TEST_MAIN(TestNavigation)
#include "tst_navigation.moc"
