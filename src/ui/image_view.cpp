#include "ui/image_view.h"

namespace vimora::ui {

ImageView::ImageView()
{
    setUserInteractionEnabled(false);
}

ImageView::ImageView(const Picture &image)
    : ImageView()
{
    m_image = image;
    setFrame(QRectF(QPointF(0, 0), image.isNull() ? QSizeF(0, 0) : image.size()));
}

ImageView::ImageView(const QRectF &frame)
    : ImageView()
{
    setFrame(frame);
}

void ImageView::setImage(const Picture &image)
{
    m_image = image;
    m_cache.clear();
    setNeedsDisplay();
}

void ImageView::drawContent(QPainter &painter) const
{
    if (m_image.isNull())
        return;
    m_cache.draw(painter, m_image, contentRect(contentMode(), bounds().normalized(), m_image.size()));
}

} // namespace vimora::ui
