// What the windows look like and how the keyboard moves through them: client
// areas and places in twips, fonts and colours, texts, focus order, no default
// buttons, names for screen readers and the drawings.
#include "ui_test_support.h"

#include "ui/drawing.h"
#include "ui/form1.h"
#include "ui/material_dialog.h"

#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>

using namespace dilatany;
using namespace dilatany::ui;
using namespace dilatany::ui::testing;

namespace {

enum class Window { Main, ULoop, ULoopMaterial, LBend, LBendMaterial };

QWidget *Open(WindowRegistry &windows, Window window)
{
    switch (window) {
    case Window::Main:
        return windows.openMain();
    case Window::ULoop:
        return windows.openCalculation(Shape::ULoop);
    case Window::ULoopMaterial:
        return windows.openMaterialDialog(Shape::ULoop);
    case Window::LBend:
        return windows.openCalculation(Shape::LBend);
    case Window::LBendMaterial:
        return windows.openMaterialDialog(Shape::LBend);
    }
    return nullptr;
}

/// The area below the menu bar, where the design's controls stand.
QWidget *ClientArea(QWidget *window)
{
    if (auto *main = qobject_cast<QMainWindow *>(window))
        return main->centralWidget();
    return window;
}

void AddWindows()
{
    QTest::addColumn<int>("window");
    QTest::newRow("main window") << int(Window::Main);
    QTest::newRow("U-loop window") << int(Window::ULoop);
    QTest::newRow("U-loop material dialog") << int(Window::ULoopMaterial);
    QTest::newRow("L-bend window") << int(Window::LBend);
    QTest::newRow("L-bend material dialog") << int(Window::LBendMaterial);
}

} // namespace

class TestLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { m_fixture.init(); }
    void cleanup() { m_fixture.cleanup(); }

    void tab_runs_through_the_focus_order_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("main window") << int(Window::Main) << QStringList({"Command1", "Command2"});
        QTest::newRow("U-loop window, from the distance of the fixed points to L1")
            << int(Window::ULoop)
            << QStringList({"Text1(8)", "Text1(9)", "Text1(10)", "Text1(12)", "Text1(13)", "Text1(14)",
                            "Command1", "Text1(0)", "Text1(1)", "Command2", "Text1(2)", "Text1(3)",
                            "Text1(4)", "Command3", "Text1(5)"});
        QTest::newRow("U-loop material dialog, from Bez výběru")
            << int(Window::ULoopMaterial) << QStringList({"Command1(1)", "Command2", "Option1", "Option2"});
        QTest::newRow("L-bend window, from the temperatures to the buttons")
            << int(Window::LBend)
            << QStringList({"Text1(4)", "Text1(3)", "Text1(2)", "Command2", "Text1(1)", "Text1(0)",
                            "Text1(14)", "Text1(13)", "Text1(12)", "Text1(11)", "Text1(10)", "Command1",
                            "Command3"});
        QTest::newRow("L-bend material dialog, from Polypropylen")
            << int(Window::LBendMaterial) << QStringList({"Option2", "Option1", "Command2", "Command1(1)"});
    }
    void tab_runs_through_the_focus_order()
    {
        QFETCH(int, window);
        QFETCH(QStringList, order);
        QWidget *shown = Open(*m_fixture.windows, Window(window));
        QVERIFY(QTest::qWaitForWindowActive(shown));
        QVERIFY(QApplication::focusWidget());
        QCOMPARE(QApplication::focusWidget()->objectName(), order.first());

        QStringList visited{QApplication::focusWidget()->objectName()};
        for (int step = 0; step < order.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }

        QCOMPARE(visited, order + QStringList{order.first()});
    }

    void focus_on_an_option_does_not_select_it()
    {
        QWidget *dialog = m_fixture.windows->openMaterialDialog(Shape::LBend);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(QApplication::focusWidget(), Find<QWidget>(dialog, "Option2"));
        QVERIFY(!Find<QRadioButton>(dialog, "Option1")->isChecked());
        QVERIFY(!Find<QRadioButton>(dialog, "Option2")->isChecked());
    }

    void no_button_is_a_default_button_data() { AddWindows(); }
    void no_button_is_a_default_button()
    {
        QFETCH(int, window);
        QWidget *shown = Open(*m_fixture.windows, Window(window));
        const auto buttons = shown->findChildren<QPushButton *>();
        QVERIFY(!buttons.isEmpty());
        for (QPushButton *button : buttons) {
            QVERIFY2(!button->isDefault() && !button->autoDefault(), qPrintable(button->objectName()));
        }
    }

    void client_areas_have_the_designed_size_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QSize>("size");  // the twips divided by 15, rounded
        QTest::newRow("main window") << int(Window::Main) << "Form1" << "Dilatany" << QSize(322, 226);
        QTest::newRow("U-loop window") << int(Window::ULoop) << "Form2" << "Dilatan U" << QSize(666, 550);
        QTest::newRow("U-loop material dialog") << int(Window::ULoopMaterial) << "Form3" << "Nápověda" << QSize(306, 201);
        QTest::newRow("L-bend window") << int(Window::LBend) << "Form4" << "Dilatan L" << QSize(673, 551);
        QTest::newRow("L-bend material dialog") << int(Window::LBendMaterial) << "Form5" << "Nápověda" << QSize(312, 213);
    }
    void client_areas_have_the_designed_size()
    {
        QFETCH(int, window);
        QFETCH(QString, name);
        QFETCH(QString, title);
        QFETCH(QSize, size);
        QWidget *shown = Open(*m_fixture.windows, Window(window));
        QVERIFY(QTest::qWaitForWindowExposed(shown));
        QCOMPARE(shown->objectName(), name);
        QCOMPARE(shown->windowTitle(), title);
        QCOMPARE(ClientArea(shown)->size(), size);
    }

    void controls_stand_where_the_design_puts_them_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("pixels");  // relative to the container
        QTest::newRow("main window hint") << int(Window::Main) << "Label2" << QRect(32, 120, 257, 25);
        QTest::newRow("U-loop outside diameter box") << int(Window::ULoop) << "Text1(14)" << QRect(176, 32, 49, 19);
        QTest::newRow("U-loop temperature box, narrow") << int(Window::ULoop) << "Text1(3)" << QRect(168, 24, 33, 19);
        QTest::newRow("U-loop drawing") << int(Window::ULoop) << "Picture1" << QRect(24, 328, 288, 208);
        QTest::newRow("U-loop material button in its group") << int(Window::ULoop) << "Command2" << QRect(24, 136, 89, 25);
        QTest::newRow("L-bend temperature box, wide") << int(Window::LBend) << "Text1(3)" << QRect(168, 24, 73, 19);
        QTest::newRow("L-bend verdict") << int(Window::LBend) << "Label2(3)" << QRect(96, 136, 177, 17);
        QTest::newRow("L-bend results group") << int(Window::LBend) << "Frame4" << QRect(344, 368, 305, 169);
        QTest::newRow("L-bend dialog OK") << int(Window::LBendMaterial) << "Command2" << QRect(40, 144, 81, 25);
    }
    void controls_stand_where_the_design_puts_them()
    {
        QFETCH(int, window);
        QFETCH(QString, control);
        QFETCH(QRect, pixels);
        QWidget *widget = Find(Open(*m_fixture.windows, Window(window)), control);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), pixels);
    }

    void fonts_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<double>("points");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<bool>("underline");
        QTest::newRow("shape button") << int(Window::Main) << "Command1" << 8.4 << true << true;
        QTest::newRow("keyboard hint") << int(Window::Main) << "Label2" << 12.0 << true << false;
        QTest::newRow("credit line in the window font") << int(Window::Main) << "Label1(1)" << 8.0 << false << false;
        QTest::newRow("group caption") << int(Window::ULoop) << "Frame1" << 9.6 << true << false;
        QTest::newRow("box inside a bold group keeps the window font") << int(Window::ULoop) << "Text1(14)" << 8.0 << false << false;
        QTest::newRow("caption label") << int(Window::ULoop) << "Label1(14)" << 8.4 << true << false;
        QTest::newRow("centre-line note") << int(Window::LBend) << "Label1(30)" << 7.8 << false << false;
        QTest::newRow("material button in the window font") << int(Window::LBend) << "Command2" << 8.0 << false << false;
        QTest::newRow("calculate button") << int(Window::LBend) << "Command1" << 9.6 << true << false;
        QTest::newRow("result") << int(Window::LBend) << "Label2(0)" << 9.6 << true << false;
        QTest::newRow("verdict") << int(Window::ULoop) << "Label3(3)" << 9.6 << true << true;
        QTest::newRow("option") << int(Window::ULoopMaterial) << "Option1" << 8.0 << false << false;
    }
    void fonts()
    {
        QFETCH(int, window);
        QFETCH(QString, control);
        QFETCH(double, points);
        QFETCH(bool, bold);
        QFETCH(bool, underline);
        QWidget *widget = Find(Open(*m_fixture.windows, Window(window)), control);
        QVERIFY(widget);
        QCOMPARE(widget->font().family(), QString("Arial"));
        QCOMPARE(widget->font().pointSizeF(), points);
        QCOMPARE(widget->font().bold(), bold);
        QCOMPARE(widget->font().underline(), underline);
    }

    void red_texts_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("control");
        QTest::newRow("keyboard hint") << int(Window::Main) << "Label2";
        QTest::newRow("U-loop verdict") << int(Window::ULoop) << "Label3(3)";
        QTest::newRow("L-bend verdict") << int(Window::LBend) << "Label2(3)";
    }
    void red_texts()
    {
        QFETCH(int, window);
        QFETCH(QString, control);
        QWidget *widget = Find(Open(*m_fixture.windows, Window(window)), control);
        QVERIFY(widget);
        QCOMPARE(widget->palette().color(widget->foregroundRole()), QColor(255, 0, 0));
    }

    void texts_keep_their_spelling_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("text");
        QTest::newRow("U-loop diameter") << int(Window::ULoop) << "Label1(14)" << "Vnější průmer potrubí";
        QTest::newRow("L-bend diameter") << int(Window::LBend) << "Label1(14)" << "Vnější pruměr potrubí";
        QTest::newRow("expansion caption ends with a blank") << int(Window::ULoop) << "Label1(7)" << "Součinitel teplotní roztažnosti ";
        QTest::newRow("modulus caption ends with a blank") << int(Window::LBend) << "Label1(15)" << "Modul pružnosti ";
        QTest::newRow("centre-line note") << int(Window::ULoop) << "Label1(30)" << "(ke střednici)";
        QTest::newRow("U-loop allowable stress") << int(Window::ULoop) << "Label1(24)" << "Dovolené napětí";
        QTest::newRow("L-bend allowable stress") << int(Window::LBend) << "Label1(24)" << "Dovolene napětí";
        QTest::newRow("U-loop L1 in millimetres") << int(Window::ULoop) << "Label1(2)" << "[mm]";
        QTest::newRow("L-bend L1 in metres") << int(Window::LBend) << "Label1(2)" << "[m]";
        QTest::newRow("reserve unit") << int(Window::LBend) << "Label1(29)" << "%";
        QTest::newRow("hint") << int(Window::Main) << "Label2" << "Přepněte na anglickou klávesnici!";
        QTest::newRow("program name") << int(Window::Main) << "Label1(0)" << "Dilatany";
        QTest::newRow("version") << int(Window::Main) << "Label1(1)" << "verze " DILATANY_VERSION;
        QTest::newRow("year") << int(Window::Main) << "Label1(2)" << "2026";
        QTest::newRow("U-loop without a choice") << int(Window::ULoopMaterial) << "Command1(1)" << "Bez výběru";
        QTest::newRow("L-bend polypropylene") << int(Window::LBendMaterial) << "Option2" << "Polypropylen";
        QTest::newRow("group") << int(Window::LBend) << "Frame2(0)" << "Materiál";
        QTest::newRow("material button") << int(Window::LBend) << "Command2" << "Nápověda";
    }
    void texts_keep_their_spelling()
    {
        QFETCH(int, window);
        QFETCH(QString, control);
        QFETCH(QString, text);
        QObject *widget = Find(Open(*m_fixture.windows, Window(window)), control);
        QVERIFY(widget);
        const char *property = qobject_cast<QGroupBox *>(widget) ? "title" : "text";
        QCOMPARE(widget->property(property).toString(), text);
    }

    void menus_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QStringList>("items");
        QTest::newRow("U-loop") << int(Window::ULoop) << "data" << QStringList({"&Uložit", "&Načíst"});
        QTest::newRow("L-bend, without diacritics") << int(Window::LBend) << "Data" << QStringList({"&Ulozit", "&Nacist"});
    }
    void menus()
    {
        QFETCH(int, window);
        QFETCH(QString, menu);
        QFETCH(QStringList, items);
        auto *shown = qobject_cast<QMainWindow *>(Open(*m_fixture.windows, Window(window)));
        QVERIFY(shown);
        const QList<QAction *> bar = shown->menuBar()->actions();
        QCOMPARE(bar.size(), 1);
        QCOMPARE(bar[0]->text(), QString("&Data"));
        QCOMPARE(bar[0]->menu()->objectName(), menu);
        const QList<QAction *> actions = bar[0]->menu()->actions();
        QCOMPARE(actions.size(), 2);
        QCOMPARE(actions[0]->objectName(), QString("ulozit"));
        QCOMPARE(actions[0]->text(), items[0]);
        QCOMPARE(actions[1]->objectName(), QString("nacist"));
        QCOMPARE(actions[1]->text(), items[1]);
        QVERIFY(actions[0]->shortcut().isEmpty() && actions[1]->shortcut().isEmpty());
    }

    void boxes_are_built_from_the_field_table_data()
    {
        QTest::addColumn<int>("window");
        QTest::newRow("U-loop") << int(Window::ULoop);
        QTest::newRow("L-bend") << int(Window::LBend);
    }
    void boxes_are_built_from_the_field_table()
    {
        QFETCH(int, window);
        QWidget *shown = Open(*m_fixture.windows, Window(window));
        const Shape shape = Window(window) == Window::ULoop ? Shape::ULoop : Shape::LBend;
        QCOMPARE(shown->findChildren<QLineEdit *>().size(), qsizetype(Fields(shape).size()));
        for (const InputField &field : Fields(shape)) {
            auto *box = Find<QLineEdit>(shown, QStringLiteral("Text1(%1)").arg(field.index));
            QVERIFY(box);
            QCOMPARE(box->text().toStdString(), std::string(field.defaultText));
            QCOMPARE(box->accessibleName().toStdString(),
                     std::string(TrimmedCaption(field)) + " " + std::string(field.unit));
        }
        QCOMPARE(Find<QLineEdit>(shown, "Text1(1)")->accessibleName(), QString("Modul pružnosti [MPa]"));
    }

    void result_labels_carry_their_caption_for_screen_readers_data()
    {
        QTest::addColumn<int>("window");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("description");
        QTest::newRow("U-loop allowable stress") << int(Window::ULoop) << "Label3(0)" << "Dovolené napětí";
        QTest::newRow("U-loop reserve") << int(Window::ULoop) << "Label3(2)" << "Rezerva napětí";
        QTest::newRow("L-bend stress") << int(Window::LBend) << "Label2(1)" << "Napětí na dilatanu";
        QTest::newRow("L-bend verdict, with the group's caption") << int(Window::LBend) << "Label2(3)" << "Výsledky";
    }
    void result_labels_carry_their_caption_for_screen_readers()
    {
        QFETCH(int, window);
        QFETCH(QString, label);
        QFETCH(QString, description);
        auto *result = Find<QLabel>(Open(*m_fixture.windows, Window(window)), label);
        QVERIFY(result);
        QCOMPARE(result->accessibleDescription(), description);
        QCOMPARE(result->text(), QString());
    }

    void drawings_are_shown_and_take_no_focus_data()
    {
        QTest::addColumn<int>("window");
        QTest::newRow("U-loop") << int(Window::ULoop);
        QTest::newRow("L-bend") << int(Window::LBend);
    }
    void drawings_are_shown_and_take_no_focus()
    {
        QFETCH(int, window);
        QWidget *shown = Open(*m_fixture.windows, Window(window));
        auto *drawing = Find<Drawing>(shown, "Picture1");
        QVERIFY(drawing);
        QVERIFY(drawing->isValid());
        QCOMPARE(drawing->focusPolicy(), Qt::NoFocus);
        // Something black is drawn on the white ground.
        const QImage image = drawing->grab().toImage();
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
        bool ink = false;
        for (int y = 0; y < image.height() && !ink; ++y)
            for (int x = 0; x < image.width() && !ink; ++x)
                ink = qGray(image.pixel(x, y)) < 64;
        QVERIFY(ink);
    }

private:
    WindowsFixture m_fixture;
};

DILATANY_UI_TEST_MAIN(TestLayout)
#include "tst_layout.moc"
