// The effect flows on the headless host, driven by touches: the toolbar's Color and
// ChangeFoto through both steps of the adjust panel to Done, the scatter behind the
// "Processing..." alert, the merge into the photo (Text), and what bad input and hurried
// hands do to them.

#include <cmath>
#include <future>
#include <stdexcept>

#include <QFile>

#include "editor/adjust_panel.h"
#include "editor/edge_expansion.h"
#include "editor/piece_grid.h"
#include "editor_fixture.h"
#include "imaging/composite_filter.h"
#include "imaging/filter.h"
#include "imaging/geometry.h"
#include "support/pixel_compare.h"
#include "ui/slider.h"
#include "ui/switch.h"

using namespace vimora;
using namespace vimora::test;

namespace {

class EffectFlowTest : public testing::Test
{
protected:
    explicit EffectFlowTest(DeviceProfile profile = DeviceProfile::Phone480)
        : screen(profile)
    {
    }

    /// A 1200 x 900 photo cut with the first rectangle: a 560 x 560 piece (phone) on the toolbar.
    void cut()
    {
        screen.writePhoto("D1001.jpg", photo);
        screen.startJob("D1001.jpg");
        screen.tap(*screen.doneButton());
        screen.host.advance(1);
        ASSERT_TRUE(screen.toolbarButton("Color"));
    }
    void pressToolbar(const char *title)
    {
        ui::Button *button = screen.toolbarButton(QString::fromLatin1(title));
        ASSERT_TRUE(button);
        ASSERT_FALSE(screen.views->selectTopView->isHidden());
        screen.tap(*button);
    }
    ui::ImageView &panel() const { return *screen.views->descripImg; }
    int panelId() const { return screen.editor->adjustPanel().panelId(); }
    ui::ImageView *container() const
    {
        if (ui::ImageView *piece = screen.piece())
            return piece;
        return screen.editorView(kWholePhotoPieceTag);
    }
    ui::Button *panelButton(const QString &title) const
    {
        for (const ui::ViewPtr &v : panel().subviews())
            if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->title() == title)
                return b;
        return nullptr;
    }
    void pressPanel(const QString &title)
    {
        ui::Button *button = panelButton(title);
        ASSERT_TRUE(button) << title.toStdString();
        screen.tap(*button);
    }
    /// Drags the slider's thumb to value (a release fires an on-release slider).
    void slide(int tag, double value)
    {
        auto *slider = dynamic_cast<ui::Slider *>(screen.editor->adjustPanel().control(tag));
        ASSERT_TRUE(slider) << tag;
        const double y = slider->bounds().center().y();
        screen.host.drag(EditorScreen::onScreen(*slider, QPointF(slider->thumbCenterForValue(slider->value()), y)),
                         EditorScreen::onScreen(*slider, QPointF(slider->thumbCenterForValue(value), y)));
    }
    double sliderValue(int tag) const { return screen.editor->adjustPanel().sliderValue(tag); }
    void flip(int tag)
    {
        ui::Control *toggle = screen.editor->adjustPanel().control(tag);
        ASSERT_TRUE(dynamic_cast<ui::Switch *>(toggle)) << tag;
        screen.tap(*toggle);
    }
    /// Lets a running job finish and its result land, as the event loop would.
    void settle()
    {
        screen.editor->waitForEffects();
        screen.host.advance(0);
    }
    /// Past the alert's half second, then the job itself.
    void settleAnnounced()
    {
        screen.host.advance(0.6);
        settle();
    }
    std::vector<ui::ImageView *> pieces() const { return container() ? piecesOf(*container()) : std::vector<ui::ImageView *>{}; }
    static QImage word() { return WorkingFiles::shared().simple2Load().bitmap(); }

    EditorScreen screen;
    QImage photo = codedPhoto(1200, 900);
};

