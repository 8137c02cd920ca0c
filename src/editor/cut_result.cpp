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
        m_crop.justSaveToAlbumC(*m_photoView, *m_views->cutImgView, [this] { showResult(); }, [this] { smartCut(); });
}

void CutImage::showResult()
{
    if (!m_photoView || !m_crop.isLaidOn(*m_photoView)) {
        logLine(QStringLiteral("no crop rectangle to cut"));
        return;
    }
    m_touchUp.end();
    m_holeShape = Picture();
    placePiece(m_crop.cut(*m_photoView));
}

void CutImage::smartCut()
{
    if (!m_photoView || !m_crop.isLaidOn(*m_photoView) || m_segmentation.isBusy())
        return;
    const QRect rect = m_crop.pixelRect(*m_photoView);
    const QImage photo = m_photoView->image().bitmap();
    const std::weak_ptr<ui::ImageView> photoView = m_photoView;
    m_findingSubject.start();
    m_segmentation.run<SubjectCut>([photo, rect] { return SubjectCut::find(photo, rect); },
                                   [this, photoView, key = photo.cacheKey()](const SubjectCut &cut) {
                                       m_findingSubject.stop();
                                       // Only onto the photo it was found on, while its rectangle lies there
                                       // and the editor is on screen (not left for home meanwhile).
                                       const auto view = photoView.lock();
                                       if (!view || view != m_photoView || !m_crop.isLaidOn(*view)
                                           || view->image().bitmap().cacheKey() != key || m_views->cutImgView->isHidden())
                                           return;
                                       if (!cut.found()) {
                                           m_noSubject.ask(QStringLiteral("No subject found in the rectangle — cut the rectangle instead?"),
                                                           QString(), QStringLiteral("Cut"), [this] { showResult(); });
                                           return;
                                       }
                                       const Picture before = view->image();
                                       const CutPiece piece = m_crop.cutShaped(*view, cut);
                                       if (piece.picture.isNull())
                                           return;
                                       placePiece(piece);
                                       m_holeShape = holeShape(cut);
                                       m_touchUp.begin(cut, before, *m_piece);
                                   });
}

void CutImage::applySubjectStroke(const SubjectStroke &stroke)
{
    if (!m_touchUp.isActive())
        return;
    m_findingSubject.start();
    // The stroke builds on every stroke before it: the cut is read when its turn comes.
    m_segmentation.postPrepared([this, stroke]() -> ui::JobRunner::Work {
        if (!m_touchUp.isActive()) {
            m_findingSubject.stop();
            return {};
        }
        const SubjectCut from = m_touchUp.cut();
        return [this, from, stroke]() -> ui::JobRunner::Apply {
            const SubjectCut touched = from.touchedUp(stroke);
            return [this, touched] {
                m_findingSubject.stop();
                setSubjectCut(touched);
            };
        };
    });
}

void CutImage::setSubjectCut(const SubjectCut &cut)
{
    if (!m_touchUp.isActive() || !m_piece)
        return;
    // A stroke that took everything away leaves the piece as it was.
    const Picture piece = shapedPiece(m_touchUp.photo().bitmap(), cut);
    if (piece.isNull()) {
        logLine(QStringLiteral("the touch-up left no subject"));
        return;
    }
    // Each stroke is a step of its own, even when two results land in one turn of the loop.
    if (m_jobKeeping.isActive()) {
        m_jobKeeping.stop();
        keepJob();
    }
    m_touchUp.setCut(cut);
    m_holeShape = holeShape(cut);
    m_piece->setImage(piece);
    m_cutOut = piece;
    WorkingFiles::shared().simpleSave(piece);
    if (m_holeShown && m_photoView)
        m_photoView->setImage(shapedHole(m_touchUp.photo(), cut));
    noteJobChanged();
}

void CutImage::placePiece(const CutPiece &cut)
{
    ui::ImageView &photoView = *m_photoView;
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
    m_touchUp.end();
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
