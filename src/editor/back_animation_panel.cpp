// The back-animation panel: nine numbered animation pictures in a scroll view.

#include "editor/cut_image.h"
#include "editor/cut_image_fields.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "ui/label.h"

namespace vimora {

namespace {
constexpr int kAnimationCount = 9;
constexpr double kTileSide = 60;
/// Room below the rows, so the last row scrolls clear of the panel's edge.
constexpr double kContentSlack = 130;
} // namespace

void CutImage::prepareToCut()
{
    ScreenViews &v = *d->views;
    const bool tablet = isDeviceiPad();
    if (tablet && d->moveImgView)
        d->moveImgView->removeFromSuperview();

    ui::ImageView &panel = *v.descripImg;
    panel.setHidden(false);
    v.mainView->bringSubviewToFront(&panel);
    panel.removeAllSubviews();
    panel.setBackgroundColor(Qt::transparent);
    panel.setTransform({});
    if (tablet) {
        panel.setFrame(QRectF(160, 50, 600, 600));
        panel.setImage(Resources::imageNamed(QStringLiteral("selectBackIpad.png")));
    } else {
        panel.setImage(Resources::imageNamed(QStringLiteral("selectBackIphone.png")));
        panel.setFrame(Device::isLandscape() ? QRectF(90, 20, 300, 300) : QRectF(10, 5, 300, 300));
    }

    const QSizeF size = panel.bounds().size();
    auto scroll = std::make_shared<ui::ScrollView>(QRectF(5, 30, size.width() - 10, size.height() - 35));
    scroll->setBouncesZoom(true);
    scroll->setClipsToBounds(true);
    scroll->setUserInteractionEnabled(true);
    scroll->setMultipleTouchEnabled(true);
    scroll->setScrollEnabled(true);
    scroll->setShowsHorizontalScrollIndicator(false);
    scroll->setShowsVerticalScrollIndicator(false);
    panel.addSubview(scroll);
    d->workScroll = scroll;

    auto title = std::make_shared<ui::Label>(QRectF(15, -10, 200, 50), QStringLiteral("Select Back Animation"));
    title->setTextColor(Qt::darkGray);
    title->setBackgroundColor(Qt::transparent);
    title->setTextAlignment(ui::TextAlignment::Left);
    panel.addSubview(title);

    const double contentWidth = tablet ? 560 : 275;
    const int columns = tablet ? 6 : 3;
    const double gap = (contentWidth - columns * kTileSide) / (columns + 1);
    int rows = 0;
    for (int i = 0; i < kAnimationCount; ++i) {
        const int row = i / columns, column = i % columns;
        rows = row + 1;
        auto button = std::make_shared<ui::Button>(
            QRectF(gap + column * (kTileSide + gap), gap + row * (kTileSide + gap), kTileSide, kTileSide));
        button->setImage(Resources::imageNamed(QStringLiteral("half%1.png").arg(i + 1)));
        button->setTag(i);
        // No animation is attached to these pictures; choosing one closes the panel.
        button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &sender) {
            logLine(QStringLiteral("backImgExchange:%1").arg(sender.tag()));
            d->views->descripImg->setHidden(true);
        });
        scroll->addSubview(button);
    }
    scroll->setContentSize(QSizeF(contentWidth, gap + rows * (kTileSide + gap) + kContentSlack));
    panel.setBorderWidth(2);
    panel.setBorderColor(Qt::transparent);
}

} // namespace vimora
