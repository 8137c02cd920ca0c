// Replacing the job's photo: from the album through the photo picker, or with a built-in
// image from the panel of thumbnails.

#include <algorithm>

#include "editor/cut_image.h"
#include "editor/cut_image_fields.h"
#include "editor/panel_parts.h"
#include "imaging/codec.h"
#include "imaging/geometry.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/photo_picker.h"
#include "platform/resources.h"
#include "store/working_files.h"

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

void CutImage::toAlbumiPad(int /*ignored*/)
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

void CutImage::changeFoto()
{
    PhotoPicker::current().dismiss();
    // On a tablet the popover rises from the bottom bar, whichever way the screen is turned.
    const QRectF anchor = Device::isLandscape() ? QRectF(200, 675, 400, 400) : QRectF(200, 915, 400, 400);
    PhotoPicker::current().setPopoverAnchor(anchor, ui::PopoverArrowDirectionDown);
    toAlbumiPad(0);
}

void CutImage::imagePickerDidFinishPickingImage(const Picture &picked)
{
    ui::ActivityIndicator &indicator = *d->views->waitIndicator;
    const QSizeF screen = d->views->mainView->bounds().size();
    indicator.setCenter(isDeviceiPad() ? QPointF(700, 350) : QPointF(screen.width() / 2, screen.height() / 2));
    spinBegin();

    // The JPEG round trip gives every source the same decoded form before scaling.
    Picture decoded = decodePicture(encodeJpeg(picked, 1.0));
    if (decoded.isNull())
        decoded = picked;
    const Picture working = scaledToWorkingWidth(decoded);
    if (working.isNull()) {
        logLine(QStringLiteral("picked photo has no size; Origin kept"));
        spinEnd();
        return;
    }
    WorkingFiles::shared().originSave(working);
    spinEnd();
    preView2(kTopOkTag);
}

void CutImage::imagePickerControllerDidCancel()
{
    PhotoPicker::current().dismiss();
}

void CutImage::popoverControllerDidDismissPopover()
{
    logLine(QStringLiteral("popover dismissed"));
    d->views->mainView->bringSubviewToFront(d->views->selectTopView.get());
}

void CutImage::prepareToCut2()
{
    ui::ImageView &panel = *d->views->descripImg2;
    reopenPanel(*d->views->mainView, panel);
    panel.setAlpha(1);
    if (isDeviceiPad()) {
        panel.setFrame(QRectF(100, 50, 600, 600));
        panel.setImage(Resources::imageNamed(QStringLiteral("selectBackIpad.png")));
    } else {
        panel.setFrame(Device::isLandscape() ? QRectF(10, 10, 300, 300) : QRectF(10, 50, 300, 300));
        panel.setImage(Resources::imageNamed(QStringLiteral("selectBackIphone.png")));
    }

    auto scroll = addPickerScroll(panel, 40);
    addPanelTitle(panel, QRectF(15, -5, 200, 50), QStringLiteral("Back Image"));
    fadeIn(panel, kPanelFade);

    const TileGrid grid = tileGrid();
    const double inset = (scroll->bounds().width() - grid.columns * grid.tile.width() - (grid.columns - 1) * grid.gap) / 2;
    int rows = 0;
    for (int i = 0; i < d->tileAry.size(); ++i) {
        const int row = i / grid.columns, column = i % grid.columns;
        rows = row + 1;
        const QRectF frame(inset + column * (grid.tile.width() + grid.gap), grid.gap / 2 + row * (grid.tile.height() + grid.gap),
                           grid.tile.width(), grid.tile.height());
        auto button = std::make_shared<ui::Button>(frame);
        // Thumbnails are 4:3 like the tiles, so filling the tile is the aspect fill.
        button->setBackgroundImage(Resources::imageNamed(d->tileAry[i]));
        button->setClipsToBounds(true);
        button->setBorderWidth(2);
        button->setBorderColor(QColor(255, 255, 255, 200));
        button->setCornerRadius(6);
        button->setTag(i);
        button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &sender) { excuteThePrepare(sender.tag()); });
        scroll->addSubview(button);
    }
    scroll->setContentSize(QSizeF(scroll->bounds().width(), rows * (grid.tile.height() + grid.gap)));
}

void CutImage::excuteThePrepare(int tag)
{
    d->views->descripImg2->setHidden(true);
    d->removeImgNam = QStringLiteral("color");
    if (tag == 0) {
        changeFoto();
        finalAdjust();
        return;
    }
    if (tag < 0 || tag >= d->styleAry.size())
        return;
    const Picture working = scaledToWorkingWidth(Resources::imageNamed(d->styleAry[tag]));
    if (working.isNull()) {
        logLine(QStringLiteral("built-in image missing: %1").arg(d->styleAry[tag]));
        return;
    }
    WorkingFiles::shared().originSave(working);
    preView2(kTopOkTag);
}

void CutImage::addReplacePhotoButton()
{
    if (d->replaceBtn)
        d->replaceBtn->removeFromSuperview();
    auto button = std::make_shared<ui::Button>(QRectF(10, 6, 110, 40));
    button->setBackgroundImage(ui::StretchableImage::resizable(Resources::imageNamed(QStringLiteral("longBtn.png")),
                                                               ui::EdgeInsets{0, 40, 0, 40}, ui::StretchableImage::ResizingMode::Stretch));
    button->setTitle(QStringLiteral("Photos"));
    button->setTitleColor(Qt::white);
    button->setTitleShadowColor(QColor(0, 0, 0, 160));
    button->setTitleShadowOffset(QPointF(1, 1));
    button->setTag(kReplacePhotoTag);
    button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { prepareToCut2(); });
    d->views->cutImgView->addSubview(button);
    d->replaceBtn = button;
}

} // namespace vimora
