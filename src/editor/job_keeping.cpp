// The coordinator's side of the kept job: what of the editor is kept as the job changes, and
// the editor built again from it after a restart.

#include "editor/cut_image.h"
#include "editor/piece_grid.h"
#include "editor/view_tags.h"
#include "platform/log.h"
#include "platform/settings.h"
#include "store/working_files.h"

namespace vimora {

namespace {
constexpr ui::AutoresizingMask kAllSixDirections = 63;

struct ModeName
{
    EffectMode mode;
    const char *name;
};
constexpr ModeName kModeNames[] = {{EffectMode::None, ""},
                                   {EffectMode::SixteenByNine, "16:9"},
                                   {EffectMode::FourByThree, "4:3"},
                                   {EffectMode::OnPiece, "mode1"},
                                   {EffectMode::OnWholePhoto, "mode2"}};

QString modeName(EffectMode mode)
{
    for (const ModeName &m : kModeNames)
        if (m.mode == mode)
            return QString::fromLatin1(m.name);
    return {};
}

EffectMode modeNamed(const QString &name)
{
    for (const ModeName &m : kModeNames)
        if (name == QLatin1String(m.name))
            return m.mode;
    return EffectMode::None;
}

/// view as a kept layer, its centre given in reference's points.
JobLayer keptLayer(const ui::ImageView &view, const ui::View &reference)
{
    JobLayer layer;
    layer.picture = view.image();
    layer.center = view.superview() ? view.superview()->convertPointTo(view.center(), &reference) : view.center();
    layer.size = view.bounds().size();
    const ui::AffineTransform t = view.transform();
    layer.transform = {t.a, t.b, t.c, t.d, t.tx, t.ty};
    layer.alpha = view.alpha();
    layer.tag = view.tag();
    layer.clips = view.clipsToBounds();
    return layer;
}

/// Lays view out as layer says, its centre given in reference's points.
void place(ui::View &view, const JobLayer &layer, const ui::View &reference)
{
    view.setTransform({});
    view.setBounds(QRectF(QPointF(0, 0), layer.size));
    view.setCenter(view.superview() ? reference.convertPointTo(layer.center, view.superview()) : layer.center);
    const auto &t = layer.transform;
    view.setTransform({t[0], t[1], t[2], t[3], t[4], t[5]});
    view.setAlpha(layer.alpha);
}
} // namespace

void CutImage::noteJobChanged()
{
    // Many steps of one gesture or flow land in one record.
    if (!m_jobKeeping.isActive())
        m_jobKeeping.start(0, [this] { keepJob(); });
}

void CutImage::keepJob()
{
    auto record = jobRecord();
    if (!record)
        return;
    m_history.note(*record, m_original, m_touchUp.isActive() ? SubjectTouch{m_touchUp.cut(), m_touchUp.photo()} : SubjectTouch{});
    // A new job starts saved: nothing was changed yet.
    if (std::exchange(m_savedStateIsNextNoted, false))
        m_savedState = *record;
    updateHistoryControls();
    updateTitle();
    record->title = m_photoTitle;
    record->unsaved = hasUnsavedChanges();
    m_history.attachTo(*record);
    JobStore::shared().save(*record);
}

bool CutImage::canStepThroughHistory() const
{
    const ScreenViews &v = *m_views;
    // At rest on the editor: not while typing, under the options panel, or mid-flow.
    return !m_job.isEmpty() && m_photoView && !v.cutImgView->isHidden() && v.descripImg->isHidden() && v.descripImg2->isHidden()
           && v.wordView->isHidden() && !isEffectPending() && !m_segmentation.isBusy() && jobRecord().has_value();
}

bool CutImage::undo()
{
    return stepThroughHistory(false);
}

bool CutImage::redo()
{
    return stepThroughHistory(true);
}

bool CutImage::stepThroughHistory(bool forward)
{
    if (!canStepThroughHistory())
        return false;
    // A change still waiting to be kept is a step of its own, before going back over it.
    if (m_jobKeeping.isActive()) {
        m_jobKeeping.stop();
        keepJob();
    }
    const auto step = forward ? m_history.redo() : m_history.undo();
    if (!step)
        return false;
    // The text overlay's panels act on layers about to be replaced.
    for (int open = 0; open < 8 && m_wordTable->closeTopPanel(); ++open) {
    }
    layBack(step->record);
    m_original = step->original;
    // The brushes come back with the cut the step shows, so the next stroke builds on it.
    if (step->touch.isOpen() && m_piece)
        m_touchUp.begin(step->touch.cut, step->touch.photo, *m_piece);
    if (const auto present = jobRecord())
        m_history.settle(*present);
    updateHistoryControls();
    updateTitle();
    noteJobChanged();
    return true;
}

bool CutImage::hasUnsavedChanges() const
{
    const JobRecord *present = m_history.present();
    return present && (!m_savedState || !sameJobState(*m_savedState, *present));
}

QString CutImage::windowTitle() const
{
    const QString app = QStringLiteral("Vimora");
    if (m_job.isEmpty() || m_views->cutImgView->isHidden())
        return app;
    const QString name = m_photoTitle.isEmpty() ? m_job.photoName() : m_photoTitle;
    return (hasUnsavedChanges() ? QStringLiteral("*") : QString()) + name + QStringLiteral(" — ") + app;
}

void CutImage::updateTitle()
{
    if (m_onTitleChanged)
        m_onTitleChanged(windowTitle());
}

void CutImage::updateHistoryControls()
{
    m_toolbar.setHistoryState(m_history.canUndo(), m_history.canRedo());
}

std::optional<JobRecord> CutImage::jobRecord() const
{
    if (m_job.isEmpty() || !m_photoView)
        return std::nullopt;
    // Between the steps of a flow the piece is its grid of small pictures: the job stays as it
    // was kept before the flow until the grid is flattened again.
    if (m_piece && !piecesOf(*m_piece).empty())
        return std::nullopt;
    JobRecord record;
    record.photoNames = m_job.photoNames();
    record.thumbNames = m_job.thumbNames();
    record.photo = WorkingFiles::shared().originLoad();
    record.shown = m_photoView->image();
    if (record.photo.isNull() || record.shown.isNull())
        return std::nullopt;
    record.cutOut = m_cutOut;
    if (m_piece && m_piece->superview() && !m_piece->image().isNull()) {
        record.piece = keptLayer(*m_piece, *m_photoView);
        record.piece->lifted = LiftedPiece::isShaded(*m_piece);
        record.pieceHome = m_pieceHome;
        record.holeShape = m_holeShape;
    }
    if (m_original.isKnown()) {
        record.originalPath = m_original.path;
        record.originalSize = m_original.size;
    }
    record.effectMode = modeName(m_effectMode);
    for (const ui::ViewPtr &sub : m_views->cutImgView->subviews()) {
        const auto *layer = dynamic_cast<const ui::ImageView *>(sub.get());
        if (!layer || layer->tag() < kFirstTextLayerTag || layer->image().isNull())
            continue;
        JobLayer kept = keptLayer(*layer, *m_photoView);
        kept.kind = m_wordTable->isWordPicture(layer->tag()) ? QStringLiteral("word") : QStringLiteral("text");
        kept.original = m_wordTable->layers().original(layer->tag());
        record.layers.push_back(kept);
    }
    return record;
}

void CutImage::resumeJob(const JobRecord &record)
{
    // The photo it was picked from, as the record names it: Original size checks it is still
    // that photo before rendering from it.
    m_original = keptOriginal(record);
    m_pickedOriginal = {};
    layBack(record);
    m_history.start(record, m_original);
    if (const auto present = jobRecord())
        m_history.settle(*present);
    m_photoTitle = record.title;
    m_savedState.reset();
    m_savedStateIsNextNoted = false;
    if (!record.unsaved && m_history.present())
        m_savedState = *m_history.present();
    updateHistoryControls();
    updateTitle();
    logLine(QStringLiteral("job resumed: %1 with %2 layers").arg(m_job.photoName()).arg(record.layers.size()));
}

void CutImage::layBack(const JobRecord &record)
{
    ScreenViews &v = *m_views;
    // The brushes belong to the cut as it was; the caller opens them again where the step has one.
    m_touchUp.end();
    m_holeShape = record.piece ? record.holeShape : Picture();
    v.mainView->setImage({});
    Settings::shared().setString(kKeyButtonBack, QStringLiteral("SHOW"));
    m_job.start(record.photoNames, record.thumbNames);
    openEditorLayer();
    v.wordView->setHidden(true);
    v.descripImg->setHidden(true);
    v.selectTopView->setImage({});

    // The working files the later steps read hold the job's pictures again (written only when
    // they differ: an undo of a move leaves the photo as it is).
    const auto differs = [](const Picture &a, const Picture &b) { return a.bitmap().cacheKey() != b.bitmap().cacheKey(); };
    if (differs(record.photo, WorkingFiles::shared().originLoad()))
        WorkingFiles::shared().originSave(record.photo);
    if (!record.cutOut.isNull() && differs(record.cutOut, WorkingFiles::shared().simpleLoad()))
        WorkingFiles::shared().simpleSave(record.cutOut);
    m_cutOut = record.cutOut;
    m_effectMode = modeNamed(record.effectMode);
    buildPhotoView(record.photo);
    m_photoView->setImage(record.shown);
    // The photo view shows the photo itself unless the cut's hole is punched in it.
    m_holeShown = differs(record.shown, record.photo);

    if (record.piece) {
        // As the cut left it, then moved, scaled and changed as it was.
        auto container = std::make_shared<ui::ImageView>();
        m_photoView->addSubview(container);
        container->setImage(record.piece->picture);
        container->setBackgroundColor(Qt::transparent);
        container->setUserInteractionEnabled(true);
        container->setContentMode(ui::ContentMode::ScaleAspectFill);
        container->setTag(record.piece->tag == kWholePhotoPieceTag ? kWholePhotoPieceTag : kPieceTag);
        container->setClipsToBounds(record.piece->clips);
        place(*container, *record.piece, *m_photoView);
        if (record.piece->lifted)
            LiftedPiece::shade(*container);
        container->setAutoresizingMask(kAllSixDirections);
        m_gestures.attachTo(*container);
        m_piece = container;
        m_pieceHome = record.pieceHome;

        v.cutImgView->setFrame(v.backImgView->frame());
        m_view->setFrame(QRectF(QPointF(0, 0), v.cutImgView->frame().size()));
        finalAdjust();
        m_replacement.addReplacePhotoButton();
    } else {
        // Back at the crop step (an undone cut): the finishing toolbar goes with the piece.
        justSaveToAlbumC();
        v.selectTopView->setHidden(true);
    }
    placeBackControl();

    for (const JobLayer &kept : record.layers) {
        ui::ImageView &layer = m_wordTable->restoreLayer(kept.picture, kept.original, kept.kind == QLatin1String("word"));
        place(layer, kept, *m_photoView);
    }
    m_view->becomeFirstResponder();
}

} // namespace vimora