TEST_F(EffectFlowTest, ColourFlowFromScaleAndRotationThroughEveryStepTwoControlToDone)
{
    cut();
    pressToolbar("Color");
    ASSERT_EQ(panelId(), kPieceStepOnePanel);
    EXPECT_EQ(screen.editor->effectMode(), EffectMode::OnPiece);
    EXPECT_TRUE(screen.views->selectTopView->isHidden());
    // Phone portrait: a sheet across the screen just under the piece.
    EXPECT_EQ(panel().frame(), QRectF(0, 310, 320, 150));
    ASSERT_EQ(pieces().size(), size_t(kPieceCount));
    EXPECT_TRUE(container()->image().isNull());

    slide(kPieceScaleTag, 0.5);
    slide(kPieceRotationTag, 30);
    const double scale = 1 + sliderValue(kPieceScaleTag), degrees = sliderValue(kPieceRotationTag);
    const ui::AffineTransform turned = pieces().back()->transform();
    EXPECT_NEAR(turned.a, scale * std::cos(degrees * M_PI / 180), 1e-9);
    EXPECT_NEAR(turned.b, scale * std::sin(degrees * M_PI / 180), 1e-9);
    EXPECT_EQ(pieces().front()->transform(), turned);

    // Next flattens at the photo's resolution: 140 points at 4 pixels a point.
    pressPanel("Next");
    settle();
    ASSERT_EQ(panelId(), kPieceStepTwoPanel);
    EXPECT_EQ(panel().frame(), QRectF(0, 310, 320, 164));
    EXPECT_TRUE(pieces().empty());
    const QImage flat = container()->image().bitmap();
    EXPECT_EQ(flat.size(), QSize(560, 560));
    EXPECT_TRUE(imagesEqual(word(), flat));
    EXPECT_TRUE(imagesEqual(EditorScreen::fileImage(WorkingFiles::Slot::Word), flat));
    EXPECT_TRUE(imagesEqual(screen.photoView()->image().bitmap(), photo)); // no hole any more

    // Hue twice at the same value turns twice; Exposure then restarts from the flattened base.
    slide(kHueTag, 1.0);
    settle();
    const float hue = float(sliderValue(kHueTag));
    const Filter filter;
    EXPECT_TRUE(imagesEqual(word(), filter.filterHue(hue, Picture(flat)).bitmap(), 1));
    slide(kHueTag, -1.0);
    slide(kHueTag, hue);
    settle();
    EXPECT_EQ(screen.editor->lastFilterTag(), kHueTag);
    slide(kExposureTag, 0.5);
    settle();
    const float ev = float(sliderValue(kExposureTag));
    const QImage exposed = filter.filterColorControls(1, 0, 1, filter.filterExp(ev, Picture(flat))).bitmap();
    EXPECT_TRUE(imagesEqual(word(), exposed, 1));

    // Style2 darkens with the plain cut-out; Style4 undoes it back to the saved picture.
    pressPanel("Style2");
    settle();
    const QImage darker = CompositeFilter().filterDarkenBlendMode(Picture(exposed), WorkingFiles::shared().simpleLoad()).bitmap();
    EXPECT_TRUE(imagesEqual(container()->image().bitmap(), darker, 1));
    pressPanel("Style4");
    EXPECT_TRUE(imagesEqual(container()->image().bitmap(), word()));

    // Blur and Sharpen+ work on what is shown and save it; Alpha only fades the view.
    const QImage before = container()->image().bitmap();
    pressPanel("Blur");
    settle();
    EXPECT_FALSE(imagesEqual(container()->image().bitmap(), before));
    EXPECT_TRUE(imagesEqual(word(), container()->image().bitmap()));
    pressPanel("Sharpen+");
    settle();
    EXPECT_EQ(screen.editor->lastFilterTag(), kSharpenTag);
    const QImage sharpened = container()->image().bitmap();
    slide(kAlphaTag, 0.4);
    EXPECT_NEAR(container()->alpha(), sliderValue(kAlphaTag), 1e-9);
    EXPECT_LT(container()->alpha(), 0.5);
    EXPECT_TRUE(imagesEqual(container()->image().bitmap(), sharpened));

    pressPanel("Done");
    EXPECT_TRUE(panel().isHidden());
    EXPECT_FALSE(screen.views->selectTopView->isHidden());
    EXPECT_TRUE(imagesEqual(EditorScreen::fileImage(WorkingFiles::Slot::Word), sharpened));
}

