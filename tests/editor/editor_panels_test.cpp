// The editor's panels and smaller gestures on the headless host: the options panel's frames,
// layer sizes and controls, photo replacement through the picker and the built-in images,
// the colour pick and cut-guide modes, the adjust panel's handle, the tap stamp, capture.

#include <numeric>
#include <optional>

#include "editor/edge_feathering.h"
#include "editor/editor_layout.h"
#include "editor_fixture.h"
#include "platform/photo_picker.h"
#include "platform/resources.h"
#include "support/pixel_compare.h"
#include "ui/pan_recognizer.h"
#include "ui/switch.h"

using namespace vimora;
using namespace vimora::test;

namespace {

/// A picker that hands back whatever the test put in, or keeps the answer for later.
class FakePicker : public PhotoPicker
{
public:
    explicit FakePicker(std::optional<Result> answer)
        : m_answer(std::move(answer))
    {
    }
    void present(Source, Done done) override
    {
        ++presented;
        done(m_answer);
    }
    int presented = 0;

private:
    std::optional<Result> m_answer;
};

FakePicker *installPicker(std::optional<PhotoPicker::Result> answer)
{
    auto picker = std::make_unique<FakePicker>(std::move(answer));
    FakePicker *raw = picker.get();
    PhotoPicker::setCurrent(std::move(picker));
    return raw;
}

std::vector<int> controlTags(const ui::View &panel)
{
    std::vector<int> tags;
    for (const ui::ViewPtr &v : panel.subviews())
        if (dynamic_cast<const ui::Control *>(v.get()))
            tags.push_back(v->tag());
    std::sort(tags.begin(), tags.end());
    return tags;
}

class OptionsPanelTest : public testing::Test
{
protected:
    void startJobOn(QSize photo)
    {
        screen.writePhoto("D1001.jpg", codedPhoto(photo.width(), photo.height()));
        screen.startJob("D1001.jpg");
    }
    ui::View &panel() { return *screen.views->descripImg2; }
    ui::ImageView &preview() { return *screen.preview(); }
    ui::Switch &aspectSwitch() { return *dynamic_cast<ui::Switch *>(panel().viewWithTag(kAspectSwitchTag)); }
    void tapSwitch() { screen.host.tap(EditorScreen::centreOnScreen(aspectSwitch())); }

    EditorScreen screen{DeviceProfile::Tablet};
};

TEST_F(OptionsPanelTest, ABuiltInImageBecomesOriginAndOpensThePhotoBackdropPanel)
{
    startJobOn(QSize(1200, 900));

    screen.editor->excuteThePrepare(1);

    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::Origin).size(), QSize(1280, 960));
    EXPECT_FALSE(panel().isHidden());
    EXPECT_EQ(panel().frame(), QRectF(160, 50, 600, 600));
    EXPECT_EQ(screen.editor->tapMode(), TapMode::ColourPick);
    ASSERT_TRUE(screen.preview());
    EXPECT_NEAR(preview().frame().width(), 550.2, 1e-9);
    EXPECT_NEAR(preview().frame().height(), 412.65, 1e-9);
    EXPECT_EQ(preview().image().pixelHeight(), 960);
    EXPECT_EQ(screen.photoView()->alpha(), 0);
    // The photo-backdrop panel: gradient, the five styles, the rotation slider, switch and OK.
    EXPECT_EQ(controlTags(panel()), (std::vector<int>{11, 12, 14, 21, 22, 23, 24, 25, 26}));
    ASSERT_TRUE(screen.hint());
    EXPECT_EQ(screen.hint()->frame(), QRectF(0, 979, 768, 45)); // no toolbar yet: the bottom edge
}

