// The crop rectangle: laying it with its handles and done button, and its drags.

#include <algorithm>

#include "editor/cut_image.h"
#include "editor/cut_image_fields.h"
#include "editor/editor_layout.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "ui/geometry.h"
#include "ui/pan_recognizer.h"

namespace vimora {

namespace {
constexpr double kHandleSide = 35;
const QRectF kDoneButtonFrame(10, 10, 50, 50);

std::shared_ptr<ui::PanRecognizer> oneFingerPan(std::function<void(ui::PanRecognizer &)> action)
{
    auto pan = std::make_shared<ui::PanRecognizer>(std::move(action));
    pan->setMinimumNumberOfTouches(1);
    pan->setMaximumNumberOfTouches(1);
    return pan;
}

void centreHandles(CutImageFields &d)
{
    const CropCorners &c = d.corners;
    if (d.moveImgViewLU)
        d.moveImgViewLU->setCenter(c.lu);
    if (d.moveImgViewRU)
        d.moveImgViewRU->setCenter(c.ru);
    if (d.moveImgViewLD)
        d.moveImgViewLD->setCenter(c.ld);
    if (d.moveImgViewRD)
        d.moveImgViewRD->setCenter(c.rd);
}

/// The centre the dragged view takes: where it was when the pan began plus the translation.
QPointF draggedCentre(CutImageFields &d, ui::PanRecognizer &pan)
{
    ui::View *view = pan.view();
    if (pan.state() == ui::GestureRecognizer::State::Began) {
        d.firstX = view->center().x();
        d.firstY = view->center().y();
    }
    const QPointF t = pan.translationInView(d.view.get());
    return {d.firstX + t.x(), d.firstY + t.y()};
}

bool isOnPhoto(const CutImageFields &d, const ui::View *view)
{
    return view && d.fView2 && view->superview() == d.fView2.get();
}
} // namespace

void CutImage::justSaveToAlbumC()
{
    if (!d->fView2)
        return;
    ui::ImageView &photo = *d->fView2;
    // Laying it again replaces the previous rectangle phase.
    for (const auto &old : {d->backImageM, d->moveImgViewLU, d->moveImgViewRU, d->moveImgViewLD, d->moveImgViewRD})
        if (isOnPhoto(*d, old.get()))
            old->removeFromSuperview();
    if (d->doneBtn)
        d->doneBtn->removeFromSuperview();

    d->penHeadName = kModeRectangle;

    // A photo view smaller than the usual side (a panorama) gets a rectangle that fits it.
    const QSizeF viewSize = photo.bounds().size();
    const double side = std::min({initialCropSide(Device::profile()), viewSize.width(), viewSize.height()});

    auto rectangle = std::make_shared<ui::ImageView>(QRectF(0, 0, side, side));
    rectangle->setUserInteractionEnabled(true);
    rectangle->setContentMode(ui::ContentMode::ScaleAspectFill);
    photo.addSubview(rectangle);
    rectangle->setHidden(false);
    rectangle->setBackgroundColor(Qt::blue);
    rectangle->setAlpha(0.3);
    rectangle->setCenter(QPointF(viewSize.width() / 2, viewSize.height() / 2));
    d->backImageM = rectangle;
    d->corners = CropCorners::fromFrame(rectangle->frame());
    rectangle->addGestureRecognizer(oneFingerPan([this](ui::PanRecognizer &pan) { handleMove(pan); }));

    const Picture handleImage = Resources::imageNamed(QStringLiteral("moveHandBtnX.png"));
    auto makeHandle = [&](QPointF corner, void (CutImage::*action)(ui::PanRecognizer &)) {
        auto handle = std::make_shared<ui::ImageView>(QRectF(0, 0, kHandleSide, kHandleSide));
        handle->setUserInteractionEnabled(true);
        handle->setBackgroundColor(Qt::transparent);
        handle->setContentMode(ui::ContentMode::ScaleAspectFill);
        handle->setImage(handleImage);
        handle->setCenter(corner);
        photo.addSubview(handle);
        handle->addGestureRecognizer(oneFingerPan([this, action](ui::PanRecognizer &pan) { (this->*action)(pan); }));
        return handle;
    };
    d->moveImgViewRU = makeHandle(d->corners.ru, &CutImage::handleMove5);
    d->moveImgViewRD = makeHandle(d->corners.rd, &CutImage::handleMove4);
    d->moveImgViewLU = makeHandle(d->corners.lu, &CutImage::handleMove3);
    d->moveImgViewLD = makeHandle(d->corners.ld, &CutImage::handleMove2);

    auto done = std::make_shared<ui::Button>(kDoneButtonFrame);
    done->setImage(Resources::imageNamed(QStringLiteral("doneBtns.png")));
    done->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { showResult(); });
    done->setTag(kDoneButtonTag);
    d->views->cutImgView->addSubview(done);
    d->views->cutImgView->bringSubviewToFront(done.get());
    done->setHidden(false);
    d->doneBtn = done;
}

void CutImage::handleMove(ui::PanRecognizer &pan)
{
    ui::View *view = pan.view();
    if (!view)
        return;
    d->views->descripImg2->setHidden(true);
    view->setCenter(draggedCentre(*d, pan));
    if (d->penHeadName == kModeRectangle && view == d->backImageM.get()) {
        d->corners = CropCorners::fromFrame(view->frame());
        centreHandles(*d);
    }
}

void CutImage::handleMove2(ui::PanRecognizer &pan)
{
    dragCorner(pan, int(CropHandle::BottomLeft));
}

void CutImage::handleMove3(ui::PanRecognizer &pan)
{
    dragCorner(pan, int(CropHandle::TopLeft));
}

void CutImage::handleMove4(ui::PanRecognizer &pan)
{
    dragCorner(pan, int(CropHandle::BottomRight));
}

void CutImage::handleMove5(ui::PanRecognizer &pan)
{
    dragCorner(pan, int(CropHandle::TopRight));
}

void CutImage::dragCorner(ui::PanRecognizer &pan, int handle)
{
    ui::View *view = pan.view();
    if (!view)
        return;
    const QPointF p = draggedCentre(*d, pan);
    view->setCenter(p);

    // The same handlers drag the options panel's photo layer; only a handle of a laid
    // rectangle reshapes the rectangle.
    const bool isHandle = view == d->moveImgViewLU.get() || view == d->moveImgViewRU.get()
                          || view == d->moveImgViewLD.get() || view == d->moveImgViewRD.get();
    if (!isHandle || d->penHeadName != kModeRectangle || !isOnPhoto(*d, d->backImageM.get()))
        return;
    const QRectF frame = draggedCornerFrame(CropHandle(handle), d->corners, p);
    d->backImageM->setFrame(frame);
    d->corners = CropCorners::fromFrame(frame);
    centreHandles(*d);
}

} // namespace vimora
