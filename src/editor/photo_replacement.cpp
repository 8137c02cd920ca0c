#include "editor/photo_replacement.h"

#include "editor/cut_image.h"
#include "editor/panel_parts.h"
#include "editor/view_tags.h"
#include "imaging/codec.h"
#include "imaging/geometry.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/photo_picker.h"
#include "platform/resources.h"
#include "store/working_files.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
/// Replaced photos are worked on this many pixels wide.
constexpr double kWorkingWidth = 1280;
constexpr double kPanelFade = 0.3;

/// The picture at kWorkingWidth pixels wide, aspect kept; none when it has no size.
Picture scaledToWorkingWidth(const Picture &picture)
{
    if (picture.isNull() || picture.size().width() <= 0)
        return {};
    const QSizeF size = picture.size();
    return scaleToFitSize(picture, QSizeF(kWorkingWidth, kWorkingWidth * size.height() / size.width()));
}

/// Tiles of the built-in image panel, per device.
struct TileGrid
{
    int columns;
    QSizeF tile;
    double gap;
};
TileGrid tileGrid()
{
    if (isDeviceiPad())
        return {3, QSizeF(176, 132), 14};
    return {2, QSizeF(130, 97.5), 10};
}
} // namespace

PhotoReplacement::PhotoReplacement(CutImage &editor, ScreenViews &views)
    : m_editor(editor)
    , m_views(views)
{
}

void PhotoReplacement::loadBuiltInImages()
{
    m_builtInImages = Resources::stringArray(QStringLiteral("frameE"));
    m_builtInThumbnails = Resources::stringArray(QStringLiteral("frameEs"));
}

void PhotoReplacement::toAlbumiPad()
{
    // The library picker: a popover on a tablet, the whole screen on a phone.
    PhotoPicker::current().present(PhotoPicker::Source::Album, [this](std::optional<PhotoPicker::Result> result) {
        if (!result) {
            imagePickerControllerDidCancel();
        } else if (result->photo.isNull()) {
            logLine(QStringLiteral("photo could not be read: %1").arg(result->path));
            imagePickerControllerDidCancel();
        } else {
            imagePickerDidFinishPickingImage(result->photo);
        }
    });
}

void PhotoReplacement::changeFoto()
{
    PhotoPicker::current().dismiss();
    // On a tablet the popover rises from the bottom bar, whichever way the screen is (or gets) turned.
    PhotoPicker::current().setPopoverAnchor(
        [] { return Device::isLandscape() ? QRectF(200, 675, 400, 400) : QRectF(200, 915, 400, 400); },
        ui::PopoverArrowDirectionDown);
    toAlbumiPad();
}

void PhotoReplacement::imagePickerDidFinishPickingImage(const Picture &picked)
{
    ui::ActivityIndicator &indicator = *m_views.waitIndicator;
    const QSizeF screen = m_views.mainView->bounds().size();
    indicator.setCenter(isDeviceiPad() ? QPointF(700, 350) : QPointF(screen.width() / 2, screen.height() / 2));
    m_editor.spinBegin();

    // The JPEG round trip gives every source the same decoded form before scaling.
    Picture decoded = decodePicture(encodeJpeg(picked, 1.0));
    if (decoded.isNull())
        decoded = picked;
    const Picture working = scaledToWorkingWidth(decoded);
    m_editor.spinEnd();
    if (working.isNull()) {
        logLine(QStringLiteral("picked photo has no size; Origin kept"));
        return;
    }
    confirmReplacement([this, working] { replaceOrigin(working); });
}

void PhotoReplacement::replaceOrigin(const Picture &working)
{
    WorkingFiles::shared().originSave(working);
    m_editor.preView2(kTopOkTag);
}

void PhotoReplacement::confirmReplacement(std::function<void()> replace)
{
    if (!m_editor.hasPiece()) {
        replace();
        return;
    }
    m_question.ask(QStringLiteral("Replace the photo?"), QStringLiteral("The cut piece will be discarded."),
                   QStringLiteral("Replace"), std::move(replace));
}

