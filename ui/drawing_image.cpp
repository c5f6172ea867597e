// The drawing as an image: the PNG that the build rendered from the SVG of the
// same name (":/drawings/uloop.svg" is read from ":/drawings/uloop.png").
#include "ui/drawing_source.h"

#include <QPainter>

namespace dilatany::ui {
namespace {

QString ImageResource(const QString &svgResource)
{
    QString name = svgResource;
    if (name.endsWith(QLatin1String(".svg")))
        name.replace(name.size() - 4, 4, QStringLiteral(".png"));
    return name;
}

} // namespace

Drawing::Source::Source(const QString &resource)
    : m_image(ImageResource(resource))
{
}

bool Drawing::Source::isValid() const
{
    return !m_image.isNull();
}

void Drawing::Source::paint(QPainter &painter, const QRect &bounds)
{
    // The image holds more pixels than the area: painted into a logical
    // rectangle it meets the screen's device pixels one to one at 200 % and
    // is scaled down smoothly below that.
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(FitCentred(QSizeF(m_image.size()), QRectF(bounds)), m_image);
    painter.restore();
}

} // namespace dilatany::ui
