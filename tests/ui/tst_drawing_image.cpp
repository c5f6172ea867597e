// The drawings as images, for builds without Qt SVG, held against the vector
// drawing that Qt SVG makes of the same file: same place, same proportions, and
// enough pixels to stay sharp at 200 % display scaling.
#include "ui/drawing.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

namespace {

using dilatany::ui::Drawing;

// The picture area of the calculation windows in pixels at 100 %.
constexpr QSize kArea(288, 208);

QImage RenderWidget(QWidget &widget, qreal ratio)
{
    QImage image(kArea * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    widget.render(&image);
    return image;
}

QImage RenderVectors(const QString &svgFile, qreal ratio)
{
    QSvgRenderer renderer(svgFile);
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    QImage image(kArea * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::white);
    QPainter painter(&image);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(kArea)));
    return image;
}

struct Difference {
    double meanGrey = 0;      // mean absolute difference of grey, 0 to 255
    double largeShare = 0;    // share of pixels that differ by more than a quarter
};

Difference Compare(const QImage &a, const QImage &b)
{
    Difference d;
    long long sum = 0;
    long long large = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const int diff = std::abs(qGray(a.pixel(x, y)) - qGray(b.pixel(x, y)));
            sum += diff;
            large += diff > 64;
        }
    const double n = double(a.width()) * a.height();
    d.meanGrey = double(sum) / n;
    d.largeShare = double(large) / n;
    return d;
}

} // namespace

class TestDrawingImage : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void images_are_rendered_at_twice_the_area_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("U-loop") << "uloop";
        QTest::newRow("L-bend") << "lbend";
    }
    void images_are_rendered_at_twice_the_area()
    {
        QFETCH(QString, name);
        const QImage image(QStringLiteral(":/drawings/%1.png").arg(name));
        QVERIFY(!image.isNull());
        const QSize svgSize = QSvgRenderer(QStringLiteral(DILATANY_UI_DIR "/%1.svg").arg(name)).defaultSize();
        const QSize fitted = svgSize.scaled(kArea, Qt::KeepAspectRatio);
        QCOMPARE(image.size(), fitted * 2);
        // The proportions are the drawing's own, to the rounding of one pixel.
        QVERIFY(std::abs(double(image.width()) / image.height() - double(svgSize.width()) / svgSize.height())
                < 2.0 / image.height());
    }

    void the_image_matches_the_vectors_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<double>("ratio");
        QTest::newRow("U-loop at 100 %") << "uloop" << 1.0;
        QTest::newRow("U-loop at 200 %") << "uloop" << 2.0;
        QTest::newRow("L-bend at 100 %") << "lbend" << 1.0;
        QTest::newRow("L-bend at 200 %") << "lbend" << 2.0;
    }
    void the_image_matches_the_vectors()
    {
        QFETCH(QString, name);
        QFETCH(double, ratio);
        Drawing drawing(QStringLiteral(":/drawings/%1.svg").arg(name));
        QVERIFY(drawing.isValid());
        drawing.resize(kArea);
        const QImage shown = RenderWidget(drawing, ratio);
        const QImage vectors = RenderVectors(QStringLiteral(DILATANY_UI_DIR "/%1.svg").arg(name), ratio);
        QCOMPARE(shown.size(), vectors.size());
        const Difference d = Compare(shown, vectors);
        qInfo("mean grey difference %.2f, large differences %.3f %%", d.meanGrey, 100 * d.largeShare);
        // Only the antialiased edges may differ (the image sits within half a
        // pixel of where the vectors do); a shifted, stretched or blurred
        // drawing differs along every line.
        QVERIFY2(d.meanGrey < 4.0, qPrintable(QString::number(d.meanGrey)));
        QVERIFY2(d.largeShare < 0.01, qPrintable(QString::number(d.largeShare)));
    }

    void an_unknown_drawing_leaves_the_area_white()
    {
        Drawing drawing(QStringLiteral(":/drawings/none.svg"));
        QVERIFY(!drawing.isValid());
        drawing.resize(kArea);
        const QImage shown = RenderWidget(drawing, 1);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                QCOMPARE(shown.pixelColor(x, y), QColor(Qt::white));
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestDrawingImage test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_drawing_image.moc"
