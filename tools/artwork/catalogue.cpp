#include "catalogue.h"

#include <QPaintDevice>

namespace vimora::artwork {

const QStringList &wordFonts()
{
    // Families from the font packages in scripts/packages.txt.
    static const QStringList fonts = {
        "DejaVu Sans",  "DejaVu Serif",  "DejaVu Sans Mono", "Liberation Sans",    "Liberation Serif",
        "Liberation Mono", "Liberation Sans Narrow", "Nimbus Sans", "Nimbus Roman", "Nimbus Mono PS",
        "Nimbus Sans Narrow", "C059", "P052", "URW Gothic", "URW Bookman",
        "Z003", "Noto Sans", "Noto Serif", "Noto Sans Display", "Noto Mono"};
    return fonts;
}

const std::map<QString, QStringList> &propertyLists()
{
    static const std::map<QString, QStringList> lists = [] {
        std::map<QString, QStringList> result;
        QStringList frames = {"frameLibrary.png"}, thumbs = {"frameLibrary.png"};
        for (int i = 1; i <= 11; ++i) {
            frames << QStringLiteral("frame%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
            thumbs << QStringLiteral("frame%1s.jpg").arg(i, 2, 10, QLatin1Char('0'));
        }
        result["frameE"] = frames;
        result["frameEs"] = thumbs;
        result["wordE"] = wordFonts();
        result["ads"] = QStringList{"guide/index.html", "guide/effects.html", "guide/words.html"};
        result["adImg"] = QStringList{"adGuide.png", "adEffects.png", "adWords.png"};
        return result;
    }();
    return lists;
}

const std::map<QString, Drawing> &drawings()
{
    static const Registry registry = [] {
        Registry result;
        addControls(result);
        addPanels(result);
        addScenes(result);
        addWords(result);
        return result;
    }();
    return registry;
}

double deviceScale(const QPainter &p, const QSizeF &size)
{
    const QPaintDevice *device = p.device();
    return device && size.width() > 0 ? device->width() / size.width() : 1.0;
}

} // namespace vimora::artwork
