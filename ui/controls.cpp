#include "ui/controls.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace dilatany::ui {

QFont WindowFont()
{
    return ArialFont(8, false);
}

QFont ArialFont(double points, bool bold, bool underline)
{
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    font.setUnderline(underline);
    return font;
}

void Place(QWidget *widget, const QString &name, const QFont &font, const TwipsRect &rect)
{
    widget->setObjectName(name);
    widget->setFont(font);
    widget->setGeometry(ToPixels(rect));
}

QLabel *MakeLabel(QWidget *parent, const QString &name, const QString &text, const QFont &font,
                  const TwipsRect &rect, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, parent);
    Place(label, name, font, rect);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QPushButton *MakeButton(QWidget *parent, const QString &name, const QString &caption,
                        const QFont &font, const TwipsRect &rect)
{
    auto *button = new QPushButton(caption, parent);
    Place(button, name, font, rect);
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

void MakeTextRed(QLabel *label)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(255, 0, 0));
    label->setPalette(palette);
    label->setForegroundRole(QPalette::WindowText);
}

QString Indexed(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

} // namespace dilatany::ui
