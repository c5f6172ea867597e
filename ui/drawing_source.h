// The one seam between the drawing widget and what reads the drawing: vectors
// through Qt SVG (drawing_svg.cpp) or a prerendered image (drawing_image.cpp).
// The build compiles exactly one of the two.
#pragma once

#include "ui/drawing.h"

#include <QRect>
#include <QString>

#ifdef DILATANY_HAVE_QTSVG
#include <QSvgRenderer>
#else
#include <QImage>
#endif

namespace dilatany::ui {

class Drawing::Source {
public:
    explicit Source(const QString &resource);

    bool isValid() const;

    /// Paints the drawing into `bounds`, proportions kept, centred.
    void paint(QPainter &painter, const QRect &bounds);

private:
#ifdef DILATANY_HAVE_QTSVG
    QSvgRenderer m_renderer;
#else
    QImage m_image;
#endif
};

/// The part of `bounds` that a picture of `size` covers when scaled to fit
/// with its proportions kept, centred in `bounds`.
QRectF FitCentred(const QSizeF &size, const QRectF &bounds);

} // namespace dilatany::ui
