#include "text/text_layout.h"

#include <algorithm>

namespace vimora::text {

namespace {
constexpr double kTabletRenderScale = 2.5;
constexpr double kPhoneRenderScale = 3.75;
constexpr double kPhoneLayerWidth = 200;
constexpr double kLayerLeftOfCentre = 80;
constexpr double kLayerTopGap = 30;
constexpr double kTabletBoxLift = 225;
} // namespace

double renderScale(ui::DeviceProfile profile)
{
    return ui::isTablet(profile) ? kTabletRenderScale : kPhoneRenderScale;
}

QRectF renderFrame(QSizeF fittedBox, ui::DeviceProfile profile)
{
    const double k = renderScale(profile);
    return QRectF(0, 0, fittedBox.width() * k, fittedBox.height() * k);
}

QRectF layerFrame(QSizeF render, ui::DeviceProfile profile)
{
    if (ui::isTablet(profile))
        return QRectF(100, 100, render.width() / kTabletRenderScale, render.height() / kTabletRenderScale);
    const double aspect = render.width() > 0 ? render.height() / render.width() : 0;
    return QRectF(60, 200, kPhoneLayerWidth, kPhoneLayerWidth * aspect);
}

QPointF layerCentre(double screenCentreX, double layerHeight)
{
    return QPointF(screenCentreX - kLayerLeftOfCentre, layerHeight / 2 + kLayerTopGap);
}

QPointF layerCentreOnScreen(double screenWidth, QSizeF layer)
{
    const QPointF centre = layerCentre(screenWidth / 2, layer.height());
    const double half = layer.width() / 2;
    return QPointF(std::clamp(centre.x(), half, std::max(half, screenWidth - half)), centre.y());
}

QRectF landedFrame(QSizeF layer, const QRectF &area)
{
    double k = 1;
    if (area.width() > 0 && area.height() > 0 && layer.width() > 0 && layer.height() > 0)
        k = std::min({1.0, area.width() / layer.width(), area.height() / layer.height()});
    QRectF frame(QPointF(0, 0), layer * k);
    frame.moveCenter(area.center());
    return frame;
}

QRectF textBackFrame(ui::DeviceProfile profile)
{
    return ui::isTablet(profile) ? QRectF(0, 0, 1024, 60) : QRectF(0, 0, 320, 60);
}

QRectF textBoxFrame(ui::DeviceProfile profile, QPointF screenCentre)
{
    if (!ui::isTablet(profile))
        return QRectF(55, 125, 240, 140);
    QRectF box(100, 100, 400, 140);
    box.moveCenter(screenCentre - QPointF(0, kTabletBoxLift));
    return box;
}

QRectF doneButtonFrame(ui::DeviceProfile profile)
{
    return ui::isTablet(profile) ? QRectF(180, 0, 90, 50) : QRectF(100, 0, 70, 50);
}

QRectF fontButtonFrame(ui::DeviceProfile profile)
{
    return ui::isTablet(profile) ? QRectF(80, 0, 90, 50) : QRectF(25, 0, 70, 50);
}

double textBoxFontSize(ui::DeviceProfile profile)
{
    return ui::isTablet(profile) ? 36 : 24;
}

QRectF colourPanelFrame(ui::DeviceProfile profile, bool landscape, QSizeF screen)
{
    // Along the bottom (the toolbar is away while it is up), so the new layer above it stays in sight.
    constexpr double kBottomGap = 10;
    if (ui::isTablet(profile))
        return QRectF(220, std::max(0.0, screen.height() - 300 - kBottomGap), 300, 300);
    return landscape ? QRectF(90, 20, 300, 310) : QRectF(10, std::max(0.0, screen.height() - 310 - kBottomGap), 300, 310);
}

} // namespace vimora::text
