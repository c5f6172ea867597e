// Building blocks of the fixed layouts: fonts, labels and buttons placed in twips.
#pragma once

#include "ui/twips.h"

#include <QFont>
#include <QString>
#include <Qt>

class QLabel;
class QPushButton;
class QWidget;

namespace dilatany::ui {

/// The font of every control that names none: Arial 8 point, regular. A fixed
/// font keeps the fixed layout readable whatever the desktop's font is.
QFont WindowFont();

/// Arial at the given size; bold unless said otherwise, as the layouts name them.
QFont ArialFont(double points, bool bold = true, bool underline = false);

/// Gives a widget its design name, its font and its place in twips.
void Place(QWidget *widget, const QString &name, const QFont &font, const TwipsRect &rect);

/// A label on one or two lines (a caption that does not fit wraps inside the label).
QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, const QFont &font,
                  const TwipsRect &rect, Qt::Alignment alignment);

/// A push button that is never a default button: Enter in a box presses nothing.
QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption,
                        const QFont &font, const TwipsRect &rect);

/// Sets the text colour of a label to pure red (RGB 255, 0, 0).
void MakeTextRed(QLabel *label);

/// The design name of a control array element: Indexed("Text1", 14) == "Text1(14)".
QString Indexed(const char *name, int index);

} // namespace dilatany::ui
