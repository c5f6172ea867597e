// The drawing as vectors, through Qt SVG.
#include "ui/drawing_source.h"

namespace dilatany::ui {

Drawing::Source::Source(const QString &resource)
    : m_renderer(resource)
{
    m_renderer.setAspectRatioMode(Qt::KeepAspectRatio);
}

bool Drawing::Source::isValid() const
{
    return m_renderer.isValid();
}

void Drawing::Source::paint(QPainter &painter, const QRect &bounds)
{
    m_renderer.render(&painter, bounds);
}

} // namespace dilatany::ui
