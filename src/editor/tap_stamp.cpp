// The tap stamp: a tap on the editor view that neither moved nor was a double tap leaves a
// round dot on the stamp layer.

#include <QPainter>

#include "editor/cut_image.h"
#include "editor/cut_image_fields.h"
#include "imaging/surface.h"

namespace vimora {

namespace {
/// The stamp lands this far above the touch point, where the fingertip does not hide it.
constexpr double kStampLift = 20;
} // namespace

void CutImage::handleStampTouch(ui::TouchPhase phase, const ui::TouchSet &touches)
{
    if (touches.empty())
        return;
    const ui::Touch &touch = *touches.front();
    const bool doubleTap = touch.tapCount == 2;
    switch (phase) {
    case ui::TouchPhase::Began:
        if (doubleTap)
            return;
        d->mouseSwiped = false;
        d->lastPoint = touch.locationInView(d->view.get()) - QPointF(0, kStampLift);
        return;
    case ui::TouchPhase::Moved:
        d->mouseSwiped = true;
        d->mouseMoved = (d->mouseMoved + 1) % 10;
        return;
    case ui::TouchPhase::Ended:
        break;
    default:
        return;
    }

    d->currentPoints = touch.locationInView(d->view.get());
    if (doubleTap || d->mouseSwiped || !d->stampLayer)
        return;
    const QSizeF size = d->view->bounds().size();
    ImageSurface surface(size);
    if (!surface.isValid())
        return;
    if (!d->stampLayer->image().isNull())
        surface.drawPicture(d->stampLayer->image(), QRectF(QPointF(0, 0), size));
    QPainter &painter = surface.painter();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(d->ifErase >= 1 ? Qt::white : Qt::black);
    // A zero-length stroke with round caps is a disc of the pen's width.
    const double radius = d->sizeCutSlider / 2;
    painter.drawEllipse(d->lastPoint, radius, radius);
    d->stampLayer->setImage(surface.image());
}

} // namespace vimora