TEST_F(EffectFlowTest, WholePhotoFlowSpreadsShadowsScattersAndTurnsTheFlattenedPicture)
{
    cut();
    const QRectF place = screen.piece()->frame();
    pressToolbar("ChangeFoto");
    ASSERT_EQ(panelId(), kWholePhotoStepOnePanel);
    ASSERT_TRUE(container());
    EXPECT_EQ(container()->tag(), kWholePhotoPieceTag);
    ASSERT_EQ(pieces().size(), size_t(kPieceCount));
    const QSizeF pieceSize = pieces()[40]->frame().size();

    // Scale is measured from the size the flow began with, however often it moved.
    for (double s : {1.2, 1.05, 1.4, 1.1})
        slide(kWholeScaleTag, s);
    slide(kWholeScaleTag, 1.5);
    ASSERT_DOUBLE_EQ(sliderValue(kWholeScaleTag), 1.5);
    EXPECT_EQ(container()->frame().size(), place.size() * 1.5);
    EXPECT_EQ(pieces()[40]->frame().size(), pieceSize);

    flip(kShadowSwitchTag);
    EXPECT_EQ(pieces()[40]->shadowOffset(), QPointF(-5, -5));
    EXPECT_DOUBLE_EQ(pieces()[40]->shadowOpacity(), 0.5);

    // Shattering: the alert first, the skew baked into the pictures half a second later.
    const QSize unskewed = pieces()[40]->image().bitmap().size();
    flip(kShatteringSwitchTag);
    ui::AlertView *alert = screen.shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), "Processing...");
    EXPECT_EQ(alert->tag(), kShatteringSwitchTag);
    EXPECT_DOUBLE_EQ(pieces()[40]->shadowOpacity(), 0); // the shadow gave way
    settleAnnounced();
    EXPECT_FALSE(screen.shownAlert());
    EXPECT_EQ(pieces()[40]->frame().size(), pieceSize);
    const QSize onceSkewed = pieces()[40]->image().bitmap().size();
    EXPECT_GE(onceSkewed.width() * onceSkewed.height(), unskewed.width() * unskewed.height());
    // A second scatter skews the already skewed pictures again.
    std::vector<QImage> once;
    for (ui::ImageView *piece : pieces())
        once.push_back(piece->image().bitmap());
    screen.editor->alertToMakeMosaicForiPhone(kShatteringSwitchTag);
    settleAnnounced();
    int changed = 0;
    for (size_t i = 0; i < once.size(); ++i) {
        const QSize twice = pieces()[i]->image().bitmap().size();
        EXPECT_GE(twice.width() * twice.height(), once[i].width() * once[i].height());
        changed += !imagesEqual(pieces()[i]->image().bitmap(), once[i]);
    }
    EXPECT_GT(changed, 70);

    // Off rebuilds the pieces from the piece the flow began with, where it lay; on again scatters anew.
    flip(kShatteringSwitchTag);
    EXPECT_EQ(container()->frame(), place);
    ASSERT_EQ(pieces().size(), size_t(kPieceCount));
    EXPECT_EQ(pieces()[0]->image().bitmap().size(), QSize(31, 31)); // 31.1 of the half-size piece
    flip(kShatteringSwitchTag);
    EXPECT_TRUE(screen.shownAlert());
    settleAnnounced();
    flip(kShatteringSwitchTag);
    flip(kShatteringSwitchTag);
    settleAnnounced();
    EXPECT_FALSE(screen.shownAlert());

    // Next flattens at the on-screen size.
    pressPanel("Next");
    settle();
    ASSERT_EQ(panelId(), kWholePhotoStepTwoPanel);
    const QImage flat = word();
    EXPECT_EQ(flat.size(), place.size().toSize());
    EXPECT_TRUE(pieces().empty());

    // Distortion is cumulative; Rotation always turns the saved picture, never what is shown.
    slide(kDistortionTag, 0.8);
    settle();
    const QImage bulged = container()->image().bitmap();
    EXPECT_FALSE(imagesEqual(bulged, flat));
    slide(kFlatRotationTag, -90);
    settle();
    ASSERT_DOUBLE_EQ(sliderValue(kFlatRotationTag), -90);
    EXPECT_TRUE(imagesEqual(container()->image().bitmap(), rotateInDegrees(Picture(flat), -90).bitmap()));
    slide(kFlatRotationTag, 0);
    settle();
    EXPECT_TRUE(imagesEqual(container()->image().bitmap(), rotateInDegrees(Picture(flat), 0).bitmap()));

    // <-Prev goes back to the step-one panel of this flow with fresh pieces.
    pressPanel("<-Prev");
    EXPECT_EQ(panelId(), kWholePhotoStepOnePanel);
    EXPECT_EQ(pieces().size(), size_t(kPieceCount));
    pressPanel("Next");
    settle();
    pressPanel("Done");
    EXPECT_TRUE(panel().isHidden());
    EXPECT_TRUE(screen.toolbarButton("Text"));
}

