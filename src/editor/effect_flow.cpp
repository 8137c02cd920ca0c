// The coordinator's side of the effect flows: the adjust panel's dispatchers, flattening
// (Next), the scatter and the merge behind the "Processing..." alert. Picture work runs on
// the effect runner; its result is applied here, on the UI thread.

#include <algorithm>
#include <cmath>
#include <numbers>

#include <QPainterPath>
#include <QRandomGenerator>

#include "editor/cut_image.h"
#include "editor/photo_capture.h"
#include "editor/piece_grid.h"
#include "editor/view_snapshot.h"
#include "editor/view_tags.h"
#include "imaging/composite_filter.h"
#include "imaging/filter.h"
#include "imaging/geometry.h"
#include "imaging/subject_cut.h"
#include "imaging/tone.h"
#include "platform/device.h"
#include "platform/log.h"
#include "store/working_files.h"
#include "ui/activity_indicator.h"
#include "ui/alert_view.h"
#include "ui/pinch_recognizer.h"
#include "ui/slider.h"
#include "ui/switch.h"

namespace vimora {

namespace {
/// The one-shot delay before an announced job starts, so the alert is on screen first.
constexpr double kAnnouncedJobDelay = 0.5;
/// A flattened or merged picture never exceeds this side (a piece pulled far larger than
/// the photo would otherwise ask for gigabytes).
constexpr double kLargestSide = 8192;
constexpr QRectF kSpinnerFrame(125, 60, 30, 30);

QSize canvasFor(QSizeF size)
{
    const double w = std::clamp(size.width(), 1.0, kLargestSide), h = std::clamp(size.height(), 1.0, kLargestSide);
    return QSize(int(w), int(h));
}

double valueOf(const ui::Control &control)
{
    const auto *slider = dynamic_cast<const ui::Slider *>(&control);
    return slider ? slider->value() : 0;
}

ui::AffineTransform pieceTransform(double scale, double degrees)
{
    return ui::concat(ui::AffineTransform::makeScale(1 + scale, 1 + scale),
                      ui::AffineTransform::makeRotation(degrees * std::numbers::pi / 180));
}
} // namespace

void CutImage::guideToScale(int senderTag)
{
    if (senderTag == kWorkOnPieceTag)
        m_effectMode = EffectMode::OnPiece;
    else if (senderTag == kWorkOnWholePhotoTag)
        m_effectMode = EffectMode::OnWholePhoto;
    m_toolbar.hideHint();
    m_adjust.guideToScale(senderTag);
}

bool CutImage::isEffectPending() const
{
    return m_effects.isBusy() || m_deferredJob.isActive();
}

void CutImage::waitForEffects()
{
    // A smart cut or touch-up first: its result may start nothing here, but it ends the notice.
    m_segmentation.waitForIdle();
    m_effects.waitForIdle();
}

void CutImage::runOnPiece(std::function<Picture(const Picture &)> work, std::function<void(const Picture &)> apply,
                          ui::JobPolicy policy, int sliderTag)
{
    if (!m_piece)
        return;
    m_effects.postPrepared(
        [this, work = std::move(work), apply = std::move(apply)]() -> ui::JobRunner::Work {
            if (!m_piece)
                return {};
            std::weak_ptr<ui::ImageView> container = m_piece;
            const Picture input = m_piece->image();
            return [this, container, input, work, apply]() -> ui::JobRunner::Apply {
                const Picture result = work(input);
                return [this, container, result, apply] {
                    // The piece may have gone (a new cut, a new job) while the work ran.
                    if (auto piece = container.lock(); piece && piece->superview()) {
                        apply(result);
                        noteJobChanged();
                    }
                };
            };
        },
        policy, sliderTag);
}

void CutImage::effectFailed(const QString &reason)
{
    dismissProcessingAlert();
    auto alert = std::make_shared<ui::AlertView>(QStringLiteral("Error"), QStringLiteral("The effect could not be made: %1").arg(reason),
                                                 nullptr, QStringLiteral("OK"));
    alert->show();
}

// --- Next and Done ---

void CutImage::singleBtn()
{
    if (!m_piece || !m_photoView || isEffectPending())
        return;
    m_adjust.removeHandle();
    const bool onPiece = m_effectMode != EffectMode::OnWholePhoto;
    const QSizeF frame = m_piece->frame().size();
    std::weak_ptr<ui::ImageView> container = m_piece;

    ui::JobRunner::Work work;
    if (onPiece) {
        // At the photo's pixel resolution: the pieces are cut afresh from the plain cut-out.
        const Picture photo = m_photoView->image();
        const QSizeF view = m_photoView->frame().size();
        const double rx = view.width() > 0 ? photo.size().width() / view.width() : 1;
        const double ry = view.height() > 0 ? photo.size().height() / view.height() : 1;
        const QSize canvas = canvasFor(QSizeF(frame.width() * rx, frame.height() * ry));
        const Picture cutOut = m_flowStartPicture;
        const ui::AffineTransform turn = pieceTransform(m_adjust.sliderValue(kPieceScaleTag), m_adjust.sliderValue(kPieceRotationTag));
        work = [this, container, cutOut, canvas, turn]() -> ui::JobRunner::Apply {
            const Picture flat = renderSnapshot(gridSnapshot(shatterCrops(cutOut), QSizeF(canvas), turn), canvas);
            return [this, container, flat] { finishFlattening(container, flat); };
        };
    } else {
        // At the on-screen size, as the pieces lie now (spread, shadowed, scattered).
        const ViewSnapshot snapshot = snapshotOf(*m_piece);
        const QSize canvas = canvasFor(frame);
        work = [this, container, snapshot, canvas]() -> ui::JobRunner::Apply {
            const Picture flat = renderSnapshot(snapshot, canvas);
            return [this, container, flat] { finishFlattening(container, flat); };
        };
    }
    m_effects.post(std::move(work));
}

void CutImage::finishFlattening(const std::weak_ptr<ui::ImageView> &container, const Picture &flat)
{
    const auto piece = container.lock();
    // Left meanwhile (Home, a new job): the step-two panel must not reappear over another screen.
    if (!piece || piece != m_piece || !m_photoView || !m_adjust.isShown())
        return;
    const bool onPiece = m_effectMode != EffectMode::OnWholePhoto;
    piece->setImage(flat);
    WorkingFiles::shared().simple2Save(flat);
    m_flattenedBase = flat;
    piece->setTag(onPiece ? kPieceTag : kWholePhotoPieceTag);

    for (int i = piece->removeGestureRecognizers<ui::PinchRecognizer>(); i > 0; --i)
        logLine(QStringLiteral("It is UIPinchGestureRecognizer, remove form shadView"));
    piece->addGestureRecognizer(std::make_shared<ui::PinchRecognizer>([this](ui::PinchRecognizer &p) { m_gestures.handleScale(p); }));

    for (ui::ImageView *old : piecesOf(*piece))
        old->removeFromSuperview();
    m_photoView->setImage(WorkingFiles::shared().originLoad());
    m_holeShown = false;
    guideToScale(onPiece ? kPieceStepTwoPanel : kWholePhotoStepTwoPanel);
    noteJobChanged();
}

void CutImage::combineImg()
{
    m_adjust.hide();
    finalAdjust();
    remindNew();
    noteJobChanged();
}

void CutImage::shatteringPanel(int stepOnePanel)
{
    if (!m_piece || isEffectPending())
        return;
    m_adjust.removeHandle();
    m_piece->setTransform({});
    m_piece->setFrame(m_flowStartFrame);
    m_piece->setImage(m_flowStartPicture);
    shattering(*m_piece);
    guideToScale(stepOnePanel);
}

void CutImage::shatterFromPreview()
{
    if (!m_piece) {
        logLine(QStringLiteral("shattering: no cut piece"));
        return;
    }
    // The frame's settings stay for the next time the panel opens; the piece goes into its
    // step-one panel as it is, the way Color takes it.
    m_options.keepBackdrop();
    m_views->descripImg2->setHidden(true);
    if (m_photoView)
        m_photoView->setAlpha(1);
    cutImageZ(m_effectMode == EffectMode::OnWholePhoto ? kWorkOnWholePhotoTag : kWorkOnPieceTag);
}

void CutImage::cutApart()
{
    ui::ImageView *preview = m_options.openPreview();
    ui::ImageView *layer = m_options.openPhotoLayer();
    if (!preview || !layer)
        return;
    // The expansion leaves the cut guide behind it: a tap shows it.
    setTapMode(TapMode::CutGuideHidden);
    m_expansion.cutApart(*preview, *layer, m_options.layerOverflowsVertically());
}

void CutImage::cutApartExcute(int arrowTag)
{
    m_expansion.cutApartExcute(arrowTag, m_job.readPhoto());
}

// --- The dispatchers ---

void CutImage::filterSelect(ui::Control &sender)
{
    const int tag = sender.tag();
    m_lastFilterTag = tag;
    const int panel = m_adjust.panelId();
    if ((panel != kPieceStepTwoPanel && panel != kWholePhotoStepTwoPanel) || !m_piece)
        return;
    const auto showAndSave = [this](const Picture &result) {
        m_piece->setImage(result);
        WorkingFiles::shared().simple2Save(result);
    };
    switch (tag) {
    case kBlurTag:
        runOnPiece([](const Picture &w) { return gaussianBlurWithBias(w, 1); }, showAndSave);
        break;
    case kHueTag: {
        // Each release turns the already turned picture again.
        const float angle = float(valueOf(sender));
        runOnPiece([angle](const Picture &w) { return Filter().filterHue(angle, w); }, showAndSave, ui::JobPolicy::LatestWins, tag);
        break;
    }
    case kExposureTag:
    case kSaturationTag: {
        // Both restart from the flattened base (or the last style), dropping hue, blur and sharpen.
        const float ev = float(m_adjust.sliderValue(kExposureTag));
        const float saturation = float(m_adjust.sliderValue(kSaturationTag));
        const Picture base = m_flattenedBase;
        runOnPiece(
            [base, ev, saturation](const Picture &) {
                const Filter filter;
                return filter.filterColorControls(saturation, 0, 1.0f, filter.filterExp(ev, base));
            },
            showAndSave, ui::JobPolicy::LatestWins, kExposureTag); // both sliders: one value pair
        break;
    }
    case kSharpenTag:
        runOnPiece([](const Picture &w) { return sharpenWithBias(gaussianBlurWithBias(w, 1), 1); }, showAndSave);
        break;
    case kAlphaTag:
        m_piece->setAlpha(valueOf(sender));
        break;
    default:
        break;
    }
    noteJobChanged();
}

void CutImage::imageEffect(ui::Control &sender)
{
    if (!m_piece)
        return;
    const int tag = sender.tag();
    switch (tag) {
    case kStyle1Tag:
    case kStyle2Tag:
    case kStyle3Tag: {
        const BlendMode mode = tag == kStyle1Tag ? BlendMode::Overlay : tag == kStyle2Tag ? BlendMode::Darken : BlendMode::HardLight;
        const Picture flattened = WorkingFiles::shared().simple2Load();
        const Picture cutOut = m_flowStartPicture;
        runOnPiece([mode, flattened, cutOut](const Picture &) { return CompositeFilter().blend(mode, flattened, cutOut); },
                   [this](const Picture &styled) {
                       m_piece->setImage(styled);
                       m_flattenedBase = styled;
                   });
        break;
    }
    case kStyle4Tag: {
        // Undoes a style: the flattened picture as it was saved.
        const Picture flattened = WorkingFiles::shared().simple2Load();
        m_piece->setImage(flattened);
        m_flattenedBase = flattened;
        noteJobChanged();
        break;
    }
    case kPieceScaleTag:
    case kPieceRotationTag: {
        const ui::AffineTransform turn = pieceTransform(m_adjust.sliderValue(kPieceScaleTag), m_adjust.sliderValue(kPieceRotationTag));
        for (ui::ImageView *piece : piecesOf(*m_piece))
            piece->setTransform(turn);
        break;
    }
    case kFlatRotationTag: {
        // Always from the saved picture: moving back to 0 shows it unturned.
        const float degrees = float(valueOf(sender));
        const Picture flattened = WorkingFiles::shared().simple2Load();
        runOnPiece([degrees, flattened](const Picture &) { return rotateInDegrees(flattened, degrees); },
                   [this](const Picture &turned) { m_piece->setImage(turned); }, ui::JobPolicy::LatestWins, tag);
        break;
    }
    case kWholeScaleTag: {
        // From the size the flow began with, so the slider's value is the scale exactly.
        const double scale = valueOf(sender);
        m_piece->setFrame(QRectF(m_piece->frame().topLeft(), m_wholePhotoViewSize * scale));
        noteJobChanged();
        break;
    }
    case kDistortionTag: {
        const float amount = float(valueOf(sender));
        runOnPiece(
            [amount](const Picture &w) {
                const float pw = float(w.pixelWidth()), ph = float(w.pixelHeight());
                return Filter().filterBumpDistortion(amount, pw * 0.5f, ph * 0.5f, std::min(pw, ph) * 0.5f, w);
            },
            [this](const Picture &bulged) { m_piece->setImage(bulged); }, ui::JobPolicy::LatestWins, tag);
        break;
    }
    default:
        break;
    }
}

void CutImage::switchPieceEffect(ui::Control &sender)
{
    const auto *toggle = dynamic_cast<const ui::Switch *>(&sender);
    if (!toggle || !m_piece)
        return;
    const bool on = toggle->isOn();
    if (sender.tag() == kShadowSwitchTag) {
        for (ui::ImageView *piece : piecesOf(*m_piece)) {
            piece->setClipsToBounds(false);
            // A piece of a shaped cut casts its subject's shadow (no path: the drawn alpha).
            QPainterPath path;
            if (!hasTransparency(piece->image().bitmap()))
                path.addRect(piece->bounds());
            piece->setShadowPath(path);
            piece->setShadowOffset(on ? kPieceShadowOffset : QPointF(0, 0));
            piece->setShadowOpacity(on ? kPieceShadowOpacity : 0);
        }
        return;
    }
    if (sender.tag() != kShatteringSwitchTag)
        return;
    if (on) {
        for (ui::ImageView *piece : piecesOf(*m_piece)) {
            piece->setShadowOffset(QPointF(0, 0));
            piece->setShadowOpacity(0);
        }
        alertToMakeMosaicForiPhone(kShatteringSwitchTag);
        return;
    }
    // Off before an announced scatter started: it no longer applies.
    if (m_deferredJob.isActive()) {
        m_deferredJob.stop();
        dismissProcessingAlert();
    }
    m_piece->setFrame(m_flowStartFrame);
    m_piece->setImage(m_flowStartPicture);
    m_piece->setTag(kWholePhotoPieceTag);
    shattering(*m_piece);
}

// --- Jobs behind the "Processing..." alert ---

void CutImage::alertToMakeMosaicForiPhone(int callerTag)
{
    if (isEffectPending()) {
        logLine(QStringLiteral("processing ignored: a job is still pending"));
        return;
    }
    showProcessingAlert(callerTag);
    if (callerTag == kTextButtonTag)
        m_deferredJob.start(kAnnouncedJobDelay, [this] { closeShatterPanel(); });
    else
        m_deferredJob.start(kAnnouncedJobDelay, [this] { makeSynthesisWithmosaic(); });
}

void CutImage::showProcessingAlert(int callerTag)
{
    dismissProcessingAlert();
    auto alert = std::make_shared<ui::AlertView>(QStringLiteral("Processing..."), QStringLiteral(" "));
    alert->setTag(callerTag);
    auto spinner = std::make_shared<ui::ActivityIndicator>(ui::ActivityIndicatorStyle::WhiteLarge);
    spinner->setFrame(kSpinnerFrame);
    alert->addSubview(spinner);
    alert->show();
    spinner->startAnimating();
    m_processingAlert = alert;
}

void CutImage::dismissProcessingAlert()
{
    if (!m_processingAlert)
        return;
    if (m_processingAlert->isVisible())
        m_processingAlert->dismissWithClickedButtonIndex(0, true);
    m_processingAlert->removeFromSuperview();
    m_processingAlert.reset();
    spinEnd();
}

void CutImage::makeSynthesisWithmosaic()
{
    m_deferredJob.stop();
    std::vector<std::weak_ptr<ui::ImageView>> pieces;
    std::vector<Picture> pictures;
    if (m_piece)
        for (ui::ImageView *piece : piecesOf(*m_piece)) {
            pieces.push_back(std::static_pointer_cast<ui::ImageView>(piece->sharedFromThis()));
            pictures.push_back(piece->image());
        }
    m_effects.post([this, pieces, pictures]() -> ui::JobRunner::Apply {
        const std::vector<Picture> skewed = scatterPictures(pictures, [] { return QRandomGenerator::global()->generate(); });
        return [this, pieces, skewed] {
            // Pieces rebuilt meanwhile (Shattering turned off) keep their pictures.
            for (size_t i = 0; i < pieces.size(); ++i)
                if (auto piece = pieces[i].lock(); piece && m_piece && piece->superview() == m_piece.get())
                    piece->setImage(skewed[i]);
            dismissProcessingAlert();
        };
    });
}

void CutImage::closeShatterPanel()
{
    m_deferredJob.stop();
    m_views->selectTopView->setHidden(true);
    m_views->descripImg2->setHidden(true);
    if (!m_photoView) {
        dismissProcessingAlert();
        return;
    }
    // At the photo's pixel size: the piece and any text lying on the photo become its pixels;
    // the layers beside the photo stay layers over the result.
    const Picture photo = m_photoView->image();
    const QSize canvas = photo.isNull() ? canvasFor(m_photoView->bounds().size()) : canvasFor(photo.bitmap().size());
    const ViewSnapshot snapshot = compositionSnapshot(*m_photoView, *m_views->cutImgView, TextLayers::OnPhotoOnly);
    std::weak_ptr<ui::ImageView> photoView = m_photoView;
    m_effects.post([this, snapshot, canvas, photoView]() -> ui::JobRunner::Apply {
        const Picture merged = renderComposition(snapshot, canvas);
        return [this, merged, photoView] {
            dismissProcessingAlert();
            if (photoView.lock() != m_photoView)
                return; // a new job replaced the photo meanwhile
            WorkingFiles::shared().originSave(merged);
            newCutOnOrigin();
        };
    });
}

} // namespace vimora
