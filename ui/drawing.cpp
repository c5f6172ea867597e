#include "ui/drawing.h"

#include "ui/drawing_source.h"

#include <QPainter>

namespace dilatany::ui {

Drawing::Drawing(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_source(std::make_unique<Source>(resource))
{
    setFocusPolicy(Qt::NoFocus);
}

Drawing::~Drawing() = default;

QRectF FitCentred(const QSizeF &size, const QRectF &bounds)
{
    if (size.isEmpty())
        return {};
    const QSizeF fitted = size.scaled(bounds.size(), Qt::KeepAspectRatio);
    return {bounds.x() + (bounds.width() - fitted.width()) / 2,
            bounds.y() + (bounds.height() - fitted.height()) / 2, fitted.width(), fitted.height()};
}

bool Drawing::isValid() const
{
    return m_source->isValid();
}

void Drawing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_source->isValid())
        m_source->paint(painter, rect());
}

} // namespace dilatany::ui
