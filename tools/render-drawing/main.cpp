// Renders an SVG drawing into a PNG for a build that has no Qt SVG:
//   dilatany-render-drawing IN.svg OUT.png AREA_WIDTH AREA_HEIGHT SCALE
// The drawing is fitted into AREA_WIDTH x AREA_HEIGHT with its proportions
// kept, as the window shows it, and rendered at SCALE times that size on white.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    // No display is needed to paint into an image.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s IN.svg OUT.png AREA_WIDTH AREA_HEIGHT SCALE\n", argv[0]);
        return 2;
    }
    const int areaWidth = std::atoi(argv[3]);
    const int areaHeight = std::atoi(argv[4]);
    const int scale = std::atoi(argv[5]);
    if (areaWidth <= 0 || areaHeight <= 0 || scale <= 0) {
        std::fprintf(stderr, "the area and the scale must be positive whole numbers\n");
        return 2;
    }

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read the drawing %s\n", argv[1]);
        return 1;
    }
    const QSize fitted = renderer.defaultSize().scaled(areaWidth, areaHeight, Qt::KeepAspectRatio);
    QImage image(fitted * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    }
    if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
