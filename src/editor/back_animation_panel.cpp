#include "editor/back_animation_panel.h"

#include "editor/panel_parts.h"
#include "editor/view_tags.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "ui/button.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
constexpr int kAnimationCount = 9;
constexpr double kTileSide = 60;
/// Room below the rows, so the last row scrolls clear of the panel's edge.
constexpr double kContentSlack = 130;
} // namespace

BackAnimationPanel::BackAnimationPanel(ScreenViews &views)
    : m_views(views)
{
}

void BackAnimationPanel::prepareToCut()
{
    ScreenViews &v = m_views;
    const bool tablet = isDeviceiPad();

    ui::ImageView &panel = *v.descripImg;
    reopenPanel(*v.mainView, panel);
    if (tablet) {
        panel.setFrame(QRectF(160, 50, 600, 600));
        panel.setImage(Resources::imageNamed(QStringLiteral("selectBackIpad.png")));
    } else {
        panel.setImage(Resources::imageNamed(QStringLiteral("selectBackIphone.png")));
        panel.setFrame(Device::isLandscape() ? QRectF(90, 20, 300, 300) : QRectF(10, 5, 300, 300));
    }

    auto scroll = addPickerScroll(panel, 30);
    scroll->setTag(kPickerScrollTag);
    addPanelTitle(panel, QRectF(15, -10, 200, 50), QStringLiteral("Select Back Animation"));

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
            m_closer.release();
            m_views.descripImg->setHidden(true);
        });
        scroll->addSubview(button);
    }
    scroll->setContentSize(QSizeF(contentWidth, gap + rows * (kTileSide + gap) + kContentSlack));
    panel.setBorderWidth(2);
    panel.setBorderColor(Qt::transparent);
    m_closer.open(panel, {});
}

} // namespace vimora
