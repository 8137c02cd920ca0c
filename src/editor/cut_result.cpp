// The coordinator's side of the cut: laying the rectangle, turning the cut into the piece
// container, and re-entering the piece.

#include "editor/cut_image.h"
#include "editor/piece_grid.h"
#include "editor/view_tags.h"
#include "platform/log.h"
#include "store/working_files.h"
#include "ui/pinch_recognizer.h"

namespace vimora {

namespace {
constexpr ui::AutoresizingMask kAllSixDirections = 63;
} // namespace

void CutImage::justSaveToAlbumC()
{
    if (m_photoView)
        m_crop.justSaveToAlbumC(*m_photoView, *m_views->cutImgView, [this] { showResult(); });
}

void CutImage::showResult()
{
    if (!m_photoView || !m_crop.isLaidOn(*m_photoView)) {
        logLine(QStringLiteral("no crop rectangle to cut"));
        return;
    }
    ui::ImageView &photoView = *m_photoView;
    const CutPiece cut = m_crop.cut(photoView);

    auto container = std::make_shared<ui::ImageView>(cut.frame);
    container->setImage(cut.picture);
    container->setBackgroundColor(Qt::transparent);
    container->setUserInteractionEnabled(true);
    container->setContentMode(ui::ContentMode::ScaleAspectFill);
    container->setTag(kPieceTag);
    container->setAutoresizingMask(kAllSixDirections);
    container->setClipsToBounds(true);
    photoView.addSubview(container);
    photoView.bringSubviewToFront(container.get());
    m_gestures.attachTo(*container, [this] { m_lift.hideHint(); });
    m_piece = container;
    m_pieceHome = container->frame();
    m_cutOut = cut.picture;
    m_holeShown = true;
    m_flowStartPicture = Picture();
    // Its hint keeps clear of Undo and Redo.
    m_lift.lift(*container, photoView, *m_views->cutImgView, historyControlsTop());

    // Whatever else lay on the photo belonged to the rectangle phase.
    for (const ui::ViewPtr &sub : photoView.subviews())
        if (sub->tag() != kPieceTag)
            sub->removeFromSuperview();

    ScreenViews &v = *m_views;
    v.cutImgView->setFrame(v.backImgView->frame());
    m_view->setFrame(QRectF(QPointF(0, 0), v.cutImgView->frame().size()));

    finalAdjust();
    m_replacement.addReplacePhotoButton();
    placeBackControl();
    noteJobChanged();
}

void CutImage::cutImageZ(int senderTag)
{
    if (!m_photoView || isEffectPending())
        return;
    // Effects build on each other: the flow starts from the piece where it lies, at the size
    // it was pinched to, with the effects it has. A piece still in its grid (a flow left half
    // way) starts again from what that flow started from; only without either, from the cut.
    const bool midFlow = m_piece && m_piece->image().isNull() && !piecesOf(*m_piece).empty() && !m_flowStartPicture.isNull();
    if (!midFlow) {
        m_flowStartFrame = m_pieceHome;
        m_flowStartPicture = WorkingFiles::shared().simpleLoad();
    }
    double alpha = 1.0;
    if (m_piece) {
        if (!m_piece->image().isNull()) {
            m_flowStartFrame = m_piece->frame();
            m_flowStartPicture = m_piece->image();
        }
        alpha = m_piece->alpha();
        m_piece->removeAllSubviews();
        m_piece->removeFromSuperview();
    }
    m_lift.hideHint();
    m_views->descripImg2->setHidden(true);

    auto container = std::make_shared<ui::ImageView>(m_flowStartFrame);
    container->setBackgroundColor(Qt::transparent);
    container->setUserInteractionEnabled(true);
    container->setAlpha(alpha);
    container->setContentMode(ui::ContentMode::ScaleAspectFill);
    container->setImage(m_flowStartPicture);
    container->setAutoresizingMask(kAllSixDirections);
    container->setClipsToBounds(true);
    m_photoView->addSubview(container);
    m_photoView->bringSubviewToFront(container.get());
    // Only dragged from here on: the shattering step scales the pieces itself.
    container->addGestureRecognizer(oneFingerPan([this](ui::PanRecognizer &p) { m_gestures.handleMove(p); }));
    m_piece = container;

    if (senderTag == kWorkOnPieceTag) {
        m_effectMode = EffectMode::OnPiece;
        container->setTag(kPieceTag);
        shattering(*container);
        container->setClipsToBounds(true);
    } else if (senderTag == kWorkOnWholePhotoTag) {
        m_effectMode = EffectMode::OnWholePhoto;
        container->setTag(kWholePhotoPieceTag);
        // The pieces keep their size when the whole is scaled, so they drift apart.
        shattering(*container);
        m_wholePhotoViewSize = container->frame().size();
        container->setClipsToBounds(false);
    }
    logLine(QStringLiteral("cutImageZ:%1").arg(senderTag));
    guideToScale(senderTag);
}

} // namespace vimora
