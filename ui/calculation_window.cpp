#include "ui/calculation_window.h"

#include "core/evaluate.h"
#include "core/messages.h"
#include "files/input_file.h"
#include "ui/controls.h"
#include "ui/drawing.h"
#include "ui/user_dialogs.h"
#include "ui/window_registry.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include <filesystem>
#include <limits>
#include <type_traits>
#include <vector>
#include <variant>

namespace dilatany::ui {
namespace {

constexpr double kCaptionPoints = 8.4;
constexpr double kGroupPoints = 9.6;
constexpr double kResultPoints = 9.6;
constexpr int kUnitWidth = 495;
constexpr int kUnitHeight = 255;
constexpr int kBoxHeight = 285;

const QString kResultsCaption = QStringLiteral("Výsledky");

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// Both commands offer the data files first and every file second; the second
/// entry reads "(*.*)" but shows names without a dot too.
FileDialogRequest DataFileRequest(const QString &title)
{
    return {title,
            QDir::currentPath(),
            {{QStringLiteral("data (*.dat)"), QStringLiteral("*.dat")},
             {QStringLiteral("všechny soubory (*.*)"), QStringLiteral("*")}}};
}

// Where paths are wide (Windows), the name goes over as UTF-16 as it is; the
// ANSI code page would lose every letter outside it. Elsewhere the name takes
// the file system's 8-bit encoding.
std::filesystem::path ToPath(const QString &fileName)
{
    if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>)
        return std::filesystem::path(fileName.toStdWString());
    else
        return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

} // namespace

/// Marks the span of one modal dialog of the window, for its whole nested
/// event loop. The dialog is a child of the window, so the window must not be
/// deleted while it runs: a screen reader can still press "Konec" and "Ano"
/// (Qt's modality blocks the mouse and the window manager's close, not the
/// accessible press action), and code can call close(). Either closes the
/// window only once the dialog has returned: closeEvent() refuses the close
/// while any dialog runs, and the end of the last one queues it again, to be
/// carried out when the handler that opened the dialog has returned too. So no
/// handler ever finds its window gone after a dialog.
/// Used as a temporary, `ModalDialog(*this).dialogs().askYesNo(...)`, it spans
/// exactly the one call.
class CalculationWindow::ModalDialog {
public:
    explicit ModalDialog(CalculationWindow &window)
        : m_window(window)
    {
        ++m_window.m_modalDialogs;
    }
    ~ModalDialog()
    {
        if (--m_window.m_modalDialogs == 0 && m_window.m_closePutOff) {
            m_window.m_closePutOff = false;
            QMetaObject::invokeMethod(&m_window, [window = &m_window] { window->close(); },
                                      Qt::QueuedConnection);
        }
    }
    ModalDialog(const ModalDialog &) = delete;
    ModalDialog &operator=(const ModalDialog &) = delete;

    UserDialogs &dialogs() const { return m_window.m_windows.dialogs(); }

private:
    CalculationWindow &m_window;
};

CalculationWindow::CalculationWindow(const CalculationLayout &layout, WindowRegistry &windows)
    : m_layout(layout)
    , m_windows(windows)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QLatin1String(layout.objectName));
    setWindowTitle(QString::fromUtf8(layout.title));
    setFont(WindowFont());

    auto *client = new QWidget(this);
    setCentralWidget(client);

    std::vector<QGroupBox *> groups;
    for (const InputGroupPlace &group : layout.groups)
        groups.push_back(buildInputGroup(client, group));

    auto *material = MakeButton(groups.at(static_cast<std::size_t>(layout.materialGroup)),
                                QStringLiteral("Command2"), QStringLiteral("Nápověda"), WindowFont(),
                                layout.materialButton.rect);
    connect(material, &QPushButton::clicked, this, &CalculationWindow::onMaterialClicked);
    m_tabOrder.emplace(layout.materialButton.tabIndex, material);

    auto *calculate = MakeButton(client, QStringLiteral("Command1"), QStringLiteral("Výpočet"),
                                 ArialFont(kGroupPoints), layout.calculateButton.rect);
    connect(calculate, &QPushButton::clicked, this, &CalculationWindow::onCalculateClicked);
    m_tabOrder.emplace(layout.calculateButton.tabIndex, calculate);

    auto *exit = MakeButton(client, QStringLiteral("Command3"), QStringLiteral("Konec"),
                            ArialFont(kGroupPoints), layout.exitButton.rect);
    connect(exit, &QPushButton::clicked, this, &CalculationWindow::onExitClicked);
    m_tabOrder.emplace(layout.exitButton.tabIndex, exit);

    auto *picture = new Drawing(QLatin1String(layout.drawing), client);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setGeometry(ToPixels(layout.picture));

    buildResults(client);
    buildMenu();
    setUpFocusOrder();

    // The client area has the design's size; the menu bar stands above it.
    resize(Px(layout.clientWidth), Px(layout.clientHeight) + menuBar()->sizeHint().height());
}