TEST_F(EffectFlowTest, ColourAndScatterStartFromThePieceAsItIsAndLayTheirResultThere)
{
    cut();
    ui::ImageView *piece = screen.piece();
    const QPointF from = EditorScreen::centreOnScreen(*piece);
    screen.host.drag(from, from + QPointF(30, 20));
    piece->setTransform(ui::AffineTransform::makeScale(0.5, 0.5)); // as a pinch leaves it
    const QRectF placed = screen.piece()->frame();

    pressToolbar("Color");
    EXPECT_EQ(container()->frame(), placed);
    pressPanel("Next");
    settle();
    slide(kHueTag, 1.5);
    settle();
    const QImage coloured = container()->image().bitmap();
    pressPanel("Done");
    EXPECT_EQ(container()->frame(), placed);

    // Scatter (the second flow) shatters the coloured piece where it lies, not the photo.
    pressToolbar("ChangeFoto");
    ASSERT_EQ(pieces().size(), size_t(kPieceCount));
    EXPECT_EQ(container()->frame(), placed);
    const std::vector<Picture> crops = shatterCrops(Picture(coloured));
    for (size_t i : {size_t(0), size_t(40), size_t(80)})
        EXPECT_TRUE(imagesEqual(pieces()[i]->image().bitmap(), crops[i].bitmap())) << i;
    // <-Prev after Next starts again from that piece, not from the cut.
    pressPanel("Next");
    settle();
    pressPanel("<-Prev");
    EXPECT_EQ(container()->frame(), placed);
    EXPECT_TRUE(imagesEqual(pieces()[40]->image().bitmap(), crops[40].bitmap()));
}

TEST_F(EffectFlowTest, PiecesAtDefaultSettingsFlattenWithoutSeams)
{
    cut();
    pressToolbar("Color");
    pressPanel("Next");
    settle();
    const QImage atPhotoResolution = word();
    pressPanel("Done");
    pressToolbar("ChangeFoto");
    pressPanel("Next");
    settle();
    const QImage onScreen = word();

    for (const QImage &flat : {atPhotoResolution, onScreen}) {
        ASSERT_FALSE(flat.isNull());
        int gaps = 0;
        for (int y = 0; y < flat.height(); ++y)
            for (int x = 0; x < flat.width(); ++x)
                gaps += qAlpha(flat.pixel(x, y)) < 255;
        EXPECT_EQ(gaps, 0) << flat.width() << " x " << flat.height();
    }
}

