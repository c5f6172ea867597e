// Fixed layouts are given in twips; this is the one place that turns them into
// device-independent pixels, so the windows scale with the screen's DPI.
#pragma once

#include <QRect>
#include <QSize>
#include <QtGlobal>

namespace dilatany::ui {

/// 1440 twips to an inch and 96 device-independent pixels to an inch.
inline constexpr int kTwipsPerPixel = 15;

/// A position and size in twips, relative to the control's container.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

/// Twips to pixels, rounded to the nearest pixel: Px(495) == 33.
inline int Px(int twips)
{
    return qRound(static_cast<double>(twips) / kTwipsPerPixel);
}

/// Edges are rounded rather than sizes, so controls that touch in twips touch
/// on the screen too.
inline QRect ToPixels(const TwipsRect &rect)
{
    const int left = Px(rect.left);
    const int top = Px(rect.top);
    return {left, top, Px(rect.left + rect.width) - left, Px(rect.top + rect.height) - top};
}

inline QSize ToPixels(int widthTwips, int heightTwips)
{
    return {Px(widthTwips), Px(heightTwips)};
}

} // namespace dilatany::ui
