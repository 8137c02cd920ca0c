// Where the editor's panels open and how it turns: the adjust panel clear of the work it
// adjusts, wholly on screen with every control inside its border, on every device.

#include <QRectF>

#include "editor/adjust_panel.h"
#include "editor/editor_layout.h"
#include "editor/finishing_toolbar.h"
#include "editor_fixture.h"

using namespace vimora;
using namespace vimora::test;

namespace {

double coveredShare(const QRectF &panel, const QRectF &work)
{
    const QRectF common = panel.intersected(work);
    return common.isValid() ? common.width() * common.height() / (work.width() * work.height()) : 0;
}

} // namespace

TEST(AdjustPanelFrameTest, OpensBelowThenBesideThenAboveTheWork)
{
    const QRectF screen(0, 0, 768, 1024);
    const QSizeF panel(320, 150);

    // Room below: centred under the work.
    EXPECT_EQ(adjustPanelFrame(screen, QRectF(284, 362, 200, 200), panel), QRectF(224, 562, 320, 150));
    // No room below: beside it, on the right first, slid up to stay on screen.
    EXPECT_EQ(adjustPanelFrame(screen, QRectF(100, 800, 200, 200), panel), QRectF(300, 825, 320, 150));
    // Neither below nor to the right nor left: above.
    EXPECT_EQ(adjustPanelFrame(screen, QRectF(0, 874, 768, 150), panel), QRectF(224, 724, 320, 150));
    // Slid along the work's side into the screen, never resized.
    EXPECT_EQ(adjustPanelFrame(screen, QRectF(0, 100, 100, 100), panel), QRectF(0, 200, 320, 150));
}

TEST(AdjustPanelFrameTest, WhenNothingIsClearTheLeastCoveredPlaceWinsAndAPanelTooBigIsPinned)
{
    const QRectF phone(0, 0, 320, 480);
    const QSizeF panel(320, 276);
    // Low on the screen: above it and clear. In the middle: nowhere is clear, below covers least
    // (as little as above, and tried first).
    const QRectF low = adjustPanelFrame(phone, QRectF(90, 300, 140, 140), panel);
    EXPECT_EQ(low, QRectF(0, 24, 320, 276));
    const QRectF middle = adjustPanelFrame(phone, QRectF(90, 170, 140, 140), panel);
    EXPECT_EQ(middle, QRectF(0, 204, 320, 276));
    EXPECT_EQ(adjustPanelFrame(QRectF(0, 0, 200, 100), QRectF(0, 0, 10, 10), panel), QRectF(0, 0, 320, 276));
}

struct PanelCase
{
    DeviceProfile profile;
    bool landscape;
    bool wholePhoto;
};

class AdjustPanelPlacementTest : public testing::TestWithParam<PanelCase>
{
};

TEST_P(AdjustPanelPlacementTest, BothStepsOpenOnScreenWithEveryControlInsideTheBorderAndClearOfThePiece)
{
    const PanelCase c = GetParam();
    EditorScreen screen(c.profile);
    if (c.landscape) {
        Device::setOrientation(InterfaceOrientation::LandscapeLeft);
        screen.editor->rotateW();
    }
    screen.writePhoto("D1001.jpg", codedPhoto(1200, 900));
    screen.startJob("D1001.jpg");
    screen.tap(*screen.doneButton());
    screen.host.advance(1);
    ui::Button *opener = screen.toolbarButton(c.wholePhoto ? "ChangeFoto" : "Color");
    ASSERT_TRUE(opener);
    screen.tap(*opener);

    const ui::ImageView &panel = *screen.views->descripImg;
    const QRectF onScreen(QPointF(0, 0), Device::screenSize());
    for (int step = 1; step <= 2; ++step) {
        SCOPED_TRACE(step);
        ASSERT_FALSE(panel.isHidden());
        const QRectF frame = panel.convertRectTo(panel.bounds(), nullptr);
        EXPECT_TRUE(onScreen.contains(frame)) << "panel " << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
        const QRectF inside = panel.bounds().adjusted(panel.borderWidth(), panel.borderWidth(), -panel.borderWidth(), -panel.borderWidth());
        for (const ui::ViewPtr &control : panel.subviews()) {
            if (dynamic_cast<ui::Control *>(control.get())) {
                EXPECT_TRUE(inside.contains(control->frame())) << control->tag();
            }
        }
        ui::ImageView *work = c.wholePhoto ? screen.editorView(kWholePhotoPieceTag) : screen.piece();
        ASSERT_TRUE(work);
        const QRectF workFrame = work->convertRectTo(work->bounds(), nullptr);
        const double covered = coveredShare(frame, workFrame);
        // The whole photo fills a phone's screen: there the panel can only cover the least of it.
        if (c.wholePhoto)
            EXPECT_LT(covered, 0.5);
        else
            EXPECT_LT(covered, 1e-9);
        if (step == 1) {
            ui::Button *next = nullptr;
            for (const ui::ViewPtr &v : panel.subviews())
                if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->title() == QLatin1String("Next"))
                    next = b;
            ASSERT_TRUE(next);
            screen.tap(*next);
            screen.editor->waitForEffects();
            screen.host.advance(0.6);
            screen.editor->waitForEffects();
            screen.host.advance(0);
        }
    }
    Device::setOrientation(InterfaceOrientation::Portrait);
}