TEST_F(OptionsPanelTest, TheAspectSwitchReframesKeepsTheOpenerAndLeavesOriginWhole)
{
    startJobOn(QSize(900, 1200));
    screen.editor->excuteThePrepare(1);
    EXPECT_FALSE(aspectSwitch().isOn()); // 4:3 on screen

    tapSwitch();
    EXPECT_TRUE(aspectSwitch().isOn());
    EXPECT_EQ(screen.editor->effectMode(), EffectMode::SixteenByNine);
    EXPECT_NEAR(preview().frame().height(), 309.49, 0.01);
    EXPECT_EQ(preview().image().bitmap().size(), QSize(1280, 720));
    // The opener is kept: still the photo-backdrop panel with its styles.
    EXPECT_NE(panel().viewWithTag(kFirstStyleTag), nullptr);

    tapSwitch();
    EXPECT_FALSE(aspectSwitch().isOn());
    EXPECT_EQ(screen.editor->effectMode(), EffectMode::FourByThree);
    EXPECT_EQ(preview().image().bitmap().size(), QSize(1280, 960));
    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::Origin).size(), QSize(1280, 960));
    // The layer shows the chosen 4:3 picture, which fills the 4:3 frame.
    ASSERT_TRUE(screen.photoLayer());
    EXPECT_NEAR(screen.photoLayer()->frame().width(), 550.2, 1e-9);
    EXPECT_NEAR(screen.photoLayer()->frame().height(), 412.65, 1e-9);
}