TEST_F(EffectFlowTest, TextMergesThePieceIntoThePhotoAndStartsANewCut)
{
    cut();
    // The piece, moved 40 points right, lies over the photo at 4 pixels a point.
    ui::ImageView *piece = screen.piece();
    const QPointF from = EditorScreen::centreOnScreen(*piece);
    screen.host.drag(from, from + QPointF(40, 0));
    const QRectF moved = piece->frame();
    pressToolbar("Text");
    ui::AlertView *alert = screen.shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->tag(), kTextButtonTag);
    settleAnnounced();
    EXPECT_FALSE(screen.shownAlert());

    const QImage merged = EditorScreen::fileImage(WorkingFiles::Slot::Origin);
    ASSERT_EQ(merged.size(), QSize(1200, 900));
    // Where the piece came from is the hole; where it lies now are its pixels.
    EXPECT_EQ(pixelAt(merged, 80 * 4 + 10, int(42.5 * 4) + 300), 0xff000000u);
    const QPoint inPiece(int(moved.x() * 4) + 300, int(moved.y() * 4) + 300);
    const QPoint inTem(300, 300);
    EXPECT_EQ(pixelAt(merged, inPiece.x(), inPiece.y()), pixelAt(photo, inTem.x() + 80 * 4, inTem.y() + int(42.5 * 4)));
    // A new rectangle on the merged photo; the piece is gone.
    EXPECT_FALSE(screen.piece());
    EXPECT_TRUE(screen.rectangle());
    EXPECT_TRUE(imagesEqual(screen.photoView()->image().bitmap(), merged));
}

TEST_F(EffectFlowTest, TinyAndSliverCutOutsAndMissingSlotsGoThroughBothFlows)
{
    cut();
    for (const QSize size : {QSize(1, 1), QSize(10, 2000)}) {
        screen.piece()->setImage(Picture(codedPhoto(size.width(), size.height())));
        pressToolbar("Color");
        ASSERT_EQ(pieces().size(), size_t(kPieceCount));
        pressPanel("Next");
        settle();
        EXPECT_EQ(panelId(), kPieceStepTwoPanel);
        EXPECT_FALSE(container()->image().isNull());
        pressPanel("Done");
    }

    // No picture on the piece, Tem and word.png gone from disk and memory: the flows go on
    // with empty pictures.
    screen.piece()->setImage({});
    WorkingFiles::shared().flush();
    QFile::remove(WorkingFiles::path(WorkingFiles::Slot::Tem));
    QFile::remove(WorkingFiles::path(WorkingFiles::Slot::Word));
    WorkingFiles::shared().forget();
    pressToolbar("Color");
    EXPECT_TRUE(pieces().empty());
    pressPanel("Next");
    settle();
    ASSERT_EQ(panelId(), kPieceStepTwoPanel);
    pressPanel("Style1");
    settle();
    pressPanel("Style4");
    slide(kHueTag, 1);
    settle();
    pressPanel("<-Prev");
    EXPECT_EQ(panelId(), kPieceStepOnePanel);
}

TEST_F(EffectFlowTest, HurriedHandsStartOneJobAtATime)
{
    cut();
    pressToolbar("Color");
    // Next twice before the first flattening lands: one flattening, one step-two panel.
    pressPanel("Next");
    EXPECT_TRUE(screen.editor->isEffectPending());
    pressPanel("Next");
    settle();
    EXPECT_EQ(panelId(), kPieceStepTwoPanel);
    EXPECT_FALSE(screen.editor->isEffectPending());

    // A second announcement while one is pending is ignored, not queued.
    pressPanel("Done");
    screen.editor->alertToMakeMosaicForiPhone(kShatteringSwitchTag);
    ui::AlertView *first = screen.shownAlert();
    screen.editor->alertToMakeMosaicForiPhone(kTextButtonTag);
    EXPECT_EQ(screen.shownAlert(), first);
    settleAnnounced();
    EXPECT_FALSE(screen.shownAlert());
    EXPECT_TRUE(screen.piece()); // the merge never ran
}

