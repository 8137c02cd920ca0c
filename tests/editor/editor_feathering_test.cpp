// Edge feathering of the options panel's picture: the toggle table, the buttons on the drawing
// layer, fades that start again from the unfeathered picture, OK, and a missing mask.

#include <cstring>

#include <QFile>
#include <QTemporaryDir>

#include "editor/edge_feathering.h"
#include "editor_fixture.h"
#include "imaging/mask_image.h"
#include "platform/log.h"
#include "platform/resources.h"

using namespace vimora;
using namespace vimora::test;

namespace {

using B = FeatherButton;

struct Flags
{
    bool bottom, top, left, right;
    bool operator==(const Flags &) const = default;
};

Flags flagsOf(const FeatherEdges &e)
{
    return {e.isOn(B::Bottom), e.isOn(B::Top), e.isOn(B::Left), e.isOn(B::Right)};
}

/// Edges brought to the given state of the pressed button's axis by presses from rest.
FeatherEdges edgesAt(bool vertical, bool first, bool second)
{
    FeatherEdges e;
    const B firstButton = vertical ? B::Bottom : B::Left;
    const B secondButton = vertical ? B::Top : B::Right;
    if (first || second)
        e.press(firstButton); // both on
    if (first && !second)
        e.press(secondButton);
    if (!first && second)
        e.press(firstButton);
    return e;
}

TEST(FeatherEdgesTest, EveryTransitionOfBothAxesAndItsMask)
{
    struct Row
    {
        B button;
        bool before1, before2, after1, after2;
        const char *mask;
    };
    const Row rows[] = {
        {B::Bottom, false, false, true, true, "mask10x.jpg"}, {B::Bottom, true, true, false, true, "mask10.jpg"},
        {B::Bottom, false, true, true, true, "mask10x.jpg"},  {B::Bottom, true, false, false, false, ""},
        {B::Top, false, false, true, true, "mask10x.jpg"},    {B::Top, true, true, true, false, "mask10b.jpg"},
        {B::Top, true, false, true, true, "mask10x.jpg"},     {B::Top, false, true, false, false, ""},
        {B::Left, false, false, true, true, "mask10y.jpg"},   {B::Left, true, true, false, true, "mask10c.jpg"},
        {B::Left, false, true, true, true, "mask10y.jpg"},    {B::Left, true, false, false, false, ""},
        {B::Right, false, false, true, true, "mask10y.jpg"},  {B::Right, true, true, true, false, "mask10a.jpg"},
        {B::Right, true, false, true, true, "mask10y.jpg"},   {B::Right, false, true, false, false, ""},
    };
    for (const Row &row : rows) {
        const bool vertical = row.button == B::Bottom || row.button == B::Top;
        FeatherEdges edges = edgesAt(vertical, row.before1, row.before2);
        ASSERT_EQ(flagsOf(edges), vertical ? (Flags{row.before1, row.before2, false, false}) : (Flags{false, false, row.before1, row.before2}));
        edges.press(row.button);
        SCOPED_TRACE(testing::Message() << "button " << int(row.button) << " from " << row.before1 << row.before2);
        EXPECT_EQ(flagsOf(edges), vertical ? (Flags{row.after1, row.after2, false, false}) : (Flags{false, false, row.after1, row.after2}));
        EXPECT_EQ(edges.maskName(), QString::fromLatin1(row.mask));
    }
}

/// A fully opaque flat picture, so a fade shows only in alpha.
Picture flatPicture(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(qRgb(200, 120, 40));
    return Picture(image);
}

int alphaAt(const Picture &p, int x, int y)
{
    return qAlpha(p.bitmap().pixel(x, y));
}

class FeatheringTest : public testing::Test
{
protected:
    void SetUp() override
    {
        screen.writePhoto("D1001.jpg", codedPhoto(1200, 900));
        screen.startJob("D1001.jpg");
        screen.editor->excuteThePrepare(1); // opens the options panel on the chosen picture
        ASSERT_TRUE(layer());
        unfeathered = layer()->image();
        ASSERT_FALSE(unfeathered.isNull());
    }
    ui::ImageView *layer() { return screen.photoLayer(); }
    ui::View &panel() { return *screen.views->descripImg2; }
    ui::Button *featherButton(B b) { return dynamic_cast<ui::Button *>(layer()->viewWithTag(int(b))); }
    void press(B b)
    {
        ui::Button *button = featherButton(b);
        ASSERT_TRUE(button);
        screen.tap(*button);
    }
    Picture shown() { return layer()->image(); }
    bool featherEdgesOn(B b) const { return screen.editor->featherEdges().isOn(b); }

