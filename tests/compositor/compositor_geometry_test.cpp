// The compositor's arithmetic: save levels and their factors, the capture scale on every
// level and device, and the merges of two pictures its effects rely on.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "compositor/compositor_geometry.h"
#include "compositor/background_effects.h"
#include "editor/crop.h"
#include "imaging/filter.h"

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

struct CaptureCase
{
    DeviceProfile profile;
    int level;
    double scale;
};

class CaptureLevelScale : public testing::TestWithParam<CaptureCase>
{
};

TEST_P(CaptureLevelScale, EnlargesByTheLevelOrNotAtAll)
{
    const CaptureCase c = GetParam();
    EXPECT_DOUBLE_EQ(captureLevelScale(c.level, c.profile), c.scale);
}

// Tablet: level 2 is the screen's size, each level away doubles. Phones: above 2 the screen's
// size, level 2 doubles, each level below doubles again. Never below 1.
INSTANTIATE_TEST_SUITE_P(EveryLevelOnEveryProfile, CaptureLevelScale,
                         testing::Values(CaptureCase{DeviceProfile::Tablet, 0, 4}, CaptureCase{DeviceProfile::Tablet, 1, 2},
                                         CaptureCase{DeviceProfile::Tablet, 2, 1}, CaptureCase{DeviceProfile::Tablet, 3, 2},
                                         CaptureCase{DeviceProfile::Tablet, 4, 4}, CaptureCase{DeviceProfile::Tablet, 9, 8},
                                         CaptureCase{DeviceProfile::Phone568, 0, 8}, CaptureCase{DeviceProfile::Phone568, 1, 4},
                                         CaptureCase{DeviceProfile::Phone568, 2, 2}, CaptureCase{DeviceProfile::Phone568, 3, 1},
                                         CaptureCase{DeviceProfile::Phone568, 4, 1}, CaptureCase{DeviceProfile::Phone480, -3, 8},
                                         CaptureCase{DeviceProfile::Phone480, 1, 4}, CaptureCase{DeviceProfile::Phone480, 2, 2},
                                         CaptureCase{DeviceProfile::Phone480, 3, 1}, CaptureCase{DeviceProfile::Phone480, 5, 1}));

TEST(AddImage, SmallerSecondPictureCoversOnlyTheTopLeft)
{
    QImage a(200, 100, QImage::Format_ARGB32_Premultiplied);
    a.fill(Qt::blue);
    QImage b(100, 100, QImage::Format_ARGB32_Premultiplied);
    b.fill(Qt::red);

    const Picture merged = addImage(Picture(a), Picture(b));

    ASSERT_EQ(merged.size(), QSizeF(200, 100));
    const QImage out = merged.uprightBitmap();
    EXPECT_EQ(out.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(99, 99), qRgb(255, 0, 0));
    EXPECT_EQ(out.pixel(100, 0), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(199, 99), qRgb(0, 0, 255));
}

TEST(AddImage, LargerSecondPictureIsClippedAndNoFirstGivesNoPicture)
{
    QImage a(4, 4, QImage::Format_ARGB32_Premultiplied);
    a.fill(Qt::blue);
    QImage b(8, 2, QImage::Format_ARGB32_Premultiplied);
    b.fill(Qt::red);

    const Picture merged = addImage(Picture(a), Picture(b));

    EXPECT_EQ(merged.size(), QSizeF(4, 4));
    EXPECT_EQ(merged.uprightBitmap().pixel(3, 1), qRgb(255, 0, 0));
    EXPECT_EQ(merged.uprightBitmap().pixel(3, 2), qRgb(0, 0, 255));
    EXPECT_TRUE(addImage(Picture(), Picture(b)).isNull());
    EXPECT_EQ(addImage(Picture(a), Picture()).size(), QSizeF(4, 4));
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