TEST_F(OptionsPanelTest, TheFramePanelFramesTheCompositionAndOnlyOkLaysItOnTheJob)
{
    QImage light(1200, 900, QImage::Format_RGB32);
    light.fill(qRgb(240, 220, 200));
    screen.writePhoto("D1001.jpg", light);
    screen.startJob("D1001.jpg");
    screen.tap(*screen.doneButton());
    ASSERT_TRUE(screen.piece());
    screen.piece()->setCenter(screen.piece()->center() + QPointF(60, 40)); // the hole shows
    const Picture shown = screen.editor->saving().capture(SaveQuality::High);

    // The preview frames what the editor shows, piece and hole included.
    screen.editor->preView2(kBottomOkTag);
    ASSERT_TRUE(screen.photoLayer());
    EXPECT_TRUE(picturesEqual(screen.photoLayer()->image(), shown));

    // Cancel: the panel goes, nothing of it reaches the job.
    preview().setBackgroundColor(Qt::yellow);
    screen.editor->gradientSelect();
    screen.editor->gradientMe(int(FeatherButton::Top));
    screen.editor->gradientMe(int(FeatherButton::Ok));
    ASSERT_TRUE(panel().viewWithTag(kOptionsCancelTag));
    screen.tap(*panel().viewWithTag(kOptionsCancelTag));
    EXPECT_TRUE(panel().isHidden());
    ASSERT_TRUE(screen.piece());
    EXPECT_EQ(screen.photoView()->alpha(), 1);
    EXPECT_TRUE(picturesEqual(screen.editor->saving().capture(SaveQuality::High), shown));
    // Write while it is up: it closes untouched rather than stay open under the text bars.
    screen.editor->preView2(kBottomOkTag);
    preview().setBackgroundColor(Qt::yellow);
    screen.editor->gotoTextView();
    EXPECT_TRUE(panel().isHidden());
    EXPECT_TRUE(picturesEqual(screen.editor->saving().capture(SaveQuality::High), shown));
    screen.editor->wordTable().closeTextBox();

    // OK: the fade towards the top and bottom edges is laid onto the photo, over the black backdrop.
    screen.editor->preView2(kBottomOkTag);
    EXPECT_EQ(preview().backgroundColor(), QColor(Qt::black)) << "a cancelled backdrop is not kept";
    ASSERT_TRUE(screen.editor->featherEdges().isOn(FeatherButton::Top));
    screen.tap(*panel().viewWithTag(kOptionsOkTag));
    screen.editor->waitForEffects();
    screen.host.advance(0);
    EXPECT_TRUE(panel().isHidden());
    const QImage framed = EditorScreen::fileImage(WorkingFiles::Slot::Origin).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(framed.size(), QSize(1200, 900));
    const QImage before = shown.bitmap().convertToFormat(QImage::Format_RGB32);
    EXPECT_LT(qRed(framed.pixel(1100, 2)), qRed(before.pixel(1100, 2)) / 2) << "the top is faded";
    EXPECT_LT(qRed(framed.pixel(1100, 897)), qRed(before.pixel(1100, 897)) / 2) << "the bottom is faded";
    EXPECT_NEAR(qRed(framed.pixel(1100, 450)), qRed(before.pixel(1100, 450)), 3) << "the middle is the picture";
    // The editor shows it, back on the finished cut: the piece still a piece, over the framed
    // photo, and a save at High is the framed photo wherever the piece is not.
    EXPECT_TRUE(imagesEqual(screen.photoView()->image().bitmap().convertToFormat(QImage::Format_RGB32), framed));
    EXPECT_FALSE(screen.views->selectTopView->isHidden());
    EXPECT_FALSE(screen.rectangle());
    ASSERT_TRUE(screen.piece());
    const QImage saved = screen.editor->saving().capture(SaveQuality::High).bitmap().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(saved.size(), framed.size());
    const double k = 1200 / screen.photoView()->bounds().width();
    const QRectF piece = screen.piece()->frame();
    const QRect inPixels = QRectF(piece.topLeft() * k, piece.size() * k).toAlignedRect().adjusted(-2, -2, 2, 2);
    int differing = 0;
    for (int y = 0; y < saved.height(); y += 4)
        for (int x = 0; x < saved.width(); x += 4)
            differing += !inPixels.contains(x, y) && saved.pixel(x, y) != framed.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

TEST_F(OptionsPanelTest, ControlsThatCannotActAreDisabledAndShatteringKeepsTheBackdrop)
{
    startJobOn(QSize(1200, 900));
    screen.editor->excuteThePrepare(1);
    for (int tag = kFirstStyleTag; tag <= kRotationSliderTag; ++tag) {
        auto *control = dynamic_cast<ui::Control *>(panel().viewWithTag(tag));
        ASSERT_TRUE(control) << tag;
        EXPECT_FALSE(control->isEnabled()) << tag;
    }
    EXPECT_EQ(panel().viewWithTag(kOptionsCancelTag), nullptr);
    screen.tap(*panel().viewWithTag(kOptionsOkTag));

    // On the piece: a backdrop picked, then shattering; the next Frame shows it again.
    screen.tap(*screen.doneButton());
    screen.editor->preView2(kBottomOkTag);
    preview().setBackgroundColor(Qt::yellow);
    ASSERT_TRUE(panel().viewWithTag(kShatteringTag));
    screen.tap(*panel().viewWithTag(kShatteringTag));
    EXPECT_TRUE(panel().isHidden());
    EXPECT_EQ(screen.editor->adjustPanel().panelId(), kPieceStepOnePanel);
    screen.editor->combineImg();
    screen.editor->preView2(kBottomOkTag);
    EXPECT_EQ(preview().backgroundColor(), QColor(Qt::yellow));
}

TEST_F(OptionsPanelTest, TheLayerSizeAndTheOfferedStepsFollowThePhotoAndTheOpener)
{
    startJobOn(QSize(1000, 1050));
    screen.editor->setEffectMode(EffectMode::FourByThree);

    screen.editor->preView2(kBottomOkTag);

    EXPECT_NEAR(screen.photoLayer()->frame().width(), 412.65 * 1000 / 1050, 1e-9);
    EXPECT_NEAR(screen.photoLayer()->frame().height(), 412.65, 1e-9);
    EXPECT_EQ(controlTags(panel()), (std::vector<int>{11, 12, 13, 14, 17, 27, 29}));

    // An upright photo overflows the 4:3 frame vertically: no room for shattering.
    startJobOn(QSize(900, 1200));
    screen.editor->preView2(kBottomOkTag);
    EXPECT_EQ(controlTags(panel()), (std::vector<int>{11, 12, 13, 14, 17, 27}));

    // Re-entering the piece replaces the aspect choice: the same photo fits by height again.
    screen.editor->cutImageZ(kWorkOnPieceTag);
    screen.editor->preView2(kBottomOkTag);
    EXPECT_NEAR(screen.photoLayer()->frame().height(), 412.65, 1e-9);
    EXPECT_EQ(controlTags(panel()), (std::vector<int>{11, 12, 13, 14, 17, 27, 29}));
}

TEST_F(OptionsPanelTest, PanningAndPinchingThePhotoLayerKeepThePanelAndItsFrame)
{
    startJobOn(QSize(1200, 900));
    screen.editor->excuteThePrepare(1);
    ui::ImageView &layer = *screen.photoLayer();
    const QRectF frameBefore = preview().frame();
    const QPointF centre = layer.center();

    const QPointF from = EditorScreen::centreOnScreen(layer);
    screen.host.drag(from, from + QPointF(-40, 25));
    screen.host.pinch(EditorScreen::centreOnScreen(layer), 60, {1.2, 1.5});

    EXPECT_EQ(layer.center(), centre + QPointF(-40, 25));
    EXPECT_NEAR(layer.transform().a, 1.2 * 1.3, 1e-9);
    EXPECT_EQ(preview().frame(), frameBefore);
    EXPECT_FALSE(panel().isHidden());
}

TEST_F(OptionsPanelTest, ATapPicksTheLayerColourAndFlipsTheCutGuideModes)
{
    startJobOn(QSize(1200, 900));
    screen.editor->excuteThePrepare(1);
    ui::ImageView &layer = *screen.photoLayer();
    auto guide = std::make_shared<ui::View>(QRectF(0, 0, 10, 10));
    guide->setTag(kCutGuideTag);
    guide->setAlpha(0);
    preview().insertSubview(guide, 0);
    screen.editor->setTapMode(TapMode::CutGuideHidden);

    // The layer shows the chosen 1280 x 960 picture in 550.2 x 412.65 points.
    const QPointF at(275.1, 206.325);
    screen.host.tap(EditorScreen::onScreen(layer, at));

    EXPECT_EQ(screen.editor->tapMode(), TapMode::CutGuideShown);
    EXPECT_EQ(guide->alpha(), 1.0);
    const QRgb expected = layer.image().bitmap().pixel(640, 480);
    EXPECT_EQ(preview().backgroundColor().rgba(), expected);

    screen.host.advance(1);
    screen.host.tap(EditorScreen::onScreen(layer, at));
    EXPECT_EQ(screen.editor->tapMode(), TapMode::CutGuideHidden);
    EXPECT_EQ(guide->alpha(), 0.0);
}

TEST_F(OptionsPanelTest, AnAlbumPhotoIsStoredAt1280WideWhileCancelAndUnreadableKeepOrigin)
{
    startJobOn(QSize(1200, 900));

    installPicker(std::nullopt);
    screen.editor->changeFoto();
    EXPECT_TRUE(panel().isHidden());
    installPicker(PhotoPicker::Result{Picture(), "/nowhere/broken.jpg", "unreadable", false, false, {}});
    screen.editor->changeFoto();
    EXPECT_TRUE(panel().isHidden());
    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::Origin).size(), QSize(1200, 900));

    FakePicker *picker = installPicker(PhotoPicker::Result{Picture(codedPhoto(2000, 1500)), "/photos/a.jpg", {}, false, false, {}});
    screen.editor->toAlbumiPad(0);
    EXPECT_EQ(picker->presented, 1);
    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::Origin).size(), QSize(1280, 960));
    EXPECT_FALSE(panel().isHidden());
    EXPECT_NE(panel().viewWithTag(kFirstStyleTag), nullptr); // the photo-backdrop panel
    PhotoPicker::setCurrent(nullptr);
}

