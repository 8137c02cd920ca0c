// Working sizes, thumbnails and the working view's cover sizes.
#include <gtest/gtest.h>

#include <QImage>

#include "compositor/intake_geometry.h"
#include "compositor/intake_pictures.h"

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

TEST(OpenBackViewTest, CoversTheScreenAtTheRatio)
{
    EXPECT_EQ(openBackViewSize(DeviceProfile::Tablet, true, 1.0f), QSizeF(1024, 1024));
    EXPECT_EQ(openBackViewSize(DeviceProfile::Tablet, true, 0.5f), QSizeF(1536, 768));
    EXPECT_EQ(openBackViewSize(DeviceProfile::Phone568, true, 1.0f), QSizeF(568, 568));
    EXPECT_EQ(openBackViewSize(DeviceProfile::Phone480, false, 2.0f), QSizeF(320, 640));
}

TEST(BackgroundSizeTest, SavedPicturesCoverTheTabletScreenAndTheDevice)
{
    EXPECT_EQ(backgroundCoverSize({2000, 1500}), QSizeF(1024, 768));
    EXPECT_EQ(backgroundCoverSize({1000, 2000}), QSizeF(768, 1536));
    EXPECT_EQ(backgroundViewSize(DeviceProfile::Phone480, {2000, 1500}), QSizeF(480, 360));
    EXPECT_EQ(backgroundViewSize(DeviceProfile::Tablet, {1500, 1500}), QSizeF(1024, 1024));
}
