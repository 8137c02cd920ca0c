// The background's and the working view's cover sizes.
#include <gtest/gtest.h>

#include "compositor/background_geometry.h"

using namespace vimora;

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
