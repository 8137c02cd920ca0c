#include "compositor/compositor_geometry.h"



namespace vimora {

SaveLevel saveLevelForTitle(const QString &title)
{
    if (title == QLatin1String("Low"))
        return SaveLevel::Low;
    if (title == QLatin1String("Medium"))
        return SaveLevel::Medium;
    return SaveLevel::High;
}

QString saveLevelTitle(SaveLevel level)
{
    switch (level) {
    case SaveLevel::Low:
        return QStringLiteral("Low");
    case SaveLevel::Medium:
        return QStringLiteral("Medium");
    case SaveLevel::High:
        break;
    }
    return QStringLiteral("High");
}

double saveLevelMultiplier(SaveLevel level)
{
    switch (level) {
    case SaveLevel::Low:
        return 0.5;
    case SaveLevel::Medium:
        return 1.0;
    case SaveLevel::High:
        break;
    }
    return 2.0;
}

std::optional<QSizeF> levelSaveFactors(SaveLevel level, QSizeF pictureSize, QSizeF frameSize)
{
    if (pictureSize.width() <= 0 || pictureSize.height() <= 0 || frameSize.width() <= 0 || frameSize.height() <= 0)
        return std::nullopt;
    const double k = saveLevelMultiplier(level);
    return QSizeF(k * pictureSize.width() / frameSize.width(), k * pictureSize.height() / frameSize.height());
}

QRectF adjustPanelFrame(DeviceProfile profile, bool landscape)
{
    if (profile == DeviceProfile::Tablet)
        return {310, 360, 320, 300};
    return landscape ? QRectF(0, 20, 320, 300) : QRectF(0, 180, 320, 300);
}

} // namespace vimora
