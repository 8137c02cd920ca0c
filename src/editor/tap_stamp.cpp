#include "editor/tap_stamp.h"

#include <QPainter>

#include "editor/view_tags.h"
#include "imaging/surface.h"

namespace vimora {

namespace {
/// The stamp lands this far above the touch point, where the fingertip does not hide it.
constexpr double kStampLift = 20;
} // namespace

void TapStamp::attachTo(ui::View &editorView)
{
    if (m_layer)
        m_layer->removeFromSuperview();
    m_editorView = &editorView;
    m_layer = std::make_shared<ui::ImageView>(editorView.bounds());
    m_layer->setAutoresizingMask(ui::FlexibleWidth | ui::FlexibleHeight);
    m_layer->setTag(kStampLayerTag);
    editorView.insertSubview(m_layer, 0);
}

void TapStamp::hide()
{
    if (m_layer)
        m_layer->setHidden(true);
}

void TapStamp::handleTouch(ui::TouchPhase phase, const ui::TouchSet &touches)
{
    if (touches.empty() || !m_editorView)
        return;
    const ui::Touch &touch = *touches.front();
    const bool doubleTap = touch.tapCount == 2;
    switch (phase) {
    case ui::TouchPhase::Began:
        if (doubleTap)
            return;
        m_swiped = false;
        m_stampPoint = touch.locationInView(m_editorView) - QPointF(0, kStampLift);
        return;
    case ui::TouchPhase::Moved:
        m_swiped = true;
        return;
    case ui::TouchPhase::Ended:
        break;
    default:
        return;
    }

    if (doubleTap || m_swiped || !m_layer)
        return;
    const QSizeF size = m_editorView->bounds().size();
    ImageSurface surface(size);
    if (!surface.isValid())
        return;
    if (!m_layer->image().isNull())
        surface.drawPicture(m_layer->image(), QRectF(QPointF(0, 0), size));
    QPainter &painter = surface.painter();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    const double radius = kWidth / 2;
    painter.drawEllipse(m_stampPoint, radius, radius);
    m_layer->setImage(surface.image());
}

} // namespace vimora
