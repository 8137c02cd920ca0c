#include "editor/cut_image.h"

#include <QFileInfo>
#include <QKeyEvent>

#include <utility>

#include "editor/editor_layout.h"
#include "editor/photo_capture.h"
#include "editor/view_tags.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "platform/settings.h"
#include "editor/view_snapshot.h"
#include "screenkit/notices.h"
#include "store/cleanup.h"
#include "store/working_files.h"
#include "ui/button.h"
#include "ui/clock.h"
#include "ui/geometry.h"
#include "ui/pinch_recognizer.h"
#include "ui/switch.h"
#include "ui/tap_recognizer.h"

namespace vimora {

namespace {
/// The photo view sits this far above the centre after a rotation.
constexpr double kRotatedPhotoLift = 50;
constexpr double kBackControlWidth = 90;
/// New text layers keep this far from the editor's controls.
constexpr double kControlClearance = 6;
/// The framed picture OK lays onto the job never exceeds this side.
constexpr double kLargestFramedSide = 8192;
/// An arrow key moves one point; with Shift, this many.
constexpr double kLargeNudge = 10;
} // namespace

CutImage::CutImage(std::shared_ptr<ScreenViews> views)
    : m_views(std::move(views))
    , m_view(std::make_shared<KeyView>(editorFrame(Device::profile(), false)))
    , m_crop(*m_view, [this] { m_views->descripImg2->setHidden(true); })
    , m_gestures(m_view.get(), *m_views->descripImg2, *m_views->descripImg,
                 [this] { return ColourPickTarget{m_options.openPhotoLayer(), m_options.openPreview()}; })
    , m_options(*m_views, OptionsPanelActions{[this] { optionsOk(); }, [this] { optionsCancel(); },
                                              [this](ui::Control &sender) { swicthState(sender); },
                                              [this](ui::View &layer) {
                                                  layer.addGestureRecognizer(std::make_shared<ui::TapRecognizer>(
                                                      [this](ui::TapRecognizer &t) { m_gestures.handleSingleTap(t); }));
                                                  layer.addGestureRecognizer(std::make_shared<ui::PinchRecognizer>(
                                                      [this](ui::PinchRecognizer &p) {
                                                          if (!m_expansion.isOffering())
                                                              m_gestures.handleScale(p);
                                                      }));
                                              },
                                              [this] { cutApart(); }, [this] { shatterFromPreview(); }, [this] { gradientSelect(); },
                                              [this] { colorPick(); }, [this] { return m_expansion.isOffering(); }})
    , m_replacement(*this, *m_views)
    , m_backAnimation(*m_views)
    , m_toolbar(*m_views, [this] {
        FinishingActions actions;
        actions.save = [this] { askMessage(); };
        actions.frame = [this] { preView2(kBottomOkTag); };
        actions.home = [this] { closeDrawView(); };
        actions.write = [this] { gotoTextView(); };
        actions.undo = [this] { undo(); };
        actions.redo = [this] { redo(); };
        actions.names = [this] {
            if (m_naming.strip()->isHidden())
                showTwoBtns();
            else
                hideTwoBtns();
        };
        return actions;
    }())
    , m_feathering(*m_views)
    , m_naming(*m_views)
    , m_colourPanel(*m_views)
    , m_saving(*m_views, Saving::EditorAccess{[this] { return m_photoView.get(); },
                                              [this]() -> ui::View * { return m_views->cutImgView.get(); },
                                              [this] { return m_job.photoNames(); },
                                              [this] { return m_editedNames; },
                                              [this](bool on) { on ? spinBegin() : spinEnd(); },
                                              [this]() -> std::optional<OriginalComposition> {
                                                  if (!m_original.isKnown() || !m_photoView)
                                                      return std::nullopt;
                                                  return OriginalComposition{
                                                      compositionSnapshot(*m_photoView, *m_views->cutImgView), m_original,
                                                      m_holeShown && m_piece ? std::optional<QRectF>(m_pieceHome) : std::nullopt,
                                                      m_holeShape};
                                              },
                                              [this] { return m_naming.singleName(); }})
    , m_adjust(*m_views, AdjustPanelActions{[this](ui::Control &c) { filterSelect(c); }, [this](ui::Control &c) { imageEffect(c); },
                                            [this](ui::Control &c) { swicthState(c); }, [this] { singleBtn(); },
                                            [this](int stepOne) { shatteringPanel(stepOne); }, [this] { combineImg(); },
                                            [this](ui::PanRecognizer &p) { handleMove6(p); },
                                            [this] { return m_piece ? m_piece->convertRectTo(m_piece->bounds(), m_views->mainView.get()) : QRectF(); }})
{
    m_saving.setOnSaved([this] {
        if (const JobRecord *present = m_history.present())
            m_savedState = *present;
        updateTitle();
        noteJobChanged();
    });
    m_naming.strip()->setTag(kNamingStripTag);
    m_naming.setExport([this] { renameAct(); });
    // The naming strip's Export: the pictures into Documents under their new names.
    m_exportNamed = [this] { m_saving.saveToItunes(m_naming.names()); };
    m_expansion.setPhotoSource([this] { return m_job.readPhoto(); });
    // Color and ChangeFoto start their flows on the piece; Text merges it into the photo.
    m_toolbar.setEffectAction([this](int tag) {
        if (tag == kTextButtonTag)
            alertToMakeMosaicForiPhone(tag);
        else
            cutImageZ(tag);
    });
    m_view->setTouchHandler([this](ui::TouchPhase phase, const ui::TouchSet &touches) { m_stamp.handleTouch(phase, touches); });
    m_view->setKeyHandler([this](const QKeyEvent &event) {
        // With a panel up, Escape is the panel's; the options panel leaves by its OK.
        const ScreenViews &v = *m_views;
        if (handleEditKey(event))
            return true;
        if (event.key() == Qt::Key_Escape && m_wordTable->closeTopPanel())
            return true;
        if (event.key() != Qt::Key_Escape || v.cutImgView->isHidden() || !v.descripImg->isHidden() || !v.descripImg2->isHidden()
            || !v.wordView->isHidden())
            return false;
        goBack();
        return true;
    });

    m_wordTable = std::make_unique<WordTable>(WordTableViews::fromScreen(*m_views));
    setTextOverlay([this] { m_wordTable->noteViewOpen(); });
    // New words land on the photo, clear of the controls along the top, down the left and of the
    // toolbar, so they are seen and saved.
    m_wordTable->setLandingArea([this] {
        ui::View &layer = *m_views->cutImgView;
        QRectF free = layer.bounds();
        for (int tag : {kReplacePhotoTag, kEditorBackTag, kFrameControlTag})
            if (ui::View *control = layer.viewWithTag(tag); control && control->superview() == &layer)
                free.setTop(std::max(free.top(), control->frame().bottom() + kControlClearance));
        for (int tag : {kWriteControlTag, kNamesControlTag})
            if (ui::View *control = layer.viewWithTag(tag); control && control->superview() == &layer)
                free.setLeft(std::max(free.left(), control->frame().right() + kControlClearance));
        // The toolbar is away while typing, and comes back along the bottom.
        if (const ui::View *bar = m_views->selectTopView.get(); bar && bar->superview()) {
            const double barTop = bar->superview()->convertRectTo(bar->frame(), &layer).top();
            if (barTop > free.center().y())
                free.setBottom(std::min(free.bottom(), barTop));
        }
        if (!m_photoView || !m_photoView->superview())
            return free;
        const QRectF photo = m_photoView->superview()->convertRectTo(m_photoView->frame(), &layer);
        const QRectF clear = photo.intersected(free);
        return clear.isEmpty() ? photo : clear;
    });
    m_wordTable->setOnLayersChanged([this] {
        m_nudgesPiece = false;
        noteJobChanged();
    });
    m_gestures.setOnPlaced([this] {
        m_nudgesPiece = true;
        noteJobChanged();
    });
    // Back on the photo as soon as the text box is gone, so the new layer is placed over it.
    m_wordTable->setOnTypingEnded([this] {
        if (m_photoView)
            m_photoView->setAlpha(1);
        showEditorControls(true);
        // The keys are the editor's again (the text box had them).
        m_view->becomeFirstResponder();
    });

    auto back = makeBarButton(QRectF(0, 6, kBackControlWidth, 40), QStringLiteral("Back"), kEditorBackTag,
                              [this] { goBack(); });
    m_backControl = back;
}

void CutImage::placeBackControl()
{
    // At the screen's top right, whatever frame the cut gave the editor layer.
    ui::View &layer = *m_views->cutImgView;
    const QPointF topLeft = layer.convertPointFrom(QPointF(Device::screenSize().width() - kBackControlWidth - 10, 6), nullptr);
    m_backControl->setFrame(QRectF(topLeft, QSizeF(kBackControlWidth, 40)));
    m_backControl->setAutoresizingMask(ui::FlexibleLeftMargin);
    layer.addSubview(m_backControl);
    m_toolbar.placeHistoryControls();
}

double CutImage::historyControlsTop() const
{
    const QRectF undo = undoControlFrame(Device::profile(), Device::isLandscape());
    return m_views->cutImgView->convertPointFrom(undo.topLeft(), nullptr).y();
}

bool CutImage::handleEditKey(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers mods = event.modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event.key();
    if (key == Qt::Key_Z && mods == Qt::ControlModifier)
        return undo(), true;
    if ((key == Qt::Key_Z && mods == (Qt::ControlModifier | Qt::ShiftModifier)) || (key == Qt::Key_Y && mods == Qt::ControlModifier))
        return redo(), true;
    if (key == Qt::Key_S && mods == Qt::ControlModifier) {
        // The toolbar's Save, where the toolbar offers it.
        if (hasPiece() && canStepThroughHistory() && !m_views->selectTopView->isHidden())
            askMessage();
        return true;
    }
    if ((key == Qt::Key_Delete || key == Qt::Key_Backspace) && mods == Qt::NoModifier)
        return canStepThroughHistory() && m_wordTable->deleteSelectedLayer();
    QPointF step;
    switch (key) {
    case Qt::Key_Left: step = QPointF(-1, 0); break;
    case Qt::Key_Right: step = QPointF(1, 0); break;
    case Qt::Key_Up: step = QPointF(0, -1); break;
    case Qt::Key_Down: step = QPointF(0, 1); break;
    default: return false;
    }
    if ((mods & ~Qt::ShiftModifier) != Qt::NoModifier || !canStepThroughHistory())
        return false;
    step *= mods & Qt::ShiftModifier ? kLargeNudge : 1.0;
    // What the user last worked on moves: the text layer last changed, else the piece.
    if (!m_nudgesPiece && m_wordTable->nudgeSelectedLayer(step))
        return true;
    if (!m_piece)
        return false;
    m_piece->setCenter(m_piece->center() + step);
    m_lift.hideHint();
    noteJobChanged();
    return true;
}

void CutImage::goBack()
{
    if (!hasPiece()) {
        closeDrawView();
        return;
    }
    m_leaveQuestion.ask(QStringLiteral("Leave the editor?"),
                        QStringLiteral("The cut piece stays: Resume on the home screen returns to it."), QStringLiteral("Leave"),
                        [this] { closeDrawView(); });
}

void CutImage::resumeKeys()
{
    m_view->becomeFirstResponder();
}

void CutImage::resumeJob()
{
    ScreenViews &v = *m_views;
    v.mainView->setImage({});
    v.cutImgView->setHidden(false);
    v.mainView->bringSubviewToFront(v.cutImgView.get());
    v.selectTopView->setHidden(false);
    v.mainView->bringSubviewToFront(v.selectTopView.get());
    v.descripImg->setHidden(true);
    for (const auto &layer : v.cutImgView->subviews()) {
        layer->setHidden(false);
        if (ui::View *photo = layer->viewWithTag(kPhotoViewTag))
            photo->setHidden(false);
    }
    // The toolbar is the finishing one once a piece is cut; before, there is none.
    if (hasPiece())
        finalAdjust();
    else
        v.selectTopView->setHidden(true);
    resumeKeys();
    updateTitle();
}

CutImage::~CutImage() = default;

void CutImage::showEditorControls(bool shown)
{
    // Above any text layer, which may have grown over them.
    ui::View &layer = *m_views->cutImgView;
    for (int tag : {kReplacePhotoTag, kWriteControlTag, kNamesControlTag, kFrameControlTag, kEditorBackTag, kUndoControlTag,
                    kRedoControlTag})
        if (ui::View *control = layer.viewWithTag(tag); control && control->superview() == &layer) {
            control->setHidden(!shown);
            layer.bringSubviewToFront(control);
        }
    m_touchUp.setControlsHidden(!shown);
    if (shown)
        m_touchUp.placeControls();
}

void CutImage::awakeFromNib()
{
    m_wordTable->awakeFromNib();
    m_replacement.loadBuiltInImages();
    m_views->descripImg2->setHidden(true);
}

void CutImage::getNumOfArray(const QStringList &photoNames, const QStringList &thumbNames)
{
    ScreenViews &v = *m_views;
    v.mainView->setImage({});
    Settings::shared().setString(kKeyButtonBack, QStringLiteral("SHOW"));

    m_job.start(photoNames, thumbNames);
    m_history.clear();
    updateHistoryControls();
    m_original = std::exchange(m_pickedOriginal, {});
    m_photoTitle = m_original.isKnown() ? QFileInfo(m_original.path).fileName() : QString();
    m_savedState.reset();
    m_savedStateIsNextNoted = true;
    openEditorLayer();

    tempDirFiles();
    viewSelectedImage();
    justSaveToAlbumC();
    placeBackControl();
    m_view->becomeFirstResponder();
    noteJobChanged();
}

void CutImage::openEditorLayer()
{
    ScreenViews &v = *m_views;
    m_naming.setPictures(m_job.photoNames());
    hideTwoBtns();

    v.cutImgView->setFrame(editorFrame(Device::profile(), Device::isLandscape()));
    v.cutImgView->removeAllSubviews();
    v.cutImgView->setHidden(false);
    v.cutImgView->addSubview(m_view);
    v.mainView->bringSubviewToFront(v.cutImgView.get());
    v.descripImg2->setHidden(true);

    m_view->setFrame(QRectF(QPointF(0, 0), v.cutImgView->frame().size()));
    m_view->setAlpha(1);
    v.cutImgView->setBackgroundColor(Qt::transparent);
    m_view->setBackgroundColor(Qt::transparent);

    // A new job starts without the previous job's piece, cut-out, stamps or hint.
    removePiece();
    m_cutOut = Picture();
    m_crop.forget();
    m_stamp.attachTo(*m_view);
    m_toolbar.hideHint();
}

void CutImage::viewSelectedImage()
{
    ScreenViews &v = *m_views;
    v.wordView->setHidden(true);
    v.descripImg->setHidden(true);
    v.descripImg2->setHidden(true);
    v.selectTopView->setImage({});

    const Picture photo = m_job.readPhoto();
    if (!photo.isNull()) {
        // The previous job's working files go now, not at Home, so that Home can keep a job
        // to come back to; an unreadable photo leaves them be.
        emptyTempDirExcept(m_job.files());
        WorkingFiles::shared().originSave(photo);
    }
    else if (!m_job.isEmpty())
        logLine(QStringLiteral("photo could not be read: %1").arg(m_job.photoName()));
    buildPhotoView(photo);
}

void CutImage::buildPhotoView(const Picture &photo)
{
    ScreenViews &v = *m_views;
    if (m_photoView)
        m_photoView->removeFromSuperview();
    auto photoView = std::make_shared<ui::ImageView>(
        photoViewFrame(Device::profile(), photo.size(), ui::rectCenter(m_view->bounds())));
    v.backImgView->setHidden(true);
    photoView->setUserInteractionEnabled(true);
    photoView->setBackgroundColor(Qt::transparent);
    photoView->setContentMode(ui::ContentMode::ScaleAspectFill);
    photoView->setImage(photo);
    photoView->setTag(kPhotoViewTag);
    m_holeShown = false;
    photoView->setClipsToBounds(true);
    photoView->setBorderWidth(2);
    photoView->setBorderColor(Qt::white);
    m_view->addSubview(photoView);
    m_photoView = photoView;
}

void CutImage::newCutOnOrigin()
{
    ScreenViews &v = *m_views;
    const Picture photo = WorkingFiles::shared().originLoad();
    v.descripImg2->setHidden(true);
    v.selectTopView->setHidden(true);
    m_toolbar.hideHint(); // its tips are about the piece, which is gone
    removePiece();
    m_replacement.removeReplacePhotoButton();
    // Origin now holds a merged or replaced photo: the picked one no longer shows.
    m_original = {};
    // The cut gave the editor the background's frame: back to the screen, as a new job has.
    v.cutImgView->setFrame(editorFrame(Device::profile(), Device::isLandscape()));
    m_view->setFrame(QRectF(QPointF(0, 0), v.cutImgView->frame().size()));
    buildPhotoView(photo);
    justSaveToAlbumC();
    placeBackControl();
    noteJobChanged();
}

void CutImage::optionsOk()
{
    if (m_options.openerTag() != kBottomOkTag) {
        newCutOnOrigin();
        return;
    }
    ui::ImageView *layer = m_options.openPhotoLayer();
    ui::ImageView *preview = m_options.openPreview();
    if (isEffectPending() || !m_photoView || !layer || !preview || layer->bounds().isEmpty())
        return;
    // Opened on the piece: the frame (aspect, backdrop, feathering, expansion, the photo's place
    // in it) is laid onto the photo, at the photo's resolution, so the editor shows it and every
    // save has it. The piece stays a piece, laid back where the frame put it.
    const Picture photo = m_photoView->image();
    const QSize photoPixels = photo.isNull() ? QSize() : photo.bitmap().size();
    Picture underPiece = renderComposition(
        compositionSnapshot(*m_photoView, *m_views->cutImgView, TextLayers::OnPhotoOnly, PieceLayer::Left), photoPixels);
    if (underPiece.isNull())
        return;
    if (const QString mask = featherEdges().maskName(); !mask.isEmpty())
        if (const Picture faded = featheredPicture(underPiece, Resources::imageNamed(mask)); !faded.isNull())
            underPiece = faded;
    const ViewSnapshot framed = m_options.framedSnapshot(underPiece);
    const double scale = photoPixels.width() / layer->bounds().width();
    QSizeF pixels = framed.size * scale;
    if (pixels.width() > kLargestFramedSide || pixels.height() > kLargestFramedSide)
        pixels.scale(kLargestFramedSide, kLargestFramedSide, Qt::KeepAspectRatio);
    const Picture picture = renderComposition(framed, pixels.toSize().expandedTo(QSize(1, 1)));
    if (picture.isNull())
        return;
    m_options.keepBackdrop();
    m_views->descripImg2->setHidden(true);
    m_views->wordView->setHidden(true);

    // Old photo-view points to the framed photo's new view: through the layer into the preview,
    // then the preview onto the new view.
    const QRectF newFrame = photoViewFrame(Device::profile(), picture.size(), ui::rectCenter(m_view->bounds()));
    const double toLayer = layer->bounds().width() / m_photoView->bounds().width();
    const double toNewView = newFrame.width() / preview->bounds().width();
    const auto mapPoint = [&](QPointF p) { return layer->convertPointTo(p * toLayer, preview) * toNewView; };
    const double factor = QLineF(mapPoint(QPointF(0, 0)), mapPoint(QPointF(1, 0))).length();
    std::vector<ui::ViewPtr> laid;
    for (const ui::ViewPtr &sub : m_photoView->subviews())
        laid.push_back(sub);
    for (const ui::ViewPtr &sub : laid)
        sub->removeFromSuperview();
    WorkingFiles::shared().originSave(picture);
    m_original = {};
    m_photoView->setFrame(newFrame);
    m_photoView->setImage(picture);
    m_photoView->setAlpha(1);
    for (const ui::ViewPtr &sub : laid) {
        const QPointF centre = mapPoint(sub->center());
        sub->setBounds(QRectF(QPointF(0, 0), sub->bounds().size() * factor));
        sub->setCenter(centre);
        m_photoView->addSubview(sub);
        if (auto *piece = dynamic_cast<ui::ImageView *>(sub.get()); piece && LiftedPiece::isShaded(*piece))
            LiftedPiece::shade(*piece); // the shadow follows the new size
    }
    m_pieceHome = QRectF(mapPoint(m_pieceHome.topLeft()), mapPoint(m_pieceHome.bottomRight()));
    finalAdjust();
    noteJobChanged();
}

void CutImage::optionsCancel()
{
    // Nothing the panel did reached the job: the finished cut as it was.
    m_views->descripImg2->setHidden(true);
    m_views->wordView->setHidden(true);
    if (m_photoView)
        m_photoView->setAlpha(1);
    finalAdjust();
}

void CutImage::preView2(int senderTag)
{
    // The panel frames what the editor shows: the piece, its effects and the text on the photo
    // as it is now; after a replacement, the photo just chosen.
    const int opener = m_options.openerFor(senderTag);
    Picture shown;
    if (opener == kTopOkTag)
        shown = WorkingFiles::shared().originLoad();
    else if (m_photoView && !m_photoView->image().isNull())
        shown = capturePhotoView(*m_photoView, *m_views->cutImgView, m_photoView->image().bitmap().size());
    else
        shown = m_job.readPhoto();
    m_options.preView2(senderTag, m_effectMode, shown);
    // Feathering starts from what the layer shows: the composition, unfeathered.
    if (ui::ImageView *layer = m_options.openPhotoLayer())
        m_feathering.attach(*layer, *m_options.openPreview(), layer->image());
    if (m_photoView)
        m_photoView->setAlpha(0);
    remindNew();
}

void CutImage::gradientSelect()
{
    if (!m_options.openPhotoLayer())
        return;
    setTapMode(TapMode::ColourPick);
    m_feathering.gradientSelect();
}

void CutImage::colorPick()
{
    m_naming.putChooserAway();
    setTapMode(TapMode::ColourPick);
    m_colourPanel.colorPick();
}

void CutImage::swicthState(ui::Control &sender)
{
    m_views->wordView->setHidden(true);
    if (sender.tag() != kAspectSwitchTag) {
        switchPieceEffect(sender);
        return;
    }
    // The panel is rebuilt below, so the switch leaves it: decide from it first.
    const auto *aspect = dynamic_cast<const ui::Switch *>(&sender);
    m_effectMode = aspect && aspect->isOn() ? EffectMode::SixteenByNine : EffectMode::FourByThree;
    preView2(kAspectSwitchTag);
}

void CutImage::closeDrawView()
{
    ScreenViews &v = *m_views;
    // The text overlay is the editor's: whatever of it is open (tips, catalogue, the box and
    // its bar) closes first rather than stay over the home screen. Bounded, as each call
    // closes one layer of it.
    for (int open = 0; open < 8 && m_wordTable->closeTopPanel(); ++open) {
    }
    // A replacement still to be answered would build the options panel over the home screen.
    m_replacement.withdrawQuestion();
    m_noSubject.withdraw();
    m_findingSubject.stop();
    // Its exports would bring the editor's toolbar back over the home screen.
    m_saving.closeSharePanel();
    m_stamp.hide();
    m_adjust.hide();
    v.descripImg2->setHidden(true);
    v.selectTopView->setHidden(true);
    v.cutImgView->setHidden(true);
    v.backImgView->setImage({});
    v.rootView->bringSubviewToFront(v.mainView.get());
    // The job stays as it is (piece, its place, the working files): the home screen's Resume
    // returns to it, after a restart too. Only a new job replaces it.
    m_lift.hideHint();
    m_toolbar.hideHint();
    hideTwoBtns();
    m_naming.putChooserAway();
    v.wordView->setHidden(true);
    tempDirFiles();

    m_view->resignFirstResponder();
    v.descripImg->setBorderWidth(0);
    v.mainView->setImage(homePicture());
    if (m_onHome)
        m_onHome();
    updateTitle();
    noteJobChanged();
}

void CutImage::rotateW()
{
    layOutEditorView(true);
}

void CutImage::rotateH()
{
    layOutEditorView(false);
}

void CutImage::layOutEditorView(bool landscape)
{
    ScreenViews &v = *m_views;
    const DeviceProfile profile = Device::profile();
    // The top layer is the editor's toolbar only while the editor is on screen; the home
    // screen and the compositor lay their own panels into it.
    if (!v.cutImgView->isHidden() && !v.selectTopView->isHidden()) {
        v.selectTopView->setFrame(rotatedToolbarFrame(profile, landscape));
        if (profile == DeviceProfile::Tablet)
            m_view->setFrame(landscape ? QRectF(0, 0, 1024, 768) : QRectF(0, 0, 768, 1024));
    }
    const QRectF frame = editorFrame(profile, landscape);
    v.cutImgView->setFrame(frame);
    m_view->setFrame(QRectF(QPointF(0, 0), frame.size()));
    if (ui::View *photoView = m_view->viewWithTag(kPhotoViewTag))
        photoView->setCenter(ui::rectCenter(m_view->bounds()) - QPointF(0, kRotatedPhotoLift));
    m_crop.relayout();
    if (m_backControl->superview() == v.cutImgView.get())
        placeBackControl();
    m_toolbar.relayout();
    if (m_photoView) {
        const ui::View &bar = *v.selectTopView;
        const double barTop = bar.isHidden() ? frame.height() : v.cutImgView->convertPointFrom(bar.frame().topLeft(), v.mainView.get()).y();
        m_lift.relayout(*m_photoView, *v.cutImgView, std::min(barTop, historyControlsTop()));
    }
    if (!m_naming.strip()->isHidden())
        m_naming.strip()->setFrame(namingStripFrame(Device::screenSize()));
    if (m_touchUp.isActive())
        m_touchUp.placeControls();
    m_adjust.relayout();
}

void CutImage::spinBegin()
{
    showBusy(m_views->waitIndicator, true, SpinnerOrder::ToFront);
}

void CutImage::spinEnd()
{
    showBusy(m_views->waitIndicator, false);
}

void CutImage::gotoTextView()
{
    if (!m_openTextOverlay)
        return;
    // The Frame panel would stay open under the text bars, out of reach: it closes untouched.
    if (m_options.isOpen())
        optionsCancel();
    // The photo stays in sight: the box floats over it.
    showEditorControls(false); // back when the text box goes
    m_openTextOverlay();
}

void CutImage::showTwoBtns()
{
    ScreenViews &v = *m_views;
    const auto strip = m_naming.strip();
    v.mainView->addSubview(strip);
    strip->setFrame(namingStripFrame(Device::screenSize()));
    strip->setHidden(false);
    if (const auto names = m_toolbar.namesControl())
        names->setSelected(true);
    // The strip spans the screen on a phone, over the brushes.
    m_touchUp.setControlsHidden(true);
}

void CutImage::hideTwoBtns()
{
    const auto strip = m_naming.strip();
    // A field being edited ends its edit first, so its text is not lost; the built-in image
    // panel that follows an edit would only be in the way of leaving.
    m_naming.endEditingQuietly();
    strip->setHidden(true);
    if (const auto names = m_toolbar.namesControl())
        names->setSelected(false);
    m_touchUp.setControlsHidden(false);
}

void CutImage::renameAct()
{
    spinEnd();
    if (m_exportNamed)
        m_exportNamed();
}

ui::ViewPtr CutImage::view() const
{
    return m_view;
}

void CutImage::removePiece()
{
    // The adjust panel works on the piece: it goes with it.
    m_adjust.hide();
    m_lift.hideHint();
    m_touchUp.end();
    if (m_piece)
        m_piece->removeFromSuperview();
    m_piece.reset();
}

} // namespace vimora