TEST_F(OptionsPanelTest, TheBuiltInPanelOffersEveryTileByIndexAndOpensTheLibraryFirst)
{
    startJobOn(QSize(1200, 900));
    FakePicker *picker = installPicker(std::nullopt);

    screen.editor->prepareToCut2();

    const QStringList thumbnails = Resources::stringArray(QStringLiteral("frameEs"));
    ASSERT_FALSE(thumbnails.isEmpty());
    EXPECT_EQ(thumbnails.size(), Resources::stringArray(QStringLiteral("frameE")).size());
    ui::ScrollView *scroll = screen.pickerScroll(panel());
    ASSERT_TRUE(scroll);
    std::vector<int> expected(size_t(thumbnails.size()));
    std::iota(expected.begin(), expected.end(), 0);
    EXPECT_EQ(controlTags(*scroll), expected);

    screen.editor->excuteThePrepare(0);
    EXPECT_EQ(picker->presented, 1);
    EXPECT_FALSE(screen.views->selectTopView->isHidden()); // the toolbar is rebuilt

    // With the toolbar up, the hint of the next panel sits just above it.
    screen.editor->excuteThePrepare(2);
    EXPECT_EQ(screen.hint()->frame(), QRectF(0, 914, 768, 45));
    PhotoPicker::setCurrent(nullptr);
}

