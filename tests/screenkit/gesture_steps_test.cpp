// The gesture steps both screens use: a drag from the start centre, the panel carried by its
// handle, the pinch's steps and how a pinch ends, and the capture scale of the saves.

#include <cmath>
#include <memory>

#include <gtest/gtest.h>

#include "screenkit/capture_level.h"
#include "screenkit/drag_follower.h"
#include "screenkit/pinch_scaler.h"
#include "ui/affine_transform.h"
#include "ui/headless_host.h"

using namespace vimora;

namespace {

// A 400 x 400 screen with a 100 x 100 view centred at (100, 100) inside a container shifted
// by (50, 50) and scaled by 2, so translations measured in the window and in the container
// differ.
struct Screen
{
    ui::HeadlessHost host{QSizeF(400, 400)};
    ui::ViewPtr root = std::make_shared<ui::View>();
    ui::ViewPtr container = std::make_shared<ui::View>();
    ui::ViewPtr target = std::make_shared<ui::View>();

    Screen()
    {
        host.setRootView(root);
        container->setBounds(QRectF(0, 0, 200, 200));
        container->setCenter(QPointF(150, 150));
        container->setTransform(ui::scaled(ui::AffineTransform(), 2, 2));
        root->addSubview(container);
        target->setBounds(QRectF(0, 0, 20, 20));
        target->setCenter(QPointF(50, 50));
        container->addSubview(target);
    }
    QPointF targetOnScreen() const { return target->convertPointTo(QPointF(10, 10), nullptr); }
};

} // namespace

TEST(DragFollowerTest, InSuperviewMeasuresInTheDraggedViewsParent)
{
    Screen s;
    DragFollower follower = DragFollower::inSuperview();
    s.target->addGestureRecognizer(oneFingerPan([&](ui::PanRecognizer &p) { follower.follow(p); }));
    const QPointF from = s.targetOnScreen();

    s.host.drag(from, from + QPointF(60, 40));

    // 60 x 40 window points are 30 x 20 of the container scaled by 2: the view stays under the finger.
    EXPECT_EQ(s.target->center(), QPointF(80, 70));
}

TEST(DragFollowerTest, EachDragStartsFromWhereTheLastLeftTheView)
{
    Screen s;
    DragFollower follower(s.container.get());
    s.target->addGestureRecognizer(oneFingerPan([&](ui::PanRecognizer &p) { follower.follow(p); }));

    s.host.drag(s.targetOnScreen(), s.targetOnScreen() + QPointF(20, 0));
    s.host.advance(0.5);
    s.host.drag(s.targetOnScreen(), s.targetOnScreen() + QPointF(0, 20));

    EXPECT_EQ(s.target->center(), QPointF(60, 60));
}

TEST(DragFollowerTest, PanelTopRightCornerFollowsTheHandle)
{
    Screen s;
    auto panel = std::make_shared<ui::View>(QRectF(0, 0, 300, 200));
    panel->setCenter(QPointF(250, 350)); // clear of the handle
    s.root->addSubview(panel);
    DragFollower follower(s.root.get());
    s.target->addGestureRecognizer(oneFingerPan([&](ui::PanRecognizer &p) { follower.followWithPanel(p, *panel); }));
    const QPointF from = s.targetOnScreen();

    s.host.drag(from, from + QPointF(40, 30));

    EXPECT_EQ(panelCentreForHandle({500, 100}, {300, 200}), QPointF(350, 200));
    EXPECT_EQ(panel->frame().topRight(), s.target->center());
    // Measured in the root: 40 x 30 points, whatever the handle's own parent does to them.
    EXPECT_EQ(s.target->center(), QPointF(90, 80));
}

TEST(PinchScalerTest, StepsAreAdditiveSoTenEqualStepsCompound)
{
    double size = 1.0, last = 1.0;
    for (int i = 1; i <= 10; ++i) {
        const double s = 1.0 + i * 0.1;
        size *= pinchStepFactor(last, s);
        last = s;
    }

    EXPECT_NEAR(size, std::pow(1.1, 10), 1e-9);
}

TEST(PinchScalerTest, APinchEndsWithNoStepAndTheNextStartsFromOne)
{
    Screen s;
    PinchScaler scaler;
    int ends = 0;
    s.target->addGestureRecognizer(std::make_shared<ui::PinchRecognizer>([&](ui::PinchRecognizer &p) {
        if (const auto factor = scaler.step(p))
            PinchScaler::scaleView(*p.view(), *factor);
        else
            ++ends;
    }));
    const QPointF centre = s.targetOnScreen();

    s.host.pinch(centre, 20, {1.5, 2.0});
    const double afterFirst = s.target->transform().a;
    s.host.advance(0.5);
    s.host.pinch(centre, 20, {1.5});

    EXPECT_EQ(ends, 2);
    EXPECT_DOUBLE_EQ(scaler.lastScale(), 1.0);
    EXPECT_NEAR(afterFirst, 1.5 * (1 - (1.5 - 2.0)), 1e-9);
    // Had the first pinch's last scale of 2 lingered, this step would be 0.5, not 1.5.
    EXPECT_NEAR(s.target->transform().a, afterFirst * 1.5, 1e-9);
}

TEST(PinchScalerTest, AStepThatWouldCollapseOrMirrorTheViewIsLeftOut)
{
    ui::View view(QRectF(0, 0, 10, 10));
    view.setTransform(ui::scaled(ui::AffineTransform(), 2, 2));

    PinchScaler::scaleView(view, 0.0);
    PinchScaler::scaleView(view, -0.4);
    PinchScaler::scaleView(view, 0.5);

    EXPECT_DOUBLE_EQ(view.transform().a, 1.0);
    EXPECT_DOUBLE_EQ(view.transform().d, 1.0);
}

struct CaptureCase
{
    ui::DeviceProfile profile;
    int level;
    double scale;
};

class CaptureLevelScale : public testing::TestWithParam<CaptureCase>
{ };

TEST_P(CaptureLevelScale, EnlargesByTheLevelOrNotAtAll)
{
    const CaptureCase c = GetParam();
    EXPECT_DOUBLE_EQ(captureLevelScale(c.level, c.profile), c.scale);
}

// Tablet: level 2 is the screen's size, each level away doubles. Phones: above 2 the screen's
// size, level 2 doubles, each level below doubles again. Never below 1.
using ui::DeviceProfile;
INSTANTIATE_TEST_SUITE_P(
    EveryLevelOnEveryProfile, CaptureLevelScale,
    testing::Values(CaptureCase{DeviceProfile::Tablet, 0, 4}, CaptureCase{DeviceProfile::Tablet, 1, 2},
                    CaptureCase{DeviceProfile::Tablet, 2, 1}, CaptureCase{DeviceProfile::Tablet, 3, 2},
                    CaptureCase{DeviceProfile::Tablet, 4, 4}, CaptureCase{DeviceProfile::Tablet, 9, 8},
                    CaptureCase{DeviceProfile::Phone568, 0, 8}, CaptureCase{DeviceProfile::Phone568, 1, 4},
                    CaptureCase{DeviceProfile::Phone568, 2, 2}, CaptureCase{DeviceProfile::Phone568, 3, 1},
                    CaptureCase{DeviceProfile::Phone568, 4, 1}, CaptureCase{DeviceProfile::Phone480, -3, 8},
                    CaptureCase{DeviceProfile::Phone480, 1, 4}, CaptureCase{DeviceProfile::Phone480, 2, 2},
                    CaptureCase{DeviceProfile::Phone480, 3, 1}, CaptureCase{DeviceProfile::Phone480, 5, 1}));
