// The picture area of a calculation window: a fixed drawing of the compensator.
#pragma once

#include <QWidget>

#include <memory>

class QPainter;

namespace dilatany::ui {

/// Shows one drawing scaled to fit the area with its proportions kept,
/// centred on a white ground. It takes no focus and handles no input.
///
/// Where Qt SVG is at hand the SVG is drawn as vectors. Where it is not (the
/// Windows build), the same SVG has been rendered at build time into a PNG of
/// the same name at twice the area's size, so that it stays sharp at 200 %
/// display scaling; the widget then draws that image instead.
class Drawing : public QWidget {
public:
    /// `resource` is the drawing's path in the resources, e.g. ":/drawings/uloop.svg".
    explicit Drawing(const QString &resource, QWidget *parent = nullptr);
    ~Drawing() override;

    /// False when the drawing could not be read; the area then stays white.
    bool isValid() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // How the drawing is read and painted: drawing_svg.cpp or drawing_image.cpp.
    class Source;
    std::unique_ptr<Source> m_source;
};

} // namespace dilatany::ui
