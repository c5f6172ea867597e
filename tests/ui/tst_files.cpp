// The load and save commands of the calculation windows, with real files and
// scripted file dialogs, and the filter list of the real file dialog.
#include "ui_test_support.h"

#include "files/input_file.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>

using namespace dilatany;
using namespace dilatany::ui;
using namespace dilatany::ui::testing;

namespace {

/// A different text in every box, so that a box mixed up with another shows.
InputTexts DistinctTexts(Shape shape)
{
    InputTexts texts;
    texts.shape = shape;
    for (const InputField &field : Fields(shape))
        texts[field.index] = "ř" + std::to_string(field.index * 7 + 1) + " ž";
    texts[2] = "";  // an empty box is kept as it is
    texts[4] = std::string(40000, '9');  // longer than a line edit takes by default
    return texts;
}

void SetBoxes(QWidget *window, const InputTexts &texts)
{
    for (const InputField &field : Fields(texts.shape))
        Find<QLineEdit>(window, QStringLiteral("Text1(%1)").arg(field.index))
            ->setText(QString::fromStdString(texts[field.index]));
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<cannot read>");
}

} // namespace

class TestFiles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_fixture.init();
        m_tempOwner = std::make_unique<QTemporaryDir>();
        QVERIFY(temp().isValid());
        m_oldCurrent = QDir::currentPath();
        QVERIFY(QDir::setCurrent(temp().path()));
    }
    void cleanup()
    {
        QDir::setCurrent(m_oldCurrent);
        m_fixture.cleanup();
        m_tempOwner.reset();
    }

    void save_then_load_gives_the_same_boxes_data()
    {
        QTest::addColumn<int>("shape");
        QTest::newRow("U-loop") << int(Shape::ULoop);
        QTest::newRow("L-bend") << int(Shape::LBend);
    }
    void save_then_load_gives_the_same_boxes()
    {
        QFETCH(int, shape);
        const QString path = temp().filePath("set.dat");
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        SetBoxes(window, DistinctTexts(Shape(shape)));
        m_fixture.dialogs.answerSaveFile(path);
        Find<QAction>(window, "ulozit")->trigger();
        QVERIFY(QFile::exists(path));
        window->close();

        CalculationWindow *fresh = m_fixture.windows->openCalculation(Shape(shape));
        QVERIFY(fresh != window);
        QStringList changed;
        for (QLineEdit *box : fresh->findChildren<QLineEdit *>())
            connect(box, &QLineEdit::textChanged, this, [&changed, box] { changed << box->objectName(); });
        m_fixture.dialogs.answerOpenFile(path);
        Find<QAction>(fresh, "nacist")->trigger();

        QCOMPARE(Boxes(fresh), DistinctTexts(Shape(shape)));
        // Every box is set, in the order of the file's lines.
        QStringList fileOrder;
        for (int index : FileOrder(Shape(shape)))
            fileOrder << QStringLiteral("Text1(%1)").arg(index);
        QCOMPARE(changed, fileOrder);
    }

    void the_dialogs_offer_the_data_files_in_the_current_folder_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("title");
        QTest::newRow("U-loop load") << int(Shape::ULoop) << "nacist" << "Načtení dat";
        QTest::newRow("U-loop save") << int(Shape::ULoop) << "ulozit" << "Ulozit";
        QTest::newRow("L-bend load") << int(Shape::LBend) << "nacist" << "Načtení dat";
        QTest::newRow("L-bend save") << int(Shape::LBend) << "ulozit" << "Ulozit";
    }
    void the_dialogs_offer_the_data_files_in_the_current_folder()
    {
        QFETCH(int, shape);
        QFETCH(QString, action);
        QFETCH(QString, title);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        if (action == "nacist")
            m_fixture.dialogs.answerOpenFile(std::nullopt);
        else
            m_fixture.dialogs.answerSaveFile(std::nullopt);

        Find<QAction>(window, action)->trigger();

        QCOMPARE(m_fixture.dialogs.calls().size(), 1);
        const FileDialogRequest &request = m_fixture.dialogs.calls()[0].request;
        QCOMPARE(request.title, title);
        QCOMPARE(QDir(request.directory), QDir(temp().path()));
        const QList<FileFilter> filters{{"data (*.dat)", "*.dat"}, {"všechny soubory (*.*)", "*"}};
        QCOMPARE(request.filters, filters);
        // Cancelled: no file, no change.
        QCOMPARE(QDir(temp().path()).entryList(QDir::Files), QStringList());
        QCOMPARE(Boxes(window), DefaultTexts(Shape(shape)));
    }

    void a_refused_load_changes_no_box_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<QByteArray>("content");  // empty: no file at all
        QTest::addColumn<bool>("folder");
        QTest::newRow("missing file") << int(Shape::ULoop) << QByteArray() << false;
        QTest::newRow("too few fields for the U-loop")
            << int(Shape::ULoop) << QByteArray("\"1\"\r\n\"2\"\r\n\"3\"\r\n") << false;
        QTest::newRow("a U-loop file loaded into the L-bend window")
            << int(Shape::LBend) << QByteArray("\"1\"\r\n").repeated(12) << false;
        QTest::newRow("a folder") << int(Shape::LBend) << QByteArray() << true;
    }
    void a_refused_load_changes_no_box()
    {
        QFETCH(int, shape);
        QFETCH(QByteArray, content);
        QFETCH(bool, folder);
        QString path = temp().filePath("in.dat");
        if (folder) {
            QVERIFY(QDir(temp().path()).mkdir("in.dat"));
        } else if (!content.isEmpty()) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape(shape));
        Find<QLineEdit>(window, "Text1(3)")->setText("70");
        QVERIFY(Click(window, "Command1"));
        const InputTexts boxes = Boxes(window);
        const QStringList results = Results(window);
        const auto refusal = files::ReadInputFile(path.toStdString(), Shape(shape), path.toStdString());
        QVERIFY(std::holds_alternative<files::FileError>(refusal));

        m_fixture.dialogs.answerOpenFile(path);
        m_fixture.dialogs.expectMessage();
        Find<QAction>(window, "nacist")->trigger();

        const DialogCall &message = m_fixture.dialogs.calls().last();
        QCOMPARE(message.title, QString("Načtení dat"));
        QCOMPARE(message.text, QString::fromStdString(std::get<files::FileError>(refusal).message));
        QCOMPARE(Boxes(window), boxes);
        QCOMPARE(Results(window), results);
    }

    void a_failed_save_says_so_and_keeps_what_was_there_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("existingFolder");
        QTest::newRow("in a folder that does not exist") << "no-such-folder/set.dat" << false;
        QTest::newRow("over a folder") << "set.dat" << true;
    }
    void a_failed_save_says_so_and_keeps_what_was_there()
    {
        QFETCH(QString, name);
        QFETCH(bool, existingFolder);
        const QString path = temp().filePath(name);
        if (existingFolder)
            QVERIFY(QDir(temp().path()).mkdir(name));
        const QStringList before = QDir(temp().path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape::ULoop);

        m_fixture.dialogs.answerSaveFile(path);
        m_fixture.dialogs.expectMessage();
        Find<QAction>(window, "ulozit")->trigger();

        const DialogCall &message = m_fixture.dialogs.calls().last();
        QCOMPARE(message.kind, DialogKind::Message);
        QCOMPARE(message.title, QString("Ulozit"));
        QVERIFY(!message.text.isEmpty());
        QCOMPARE(QDir(temp().path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(QFileInfo(path).isDir() == existingFolder);
    }

    void saving_over_a_file_replaces_it()
    {
        const QString path = temp().filePath("set.dat");
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("old");
        }
        CalculationWindow *window = m_fixture.windows->openCalculation(Shape::LBend);
        m_fixture.dialogs.answerSaveFile(path);
        Find<QAction>(window, "ulozit")->trigger();

        const auto encoded = files::EncodeInputData(DefaultTexts(Shape::LBend));
        QVERIFY(std::holds_alternative<std::string>(encoded));
        QCOMPARE(ReadAll(path), QByteArray::fromStdString(std::get<std::string>(encoded)));
    }

    void the_real_dialog_shows_the_filter_texts_and_every_file()
    {
        QTemporaryDir folder;
        for (const char *name : {"a.dat", "README", "b.txt"}) {
            QFile file(folder.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const FileDialogRequest request{"Načtení dat", folder.path(),
                                        {{"data (*.dat)", "*.dat"}, {"všechny soubory (*.*)", "*"}}};
        QFileDialog dialog;
        QtUserDialogs::prepareFileDialog(dialog, request);

        QCOMPARE(dialog.windowTitle(), QString("Načtení dat"));
        QCOMPARE(QDir(dialog.directory()), QDir(folder.path()));
        auto *combo = dialog.findChild<QComboBox *>("fileTypeCombo");
        QVERIFY(combo);
        QStringList shown;
        for (int i = 0; i < combo->count(); ++i)
            shown << combo->itemText(i);
        QCOMPARE(shown, QStringList({"data (*.dat)", "všechny soubory (*.*)"}));
        QCOMPARE(combo->currentIndex(), 0);
        QTRY_COMPARE(Listed(dialog), QStringList{"a.dat"});

        dialog.selectNameFilter("všechny soubory (*.*)");

        QTRY_COMPARE(Listed(dialog), QStringList({"README", "a.dat", "b.txt"}));
    }

private:
    QTemporaryDir &temp() { return *m_tempOwner; }

    /// The file names the dialog's list shows, sorted.
    static QStringList Listed(QFileDialog &dialog)
    {
        auto *list = dialog.findChild<QListView *>("listView");
        if (!list || !list->model())
            return {"<no list>"};
        QStringList names;
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < list->model()->rowCount(root); ++row)
            names << list->model()->index(row, 0, root).data().toString();
        names.sort();
        return names;
    }

    WindowsFixture m_fixture;
    std::unique_ptr<QTemporaryDir> m_tempOwner;  // a new folder for every test
    QString m_oldCurrent;
};

DILATANY_UI_TEST_MAIN(TestFiles)
#include "tst_files.moc"
