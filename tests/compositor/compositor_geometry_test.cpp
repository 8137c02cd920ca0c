// The compositor's arithmetic: save levels and their factors, and the merges of two pictures
// its effects rely on.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "compositor/background_effects.h"
#include "compositor/compositor_geometry.h"
#include "imaging/filter.h"
#include "imaging/pixel_cut.h"

using namespace vimora;

TEST(LevelSaveFactors, TabletBackgroundOfTwiceItsFrameGivesOneTwoAndFour)
{
    const QSizeF picture(2048, 1536), frame(1024, 768);

    const auto low = levelSaveFactors(saveLevelForTitle("Low"), picture, frame);
    const auto medium = levelSaveFactors(saveLevelForTitle("Medium"), picture, frame);
    const auto high = levelSaveFactors(saveLevelForTitle("High"), picture, frame);

    ASSERT_TRUE(low && medium && high);
    EXPECT_EQ(*low, QSizeF(1.0, 1.0));
    EXPECT_EQ(*medium, QSizeF(2.0, 2.0));
    EXPECT_EQ(*high, QSizeF(4.0, 4.0));
}

TEST(LevelSaveFactors, AnyOtherTitleSavesHigh)
{
    EXPECT_EQ(saveLevelForTitle("low"), SaveLevel::High);
    EXPECT_EQ(saveLevelForTitle(""), SaveLevel::High);
    EXPECT_EQ(saveLevelForTitle("Huge"), SaveLevel::High);
}

TEST(LevelSaveFactors, NoBackgroundPictureGivesNoFactorsInsteadOfZero)
{
    EXPECT_FALSE(levelSaveFactors(SaveLevel::High, QSizeF(0, 0), QSizeF(1024, 768)));
    EXPECT_FALSE(levelSaveFactors(SaveLevel::Low, QSizeF(1024, 768), QSizeF(0, 0)));
}

TEST(LevelSaveFactors, WidthAndHeightScaleApart)
{
    const auto f = levelSaveFactors(SaveLevel::Medium, QSizeF(1000, 300), QSizeF(500, 200));

    ASSERT_TRUE(f);
    EXPECT_DOUBLE_EQ(f->width(), 2.0);
    EXPECT_DOUBLE_EQ(f->height(), 1.5);
}

namespace {
// Every pixel's colour encodes its place, so a row landing in the wrong band shows.
Picture positionCoded(int w, int h, int seed)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb((x * 37 + seed) % 256, (y * 53 + seed) % 256, (x * y * 11) % 256));
    return Picture(image);
}
} // namespace

TEST(PrintMix, SharingTheRowsGivesTheWholePicturesResult)
{
    const Filter filter;
    for (const auto &[bgSize, baseSize] : {std::pair{QSize(7, 5), QSize(4, 9)}, std::pair{QSize(6, 9), QSize(9, 3)},
                                           std::pair{QSize(1, 1), QSize(1, 1)}, std::pair{QSize(3, 2), QSize(0, 0)}}) {
        const Picture bg = positionCoded(bgSize.width(), bgSize.height(), 3);
        const Picture base = baseSize.isEmpty() ? Picture() : positionCoded(baseSize.width(), baseSize.height(), 90);

        const Picture mixed = printMix(bg, base, filter);

        const Picture expected
            = addImage(bg, base.isNull() ? Picture() : filter.imageProcess(filter.contrast9(base, 200)));
        ASSERT_FALSE(mixed.isNull());
        EXPECT_EQ(mixed.uprightBitmap(), expected.uprightBitmap()) << bgSize.width() << "x" << bgSize.height();
    }
}
