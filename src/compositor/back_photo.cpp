#include "compositor/back_photo.h"

#include <algorithm>

#include <QDir>
#include <QFile>

#include "compositor/compositor_controls.h"
#include "compositor/intake_geometry.h"
#include "compositor/intake_pictures.h"
#include "imaging/codec.h"
#include "imaging/geometry.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/settings.h"
#include "screenkit/album_save.h"
#include "screenkit/notices.h"
#include "store/album_writer.h"
#include "store/cleanup.h"
#include "store/names.h"
#include "store/working_files.h"
#include "ui/alert_view.h"
#include "ui/clock.h"

namespace vimora {

namespace {
// Where the spinner sits on a tablet while a picked photo is taken in.
constexpr QPointF kTabletSpinnerCentre{700, 350};

QRectF compositorViewFrame()
{
    return isDeviceiPad() ? QRectF(0, 0, 1024, 768) : QRectF(0, 0, 480, 320);
}
} // namespace

class BackPhoto::NoticeDelegate : public ui::AlertViewDelegate
{
public:
    explicit NoticeDelegate(BackPhoto &owner)
        : m_owner(owner)
    {
    }
    void alertViewClickedButtonAtIndex(ui::AlertView &, int buttonIndex) override
    {
        m_owner.answerDamagedNotice(buttonIndex);
    }

private:
    BackPhoto &m_owner;
};

BackPhoto::BackPhoto(std::shared_ptr<ScreenViews> views, HandOver handOver)
    : m_views(std::move(views))
    , m_handOver(std::move(handOver))
    , m_noticeDelegate(std::make_unique<NoticeDelegate>(*this))
    , m_view(std::make_shared<ui::View>(compositorViewFrame()))
    , m_pickerView(std::make_shared<ui::View>())
    , m_ownAlbumWriter(std::make_unique<AlbumWriter>())
    , m_selLib(m_ownAlbumWriter.get())
    , m_layers(m_views->backImgView, m_view)
    , m_gestures(m_view.get())
    , m_effects(m_layers, [this](const QString &message) { tell(QString(), message); })
    , m_selection(*m_views, [this](CompositorCommand c) { command(c); })
    , m_adjust(*m_views, *m_view, m_gestures, [this](int tag) { filterSelect(tag); }, [this] { combineImg(); })
    , m_minimiser(*m_views)
    , m_levelSave(*m_views, [this] {
        m_adjust.close();
        actionbtn();
    }, [this](const QString &title, const QString &message) { tell(title, message); })
    , m_optionBar(*m_views, m_layers, [this] { saveWordToAlbum(); },
                  [this](const QString &title, const QString &message) { tell(title, message); })
{
    m_pickerView->setBackgroundColor(QColor(0, 0, 0, 160));
    m_levelSave.setAlbumWriter(m_selLib);
    for (ui::View *layer : {static_cast<ui::View *>(&m_layers.top()), static_cast<ui::View *>(&m_layers.secondCopy()),
                            static_cast<ui::View *>(&m_layers.overlay())})
        m_gestures.attachTo(*layer);
    // A tapped layer turns invisible; Undo brings it back.
    m_gestures.setBeforeHiding([this] { m_effects.rememberLayout(); });
    setExitHandler({});
}

BackPhoto::~BackPhoto()
{
    for (const auto &message : m_messages)
        message->dismissWithClickedButtonIndex(0, false);
    if (m_damagedNotice) {
        m_damagedNotice->setDelegate(nullptr);
        m_damagedNotice->dismissWithClickedButtonIndex(kNoticeCancelIndex, false);
    }
}

void BackPhoto::awakeFromNib()
{
    m_originMuAry.clear();
    m_thuMuAry.clear();
    if (!m_wordTable) {
        // Text over the background lies in the background layer, so it moves and saves with it.
        const ScreenViews &v = *m_views;
        m_wordTable = std::make_unique<WordTable>(
            WordTableViews{v.mainView, v.backImgView, v.selectTopView, v.descripImg, v.descripImg2, v.backImgView, v.wordView});
        m_wordTable->awakeFromNib();
        m_wordTable->setOnTypingEnded([this] {
            if (m_views->backImgView->isHidden())
                return;
            scaleTool(QStringLiteral("resultTool"));
            actionbtn();
        });
        m_noteViewOpen = [this] { m_wordTable->noteViewOpen(); };
    }
}

void BackPhoto::layOutIntakeLayers()
{
    auto &back = *m_views->backImgView;
    back.setFrame(m_views->mainView->frame());
    back.setImage({});
    back.setBackgroundColor(Qt::transparent);
    back.setContentMode(ui::ContentMode::ScaleAspectFill);
    m_view->setFrame(compositorViewFrame());
    m_view->setBackgroundColor(Qt::transparent);
    back.addSubview(m_view);
    m_views->mainView->bringSubviewToFront(&back);
    back.setHidden(true);
}

void BackPhoto::toAlbumiPad(const QString &, const QString &cOrF)
{
    logLine(QStringLiteral("str:%1").arg(cOrF));
    m_fun = cOrF;
    layOutIntakeLayers();
    openBackView(QStringLiteral("w"), 1.0f);

    // A new intake replaces the previous picker; its late answer must not end this one.
    hidePicker();
    const int intake = ++m_intake;
    PhotoPicker &picker = PhotoPicker::current();
    picker.dismiss();
    m_picking = true;
    m_popoverAnchor = {};

    const bool album = cOrF == QLatin1String("album");
    if (isDeviceiPad() && album) {
        if (Device::isLandscape())
            popW();
        else
            popH();
    } else {
        auto &root = *m_views->rootView;
        m_pickerView->setFrame(root.bounds());
        root.addSubview(m_pickerView);
        m_pickerView->setHidden(false);
        m_pickerView->addSubview(m_views->waitIndicator);
    }

    const auto source = cOrF == QLatin1String("camera") ? PhotoPicker::Source::Camera : PhotoPicker::Source::Album;
    // The picker asks again if the screen turns while it is open.
    if (!m_popoverAnchor.isEmpty())
        picker.setPopoverAnchor([] { return Device::isLandscape() ? popoverAnchorLandscape() : popoverAnchorPortrait(); },
                                ui::PopoverArrowDirectionDown);
    picker.present(source, [this, intake](std::optional<PhotoPicker::Result> picked) {
        if (intake != m_intake || !m_picking)
            return;
        if (picked)
            imagePickerController(*picked);
        else
            imagePickerControllerDidCancel();
    });
}

void BackPhoto::popH()
{
    m_views->selectTopView->setHidden(true);
    m_views->cateViewTop->setHidden(false);
    m_views->mainView->bringSubviewToFront(m_views->cateViewTop.get());
    m_popoverAnchor = popoverAnchorPortrait();
}

void BackPhoto::popW()
{
    m_views->selectTopView->setHidden(true);
    m_views->cateViewTop->setHidden(false);
    m_views->mainView->bringSubviewToFront(m_views->cateViewTop.get());
    m_popoverAnchor = popoverAnchorLandscape();
}

void BackPhoto::hidePicker()
{
    m_pickerView->setHidden(true);
    m_pickerView->removeFromSuperview();
    // The spinner rode on the picker; later screens expect it back in the main view.
    if (m_views->waitIndicator->superview() != m_views->mainView.get())
        m_views->mainView->addSubview(m_views->waitIndicator);
}

void BackPhoto::imagePickerController(const PhotoPicker::Result &picked)
{
    m_picking = false;
    hidePicker();

    if (picked.photo.isNull()) {
        showIntakeAlert(picked.error.isEmpty() ? QStringLiteral("The photo could not be read.") : picked.error);
        endIntakeWithoutPhoto();
        return;
    }
    if (picked.damaged) {
        // It still decodes, but part of it is made up: the user decides.
        m_damagedPhoto = picked;
        m_damagedNotice = std::make_shared<ui::AlertView>(
            QStringLiteral("Part of this photo could not be read"),
            QStringLiteral("The file ends early; the missing part will show grey."), m_noticeDelegate.get(),
            QStringLiteral("Cancel"), QStringList{QStringLiteral("Continue")});
        m_damagedNotice->show();
        return;
    }
    takeIn(picked);
}

void BackPhoto::answerDamagedNotice(int buttonIndex)
{
    const PhotoPicker::Result picked = std::exchange(m_damagedPhoto, {});
    m_damagedNotice.reset();
    if (buttonIndex == kNoticeContinueIndex)
        takeIn(picked);
    else
        endIntakeWithoutPhoto();
}

void BackPhoto::takeIn(const PhotoPicker::Result &picked)
{
    const QPointF pickerCentre = m_pickerView->center();
    auto spinner = m_views->waitIndicator;
    spinner->setHidesWhenStopped(true);
    ui::postToMainThread([spinner] { spinner->stopAnimating(); });
    spinner->setCenter(isDeviceiPad() ? kTabletSpinnerCentre : pickerCentre);
    ui::postToMainThread([spinner] { spinner->startAnimating(); });

    const Picture decoded = intakeRoundTrip(picked.photo);
    const QString tmp = AppHome::tempDir();
    const QString originName = freeFileName(tmp, [] { return fileNameMe(NameOwner::Compositor); });
    const QString thumbName = freeFileName(tmp, [] { return fileNameMe(NameOwner::Editor); });
    const Picture working = intakeWorkingCopy(decoded, intakeMaxSide(Device::profile()));
    if (working.isNull() || originName.isEmpty() || thumbName.isEmpty() || !writeJpeg(working, originName)) {
        // Nothing half-done is handed on: the editor keeps whatever job it had.
        ui::postToMainThread([spinner] { spinner->stopAnimating(); });
        showIntakeAlert(QStringLiteral("The photo could not be stored for editing."));
        endIntakeWithoutPhoto();
        return;
    }

    m_originMuAry.clear();
    m_thuMuAry.clear();
    m_originMuAry.append(originName);
    if (!writeJpeg(intakeThumbnail(working), thumbName))
        logLine(QStringLiteral("thumbnail not written: %1").arg(thumbName));
    m_thuMuAry.append(thumbName);

    if ((m_fun == QLatin1String("album") || m_fun == QLatin1String("camera")) && m_handOver)
        m_handOver(QStringList(m_originMuAry), m_thuMuAry);

    m_views->cateViewTop->setHidden(true);
    logLine(QString::asprintf("imgPreCompress.Width:%f", working.size().width()));
    logLine(QString::asprintf("imgPreCompress.Height:%f", working.size().height()));
    ui::postToMainThread([spinner] { spinner->stopAnimating(); });
}

bool BackPhoto::writeJpeg(const Picture &picture, const QString &name)
{
    if (picture.isNull())
        return false;
    const QByteArray bytes = encodeJpeg(picture, kJpegQuality);
    return !bytes.isEmpty() && writeFileAtomically(AppHome::tempDir() + '/' + name, bytes);
}

void BackPhoto::showIntakeAlert(const QString &message)
{
    logLine(QStringLiteral("intake: %1").arg(message));
    auto alert = std::make_shared<ui::AlertView>(QStringLiteral("Photo not opened"), message, nullptr,
                                                 QStringLiteral("OK"));
    alert->show();
}

void BackPhoto::imagePickerControllerDidCancel()
{
    m_picking = false;
    hidePicker();
    m_views->backImgView->setHidden(true);
    m_views->cateViewTop->setHidden(false);
    m_views->selectTopView->setHidden(true);
    if (m_intakeEnded)
        m_intakeEnded();
}

void BackPhoto::endIntakeWithoutPhoto()
{
    m_views->backImgView->setHidden(true);
    m_views->cateViewTop->setHidden(false);
    m_views->selectTopView->setHidden(true);
    if (m_intakeEnded)
        m_intakeEnded();
}

void BackPhoto::popoverControllerDidDismissPopover()
{
    logLine(QStringLiteral("popover dismissed"));
    m_picking = false;
    ++m_intake;
    PhotoPicker::current().dismiss();
    m_popoverAnchor = {};
    m_views->backImgView->setImage({});
    m_views->backImgView->setHidden(true);
    m_views->cateViewTop->setHidden(false);
    if (m_intakeEnded)
        m_intakeEnded();
}

void BackPhoto::openBackView(const QString &orientation, float ratio)
{
    m_views->backImgView->setHidden(false);
    const DeviceProfile profile = Device::profile();
    const QRectF frame(QPointF(0, 0), openBackViewSize(profile, orientation == QLatin1String("w"), ratio));
    m_view->setFrame(frame);
    if (profile == DeviceProfile::Tablet)
        m_printRect = frame;
    else
        m_phoneRect = frame;
    auto &back = *m_views->backImgView;
    back.setFrame(frame);
    back.setUserInteractionEnabled(true);
    back.setContentMode(ui::ContentMode::ScaleAspectFill);
}

void BackPhoto::showSelectPhoto(const ui::Button &sender)
{
    showSelectPhoto(sender.currentTitle());
}

void BackPhoto::showSelectPhoto(const QString &name)
{
    const PictureRead saved = readDrawJpg(name);
    const Picture picture = intakeRoundTrip(saved.picture);
    if (picture.isNull()) {
        // Nothing to show: leave the screen as it is rather than a black, empty background.
        logLine(QStringLiteral("showSelectPhoto: no picture named %1").arg(name));
        tell(QStringLiteral("Photo not opened"), saved.failure == ReadFailure::TooLarge
                                                     ? pictureTooLargeMessage(saved.size)
                                                     : QStringLiteral("This saved photo is missing or cannot be read."));
        return;
    }
    m_effects.reset();
    m_adjust.close();
    m_layers.clearPictureLayers();

    m_views->cateViewTop->setHidden(true);
    m_views->mainView->setImage({});
    layOutIntakeLayers();
    m_views->selectTopView->setHidden(true);
    openBackView(QStringLiteral("w"), 1.0f);

    WorkingFiles::shared().simple2Save(saved.picture);
    const Picture scaled = m_scaleImage.imageWithImage(picture, backgroundCoverSize(picture.size()));
    auto &back = *m_views->backImgView;
    back.setFrame(QRectF(QPointF(0, 0), backgroundViewSize(Device::profile(), scaled.size())));
    back.setImage(scaled);
    back.setAlpha(1.0);
    back.setHidden(false);
    openOptionView(name);
}

void BackPhoto::openOptionView(const QString &name)
{
    logLine(QStringLiteral("openOptionView:%1").arg(name));
    m_optionBar.openOptionView(name);
    // The way on to the compositor's own tools from the saved picture.
    m_views->selectTopView->addSubview(makeLongButton(QRectF(40, 45, 200, 50), QStringLiteral("Edit"), [this] { actionbtn(); }));
}

void BackPhoto::tell(const QString &title, const QString &message)
{
    logLine(QStringLiteral("compositor: %1 %2").arg(title, message));
    // Kept until the next message, so an alert never outlives the compositor.
    m_messages.erase(std::remove_if(m_messages.begin(), m_messages.end(), [](const auto &a) { return !a->isVisible(); }),
                     m_messages.end());
    m_messages.push_back(showNotice(title, message));
}

void BackPhoto::command(CompositorCommand c)
{
    switch (c) {
    case CompositorCommand::Tip:
        shot();
        break;
    case CompositorCommand::Filter:
        guideToScale(SelectionLayer::kFilterTag);
        break;
    case CompositorCommand::LayersFilter:
        guideToScale(SelectionLayer::kLayersFilterTag);
        break;
    case CompositorCommand::Word:
    case CompositorCommand::Text:
        gotoTextView();
        break;
    case CompositorCommand::Save:
        justSaveToAlbum();
        break;
    case CompositorCommand::Exit:
        exitAct();
        break;
    case CompositorCommand::More:
        m_selection.showMore(m_effects.overlayToggleTitle());
        break;
    case CompositorCommand::LayCutOut:
        layTopPicture();
        actionbtn();
        break;
    case CompositorCommand::Print:
        printmaking();
        actionbtn();
        break;
    case CompositorCommand::MoreEmboss:
        moreEmboss();
        break;
    case CompositorCommand::Reflection:
        reflectiMe();
        break;
    case CompositorCommand::EnlargeOverlay:
        scaleDrawImg();
        break;
    case CompositorCommand::OverlayToggle:
        m_effects.pressOverlayToggle();
        m_selection.showMore(m_effects.overlayToggleTitle());
        break;
    case CompositorCommand::ResetLayers:
        messIt();
        break;
    case CompositorCommand::UndoDone:
        doneAndUndo();
        break;
    case CompositorCommand::Undo:
        undoAction();
        break;
    case CompositorCommand::Final:
        finalAct();
        break;
    case CompositorCommand::Prompt:
        secondActMix();
        break;
    case CompositorCommand::TipToggle:
        if (m_selection.tipToggleTitle() == QLatin1String("Tip On"))
            reShowTip();
        else
            neverShow();
        m_selection.showMore(m_effects.overlayToggleTitle());
        break;
    case CompositorCommand::NewPhoto:
        editAgainAndLoadTopImage();
        break;
    case CompositorCommand::Minimise:
        smallTheButton(QStringLiteral("resultTool"));
        break;
    }
}

void BackPhoto::guideToScale(int senderTag)
{
    m_topOrButtom = senderTag;
    m_effects.setMode(adjustModeForTag(senderTag));
    m_adjust.guideToScale(m_effects.mode());
}

void BackPhoto::combineImg()
{
    m_adjust.close();
    WorkingFiles::shared().simple3Save(m_views->backImgView->image());
    actionbtn();
}

void BackPhoto::filterSelect(int senderTag)
{
    m_effects.filterSelect(senderTag, m_adjust.contrast(), m_adjust.opacity());
}

void BackPhoto::gotoTextView()
{
    if (!m_noteViewOpen) {
        tell(QStringLiteral("Text"), QStringLiteral("The text overlay is not available yet."));
        return;
    }
    m_noteViewOpen();
    smallTheButton(QStringLiteral("resultTool"));
}

void BackPhoto::layTopPicture()
{
    const Picture piece = WorkingFiles::shared().simpleLoad();
    if (piece.isNull()) {
        tell(QStringLiteral("No cut-out yet"), QStringLiteral("Cut a piece out of a photo in the editor first; it can then be laid here."));
        return;
    }
    m_effects.rememberLayout();
    // Centred on what the screen shows of the working view.
    const QRectF screen(QPointF(0, 0), Device::screenSize());
    m_layers.layTopPicture(piece, m_views->mainView->convertRectTo(screen, m_view.get()));
    WorkingFiles::shared().simple3Save(piece);
}

void BackPhoto::justSaveToAlbum()
{
    m_adjust.close();
    m_levelSave.justSaveToAlbum();
}

void BackPhoto::editAgainAndLoadTopImage()
{
    Settings::shared().setString(QStringLiteral("type"), QStringLiteral("TYPE1"));
    toAlbumiPad(QStringLiteral("TYPE1"), QStringLiteral("album"));
}

void BackPhoto::setExitHandler(std::function<void()> handler)
{
    m_optionBar.setLeft([this, handler = std::move(handler)] {
        m_effects.reset();
        // The text layers went with the background layer's views; the overlay forgets them.
        if (m_wordTable)
            m_wordTable->clearAll();
        if (handler)
            handler();
    });
}

void BackPhoto::setAlbumWriter(AlbumWriter *writer)
{
    m_selLib = writer ? writer : m_ownAlbumWriter.get();
    m_levelSave.setAlbumWriter(m_selLib);
}

void BackPhoto::saveWordToAlbum()
{
    const Picture picture = WorkingFiles::shared().simple2Load();
    if (picture.isNull()) {
        tell(kNotSavedTitle, QStringLiteral("There is no picture to save."));
        return;
    }
    if (m_editorSaveToAlbum) {
        m_editorSaveToAlbum(picture);
        return;
    }
    saveToAlbumAndTell(*m_selLib, picture, kEditorAlbum, [this](const QString &title, const QString &message) { tell(title, message); });
}

} // namespace vimora
