#include "compositor/back_photo.h"

#include <algorithm>
#include <utility>

#include <QDir>
#include <QFile>

#include "compositor/compositor_controls.h"
#include "compositor/background_geometry.h"
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
QRectF compositorViewFrame()
{
    return isDeviceiPad() ? QRectF(0, 0, 1024, 768) : QRectF(0, 0, 480, 320);
}

/// Where the background is shown: the screen under the toolbar.
QRectF backgroundCanvas()
{
    const QSizeF screen = Device::screenSize();
    const double top = SelectionLayer::toolbarHeight(isDeviceiPad());
    return QRectF(0, top, screen.width(), screen.height() - top);
}
} // namespace

BackPhoto::BackPhoto(std::shared_ptr<ScreenViews> views)
    : m_views(std::move(views))
    , m_view(std::make_shared<ui::View>(compositorViewFrame()))
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
    m_levelSave.setAlbumWriter(m_selLib);
    m_levelSave.setPictureSize([this] { return m_effects.pictures().get(CompositorPictures::Kind::Original).size(); });
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
}

void BackPhoto::awakeFromNib()
{
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
        // New words land on the background and clear of the toolbar over it.
        m_wordTable->setLandingArea([this] {
            const ui::ImageView &back = *m_views->backImgView;
            QRectF free = back.bounds();
            const ui::View &toolbar = *m_views->selectTopView;
            const QRectF bar = toolbar.convertRectTo(toolbar.bounds(), &back);
            free.setTop(std::max(free.top(), bar.bottom()));
            return free;
        });
    }
}

void BackPhoto::layOutBackLayer()
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

bool BackPhoto::showSelectPhoto(const ui::Button &sender)
{
    return showSelectPhoto(sender.currentTitle());
}

bool BackPhoto::showSelectPhoto(const QString &name)
{
    const PictureRead saved = readDrawJpg(name);
    // Through the same JPEG round trip as a photo taken in, so both measure alike.
    const Picture picture = saved.picture.isNull() ? Picture() : decodePicture(encodeJpeg(saved.picture, 1.0));
    if (picture.isNull()) {
        // Nothing to show: leave the screen as it is rather than a black, empty background.
        logLine(QStringLiteral("showSelectPhoto: no picture named %1").arg(name));
        tell(QStringLiteral("Photo not opened"), saved.failure == ReadFailure::TooLarge
                                                     ? pictureTooLargeMessage(saved.size)
                                                     : QStringLiteral("This saved photo is missing or cannot be read."));
        return false;
    }
    m_effects.reset();
    m_adjust.close();
    m_selection.hidePanel();
    m_layers.clearPictureLayers();

    m_views->cateViewTop->setHidden(true);
    m_views->mainView->setImage({});
    layOutBackLayer();
    m_views->selectTopView->setHidden(true);
    openBackView(QStringLiteral("w"), 1.0f);

    using Kind = CompositorPictures::Kind;
    m_effects.pictures().clear();
    m_effects.pictures().set(Kind::Original, saved.picture);
    m_effects.pictures().set(Kind::Base, saved.picture);
    const Picture scaled = m_scaleImage.imageWithImage(picture, backgroundCoverSize(picture.size()));
    auto &back = *m_views->backImgView;
    // The whole picture, under the toolbar: nothing of it is cut off or hidden.
    back.setFrame(backgroundFitFrame(backgroundCanvas(), scaled.size()));
    m_view->setFrame(back.bounds());
    back.setImage(scaled);
    back.setAlpha(1.0);
    back.setHidden(false);
    openOptionView(name);
    return true;
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
    case CompositorCommand::Redo:
        m_effects.redoAction();
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
    m_adjust.guideToScale(m_effects.mode(), m_effects.mode() == AdjustMode::PictureLayers ? m_effects.pictureLayersUnavailable()
                                                                                          : QString());
}

void BackPhoto::combineImg()
{
    m_adjust.close();
    actionbtn();
}

void BackPhoto::filterSelect(int senderTag)
{
    m_effects.filterSelect(senderTag, m_adjust.contrast(), m_adjust.opacity());
}

void BackPhoto::closeTextOverlay()
{
    // The text box and its bar live over every layer: leaving must take them along.
    if (m_wordTable && m_wordTable->entry().isOpen())
        m_wordTable->closeTextBox();
    m_views->wordView->setHidden(true);
}

void BackPhoto::gotoTextView()
{
    // One thing at a time over the background: the adjust panel's close would bring the
    // toolbar back over the text box.
    m_adjust.close();
    if (m_noteViewOpen)
        m_noteViewOpen();
    smallTheButton(QStringLiteral("resultTool"));
}

void BackPhoto::layTopPicture()
{
    // A copy of the editor's cut-out: its file is only read, never written here.
    const Picture piece = WorkingFiles::shared().simpleLoad();
    if (piece.isNull()) {
        tell(QStringLiteral("No cut-out yet"), QStringLiteral("Cut a piece out of a photo in the editor first; it can then be laid here."));
        return;
    }
    m_effects.rememberLayout();
    // Centred on what the screen shows of the working view.
    const QRectF screen(QPointF(0, 0), Device::screenSize());
    m_layers.layTopPicture(piece, m_views->mainView->convertRectTo(screen, m_view.get()));
    m_effects.pictures().set(CompositorPictures::Kind::TopOriginal, piece);
}

void BackPhoto::justSaveToAlbum()
{
    m_adjust.close();
    m_levelSave.justSaveToAlbum();
}

void BackPhoto::editAgainAndLoadTopImage()
{
    Settings::shared().setString(QStringLiteral("type"), QStringLiteral("TYPE1"));
    if (!m_newPhotoRequest)
        return;
    // Out of sight while the photo is chosen, but kept: a cancelled choice comes back to it.
    m_adjust.close();
    m_selection.hidePanel();
    m_minimiser.putAway();
    closeTextOverlay();
    m_views->hideLayers();
    m_waitingForNewPhoto = true;
    m_newPhotoRequest();
}

void BackPhoto::newPhotoTaken()
{
    if (!std::exchange(m_waitingForNewPhoto, false))
        return;
    m_effects.reset();
    m_effects.pictures().clear();
    m_layers.clearPictureLayers();
    m_views->backImgView->setImage({});
    if (m_wordTable)
        m_wordTable->clearAll();
}

bool BackPhoto::newPhotoCancelled()
{
    if (!std::exchange(m_waitingForNewPhoto, false))
        return false;
    m_views->cateViewTop->setHidden(true);
    m_views->backImgView->setHidden(false);
    actionbtn();
    return true;
}

void BackPhoto::setExitHandler(std::function<void()> handler)
{
    m_optionBar.setLeft([this, handler = std::move(handler)] {
        m_selection.hidePanel();
        m_minimiser.putAway();
        closeTextOverlay();
        m_views->selectTopView->setHidden(true);
        m_effects.reset();
        m_effects.pictures().clear();
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
    const Picture picture = m_effects.pictures().get(CompositorPictures::Kind::Original);
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
