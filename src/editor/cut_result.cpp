// The cut: the piece at full resolution, the hole under it, and re-entering the piece.

#include "editor/cut_image.h"
#include "editor/cut_image_fields.h"
#include "platform/log.h"
#include "store/working_files.h"
#include "ui/pan_recognizer.h"
#include "ui/pinch_recognizer.h"

namespace vimora {

namespace {
constexpr int kPieceModeTag = 200;
constexpr int kWholePhotoModeTag = 300;
constexpr ui::AutoresizingMask kAllSixDirections = 63;
constexpr ui::AutoresizingMask kFourMargins = 45;
} // namespace

void CutImage::showResult()
{
    if (!d->fView2 || !d->backImageM || d->backImageM->superview() != d->fView2.get()) {
        logLine(QStringLiteral("no crop rectangle to cut"));
        return;
    }
    ui::ImageView &photoView = *d->fView2;
    d->penHeadName = kModeNoTouch;

    const Picture photo = photoView.image();
    const QSizeF viewSize = photoView.bounds().size();
    const bool measurable = !photo.isNull() && viewSize.width() > 0 && viewSize.height() > 0;
    const double sx = measurable ? photo.pixelWidth() / viewSize.width() : 0;
    const double sy = measurable ? photo.pixelHeight() / viewSize.height() : 0;

    QRectF frame = clipCropFrame(d->backImageM->frame(), viewSize);
    d->backImageM->setFrame(frame);
    const QRectF pixels(frame.x() * sx, frame.y() * sy, frame.width() * sx, frame.height() * sy);

    const Picture piece = measurable ? cutImage(pixels.width(), pixels.height(), pixels.x(), pixels.y(), photo) : Picture();
    // The crop takes whole pixels; the piece covers exactly those, so it hides its hole to
    // the edge instead of leaving a sliver of black around it.
    const QRect taken = measurable ? cropPixelRect(pixels, photo.bitmap().size()) : QRect();
    if (!taken.isEmpty())
        frame = QRectF(taken.x() / sx, taken.y() / sy, taken.width() / sx, taken.height() / sy);
    // Nothing to keep from an empty crop: Tem keeps what it held.
    if (piece.isNull())
        logLine(QStringLiteral("the crop rectangle holds no pixels"));
    else
        WorkingFiles::shared().simpleSave(piece);

    auto container = std::make_shared<ui::ImageView>(frame);
    container->setImage(piece);
    container->setBackgroundColor(Qt::transparent);
    container->setUserInteractionEnabled(true);
    container->setContentMode(ui::ContentMode::ScaleAspectFill);
    container->setTag(kPieceTag);
    container->setAutoresizingMask(kAllSixDirections);
    container->setClipsToBounds(true);
    photoView.addSubview(container);
    container->setHidden(false);
    photoView.bringSubviewToFront(container.get());
    attachPlacementGestures(*container);
    d->shadView = container;

    // The photo stays upright; the opaque black hole lies exactly under the piece.
    if (!taken.isEmpty())
        photoView.setImage(holeImage(photo, QRectF(taken)));

    d->originViewSize = container->frame().size();
    d->oRectLa = container->frame();

    for (const ui::ViewPtr &sub : photoView.subviews())
        if (sub->tag() != kPieceTag)
            sub->removeFromSuperview();
    if (d->doneBtn)
        d->doneBtn->removeFromSuperview();
    d->doneBtn.reset();
    d->backImageM.reset();
    d->moveImgViewLU.reset();
    d->moveImgViewRU.reset();
    d->moveImgViewLD.reset();
    d->moveImgViewRD.reset();

    ScreenViews &v = *d->views;
    const QRectF background = v.backImgView->frame();
    v.cutImgView->setFrame(background);
    d->view->setFrame(QRectF(QPointF(0, 0), v.cutImgView->frame().size()));

    finalAdjust();
    addReplacePhotoButton();
}

void CutImage::cutImageZ(int senderTag)
{
    if (!d->fView2)
        return;
    if (d->shadView) {
        d->shadView->removeAllSubviews();
        d->shadView->removeFromSuperview();
    }
    d->views->descripImg2->setHidden(true);

    auto container = std::make_shared<ui::ImageView>(d->oRectLa);
    container->setBackgroundColor(Qt::transparent);
    container->setUserInteractionEnabled(true);
    container->setAlpha(1.0);
    container->setContentMode(ui::ContentMode::ScaleAspectFill);
    container->setImage(WorkingFiles::shared().simpleLoad());
    container->setAutoresizingMask(kAllSixDirections);
    container->setClipsToBounds(true);
    d->fView2->addSubview(container);
    container->setHidden(false);
    d->fView2->bringSubviewToFront(container.get());
    auto pan = std::make_shared<ui::PanRecognizer>([this](ui::PanRecognizer &p) { handleMove(p); });
    pan->setMinimumNumberOfTouches(1);
    pan->setMaximumNumberOfTouches(1);
    container->addGestureRecognizer(pan);
    for (int i = container->removeGestureRecognizers<ui::PinchRecognizer>(); i > 0; --i)
        logLine(QStringLiteral("pinch recognizer removed"));
    d->shadView = container;

    if (senderTag == kPieceModeTag) {
        d->effectOn = QStringLiteral("mode1");
        container->setTag(kPieceTag);
        container->setClipsToBounds(true);
    } else if (senderTag == kWholePhotoModeTag) {
        d->effectOn = QStringLiteral("mode2");
        container->setImage(WorkingFiles::shared().originLoad());
        container->setTag(kWholePhotoPieceTag);
        d->viewSize = container->frame().size();
        for (const ui::ViewPtr &piece : container->subviews())
            piece->setAutoresizingMask(kFourMargins);
        container->setClipsToBounds(false);
    }
    // Hand-over point: the shattering step (the 9 x 9 grid) and the adjust panel
    // (guideToScale) take the piece from here with the same sender.
    logLine(QStringLiteral("cutImageZ:%1").arg(senderTag));
}

} // namespace vimora
