// The picture area of a calculation window: a fixed drawing of the compensator.
#pragma once

#include <QSvgRenderer>
#include <QWidget>

namespace dilatany::ui {

/// Shows one SVG drawing scaled to fit the area with its proportions kept,
/// centred on a white ground. It takes no focus and handles no input.
class Drawing : public QWidget {
public:
    /// `resource` is the drawing's path in the resources, e.g. ":/drawings/uloop.svg".
    explicit Drawing(const QString &resource, QWidget *parent = nullptr);

    /// False when the drawing could not be read; the area then stays white.
    bool isValid() const { return m_renderer.isValid(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QSvgRenderer m_renderer;
};

} // namespace dilatany::ui
