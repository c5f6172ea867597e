#include "ui/drawing.h"

#include <QPainter>

namespace dilatany::ui {

Drawing::Drawing(const QString &resource, QWidget *parent)
    : QWidget(parent)
    , m_renderer(resource)
{
    setFocusPolicy(Qt::NoFocus);
    m_renderer.setAspectRatioMode(Qt::KeepAspectRatio);
}

void Drawing::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (m_renderer.isValid())
        m_renderer.render(&painter, rect());
}

} // namespace dilatany::ui