void PhotoReplacement::imagePickerControllerDidCancel()
{
    PhotoPicker::current().dismiss();
}

void PhotoReplacement::popoverControllerDidDismissPopover()
{
    logLine(QStringLiteral("popover dismissed"));
    m_views.mainView->bringSubviewToFront(m_views.selectTopView.get());
}

void PhotoReplacement::prepareToCut2()
{
    ui::ImageView &panel = *m_views.descripImg2;
    reopenPanel(*m_views.mainView, panel);
    panel.setAlpha(1);
    if (isDeviceiPad()) {
        panel.setFrame(QRectF(100, 50, 600, 600));
        panel.setImage(Resources::imageNamed(QStringLiteral("selectBackIpad.png")));
    } else {
        panel.setFrame(Device::isLandscape() ? QRectF(10, 10, 300, 300) : QRectF(10, 50, 300, 300));
        panel.setImage(Resources::imageNamed(QStringLiteral("selectBackIphone.png")));
    }

    auto scroll = addPickerScroll(panel, 40);
    scroll->setTag(kPickerScrollTag);
    addPanelTitle(panel, QRectF(15, -5, 200, 50), QStringLiteral("Back Image"));
    fadeIn(panel, kPanelFade);

    const TileGrid grid = tileGrid();
    const double inset = (scroll->bounds().width() - grid.columns * grid.tile.width() - (grid.columns - 1) * grid.gap) / 2;
    int rows = 0;
    for (int i = 0; i < m_builtInThumbnails.size(); ++i) {
        const int row = i / grid.columns, column = i % grid.columns;
        rows = row + 1;
        const QRectF frame(inset + column * (grid.tile.width() + grid.gap), grid.gap / 2 + row * (grid.tile.height() + grid.gap),
                           grid.tile.width(), grid.tile.height());
        auto button = std::make_shared<ui::Button>(frame);
        // Thumbnails are 4:3 like the tiles, so filling the tile is the aspect fill.
        button->setBackgroundImage(Resources::imageNamed(m_builtInThumbnails[i]));
        button->setClipsToBounds(true);
        button->setBorderWidth(2);
        button->setBorderColor(QColor(255, 255, 255, 200));
        button->setCornerRadius(6);
        button->setTag(i);
        button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &sender) { excuteThePrepare(sender.tag()); });
        scroll->addSubview(button);
    }
    scroll->setContentSize(QSizeF(scroll->bounds().width(), rows * (grid.tile.height() + grid.gap)));
    m_builtInPanel.open(panel, {});
}

void PhotoReplacement::excuteThePrepare(int tag)
{
    m_builtInPanel.release();
    m_views.descripImg2->setHidden(true);
    m_editor.setTapMode(TapMode::ColourPick);
    if (tag == 0) {
        changeFoto();
        m_editor.finalAdjust();
        return;
    }
    if (tag < 0 || tag >= m_builtInImages.size())
        return;
    const Picture working = scaledToWorkingWidth(Resources::imageNamed(m_builtInImages[tag]));
    if (working.isNull()) {
        logLine(QStringLiteral("built-in image missing: %1").arg(m_builtInImages[tag]));
        return;
    }
    confirmReplacement([this, working] { replaceOrigin(working); });
}

void PhotoReplacement::removeReplacePhotoButton()
{
    if (m_replaceButton)
        m_replaceButton->removeFromSuperview();
    m_replaceButton.reset();
}

void PhotoReplacement::addReplacePhotoButton()
{
    removeReplacePhotoButton();
    auto button = makeBarButton(QRectF(10, 6, 110, 40), QStringLiteral("Photos"), kReplacePhotoTag,
                                [this] { prepareToCut2(); });
    m_views.cutImgView->addSubview(button);
    m_replaceButton = button;
}

} // namespace vimora