QGroupBox *CalculationWindow::buildInputGroup(QWidget *client, const InputGroupPlace &group)
{
    const InputField *first = FindField(m_layout.shape, group.inputs.front().index);
    auto *frame = new QGroupBox(FromUtf8(first->group), client);
    Place(frame, QLatin1String(group.name), ArialFont(kGroupPoints), group.rect);

    const QFont captionFont = ArialFont(kCaptionPoints);
    for (const InputPlace &place : group.inputs) {
        const InputField *field = FindField(m_layout.shape, place.index);
        Q_ASSERT(field);

        auto *box = new QLineEdit(FromUtf8(field->defaultText), frame);
        Place(box, Indexed("Text1", place.index), WindowFont(),
              {group.boxLeft, place.boxTop, group.boxWidth, kBoxHeight});
        box->setAlignment(Qt::AlignLeft);
        // A box takes any text a file can hold; Qt would cut it at 32767 characters.
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setAccessibleName(FromUtf8(TrimmedCaption(*field)) + QLatin1Char(' ') + FromUtf8(field->unit));
        connect(box, &QLineEdit::textChanged, this, &CalculationWindow::onInputChanged);
        m_boxes.emplace(place.index, box);
        m_tabOrder.emplace(place.tabIndex, box);

        MakeLabel(frame, Indexed("Label1", place.captionLabel), FromUtf8(field->caption),
                  captionFont, place.caption, place.captionAlignment);
        MakeLabel(frame, Indexed("Label1", place.unitLabel), FromUtf8(field->unit), captionFont,
                  {group.unitLeft, place.unitTop, kUnitWidth, kUnitHeight}, Qt::AlignLeft);
    }
    for (const NotePlace &note : group.notes) {
        MakeLabel(frame, Indexed("Label1", note.label), FromUtf8(FindField(m_layout.shape, note.index)->note),
                  ArialFont(note.points, false), note.rect, Qt::AlignRight);
    }
    return frame;
}

void CalculationWindow::buildResults(QWidget *client)
{
    auto *frame = new QGroupBox(kResultsCaption, client);
    Place(frame, QStringLiteral("Frame4"), ArialFont(kGroupPoints), m_layout.resultsGroup);

    const QFont captionFont = ArialFont(kCaptionPoints);
    for (std::size_t i = 0; i < m_layout.results.size(); ++i) {
        const ResultPlace &place = m_layout.results[i];
        const bool verdict = i == 3;
        auto *label = MakeLabel(frame, Indexed(m_layout.resultName, static_cast<int>(i)), QString(),
                                ArialFont(kResultPoints, true, verdict), place.rect,
                                verdict ? m_layout.verdictAlignment : Qt::AlignLeft);
        label->setWordWrap(false);
        if (verdict)
            MakeTextRed(label);
        m_results[i] = label;

        if (!place.caption) {
            // A screen reader reads the verdict with the group's caption.
            label->setAccessibleDescription(kResultsCaption);
            continue;
        }
        const QString caption = QString::fromUtf8(place.caption);
        label->setAccessibleDescription(caption);
        MakeLabel(frame, Indexed("Label1", place.captionLabel), caption, captionFont,
                  place.captionRect, Qt::AlignRight);
        MakeLabel(frame, Indexed("Label1", place.unitLabel), QString::fromUtf8(place.unit),
                  captionFont, {m_layout.resultUnitLeft, place.rect.top, kUnitWidth, kUnitHeight},
                  Qt::AlignLeft);
    }
}

void CalculationWindow::buildMenu()
{
    QMenuBar *bar = menuBar();
    bar->setNativeMenuBar(false);
    QMenu *menu = bar->addMenu(QStringLiteral("&Data"));
    menu->setObjectName(QLatin1String(m_layout.menuName));

    QAction *save = menu->addAction(QString::fromUtf8(m_layout.saveCaption));
    save->setObjectName(QStringLiteral("ulozit"));
    connect(save, &QAction::triggered, this, &CalculationWindow::onSaveTriggered);

    QAction *load = menu->addAction(QString::fromUtf8(m_layout.loadCaption));
    load->setObjectName(QStringLiteral("nacist"));
    connect(load, &QAction::triggered, this, &CalculationWindow::onLoadTriggered);
}

