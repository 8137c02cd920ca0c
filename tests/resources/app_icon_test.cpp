// The application icon the generator writes for the desktop: every size, and a scalable one
// that draws the same picture.
#include <cmath>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "app_icon.h"

namespace vimora::artwork {
namespace {

// Mean absolute difference of two same-sized pictures per channel, 0..255.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32), y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q))
                   + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * x.width() * x.height());
}

TEST(AppIcon, EverySizeAndTheScalableOneShowTheSamePicture)
{
    QTemporaryDir dir;
    ASSERT_TRUE(writeAppIcons(dir.path(), "icon").isEmpty());

    // Compared at the smallest size, where a shrunken big icon and a drawn small one agree.
    const QImage small = renderAppIcon(48);
    for (int pixels : kAppIconSizes) {
        const QImage png(dir.filePath(QStringLiteral("hicolor/%1x%1/apps/icon.png").arg(pixels)));
        ASSERT_EQ(png.size(), QSize(pixels, pixels));
        // Transparent outside the rounded tile, opaque at its heart.
        EXPECT_EQ(qAlpha(png.pixel(0, 0)), 0) << pixels;
        EXPECT_EQ(qAlpha(png.pixel(pixels / 2, pixels / 2)), 255) << pixels;
        EXPECT_LT(meanDifference(png.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation), small), 8.0)
            << pixels;
    }

    QSvgRenderer svg(dir.filePath("hicolor/scalable/apps/icon.svg"));
    ASSERT_TRUE(svg.isValid());
    QImage drawn(128, 128, QImage::Format_ARGB32_Premultiplied);
    drawn.fill(Qt::transparent);
    QPainter p(&drawn);
    svg.render(&p);
    p.end();
    const QImage reference = renderAppIcon(128);
    // A shape the vector writer lost or left unclipped shows as a large difference.
    EXPECT_LT(meanDifference(drawn, reference), 6.0);
}

} // namespace
} // namespace vimora::artwork