    EditorScreen screen{DeviceProfile::Tablet};
    Picture unfeathered;
};

TEST_F(FeatheringTest, GradientLaysFiveButtonsOnTheLayerAndHidesThePanelControls)
{
    ui::View *gradient = panel().viewWithTag(kGradientTag);
    ASSERT_TRUE(gradient);
    screen.tap(*gradient);

    for (B b : {B::Bottom, B::Top, B::Left, B::Right, B::Ok})
        EXPECT_TRUE(featherButton(b)) << int(b);
    EXPECT_EQ(featherButton(B::Ok)->title(), "OK");
    const QSizeF size = layer()->bounds().size();
    EXPECT_EQ(featherButton(B::Top)->frame(), QRectF(size.width() / 2 - 16, 0, 32, 32));
    EXPECT_EQ(featherButton(B::Right)->frame(), QRectF(size.width() - 32, size.height() / 2 - 16, 32, 32));
    for (int tag : {kOptionsOkTag, kGradientTag, kAspectSwitchTag, kFirstStyleTag, kRotationSliderTag}) {
        ASSERT_TRUE(panel().viewWithTag(tag));
        EXPECT_TRUE(panel().viewWithTag(tag)->isHidden()) << tag;
    }
    EXPECT_EQ(screen.editor->tapMode(), TapMode::ColourPick);
}

TEST_F(FeatheringTest, TopFadesBothThenLeavesBottomAndLeftSwitchesAxis)
{
    screen.editor->gradientSelect();
    const int w = unfeathered.pixelWidth(), h = unfeathered.pixelHeight();

    press(B::Top);
    EXPECT_TRUE(featherEdgesOn(B::Top) && featherEdgesOn(B::Bottom));
    EXPECT_LT(alphaAt(shown(), w / 2, 0), 40);
    EXPECT_LT(alphaAt(shown(), w / 2, h - 1), 40);
    EXPECT_EQ(alphaAt(shown(), w / 2, h / 2), 255);
    EXPECT_EQ(alphaAt(shown(), 0, h / 2), 255);
    // The fitted mask went through the slot to its file.
    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::S1).size(), unfeathered.bitmap().size());
    // The redrawn buttons show the new state.
    EXPECT_EQ(featherButton(B::Top)->image().picture().bitmap().cacheKey(), Resources::imageNamed("listBtnY.png").bitmap().cacheKey());
    EXPECT_EQ(featherButton(B::Left)->image().picture().bitmap().cacheKey(), Resources::imageNamed("listBtnN.png").bitmap().cacheKey());

    press(B::Top); // bottom only
    EXPECT_GT(alphaAt(shown(), w / 2, 0), 250);
    EXPECT_LT(alphaAt(shown(), w / 2, h - 1), 40);

    press(B::Left); // vertical off, left and right on
    EXPECT_FALSE(featherEdgesOn(B::Bottom));
    EXPECT_GT(alphaAt(shown(), w / 2, h - 1), 250);
    EXPECT_LT(alphaAt(shown(), 0, h / 2), 40);
    EXPECT_LT(alphaAt(shown(), w - 1, h / 2), 40);
}

