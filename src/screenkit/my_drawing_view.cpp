#include "screenkit/my_drawing_view.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>

#include "ui/touch.h"

namespace vimora {

namespace {
QColor brightened(double r, double g, double b)
{
    constexpr double kBrighten = 1.5;
    return QColor::fromRgbF(float(std::min(1.0, r * kBrighten)), float(std::min(1.0, g * kBrighten)),
                            float(std::min(1.0, b * kBrighten)), 1.f);
}
} // namespace

MyDrawingView::MyDrawingView(const QRectF &frame, int red, int green, int blue)
    : ui::View(frame)
    , m_red(std::clamp(red, 0, 255) / 255.0)
    , m_green(std::clamp(green, 0, 255) / 255.0)
    , m_blue(std::clamp(blue, 0, 255) / 255.0)
{
}

void MyDrawingView::setBackgroundImage(const Picture &picture)
{
    m_backgroundImage = picture;
    m_backgroundCache.clear();
    setNeedsDisplay();
}

void MyDrawingView::touchesBegan(const ui::TouchSet &touches)
{
    if (touches.empty())
        return;
    m_fromPoint = m_toPoint = touches.front()->locationInView(this);
    setNeedsDisplay();
}

void MyDrawingView::touchesMoved(const ui::TouchSet &touches)
{
    if (touches.empty())
        return;
    m_toPoint = touches.front()->locationInView(this);
    setNeedsDisplay();
}

void MyDrawingView::touchesEnded(const ui::TouchSet &touches)
{
    touchesMoved(touches);
}

void MyDrawingView::drawContent(QPainter &painter) const
{
    if (!m_backgroundImage.isNull())
        m_backgroundCache.draw(painter, m_backgroundImage, QRectF(kBackgroundOrigin, m_backgroundImage.size()));
    const QRectF b = bounds();
    // From the origin to the middle of the view, continued past its end (pad spread).
    QLinearGradient gradient(QPointF(0, 0), QPointF(b.right() / 2, b.bottom() / 2));
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(0.5, QColor::fromRgbF(float(m_red), float(m_green), float(m_blue), 1.f));
    gradient.setColorAt(1, brightened(m_red, m_green, m_blue));
    gradient.setSpread(QGradient::PadSpread);
    painter.fillRect(b, gradient);
}

} // namespace vimora
