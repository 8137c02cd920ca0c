#pragma once

// How the device's screen, a fixed size in points, sits in a window of any size: one scale
// factor for both axes, centred, with bars of background on the two sides the aspect leaves
// free. Window positions are the window's own logical pixels.

#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QSizeF>

namespace vimora::ui {

class ScreenFit
{
public:
    ScreenFit() = default;
    ScreenFit(QSizeF screen, QSizeF window);

    QSizeF screen() const { return m_screen; }
    QSizeF window() const { return m_window; }
    /// Window pixels per point; 1 for an empty screen or window.
    double scale() const { return m_scale; }
    /// Where the screen's top-left corner falls in the window.
    QPointF origin() const { return m_origin; }
    /// The part of the window that shows the screen; the rest is letterbox.
    QRectF screenRect() const { return {m_origin, m_screen * m_scale}; }

    QPointF toScreen(QPointF windowPoint) const { return (windowPoint - m_origin) / m_scale; }
    QPointF toWindow(QPointF screenPoint) const { return screenPoint * m_scale + m_origin; }
    QRectF toWindow(const QRectF &screenRect) const { return {toWindow(screenRect.topLeft()), screenRect.size() * m_scale}; }
    /// Whether a window point shows the screen (half-open, as hit tests are).
    bool showsScreenAt(QPointF windowPoint) const;

    /// The largest window, in logical pixels, that shows the whole screen at no more than one
    /// pixel per point and fits in available.
    static QSize bestWindowSize(QSizeF screen, QSize available);

private:
    QSizeF m_screen;
    QSizeF m_window;
    double m_scale = 1;
    QPointF m_origin;
};

} // namespace vimora::ui