INSTANTIATE_TEST_SUITE_P(Devices, AdjustPanelPlacementTest,
                         testing::Values(PanelCase{DeviceProfile::Tablet, false, false}, PanelCase{DeviceProfile::Tablet, true, false},
                                         PanelCase{DeviceProfile::Tablet, false, true}, PanelCase{DeviceProfile::Phone568, false, false},
                                         PanelCase{DeviceProfile::Phone480, false, false}, PanelCase{DeviceProfile::Phone480, false, true}));

TEST(EditorTurnTest, EveryControlFollowsTheTurnAndComesBackWithTheTurnBack)
{
    EditorScreen screen(DeviceProfile::Tablet);
    screen.writePhoto("D1001.jpg", codedPhoto(1200, 900));
    screen.startJob("D1001.jpg");
    screen.tap(*screen.doneButton());
    screen.host.advance(1);
    screen.editor->remindNew();

    const auto expectLaidOutFor = [&](double width, double height) {
        const QRectF onScreen(0, 0, width, height);
        const auto frameOf = [](const ui::View &v) { return v.convertRectTo(v.bounds(), nullptr); };
        ui::Button *back = screen.editorView<ui::Button>(kEditorBackTag);
        ui::Button *frame = screen.editorView<ui::Button>(kFrameControlTag);
        ui::Button *write = screen.editorView<ui::Button>(kWriteControlTag);
        ASSERT_TRUE(back && frame && write);
        // Back and Frame along the right edge, Write along the left.
        EXPECT_NEAR(frameOf(*back).right(), width - 10, 0.5);
        EXPECT_NEAR(frameOf(*frame).right(), width - writeControlFrame().left(), 0.5);
        EXPECT_EQ(frameOf(*write), writeControlFrame());
        for (const ui::ViewPtr &button : screen.views->selectTopView->subviews())
            EXPECT_TRUE(onScreen.contains(frameOf(*button))) << button->tag();
        ui::ImageView *hint = screen.hint();
        ASSERT_TRUE(hint);
        EXPECT_FALSE(hint->isHidden());
        EXPECT_EQ(frameOf(*hint).width(), width);
        EXPECT_LE(frameOf(*hint).bottom(), screen.views->selectTopView->frame().top());
        EXPECT_TRUE(onScreen.contains(frameOf(*screen.photoView())));
    };
    expectLaidOutFor(768, 1024);
    Device::setOrientation(InterfaceOrientation::LandscapeLeft);
    screen.host.setScreenSize(QSizeF(1024, 768));
    screen.editor->rotateW();
    {
        SCOPED_TRACE("landscape");
        expectLaidOutFor(1024, 768);
    }
    Device::setOrientation(InterfaceOrientation::Portrait);
    screen.host.setScreenSize(QSizeF(768, 1024));
    screen.editor->rotateH();
    {
        SCOPED_TRACE("portrait again");
        expectLaidOutFor(768, 1024);
    }
}