TEST_F(FeatheringTest, FadesNeverAccumulateAndTheLastEdgeOffRestores)
{
    screen.editor->gradientSelect();
    press(B::Right); // left and right
    press(B::Left);  // right only
    const Picture expected = featheredPicture(unfeathered, Resources::imageNamed("mask10c.jpg"));
    EXPECT_EQ(shown().bitmap(), expected.bitmap());

    press(B::Bottom); // both vertical
    press(B::Top);    // bottom only
    press(B::Bottom); // none
    EXPECT_FALSE(screen.editor->featherEdges().anyOn());
    EXPECT_EQ(shown().bitmap(), unfeathered.bitmap());

    // Rapid toggling lands where the table says, from the unfeathered picture each time.
    for (int i = 0; i < 10; ++i)
        press(B::Top);
    EXPECT_EQ(screen.editor->featherEdges().maskName(), "mask10b.jpg");
    EXPECT_EQ(shown().bitmap(), featheredPicture(unfeathered, Resources::imageNamed("mask10b.jpg")).bitmap());
}

TEST_F(FeatheringTest, OkKeepsTheFadeShowsTheControlsAndTheNextEntryShowsTheFlags)
{
    screen.editor->gradientSelect();
    press(B::Bottom);
    const Picture faded = shown();
    press(B::Ok);

    EXPECT_TRUE(layer()->subviews().empty());
    EXPECT_EQ(shown().bitmap(), faded.bitmap());
    EXPECT_FALSE(panel().viewWithTag(kOptionsOkTag)->isHidden());
    EXPECT_FALSE(panel().viewWithTag(kGradientTag)->isHidden());
    EXPECT_EQ(screen.views->backImgView->image().bitmap(), unfeathered.bitmap());

    screen.editor->gradientSelect();
    EXPECT_EQ(featherButton(B::Bottom)->image().picture().bitmap().cacheKey(), Resources::imageNamed("listBtnY.png").bitmap().cacheKey());
}

TEST_F(FeatheringTest, ARebuiltPanelShowsTheFadeItsTogglesStandAt)
{
    screen.editor->gradientSelect();
    press(B::Left);
    // The aspect switch rebuilds the panel on a fresh layer.
    screen.tap(*panel().viewWithTag(kAspectSwitchTag));
    ASSERT_TRUE(layer());
    EXPECT_TRUE(screen.editor->featherEdges().isOn(B::Left));
    EXPECT_LT(alphaAt(shown(), 0, shown().pixelHeight() / 2), 40);
}

TEST_F(FeatheringTest, AMissingMaskKeepsTheUnfeatheredPictureAndIsLoggedOnce)
{
    // A bundle like the real one without "mask10x.jpg".
    QTemporaryDir bundle;
    const QString original = Resources::directory();
    for (const QFileInfo &file : QDir(original).entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot))
        if (file.fileName() != "mask10x.jpg")
            QFile::link(file.absoluteFilePath(), bundle.filePath(file.fileName()));
    Resources::setDirectory(bundle.path());
    Resources::clearMissingNames();
    QStringList logged;
    setLogSink([&](const QString &line) { logged << line; });

    screen.editor->gradientSelect();
    press(B::Top);
    press(B::Top);
    press(B::Bottom);

    setLogSink({});
    Resources::setDirectory(original);
    EXPECT_EQ(shown().bitmap(), unfeathered.bitmap());
    EXPECT_FALSE(screen.editor->featherEdges().anyOn());
    EXPECT_EQ(logged.filter("mask10x.jpg").size(), 1) << logged.join('\n').toStdString();
}

TEST(FeatheredPictureTest, FitsTheMaskToAnyAspectAndRefusesMissingPictures)
{
    WorkingFiles::shared().forget();
    TempHome home;
    QImage mask(320, 240, QImage::Format_Grayscale8);
    for (int y = 0; y < 240; ++y)
        std::memset(mask.scanLine(y), y < 120 ? 255 : 0, 320); // top half removed
    const Picture wide = featheredPicture(flatPicture(500, 100), Picture(mask));
    ASSERT_EQ(wide.bitmap().size(), QSize(500, 100));
    EXPECT_EQ(alphaAt(wide, 250, 10), 0);
    EXPECT_EQ(alphaAt(wide, 250, 90), 255);
    EXPECT_TRUE(featheredPicture(Picture(), Picture(mask)).isNull());
    EXPECT_TRUE(featheredPicture(flatPicture(10, 10), Picture()).isNull());
    WorkingFiles::shared().flush();
    WorkingFiles::shared().forget();
}

} // namespace
