// The intake's working sizes and thumbnails.
#include <gtest/gtest.h>

#include <QImage>

#include "app/intake_geometry.h"
#include "app/intake_pictures.h"

using namespace vimora;

TEST(IntakeSizeTest, LongerSideIsLimitedPerDevice)
{
    EXPECT_EQ(intakeWorkingSize({4000, 3000}, intakeMaxSide(DeviceProfile::Phone568)), QSizeF(1500, 1125));
    EXPECT_EQ(intakeWorkingSize({3000, 4000}, intakeMaxSide(DeviceProfile::Tablet)), QSizeF(1500, 2000));
    EXPECT_EQ(intakeWorkingSize({1500, 1500}, intakeMaxSide(DeviceProfile::Phone480)), QSizeF(1500, 1500));
    EXPECT_EQ(intakeWorkingSize({10000, 200}, 1500), QSizeF(1500, 30));
    EXPECT_EQ(intakeWorkingSize({1, 1}, 1500), QSizeF(1, 1));
}

TEST(IntakeSizeTest, ThumbnailsAre156WideKeepingTheRatio)
{
    EXPECT_EQ(intakeThumbnailSize({1500, 1125}), QSizeF(156, 117));
    EXPECT_EQ(intakeThumbnailSize({0, 0}), QSizeF());
    // A thread of a photo: ten times taller than wide at the most, never under a point wide.
    EXPECT_EQ(intakeThumbnailSize({1, 2000}), QSizeF(1, 1560));
    EXPECT_EQ(intakeThumbnailSize({100, 2000}), QSizeF(78, 1560));
    EXPECT_EQ(intakeThumbnailSize({156, 1560}), QSizeF(156, 1560));
}

TEST(IntakePicturesTest, APanoramaThinnerThanAPixelKeepsOneRowAndItsThumbnailToo)
{
    QImage image(4000, 1, QImage::Format_ARGB32);
    image.fill(qRgba(200, 40, 40, 0));
    const Picture decoded = intakeRoundTrip(Picture(image));
    ASSERT_EQ(decoded.size(), QSizeF(4000, 1));
    EXPECT_EQ(decoded.bitmap().pixel(0, 0), qRgb(0, 0, 0)) << "transparent areas land on black";

    const Picture working = intakeWorkingCopy(decoded, 1500);
    EXPECT_EQ(working.size(), QSizeF(1500, 1));
    EXPECT_EQ(intakeThumbnail(working).size(), QSizeF(156, 1));
    EXPECT_TRUE(intakeWorkingCopy(Picture(), 1500).isNull());
}
