// What the U-loop window (Form2) and the L-bend window (Form4) have in common:
// input boxes built from the field tables, the calculate, material and exit
// buttons, four result labels, the drawing and the load and save commands.
// Each window gives its own layout; the behaviour lives here once.
#pragma once

#include "core/check_result.h"
#include "core/input_field.h"
#include "core/material_preset.h"
#include "ui/twips.h"

#include <QMainWindow>

#include <array>
#include <map>
#include <span>

class QGroupBox;
class QLabel;
class QLineEdit;

namespace dilatany::ui {

class WindowRegistry;

/// Where one input box and its two labels stand inside their group box. The
/// caption, unit and default text come from the field table of the shape.
struct InputPlace {
    int index;             // Text1(index)
    int boxTop;
    int tabIndex;
    int captionLabel;      // Label1(captionLabel)
    TwipsRect caption;
    int unitLabel;         // Label1(unitLabel)
    int unitTop;
    Qt::Alignment captionAlignment = Qt::AlignRight;
};

/// The second caption line of a box, e.g. "(ke střednici)"; its text is the
/// note of the box's field.
struct NotePlace {
    int label;             // Label1(label)
    int index;             // the box Text1(index) it belongs to
    TwipsRect rect;
    double points;
};

/// A group box of input boxes; its caption is the group the fields name.
struct InputGroupPlace {
    const char *name;      // "Frame1", "Frame2(0)", "Frame3"
    TwipsRect rect;
    int boxLeft;
    int boxWidth;
    int unitLeft;
    std::span<const InputPlace> inputs;
    std::span<const NotePlace> notes;
};

struct ButtonPlace {
    TwipsRect rect;
    int tabIndex;
};

/// One result label; the verdict (index 3) has no caption or unit.
struct ResultPlace {
    TwipsRect rect;
    int captionLabel = -1;
    const char *caption = nullptr;
    TwipsRect captionRect{};
    int unitLabel = -1;
    const char *unit = nullptr;
};

struct CalculationLayout {
    Shape shape;
    const char *objectName;     // "Form2"
    const char *title;          // set as the window is created
    int clientWidth;
    int clientHeight;

    const char *menuName;       // "data" or "Data"
    const char *saveCaption;    // "&Uložit"
    const char *loadCaption;    // "&Načíst"

    std::span<const InputGroupPlace> groups;
    int materialGroup;          // which of `groups` holds the material button
    ButtonPlace materialButton; // Command2 "Nápověda", inside that group
    ButtonPlace calculateButton;
    ButtonPlace exitButton;
    TwipsRect picture;
    const char *drawing;        // resource path of the SVG

    TwipsRect resultsGroup;     // Frame4 "Výsledky"
    const char *resultName;     // "Label3" or "Label2"
    std::array<ResultPlace, 4> results;
    int resultUnitLeft;
    /// Labels 0 allowable stress, 1 stress, 2 reserve, 3 verdict, written in this order.
    std::array<int, 4> writeOrder;
    Qt::Alignment verdictAlignment;
    /// The one result label that any input change blanks.
    int blankedOnInput;
};

class CalculationWindow : public QMainWindow {
    Q_OBJECT

public:
    CalculationWindow(const CalculationLayout &layout, WindowRegistry &windows);

    Shape shape() const { return m_layout.shape; }

    /// Writes a material preset into Text1(0), Text1(1) and Text1(2), in that order.
    void applyPreset(const MaterialPreset &preset);

    /// The texts of all boxes of the shape, as a check or the file takes them.
    InputTexts inputTexts() const;

Q_SIGNALS:
    /// A result label (0 allowable stress, 1 stress, 2 reserve, 3 verdict) was
    /// given a text, blanking included; emitted for each label in turn.
    void resultWritten(int label, const QString &text);

protected:
    /// A close asked for while one of this window's modal dialogs is up is
    /// put off until the last of them has returned; see ModalDialog.
    void closeEvent(QCloseEvent *event) override;

private:
    class ModalDialog;

    QGroupBox *buildInputGroup(QWidget *client, const InputGroupPlace &group);
    void buildResults(QWidget *client);
    void buildMenu();
    void setUpFocusOrder();
    void setResultText(int label, const QString &text);

    void onCalculateClicked();
    void onMaterialClicked();
    void onExitClicked();
    void onInputChanged();
    void onSaveTriggered();
    void onLoadTriggered();

    const CalculationLayout &m_layout;
    WindowRegistry &m_windows;
    std::map<int, QLineEdit *> m_boxes;
    std::array<QLabel *, 4> m_results{};
    std::multimap<int, QWidget *> m_tabOrder;
    int m_modalDialogs = 0;       // this window's modal dialogs now running
    bool m_closePutOff = false;   // a close arrived while one of them ran
};

} // namespace dilatany::ui
