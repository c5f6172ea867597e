// The calculate button, the result labels, the blanking of one label on every
// input change, and the material presets.
#include "ui_test_support.h"

#include "core/material_preset.h"
#include "files/input_file.h"

#include <QSignalSpy>
#include <QTemporaryDir>

using namespace dilatany;
using namespace dilatany::ui;
using namespace dilatany::ui::testing;

namespace {

enum class Change { Typing, Preset, Load };

} // namespace

class TestCalculation : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_fixture.init(); }
    void cleanup() { m_fixture.cleanup(); }

    void results_of_known_inputs_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<bool>("steel");
        QTest::addColumn<QStringList>("edits");  // "Text1(i)=text"
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("U-loop defaults")
            << int(Shape::ULoop) << false << QStringList() << QStringList({"20.00", "5.33", "73", "Vyhovuje"});
        QTest::newRow("L-bend defaults")
            << int(Shape::LBend) << false << QStringList() << QStringList({"20.00", "7.01", "65", "Vyhovuje"});
        QTest::newRow("U-loop with steel")
            << int(Shape::ULoop) << true << QStringList() << QStringList({"174.07", "97.25", "44", "Vyhovuje"});
        QTest::newRow("L-bend with steel")
            << int(Shape::LBend) << true << QStringList() << QStringList({"174.07", "128.01", "26", "Vyhovuje"});
        QTest::newRow("U-loop failing with a strength of 5")
            << int(Shape::ULoop) << false << QStringList{"Text1(2)=5"}
            << QStringList({"3.70", "5.33", "-44", "!!! Nevyhovuje !!!"});
    }
    void results_of_known_inputs()
    {
        QFETCH(int, shape);
        QFETCH(bool, steel);
        QFETCH(QStringList, edits);
        QFETCH(QStringList, expected);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        if (steel) {
            QVERIFY(Click(window, "Command2"));
            QWidget *dialog = FindWindow(shape == int(Shape::ULoop) ? "Form3" : "Form5");
            QVERIFY(Click(dialog, "Option1"));
            QVERIFY(Click(dialog, "Command2"));
        }
        QVERIFY(Edit(window, edits));

        QVERIFY(Click(window, "Command1"));

        QCOMPARE(Results(window), expected);
        const QString labelName = shape == int(Shape::ULoop) ? "Label3(%1)" : "Label2(%1)";
        for (int i = 0; i < 4; ++i) {
            auto *label = Find<QLabel>(window, labelName.arg(i));
            QCOMPARE(label->accessibleName(), expected[i]);
        }
        auto *verdict = Find<QLabel>(window, labelName.arg(3));
        QCOMPARE(verdict->palette().color(verdict->foregroundRole()), QColor(255, 0, 0));
    }

    void labels_are_written_in_the_windows_order_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("U-loop: allowable stress, stress, reserve, verdict")
            << int(Shape::ULoop) << QStringList({"Label3(0)", "Label3(1)", "Label3(2)", "Label3(3)"});
        QTest::newRow("L-bend: the verdict first")
            << int(Shape::LBend) << QStringList({"Label2(3)", "Label2(0)", "Label2(1)", "Label2(2)"});
    }
    void labels_are_written_in_the_windows_order()
    {
        QFETCH(int, shape);
        QFETCH(QStringList, order);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        QSignalSpy written(window, &CalculationWindow::resultWritten);

        QVERIFY(Click(window, "Command1"));

        QStringList labels;
        for (const QList<QVariant> &signal : written)
            labels << QString(shape == int(Shape::ULoop) ? "Label3(%1)" : "Label2(%1)").arg(signal[0].toInt());
        QCOMPARE(labels, order);
    }

    void an_input_change_blanks_one_label_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("change");
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("blanked");
        QTest::newRow("U-loop typing in L1 blanks the allowable stress")
            << int(Shape::ULoop) << int(Change::Typing) << "Text1(5)" << 0;
        QTest::newRow("U-loop typing in the modulus blanks the allowable stress")
            << int(Shape::ULoop) << int(Change::Typing) << "Text1(1)" << 0;
        QTest::newRow("U-loop steel preset blanks the allowable stress")
            << int(Shape::ULoop) << int(Change::Preset) << "" << 0;
        QTest::newRow("U-loop loading a file blanks the allowable stress")
            << int(Shape::ULoop) << int(Change::Load) << "" << 0;
        QTest::newRow("L-bend typing in L1 blanks the stress")
            << int(Shape::LBend) << int(Change::Typing) << "Text1(11)" << 1;
        QTest::newRow("L-bend typing in the water temperature blanks the stress")
            << int(Shape::LBend) << int(Change::Typing) << "Text1(3)" << 1;
        QTest::newRow("L-bend steel preset blanks the stress")
            << int(Shape::LBend) << int(Change::Preset) << "" << 1;
        QTest::newRow("L-bend loading a file blanks the stress")
            << int(Shape::LBend) << int(Change::Load) << "" << 1;
    }
    void an_input_change_blanks_one_label()
    {
        QFETCH(int, shape);
        QFETCH(int, change);
        QFETCH(QString, box);
        QFETCH(int, blanked);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        QVERIFY(Click(window, "Command1"));
        QStringList expected = Results(window);
        expected[blanked].clear();

        QTemporaryDir folder;
        switch (Change(change)) {
        case Change::Typing:
            QTest::keyClicks(Find<QLineEdit>(window, box), "1");
            break;
        case Change::Preset: {
            QVERIFY(Click(window, "Command2"));
            QWidget *dialog = FindWindow(shape == int(Shape::ULoop) ? "Form3" : "Form5");
            QVERIFY(Click(dialog, "Option1"));
            QVERIFY(Click(dialog, "Command2"));
            break;
        }
        case Change::Load: {
            InputTexts texts = DefaultTexts(Shape(shape));
            texts[4] = "12";
            const QString path = folder.filePath("input.dat");
            QVERIFY(!files::WriteInputFile(path.toStdString(), texts, "input.dat"));
            m_fixture.dialogs.answerOpenFile(path);
            Find<QAction>(window, "nacist")->trigger();
            QCOMPARE(Boxes(window), texts);
            break;
        }
        }

        QCOMPARE(Results(window), expected);
        const QString labelName = shape == int(Shape::ULoop) ? "Label3(%1)" : "Label2(%1)";
        QCOMPARE(Find<QLabel>(window, labelName.arg(blanked))->accessibleName(), QString());
    }

    void a_check_that_cannot_finish_changes_no_label_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("icon");
        QTest::newRow("empty modulus on the U-loop")
            << int(Shape::ULoop) << QStringList{"Text1(1)="} << "Chybný údaj"
            << "Tyto údaje nejsou čísla: Modul pružnosti" << int(MessageIcon::Warning);
        QTest::newRow("letters in L1 on the L-bend")
            << int(Shape::LBend) << QStringList{"Text1(11)=abc"} << "Chybný údaj"
            << "Tyto údaje nejsou čísla: Délka L1" << int(MessageIcon::Warning);
        QTest::newRow("two unreadable inputs, named in the order they are read")
            << int(Shape::ULoop) << QStringList{"Text1(0)=x", "Text1(14)="} << "Chybný údaj"
            << "Tyto údaje nejsou čísla: Vnější průmer potrubí, Součinitel teplotní roztažnosti"
            << int(MessageIcon::Warning);
        QTest::newRow("zero strength on the U-loop divides by zero")
            << int(Shape::ULoop) << QStringList{"Text1(2)=0"} << "Chyba výpočtu"
            << "Výpočet nelze dokončit: dělení nulou." << int(MessageIcon::Critical);
        QTest::newRow("modulus beyond single precision on the L-bend overflows")
            << int(Shape::LBend) << QStringList{"Text1(1)=1e33"} << "Chyba výpočtu"
            << "Výpočet nelze dokončit: přetečení." << int(MessageIcon::Critical);
        QTest::newRow("negative wall on the U-loop is an invalid operation")
            << int(Shape::ULoop) << QStringList{"Text1(13)=-1"} << "Chyba výpočtu"
            << "Výpočet nelze dokončit: neplatná operace." << int(MessageIcon::Critical);
    }
    void a_check_that_cannot_finish_changes_no_label()
    {
        QFETCH(int, shape);
        QFETCH(QStringList, edits);
        QFETCH(QString, title);
        QFETCH(QString, message);
        QFETCH(int, icon);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        QVERIFY(Click(window, "Command1"));
        QVERIFY(Edit(window, edits));
        const QStringList before = Results(window);

        m_fixture.dialogs.expectMessage();
        QVERIFY(Click(window, "Command1"));

        QCOMPARE(m_fixture.dialogs.calls().size(), 1);
        const DialogCall &call = m_fixture.dialogs.calls()[0];
        QCOMPARE(call.title, title);
        QCOMPARE(call.text, message);
        QCOMPARE(int(call.icon), icon);
        QCOMPARE(Results(window), before);
    }

    void enter_and_escape_in_a_box_do_nothing_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("box");
        QTest::newRow("U-loop distance of the fixed points") << int(Shape::ULoop) << "Text1(8)";
        QTest::newRow("L-bend installation temperature") << int(Shape::LBend) << "Text1(4)";
    }
    void enter_and_escape_in_a_box_do_nothing()
    {
        QFETCH(int, shape);
        QFETCH(QString, box);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        auto *edit = Find<QLineEdit>(window, box);

        QTest::keyClick(edit, Qt::Key_Return);
        QTest::keyClick(edit, Qt::Key_Enter);
        QTest::keyClick(edit, Qt::Key_Escape);

        QCOMPARE(Results(window), QStringList({"", "", "", ""}));
        QVERIFY(window->isVisible());
    }

    void presets_write_the_three_material_boxes_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("material");
        const QStringList steel{QString::fromStdString(kSteel.alphaText()), "210000", "235"};
        const QStringList polypropylene{QString::fromStdString(kPolypropylene.alphaText()), "1150", "27"};
        QTest::newRow("Ocel on the U-loop") << int(Shape::ULoop) << QStringList{"Option1"} << steel;
        QTest::newRow("Ocel on the L-bend") << int(Shape::LBend) << QStringList{"Option1"} << steel;
        QTest::newRow("Polypropylen on the L-bend restores the defaults")
            << int(Shape::LBend) << QStringList{"Option2"} << polypropylene;
        QTest::newRow("Ocel, then Polypropylen, writes polypropylene")
            << int(Shape::ULoop) << QStringList({"Option1", "Option2"}) << polypropylene;
        QTest::newRow("no option writes nothing") << int(Shape::LBend) << QStringList() << QStringList({"1", "2", "3"});
    }
    void presets_write_the_three_material_boxes()
    {
        QFETCH(int, shape);
        QFETCH(QStringList, options);
        QFETCH(QStringList, material);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        QVERIFY(Edit(window, {"Text1(0)=1", "Text1(1)=2", "Text1(2)=3", "Text1(3)=55"}));
        InputTexts expected = Boxes(window);
        for (int i = 0; i < 3; ++i)
            expected[i] = material[i].toStdString();
        QVERIFY(Click(window, "Command2"));
        QWidget *dialog = FindWindow(shape == int(Shape::ULoop) ? "Form3" : "Form5");
        for (const QString &option : options)
            QVERIFY(Click(dialog, option));

        QVERIFY(Click(dialog, "Command2"));

        QCOMPARE(VisibleWindows(), QStringList{window->objectName()});
        QCOMPARE(Boxes(window), expected);
        QCOMPARE(Results(window), QStringList({"", "", "", ""}));
    }

private:
    /// Sets boxes by "Text1(i)=text"; false if a box is missing.
    static bool Edit(QWidget *window, const QStringList &edits)
    {
        for (const QString &edit : edits) {
            const qsizetype equals = edit.indexOf('=');
            auto *box = Find<QLineEdit>(window, edit.left(equals));
            if (!box)
                return false;
            box->setText(edit.mid(equals + 1));
        }
        return true;
    }

    WindowsFixture m_fixture;
};

DILATANY_UI_TEST_MAIN(TestCalculation)
#include "tst_calculation.moc"