TEST_F(OptionsPanelTest, TheBuiltInImagePanelClosesByItsControlAnOutsideTapAndEscape)
{
    startJobOn(QSize(1200, 900));
    screen.editor->showResult();
    auto open = [&] {
        screen.host.tap(EditorScreen::centreOnScreen(*screen.editorView<ui::Button>(kReplacePhotoTag)));
        EXPECT_FALSE(panel().isHidden());
    };

    open();
    ui::View *close = panel().viewWithTag(kPanelCloseTag);
    ASSERT_TRUE(close);
    // The control lies over the panel's content, never under it.
    EXPECT_EQ(screen.host.hitTest(EditorScreen::centreOnScreen(*close)), close);
    screen.host.tap(EditorScreen::centreOnScreen(*close));
    EXPECT_TRUE(panel().isHidden());

    open();
    screen.host.advance(1);
    screen.host.tap(QPointF(20, 1000)); // below the panel
    EXPECT_TRUE(panel().isHidden());

    open();
    EXPECT_TRUE(screen.pressKey(Qt::Key_Escape));
    EXPECT_TRUE(panel().isHidden());
    EXPECT_EQ(screen.shownAlert(), nullptr) << "one Escape closes one thing";

    // Photos again closes it too; afterwards the editor takes taps as before.
    open();
    screen.host.advance(1);
    screen.host.tap(EditorScreen::centreOnScreen(*screen.editorView<ui::Button>(kReplacePhotoTag)));
    EXPECT_TRUE(panel().isHidden());
    screen.host.advance(1);
    const QPointF from = EditorScreen::centreOnScreen(*screen.piece());
    screen.host.drag(from, from + QPointF(10, 10));
    EXPECT_EQ(EditorScreen::centreOnScreen(*screen.piece()), from + QPointF(10, 10));
}

TEST_F(OptionsPanelTest, ChoosingABuiltInImageLeavesNoCloserUnderTheOptionsPanel)
{
    startJobOn(QSize(1200, 900));
    screen.editor->prepareToCut2();
    ui::ScrollView *scroll = screen.pickerScroll(panel());
    ASSERT_TRUE(scroll);
    screen.host.tap(EditorScreen::centreOnScreen(*scroll->subviews().at(1)));
    ASSERT_TRUE(screen.preview());
    EXPECT_FALSE(panel().isHidden());

    screen.host.advance(1);
    screen.host.tap(QPointF(20, 1000));
    EXPECT_FALSE(panel().isHidden()) << "the options panel is not closed by a tap beside it";
    EXPECT_FALSE(screen.pressKey(Qt::Key_Escape));
}

TEST_F(OptionsPanelTest, AReplacedPhotoIsPreviewedAndLaidOutAsANewJobWouldBe)
{
    startJobOn(QSize(1200, 900));
    screen.editor->showResult();
    // Where a new job on a 1280 x 960 photo puts it: the middle of the tablet's screen.
    const QRectF newJobFrame = photoViewFrame(DeviceProfile::Tablet, QSizeF(1280, 960), QPointF(384, 512));

    screen.editor->prepareToCut2();
    screen.editor->excuteThePrepare(1);
    screen.answer("Replace");

    // The preview shows the picture just chosen, at the working width.
    ASSERT_TRUE(screen.photoLayer());
    EXPECT_EQ(screen.photoLayer()->image().bitmap().size(), QSize(1280, 960));
    EXPECT_TRUE(imagesEqual(screen.photoLayer()->image().bitmap(), EditorScreen::fileImage(WorkingFiles::Slot::Origin)));
    EXPECT_FALSE(imagesEqual(screen.photoLayer()->image().bitmap(), codedPhoto(1200, 900).scaled(1280, 960)));

    screen.tap(*panel().viewWithTag(kOptionsOkTag));
    EXPECT_EQ(screen.photoView()->frame(), newJobFrame);
    EXPECT_EQ(screen.views->cutImgView->frame(), QRectF(0, 0, 768, 1024));
    EXPECT_EQ(screen.editorView(kReplacePhotoTag), nullptr) << "no Photos button under the done button";
    ASSERT_TRUE(screen.doneButton());
    EXPECT_EQ(screen.host.hitTest(EditorScreen::centreOnScreen(*screen.doneButton())), screen.doneButton());
}

