// Frames of the editor's views per device.
#include <gtest/gtest.h>

#include "editor/editor_layout.h"

using namespace vimora;

namespace {
void expectSize(QSizeF actual, double w, double h)
{
    EXPECT_NEAR(actual.width(), w, 0.01);
    EXPECT_NEAR(actual.height(), h, 0.01);
}
} // namespace

TEST(PhotoViewFrameTest, SquarePhotosTakeTheWideBranch)
{
    EXPECT_EQ(photoViewFrame(DeviceProfile::Tablet, {1000, 1000}, {384, 512}), QRectF(59, 187, 650, 650));
    EXPECT_EQ(photoViewFrame(DeviceProfile::Phone480, {1000, 1000}, {160, 240}), QRectF(10, 90, 300, 300));
}

TEST(PhotoViewFrameTest, PortraitPhotosSitAboveCentreOnlyOnTablets)
{
    const QRectF tablet = photoViewFrame(DeviceProfile::Tablet, {960, 1280}, {384, 512});
    const QRectF phone = photoViewFrame(DeviceProfile::Phone568, {960, 1280}, {160, 284});

    EXPECT_EQ(tablet.center(), QPointF(384, 462));
    expectSize(tablet.size(), 487.5, 650);
    EXPECT_EQ(phone.center(), QPointF(160, 284));
    expectSize(phone.size(), 285, 380);
}

TEST(PhotoViewFrameTest, UnreadablePhotoGivesADegenerateFrame)
{
    EXPECT_EQ(photoViewFrame(DeviceProfile::Tablet, {0, 0}, {384, 512}), QRectF(384, 512, 0, 0));
}

TEST(OptionsPanelTest, PreviewFramesOnATablet)
{
    const double panel = optionsPanelFrame(DeviceProfile::Tablet, false).width();

    expectSize(previewFrameSize(panel, true), 550.2, 309.4875);
    expectSize(previewFrameSize(panel, false), 550.2, 412.65);
}

TEST(OptionsPanelTest, UprightPhotosUnderFourByThreeOverflowVertically)
{
    const QSizeF preview(550.2, 412.65);

    const PhotoLayerFit tall = photoLayerFit({900, 1200}, preview, true);
    const PhotoLayerFit nearSquare = photoLayerFit({1000, 1050}, preview, true);
    const PhotoLayerFit wide16 = photoLayerFit({900, 1200}, {550.2, 309.49}, false);

    expectSize(tall.size, 550.2, 550.2);
    EXPECT_TRUE(tall.overflowsVertically);
    expectSize(nearSquare.size, 393.0, 412.65);
    EXPECT_FALSE(nearSquare.overflowsVertically);
    EXPECT_FALSE(wide16.overflowsVertically);
}

TEST(EditorFrameTest, FollowsTheScreenAndOrientation)
{
    EXPECT_EQ(editorFrame(DeviceProfile::Tablet, true), QRectF(0, 0, 1024, 768));
    EXPECT_EQ(editorFrame(DeviceProfile::Phone480, false), QRectF(0, 0, 320, 480));
    EXPECT_EQ(rotatedToolbarFrame(DeviceProfile::Phone480, false), QRectF(0, 415, 568, 65));
}