void CalculationWindow::setUpFocusOrder()
{
    QWidget *previous = nullptr;
    for (const auto &[tabIndex, widget] : m_tabOrder) {
        if (previous)
            setTabOrder(previous, widget);
        else
            widget->setFocus();
        previous = widget;
    }
}

void CalculationWindow::setResultText(int label, const QString &text)
{
    QLabel *result = m_results[static_cast<std::size_t>(label)];
    result->setText(text);
    result->setAccessibleName(text);
    Q_EMIT resultWritten(label, text);
}

void CalculationWindow::applyPreset(const MaterialPreset &preset)
{
    m_boxes.at(0)->setText(QString::fromStdString(preset.alphaText()));
    m_boxes.at(1)->setText(QString::fromStdString(preset.modulusText()));
    m_boxes.at(2)->setText(QString::fromStdString(preset.strengthText()));
}

InputTexts CalculationWindow::inputTexts() const
{
    InputTexts texts;
    texts.shape = m_layout.shape;
    for (const auto &[index, box] : m_boxes)
        texts[index] = box->text().toStdString();
    return texts;
}

void CalculationWindow::onCalculateClicked()
{
    const Evaluation outcome = Evaluate(inputTexts());
    if (const auto *result = std::get_if<CheckResult>(&outcome)) {
        const ResultTexts texts = FormatResult(*result);
        const std::array<const std::string *, 4> byLabel{&texts.allowable, &texts.stress,
                                                         &texts.reserve, &texts.verdict};
        for (int label : m_layout.writeOrder)
            setResultText(label, QString::fromStdString(*byLabel[static_cast<std::size_t>(label)]));
    } else if (const auto *fault = std::get_if<FpFault>(&outcome)) {
        ModalDialog(*this).dialogs().showMessage(this, MessageIcon::Critical, QStringLiteral("Chyba výpočtu"),
                                        QString::fromStdString(FaultMessage(*fault)));
    } else {
        ModalDialog(*this).dialogs().showMessage(
            this, MessageIcon::Warning, QStringLiteral("Chybný údaj"),
            QString::fromStdString(NotNumbersMessage(std::get<UnreadableInputs>(outcome))));
    }
}

void CalculationWindow::onMaterialClicked()
{
    m_windows.openMaterialDialog(m_layout.shape);
}

void CalculationWindow::onExitClicked()
{
    // The dialog's span ends before close(), so that an answer given with no
    // other dialog of the window up closes it at once.
    const bool yes = ModalDialog(*this).dialogs().askYesNo(
        this, QStringLiteral("Pozor"), QStringLiteral("Chcete opravdu opustit program?"));
    if (yes)
        close();
}

void CalculationWindow::closeEvent(QCloseEvent *event)
{
    if (m_modalDialogs > 0) {
        m_closePutOff = true;
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

void CalculationWindow::onInputChanged()
{
    setResultText(m_layout.blankedOnInput, QString());
}

void CalculationWindow::onSaveTriggered()
{
    const QString title = QStringLiteral("Ulozit");
    const auto fileName = ModalDialog(*this).dialogs().saveFileName(this, DataFileRequest(title));
    if (!fileName)
        return;
    if (const auto error = files::WriteInputFile(ToPath(*fileName), inputTexts(), fileName->toStdString()))
        ModalDialog(*this).dialogs().showMessage(this, MessageIcon::Warning, title,
                                        QString::fromStdString(error->message));
}

void CalculationWindow::onLoadTriggered()
{
    const QString title = QStringLiteral("Načtení dat");
    const auto fileName = ModalDialog(*this).dialogs().openFileName(this, DataFileRequest(title));
    if (!fileName)
        return;
    const files::ReadResult read = files::ReadInputFile(ToPath(*fileName), m_layout.shape,
                                                        fileName->toStdString());
    if (const auto *error = std::get_if<files::FileError>(&read)) {
        ModalDialog(*this).dialogs().showMessage(this, MessageIcon::Warning, title,
                                        QString::fromStdString(error->message));
        return;
    }
    const InputTexts &texts = std::get<InputTexts>(read);
    for (int index : FileOrder(m_layout.shape))
        m_boxes.at(index)->setText(QString::fromStdString(texts[index]));
}

} // namespace dilatany::ui