TEST_F(OptionsPanelTest, ReplacingThePhotoUnderACutPieceAsksFirst)
{
    startJobOn(QSize(1200, 900));
    screen.editor->showResult();
    const QImage origin = EditorScreen::fileImage(WorkingFiles::Slot::Origin);

    // Cancel keeps everything: the photo, the piece, no panel.
    screen.editor->excuteThePrepare(1);
    ASSERT_TRUE(screen.shownAlert());
    EXPECT_EQ(screen.shownAlert()->title(), "Replace the photo?");
    EXPECT_EQ(screen.shownAlert()->message(), "The cut piece will be discarded.");
    screen.answer("Cancel");
    EXPECT_EQ(screen.shownAlert(), nullptr);
    EXPECT_TRUE(imagesEqual(EditorScreen::fileImage(WorkingFiles::Slot::Origin), origin));
    EXPECT_NE(screen.piece(), nullptr);
    EXPECT_TRUE(panel().isHidden());

    // The same through the photo library, answered Replace.
    installPicker(PhotoPicker::Result{Picture(codedPhoto(2000, 1500)), "/photos/a.jpg", {}, false, false, {}});
    screen.editor->toAlbumiPad(0);
    screen.answer("Replace");
    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::Origin).size(), QSize(1280, 960));
    EXPECT_FALSE(panel().isHidden());
    PhotoPicker::setCurrent(nullptr);
}

TEST(EditorGestureTest, ThePanelHandleCarriesThePanelByItsTopRightCorner)
{
    EditorScreen screen(DeviceProfile::Tablet);
    ui::ImageView &panel = *screen.views->descripImg;
    panel.setFrame(QRectF(100, 100, 300, 200));
    panel.setHidden(false);
    auto handle = std::make_shared<ui::View>(QRectF(0, 0, 35, 35));
    handle->setCenter(QPointF(400, 100));
    screen.views->mainView->addSubview(handle);
    handle->addGestureRecognizer(
        std::make_shared<ui::PanRecognizer>([&](ui::PanRecognizer &pan) { screen.editor->handleMove6(pan); }));

    screen.host.drag(QPointF(400, 100), QPointF(500, 100));

    EXPECT_EQ(handle->center(), QPointF(500, 100));
    EXPECT_EQ(panel.center(), QPointF(350, 200));
}

TEST(EditorGestureTest, ATapStampsOneDotAboveTheFingerAndDoubleTapsAndDragsStampNothing)
{
    EditorScreen screen(DeviceProfile::Phone480);
    screen.writePhoto("p.png", codedPhoto(300, 200));
    screen.startJob("p.png");
    const ui::ImageView &layer = *screen.stampLayer();

    screen.host.tap(QPointF(100, 60));
    const QImage once = layer.image().bitmap();
    ASSERT_EQ(once.size(), QSize(320, 480));
    EXPECT_EQ(qAlpha(once.pixel(100, 40)), 255);
    EXPECT_EQ(qAlpha(once.pixel(100, 60)), 0);
    EXPECT_EQ(qAlpha(once.pixel(100, 52)), 0); // a 10-point dot

    // The second touch of a double tap, then a drag.
    screen.host.advance(1);
    screen.host.touchDown(QPointF(200, 60), 0, 2);
    screen.host.touchUp(QPointF(200, 60));
    screen.host.advance(1);
    screen.host.drag(QPointF(60, 400), QPointF(250, 420));

    EXPECT_TRUE(imagesEqual(layer.image().bitmap(), once));
}

TEST(EditorCaptureTest, OneViewAtItsSizeAndTheCompositionPerLevel)
{
    EditorScreen screen(DeviceProfile::Tablet);
    auto view = std::make_shared<ui::View>(QRectF(5, 5, 3, 2));
    view->setBackgroundColor(Qt::red);

    const Picture one = screen.editor->screenShotView(*view);
    EXPECT_TRUE(imagesEqual(one.bitmap(), filledRaster(3, 2, 0xffff0000)));

    screen.views->backImgView->setFrame(QRectF(0, 0, 768, 576));
    screen.views->backImgView->setBackgroundColor(Qt::green);
    screen.views->backImgView->setHidden(false);
    screen.views->selectTopView->setHidden(false);
    const Picture level2 = screen.editor->screenShots(2);
    const Picture level3 = screen.editor->screenShots(3);

    EXPECT_EQ(level2.bitmap().size(), QSize(768, 576));
    EXPECT_EQ(level3.bitmap().size(), QSize(1536, 1152));
    EXPECT_EQ(level2.bitmap().pixel(700, 500), 0xff00ff00u);
    EXPECT_TRUE(screen.views->selectTopView->isHidden());
}