TEST_F(EffectFlowTest, HueReleasedThreeTimesWhileAnEffectRunsAppliesTheLastValueOnce)
{
    cut();
    pressToolbar("Color");
    pressPanel("Next");
    settle();
    ASSERT_EQ(panelId(), kPieceStepTwoPanel);
    const QImage before = container()->image().bitmap();
    // An effect in flight until the gate opens.
    std::promise<void> gate;
    screen.editor->effectRunner().post([opened = gate.get_future().share()]() -> ui::JobRunner::Apply {
        opened.wait();
        return {};
    });

    slide(kHueTag, 1.0);
    slide(kHueTag, -1.0);
    slide(kHueTag, 2.5);
    EXPECT_TRUE(imagesEqual(container()->image().bitmap(), before));
    gate.set_value();
    settle();

    // Turned once, by the slider's last value: the earlier releases were replaced.
    const float hue = float(sliderValue(kHueTag));
    EXPECT_NEAR(hue, 2.5, 0.05);
    const QImage expected = Filter().filterHue(hue, Picture(before)).bitmap();
    EXPECT_TRUE(imagesEqual(container()->image().bitmap(), expected));
    EXPECT_TRUE(imagesEqual(word(), expected));
    EXPECT_FALSE(screen.editor->isEffectPending());
}

TEST_F(EffectFlowTest, AFailingEffectTellsTheUserAndTheNextOneRuns)
{
    cut();
    pressToolbar("Color");
    pressPanel("Next");
    settle();
    const QImage before = container()->image().bitmap();

    screen.editor->effectRunner().post([]() -> ui::JobRunner::Apply { throw std::runtime_error("out of memory"); });
    pressPanel("Blur");
    settle();

    ui::AlertView *alert = screen.shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_TRUE(alert->message().contains("out of memory")) << alert->message().toStdString();
    EXPECT_FALSE(imagesEqual(container()->image().bitmap(), before)); // the blur still ran
}

TEST(EffectFlowClosingTest, ClosingWhileAJobRunsKeepsTheWorkingFiles)
{
    auto screen = std::make_unique<EditorScreen>(DeviceProfile::Phone480);
    screen->writePhoto("p.png", codedPhoto(1200, 900));
    screen->startJob("p.png");
    screen->editor->showResult();
    screen->editor->cutImageZ(kWorkOnPieceTag);
    screen->editor->singleBtn();
    screen->editor.reset(); // waits for the worker; the result has nowhere to go
    screen->host.advance(1);
    WorkingFiles::shared().flush();
    EXPECT_FALSE(EditorScreen::fileImage(WorkingFiles::Slot::Tem).isNull());
    EXPECT_FALSE(EditorScreen::fileImage(WorkingFiles::Slot::Origin).isNull());
}

class TabletEffectTest : public EffectFlowTest
{
protected:
    TabletEffectTest()
        : EffectFlowTest(DeviceProfile::Tablet)
    {
    }
};

TEST_F(TabletEffectTest, TheTabletPanelCarriesAHandleThatMovesItForTheNextStep)
{
    cut();
    pressToolbar("Color");
    // Under the piece, centred on it.
    const QRectF piece = screen.piece()->convertRectTo(screen.piece()->bounds(), nullptr);
    EXPECT_EQ(panel().frame(), QRectF(piece.center().x() - 160, piece.bottom(), 320, 150));
    ui::View *handle = screen.editor->adjustPanel().handle();
    ASSERT_TRUE(handle);
    const QPointF corner = panel().frame().topRight();
    EXPECT_EQ(handle->center(), corner);
    screen.host.drag(corner, corner + QPointF(-24, -60));
    EXPECT_EQ(panel().frame().topRight(), corner + QPointF(-24, -60));

    // Step two is taller but keeps the place the panel was dragged to.
    const QPointF centre = panel().center();
    pressPanel("Next");
    settle();
    EXPECT_EQ(panel().frame().size(), QSizeF(320, 282));
    EXPECT_EQ(panel().center(), centre);
    pressPanel("Done");
    EXPECT_FALSE(screen.editor->adjustPanel().handle());
}

