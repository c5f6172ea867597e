// The sweep chart as Qt's SVG renderer reads it: the checker writes it
// without Qt, and it must draw wherever SVG is drawn.
#include "cli/svg_chart.h"
#include "core/design.h"

#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTest>

using namespace dilatany;

class TestChartRender : public QObject {
    Q_OBJECT

private slots:
    void the_chart_of_a_sweep_renders_with_its_series()
    {
        const InputTexts texts = DefaultTexts(Shape::ULoop);
        const InputField &field = *design::FindInput(Shape::ULoop, "L2");
        const design::Grid grid = std::get<design::Grid>(design::ParseGrid("0:3000:10"));
        cli::SweepChart chart;
        chart.field = &field;
        chart.current = 1500;
        design::Sweep(texts, field, grid, [&](std::size_t, const std::string &text, const Evaluation &e) {
            const auto *result = std::get_if<CheckResult>(&e);
            chart.points.push_back({std::stod(text), result ? std::optional(*result) : std::nullopt,
                                    design::Passes(e, std::nullopt)});
        });
        const std::string svg = cli::SweepChartSvg(chart);
        QSvgRenderer renderer(QByteArray::fromStdString(svg));
        QVERIFY(renderer.isValid());
        for (const char *id : {"stress", "allowable", "pass-1", "current", "legend"})
            QVERIFY2(renderer.elementExists(QString::fromLatin1(id)), id);

        QImage image(900, 550, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        // The stress line is drawn in its blue somewhere inside the plot.
        bool blue = false;
        for (int y = 60; y < 465 && !blue; ++y)
            for (int x = 95; x < 870 && !blue; ++x)
                blue = image.pixelColor(x, y) == QColor(0x00, 0x50, 0xb0);
        QVERIFY(blue);
    }
};

QTEST_MAIN(TestChartRender)
#include "tst_chart_render.moc"