TEST(EditorPanelTest, TheBackAnimationPanelHoldsNineNumberedButtons)
{
    EditorScreen screen(DeviceProfile::Tablet);

    screen.editor->prepareToCut();

    const ui::ImageView &panel = *screen.views->descripImg;
    EXPECT_FALSE(panel.isHidden());
    EXPECT_EQ(panel.frame(), QRectF(160, 50, 600, 600));
    ui::ScrollView *scroll = screen.pickerScroll(*screen.views->descripImg);
    ASSERT_TRUE(scroll);
    EXPECT_EQ(scroll->contentSize().width(), 560);
    EXPECT_EQ(controlTags(*scroll), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));

    screen.host.tap(EditorScreen::centreOnScreen(*scroll->subviews().back()));
    EXPECT_TRUE(panel.isHidden());

    // It also closes by a tap outside it and by Escape.
    screen.editor->prepareToCut();
    screen.host.advance(1);
    screen.host.tap(QPointF(20, 1000));
    EXPECT_TRUE(panel.isHidden());
    screen.editor->prepareToCut();
    EXPECT_TRUE(screen.pressKey(Qt::Key_Escape));
    EXPECT_TRUE(panel.isHidden());
}

TEST(EditorPieceTest, ReenteringThePieceWorksOnItWhereItLies)
{
    EditorScreen screen(DeviceProfile::Phone480);
    screen.writePhoto("p.png", codedPhoto(1200, 900));
    screen.startJob("p.png");
    screen.editor->showResult();
    // Moved, the piece is worked on where it now lies.
    const QPointF from = EditorScreen::centreOnScreen(*screen.piece());
    screen.host.drag(from, from + QPointF(30, 30));
    const QRectF place = screen.piece()->frame();

    screen.editor->cutImageZ(kWorkOnPieceTag);
    ASSERT_TRUE(screen.piece());
    EXPECT_EQ(screen.editor->effectMode(), EffectMode::OnPiece);
    EXPECT_EQ(screen.piece()->frame(), place);
    // Shattered into the grid: the pieces show the 560 x 560 cut-out's half-size copy.
    EXPECT_TRUE(screen.piece()->image().isNull());
    ASSERT_EQ(screen.piece()->subviewCount(), 81);
    EXPECT_EQ(screen.editorView(kFirstPieceViewTag)->image().bitmap().size(), QSize(31, 31));
    EXPECT_TRUE(screen.piece()->clipsToBounds());

    // The second flow takes the piece too, never the whole photo squeezed into its box.
    screen.editor->cutImageZ(kWorkOnWholePhotoTag);
    EXPECT_EQ(screen.piece(), nullptr);
    ui::ImageView *whole = screen.editorView(kWholePhotoPieceTag);
    ASSERT_TRUE(whole);
    EXPECT_EQ(screen.editor->effectMode(), EffectMode::OnWholePhoto);
    ASSERT_EQ(whole->subviewCount(), 81);
    EXPECT_EQ(screen.editorView(kFirstPieceViewTag)->image().bitmap().size(), QSize(31, 31));
    EXPECT_EQ(whole->frame(), place);
    EXPECT_FALSE(whole->clipsToBounds());
    EXPECT_EQ(screen.photoView()->subviewCount(), 1); // the old container left
}

} // namespace

TEST_F(OptionsPanelTest, OkReturnsToTheEditorOnTheReplacedPhotoWithANewRectangle)
{
    startJobOn(QSize(1200, 900));
    screen.editor->excuteThePrepare(1);
    ui::View *ok = panel().viewWithTag(kOptionsOkTag);
    ASSERT_NE(ok, nullptr);

    screen.host.tap(EditorScreen::centreOnScreen(*ok));

    EXPECT_TRUE(panel().isHidden());
    ASSERT_TRUE(screen.photoView());
    EXPECT_EQ(screen.photoView()->image().size(), QSizeF(1280, 960));
    EXPECT_EQ(screen.photoView()->alpha(), 1.0);
    ASSERT_TRUE(screen.rectangle());
    ASSERT_TRUE(screen.doneButton());
    screen.host.tap(EditorScreen::centreOnScreen(*screen.doneButton()));
    WorkingFiles::shared().flush();
    EXPECT_FALSE(EditorScreen::fileImage(WorkingFiles::Slot::Tem).isNull());
}
