// Placement gestures: the adjust panel's handle, the pinch step and the single tap.

#include <algorithm>

#include "editor/cut_image.h"
#include "editor/cut_image_fields.h"
#include "editor/editor_layout.h"
#include "ui/pan_recognizer.h"
#include "ui/pinch_recognizer.h"
#include "ui/tap_recognizer.h"

namespace vimora {

namespace {
const QString kTapColor = QStringLiteral("color");
const QString kTapCut = QStringLiteral("cut");
const QString kTapBein = QStringLiteral("bein");

bool isCutPieceTag(int tag)
{
    return tag >= 1000 && tag <= 9999;
}
} // namespace

void CutImage::attachPlacementGestures(ui::View &view)
{
    auto pan = std::make_shared<ui::PanRecognizer>([this](ui::PanRecognizer &p) { handleMove(p); });
    pan->setMinimumNumberOfTouches(1);
    pan->setMaximumNumberOfTouches(1);
    view.addGestureRecognizer(pan);
    view.addGestureRecognizer(std::make_shared<ui::PinchRecognizer>([this](ui::PinchRecognizer &p) { handleScale(p); }));
    view.addGestureRecognizer(std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &t) { handleSingleTap(t); }));
}

void CutImage::handleMove6(ui::PanRecognizer &pan)
{
    ui::View *handle = pan.view();
    if (!handle)
        return;
    if (pan.state() == ui::GestureRecognizer::State::Began) {
        d->firstX = handle->center().x();
        d->firstY = handle->center().y();
    }
    const QPointF t = pan.translationInView(d->view.get());
    const QPointF p(d->firstX + t.x(), d->firstY + t.y());
    handle->setCenter(p);
    ui::ImageView &panel = *d->views->descripImg;
    panel.setCenter(panelCentreForHandle(p, panel.bounds().size()));
    d->descripPoint = panel.center();
}

void CutImage::handleScale(ui::PinchRecognizer &pinch)
{
    ui::View *view = pinch.view();
    if (!view)
        return;
    if (ui::View *parent = view->superview())
        parent->bringSubviewToFront(view);
    const auto state = pinch.state();
    if (state == ui::GestureRecognizer::State::Ended || state == ui::GestureRecognizer::State::Cancelled) {
        d->lastScale = 1.0;
        return;
    }
    const double s = pinch.scale();
    const double f = pinchStepFactor(d->lastScale, s);
    view->setTransform(ui::scaled(view->transform(), f, f));
    d->lastScale = s;
    // A pinch inside the options panel keeps the panel it works in.
    ui::ImageView &panel = *d->views->descripImg2;
    if (!view->isDescendantOf(&panel))
        panel.setHidden(true);
}

void CutImage::handleSingleTap(ui::TapRecognizer &tap)
{
    ui::View *view = tap.view();
    if (!view)
        return;
    d->viewTag = view->tag();

    if (d->removeImgNam == kTapCut || d->removeImgNam == kTapBein) {
        const bool show = d->removeImgNam == kTapCut;
        d->removeImgNam = show ? kTapBein : kTapCut;
        if (d->backImageM) {
            ui::ImageView &backdrop = *d->backImageM;
            const auto subviews = backdrop.subviews();
            const bool hasPieces
                = std::any_of(subviews.begin(), subviews.end(), [](const ui::ViewPtr &v) { return isCutPieceTag(v->tag()); });
            const auto guide = std::find_if(subviews.begin(), subviews.end(),
                                            [](const ui::ViewPtr &v) { return v->tag() == kCutGuideTag; });
            if (hasPieces && guide != subviews.end()) {
                (*guide)->setAlpha(show ? 1.0 : 0.0);
                if (show)
                    backdrop.bringSubviewToFront(guide->get());
            }
            if (hasPieces && show && d->drawImages && d->drawImages->superview() == &backdrop)
                backdrop.bringSubviewToFront(d->drawImages.get());
        }
    }

    if (!d->drawImages || !d->backImageM)
        return;
    const ui::ImageView &layer = *d->drawImages;
    const Picture &image = layer.image();
    const QSizeF size = layer.bounds().size();
    if (image.isNull() || size.width() <= 0 || size.height() <= 0)
        return;
    const QPointF at = tap.locationInView(&layer);
    const QPointF pixel(at.x() * image.pixelWidth() / size.width(), at.y() * image.pixelHeight() / size.height());
    if (const auto colour = d->colorImage.getPixelColorAtLocation(pixel, image))
        d->backImageM->setBackgroundColor(colour->toQColor());
}

} // namespace vimora
