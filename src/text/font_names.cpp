#include "text/font_names.h"

#include <cmath>

#include <QFontDatabase>

namespace vimora::text {

QString defaultFontFamily()
{
    return QStringLiteral("Liberation Sans");
}

bool isFontInstalled(const QString &family)
{
    return !family.isEmpty() && QFontDatabase::hasFamily(family);
}

QFont fontNamed(const QString &family, double pixelSize)
{
    QFont font(isFontInstalled(family) ? family : defaultFontFamily());
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    return font;
}

} // namespace vimora::text