TEST_F(TabletEffectTest, LeavingForHomeTakesThePanelAndItsHandleAlong)
{
    cut();
    pressToolbar("Color");
    ASSERT_TRUE(screen.editor->adjustPanel().handle());
    ui::Button *back = screen.editorView<ui::Button>(kEditorBackTag);
    ASSERT_TRUE(back);
    // Next pressed just before: its result arrives after the editor was left.
    pressPanel("Next");
    screen.tap(*back);
    screen.answer("Leave");
    settle();
    EXPECT_TRUE(panel().isHidden());
    EXPECT_FALSE(screen.editor->adjustPanel().handle());
}

TEST_F(TabletEffectTest, ExpandRepeatsTheChosenEdgeStripOutwardsUntilTheFrameIsFull)
{
    photo = codedPhoto(400, 400);
    cut();
    screen.editor->preView2(kBottomOkTag);
    ui::ImageView *layer = screen.photoLayer();
    ASSERT_TRUE(layer);
    EXPECT_NEAR(layer->frame().width(), 412.65, 1e-9);
    ui::Button *expand = dynamic_cast<ui::Button *>(screen.views->descripImg2->viewWithTag(kExpandTag));
    ASSERT_TRUE(expand);
    screen.tap(*expand);

    // A layer that fits by height offers left and right; the panel's controls step aside.
    ASSERT_TRUE(layer->viewWithTag(kExpandRightTag));
    ASSERT_TRUE(layer->viewWithTag(kExpandLeftTag));
    EXPECT_FALSE(layer->viewWithTag(kExpandUpTag));
    EXPECT_TRUE(expand->isHidden());
    EXPECT_EQ(layer->viewWithTag(kExpandRightTag)->frame(), QRectF(412.65 - 32, 412.65 / 2 - 16, 32, 32));

    screen.tap(*layer->viewWithTag(kExpandRightTag));
    // The layer goes to the frame's left edge; 20.6-point copies of the rightmost 20 pixel
    // columns fill the rest: seven start inside the 550.2-point frame.
    EXPECT_EQ(layer->frame().topLeft(), QPointF(0, 0));
    ui::ImageView *preview = screen.preview();
    std::vector<ui::ImageView *> copies;
    for (const ui::ViewPtr &v : preview->subviews())
        if (v->tag() >= kFirstPieceViewTag && v->tag() < kCutGuideTag)
            copies.push_back(dynamic_cast<ui::ImageView *>(v.get()));
    ASSERT_EQ(copies.size(), 7u);
    EXPECT_NEAR(copies[0]->frame().x(), 412.65, 1e-9);
    EXPECT_NEAR(copies[0]->frame().width(), 412.65 / 20, 1e-9);
    EXPECT_EQ(copies[6]->tag(), kFirstPieceViewTag + 6);
    EXPECT_TRUE(imagesEqual(copies[3]->image().bitmap(), photo.copy(380, 0, 20, 400)));
    EXPECT_TRUE(preview->viewWithTag(kCutGuideTag));
    EXPECT_FALSE(layer->viewWithTag(kExpandRightTag));
    EXPECT_FALSE(expand->isHidden());

    // Again to the left: the earlier copies go, the layer moves to the right edge.
    screen.tap(*expand);
    screen.tap(*layer->viewWithTag(kExpandLeftTag));
    EXPECT_NEAR(layer->frame().right(), 550.2, 1e-9);
    int left = 0;
    for (const ui::ViewPtr &v : preview->subviews())
        if (v->tag() >= kFirstPieceViewTag && v->tag() < kCutGuideTag) {
            ++left;
            EXPECT_TRUE(imagesEqual(dynamic_cast<ui::ImageView *>(v.get())->image().bitmap(), photo.copy(0, 0, 20, 400)));
        }
    EXPECT_EQ(left, 7);
}

} // namespace
