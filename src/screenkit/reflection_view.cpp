#include "screenkit/reflection_view.h"

#include <QLinearGradient>
#include <QPainter>

#include "ui/affine_transform.h"

namespace vimora {

ReflectionView::ReflectionView(const QRectF &frame)
    : ui::View(frame)
{
    setBackgroundColor(Qt::black);
    setTransform(ui::AffineTransform::makeScale(1, -1));
}

void ReflectionView::setImage(const Picture &picture)
{
    m_image = picture.isNull() ? Picture() : Picture(picture.bitmap(), 1.0, picture.orientation());
    setNeedsDisplay();
}

void ReflectionView::drawContent(QPainter &painter) const
{
    const QRectF b = bounds();
    const double start = b.top() + b.height() * kGradientStart;
    if (b.bottom() <= start)
        return;
    // Only between the two ends: the band above the start keeps the black background.
    QLinearGradient gradient(QPointF(0, start), QPointF(0, b.bottom()));
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, Qt::black);
    painter.fillRect(QRectF(b.left(), start, b.width(), b.bottom() - start), gradient);
}

} // namespace vimora
