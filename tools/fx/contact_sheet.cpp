// vimora-fx-sheet: every filter of the catalogue applied to one photo, laid out as a labelled
// contact sheet (docs/filters-contact-sheet.png).
//   vimora-fx-sheet PHOTO SECOND_PHOTO OUTPUT
#include <cmath>
#include <cstdio>
#include <numbers>

#include <QGuiApplication>
#include <QPainter>

#include "imaging/codec.h"
#include "imaging/filter.h"
#include "imaging/image_service.h"

using namespace vimora;

namespace {

constexpr int kTileWidth = 200, kTileHeight = 150, kLabel = 20, kColumns = 8;

/// Parameters that show each filter's effect on a picture of w x h.
void demonstrate(ImageFilter &filter, double w, double h, const Picture &second)
{
    const std::string name(filter.entry()->name);
    const QPointF centre(w / 2, h / 2);
    for (const char *key : {"inputCenter", "inputPoint"})
        if (filter.entry()->param(key))
            filter.setValue(key, centre);
    for (const char *key : {"inputBackgroundImage", "inputTargetImage"})
        if (filter.entry()->param(key))
            filter.setValue(key, second);
    const double radius = std::min(w, h) / 2;
    if (name.find("Distortion") != std::string::npos)
        filter.setValue("inputRadius", name == "CIHoleDistortion" || name == "CICircleSplashDistortion" ? radius / 3 : radius);

    struct Setting
    {
        const char *filter, *key;
        ParamValue value;
    };
    const Setting settings[] = {
        {"CIExposureAdjust", "inputEV", 1.0},
        {"CIGammaAdjust", "inputPower", 2.0},
        {"CIColorControls", "inputSaturation", 2.0},
        {"CIHueAdjust", "inputAngle", 2.0},
        {"CIVibrance", "inputAmount", 1.0},
        {"CIColorPosterize", "inputLevels", 4.0},
        {"CIVignette", "inputIntensity", 1.0},
        {"CINoiseReduction", "inputNoiseLevel", 0.2},
        {"CIBloom", "inputRadius", 8.0},
        {"CIBloom", "inputIntensity", 1.0},
        {"CIDotScreen", "inputWidth", 5.0},
        {"CICircularScreen", "inputWidth", 5.0},
        {"CIHatchedScreen", "inputWidth", 5.0},
        {"CILineScreen", "inputWidth", 5.0},
        {"CIAffineTransform", "inputTransform", QTransform(1, 0.3, 0.2, 1, 0, 0)},
        {"CICrop", "inputRectangle", QRectF(w / 4, h / 4, w / 2, h / 2)},
        {"CIPerspectiveTransform", "inputTopLeft", QPointF(w * 0.2, h)},
        {"CIPerspectiveTransform", "inputTopRight", QPointF(w * 0.8, h)},
        {"CIPerspectiveTransform", "inputBottomRight", QPointF(w, 0)},
        {"CIPerspectiveTransform", "inputBottomLeft", QPointF(0, 0)},
        {"CIPinchDistortion", "inputScale", 1.0},
        {"CITwirlDistortion", "inputAngle", 3.0},
        {"CIVortexDistortion", "inputAngle", 20.0},
        {"CIPixellate", "inputScale", 12.0},
        {"CITriangleKaleidoscope", "inputSize", w / 2},
        {"CIDissolveTransition", "inputTime", 0.5},
        {"CIToneCurve", "inputPoint1", QPointF(0.25, 0.1)},
        {"CIToneCurve", "inputPoint3", QPointF(0.75, 0.9)},
        {"CIHighlightShadowAdjust", "inputShadowAmount", 1.0},
        {"CIHighlightShadowAdjust", "inputHighlightAmount", 0.3},
    };
    for (const Setting &s : settings)
        if (name == s.filter)
            filter.setValue(s.key, s.value);
}

QImage tile(const QString &label, const Picture &picture)
{
    QImage tile(kTileWidth, kTileHeight + kLabel, QImage::Format_ARGB32_Premultiplied);
    tile.fill(QColor(40, 40, 44));
    QPainter p(&tile);
    // A checkerboard shows transparency.
    for (int y = 0; y < kTileHeight; y += 10)
        for (int x = 0; x < kTileWidth; x += 10)
            p.fillRect(x, y, 10, 10, (x / 10 + y / 10) % 2 ? QColor(90, 90, 90) : QColor(130, 130, 130));
    if (!picture.isNull()) {
        const QImage image = picture.bitmap();
        const QSize fitted = image.size().scaled(kTileWidth, kTileHeight, Qt::KeepAspectRatio);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(QRect((kTileWidth - fitted.width()) / 2, (kTileHeight - fitted.height()) / 2, fitted.width(),
                          fitted.height()),
                    image);
    }
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(12);
    p.setFont(font);
    p.drawText(QRect(0, kTileHeight, kTileWidth, kLabel), Qt::AlignCenter, picture.isNull() ? label + " (none)" : label);
    return tile;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fputs("usage: vimora-fx-sheet PHOTO SECOND_PHOTO OUTPUT\n", stderr);
        return 2;
    }
    const Picture full = readPicture(argv[1]), fullSecond = readPicture(argv[2]);
    if (full.isNull() || fullSecond.isNull()) {
        std::fputs("vimora-fx-sheet: cannot read the photos\n", stderr);
        return 1;
    }
    // Filters run on a 480-pixel-wide copy, so that their pixel parameters read at tile scale.
    const Picture photo(full.bitmap().scaledToWidth(480, Qt::SmoothTransformation));
    const Picture second(fullSecond.bitmap().scaledToWidth(480, Qt::SmoothTransformation));
    const double w = photo.pixelWidth(), h = photo.pixelHeight();

    std::vector<QImage> tiles{tile("original", photo)};
    for (const FilterEntry &entry : imageServiceCatalogue()) {
        ImageFilter filter(entry.name);
        filter.setValue("inputImage", photo);
        demonstrate(filter, w, h, second);
        tiles.push_back(tile(QString::fromLatin1(entry.name.data(), qsizetype(entry.name.size())), filter.renderForWrapper()));
    }
    const Filter catalogue;
    tiles.push_back(tile("doImageStuff 0.5", catalogue.doImageStuff(0.5f, photo)));
    tiles.push_back(tile("imageProcess", catalogue.imageProcess(photo)));
    tiles.push_back(tile("contrast 2", catalogue.contrast(2, photo)));
    tiles.push_back(tile("contrast2 1", catalogue.contrast2(1, photo)));
    tiles.push_back(tile("contrast9 150", catalogue.contrast9(photo, 150)));
    tiles.push_back(tile("contrast10", catalogue.contrast10(photo, 0)));
    tiles.push_back(tile("fixImage", catalogue.fixImage(photo)));

    const int rows = int(tiles.size() + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kTileWidth, rows * (kTileHeight + kLabel), QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(40, 40, 44));
    QPainter p(&sheet);
    for (size_t i = 0; i < tiles.size(); ++i)
        p.drawImage(int(i % kColumns) * kTileWidth, int(i / kColumns) * (kTileHeight + kLabel), tiles[i]);
    p.end();
    if (!writeFileAtomically(argv[3], encodePng(Picture(sheet), 9))) {
        std::fputs("vimora-fx-sheet: cannot write the sheet\n", stderr);
        return 1;
    }
    std::printf("%zu tiles\n", tiles.size());
    return 0;
}
