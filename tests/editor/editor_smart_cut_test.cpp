// The smart cut in the editor: the subject becomes the piece over a hole of its shape, the
// brushes touch it up, a rectangle without a subject asks before cutting it whole, and the
// grid of a shaped piece leaves out its empty cells.

#include <cmath>
#include <random>

#include "editor/original_size.h"
#include "editor/piece_grid.h"
#include "editor_fixture.h"
#include "support/pixel_compare.h"

using namespace vimora;
using namespace vimora::test;

namespace {

/// A red grained disc (centre 320, 360, radius 200) on green grain, 1200 x 900.
QImage subjectPhoto()
{
    QImage image(1200, 900, QImage::Format_ARGB32_Premultiplied);
    std::mt19937 grain(3);
    std::uniform_int_distribution<int> noise(-25, 25);
    for (int y = 0; y < 900; ++y)
        for (int x = 0; x < 1200; ++x) {
            const bool inside = std::hypot(x + 0.5 - 320, y + 0.5 - 360) <= 200;
            auto c = [&](int v) { return std::clamp(v + noise(grain), 0, 255); };
            image.setPixel(x, y, inside ? qRgb(c(200), c(60), c(50)) : qRgb(c(60), c(150), c(80)));
        }
    return image;
}

class SmartCutTest : public testing::Test
{
protected:
    /// The photo shown at 300 x 225 on the 480-point phone; the rectangle at (10, 20) in the
    /// photo view takes pixels (40, 80) to (600, 640).
    void start(const QImage &image)
    {
        photo = image;
        screen.writePhoto("D1001.jpg", photo);
        screen.startJob("D1001.jpg");
        const ui::ImageView &r = *screen.rectangle();
        const QPointF from = EditorScreen::centreOnScreen(r);
        screen.host.drag(from, from + (QPointF(10, 20) - r.frame().topLeft()));
    }
    void pressSmartCut()
    {
        ui::Button *smart = screen.editorView<ui::Button>(kSmartCutTag);
        ASSERT_TRUE(smart);
        screen.tap(*smart);
        screen.editor->segmentationRunner().waitForIdle();
    }
    QRgb pieceAt(int x, int y) const { return screen.piece()->image().bitmap().pixel(x, y); }
    QRgb holeAt(int x, int y) const { return screen.photoView()->image().bitmap().pixel(x, y); }

    EditorScreen screen{DeviceProfile::Phone480};
    QImage photo;
};

TEST_F(SmartCutTest, TheSubjectIsThePieceAndTheHoleHasItsShape)
{
    start(subjectPhoto());
    ASSERT_TRUE(screen.doneButton());
    const ui::Button *smart = screen.editorView<ui::Button>(kSmartCutTag);
    ASSERT_TRUE(smart);
    EXPECT_FALSE(smart->frame().intersects(screen.doneButton()->frame()));

    pressSmartCut();

    ASSERT_TRUE(screen.piece());
    EXPECT_EQ(screen.piece()->frame(), QRectF(10, 20, 140, 140));
    ASSERT_EQ(screen.piece()->image().bitmap().size(), QSize(560, 560));
    EXPECT_EQ(pieceAt(280, 280), photo.pixel(320, 360)); // the subject's own pixel
    EXPECT_EQ(qAlpha(pieceAt(3, 3)), 0);                 // its background, transparent
    EXPECT_EQ(holeAt(320, 360), qRgb(0, 0, 0));
    EXPECT_EQ(holeAt(44, 84), photo.pixel(44, 84)); // inside the rectangle, off the subject
    EXPECT_EQ(holeAt(700, 700), photo.pixel(700, 700));
    // Tem holds the shaped piece for the steps that follow.
    EXPECT_EQ(qAlpha(EditorScreen::fileImage(WorkingFiles::Slot::Tem).pixel(3, 3)), 0);
    EXPECT_TRUE(screen.editorView<ui::Button>(kKeepBrushTag));
    EXPECT_TRUE(screen.editorView<ui::Button>(kRemoveBrushTag));
    EXPECT_EQ(screen.rectangle(), nullptr);
}

TEST_F(SmartCutTest, ARemoveStrokeTakesAwayWhatItCrossesAndThePieceStillDrags)
{
    start(subjectPhoto());
    pressSmartCut();
    ASSERT_TRUE(screen.piece());
    ASSERT_EQ(qAlpha(pieceAt(280, 100)), 255); // near the disc's top, photo pixel (320, 180)

    screen.tap(*screen.editorView<ui::Button>(kRemoveBrushTag));
    EXPECT_EQ(screen.editor->touchUp().brush(), SubjectTouchUp::Brush::Remove);
    // Across the disc's top, in the piece's points (a quarter of its pixels).
    const ui::ImageView &piece = *screen.piece();
    screen.host.drag(EditorScreen::onScreen(piece, QPointF(40, 25)), EditorScreen::onScreen(piece, QPointF(100, 25)));
    screen.editor->segmentationRunner().waitForIdle();

    EXPECT_EQ(qAlpha(pieceAt(280, 100)), 0);
    EXPECT_EQ(holeAt(320, 180), photo.pixel(320, 180)); // the hole gives it back
    EXPECT_EQ(qAlpha(pieceAt(280, 400)), 255);          // the rest stays
    EXPECT_EQ(screen.piece()->frame(), QRectF(10, 20, 140, 140)); // a stroke does not drag

    // The brush put down, a drag moves the piece again.
    screen.tap(*screen.editorView<ui::Button>(kRemoveBrushTag));
    EXPECT_EQ(screen.editor->touchUp().brush(), SubjectTouchUp::Brush::None);
    const QPointF from = EditorScreen::centreOnScreen(*screen.piece());
    screen.host.drag(from, from + QPointF(40, 30));
    EXPECT_EQ(screen.piece()->frame().topLeft(), QPointF(50, 50));
}

TEST_F(SmartCutTest, TheColourFlowKeepsTheShape)
{
    start(subjectPhoto());
    pressSmartCut();
    ASSERT_TRUE(screen.toolbarButton("Color"));
    screen.tap(*screen.toolbarButton("Color"));
    ASSERT_TRUE(screen.piece());
    // The grid's corner cells lie off the disc: left out, the brushes gone with the cut.
    const size_t cells = piecesOf(*screen.piece()).size();
    EXPECT_LT(cells, size_t(kPieceCount));
    EXPECT_GT(cells, size_t(kPieceCount) / 2);
    EXPECT_EQ(screen.editorView(kKeepBrushTag), nullptr);

    screen.editor->singleBtn(); // Next: flattened at the photo's resolution
    screen.editor->waitForEffects();
    screen.host.advance(0);
    const QImage flat = screen.piece()->image().bitmap();
    ASSERT_EQ(flat.size(), QSize(560, 560));
    EXPECT_EQ(qAlpha(flat.pixel(3, 3)), 0);
    EXPECT_EQ(qAlpha(flat.pixel(280, 280)), 255);
}

TEST_F(SmartCutTest, NoSubjectAsksAndCutTakesTheRectangle)
{
    QImage flat(1200, 900, QImage::Format_ARGB32_Premultiplied);
    flat.fill(QColor(90, 110, 130));
    start(flat);
    pressSmartCut();

    ui::AlertView *alert = screen.shownAlert();
    ASSERT_TRUE(alert);
    EXPECT_EQ(alert->title(), QStringLiteral("No subject found in the rectangle — cut the rectangle instead?"));
    EXPECT_EQ(screen.piece(), nullptr);
    screen.answer("Cancel");
    ASSERT_TRUE(screen.rectangle()); // still there to move and try again
    EXPECT_EQ(screen.piece(), nullptr);

    pressSmartCut();
    screen.answer("Cut");
    ASSERT_TRUE(screen.piece());
    EXPECT_EQ(screen.piece()->image().bitmap(), flat.copy(40, 80, 560, 560));
    EXPECT_EQ(screen.editorView(kKeepBrushTag), nullptr);
}

TEST_F(SmartCutTest, LeavingForHomeClosesTheSharePanel)
{
    // Its exports would otherwise bring the editor's toolbar over the home screen.
    start(subjectPhoto());
    screen.tap(*screen.doneButton());
    screen.editor->saving().openSharePanel();
    ASSERT_TRUE(screen.editor->saving().sharePanel());
    ASSERT_FALSE(screen.editor->saving().sharePanel()->isHidden());
    screen.editor->closeDrawView();
    EXPECT_TRUE(screen.editor->saving().sharePanel()->isHidden());
}

TEST(ShapedPieceGrid, CellsOffTheSubjectAreLeftOut)
{
    // A piece transparent but for its top-left corner: one cell shows.
    QImage shaped(180, 180, QImage::Format_ARGB32_Premultiplied);
    shaped.fill(Qt::transparent);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            shaped.setPixel(x, y, qRgb(200, 0, 0));
    ui::ImageView container(QRectF(0, 0, 90, 90));
    container.setImage(Picture(shaped));
    shattering(container);
    const std::vector<ui::ImageView *> pieces = piecesOf(container);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0]->tag(), kFirstPieceViewTag);

    // An opaque piece keeps every cell, tagged in order.
    QImage opaque(180, 180, QImage::Format_ARGB32_Premultiplied);
    opaque.fill(Qt::gray);
    container.setImage(Picture(opaque));
    shattering(container);
    EXPECT_EQ(piecesOf(container).size(), size_t(kPieceCount));
    EXPECT_EQ(piecesOf(container).back()->tag(), kFirstPieceViewTag + kPieceCount - 1);
}

TEST(ShapedHole, OriginalSizePunchesTheSubjectsShapeNotItsRectangle)
{
    // The original at twice the composition's size; the hole's rectangle (20, 20, 40, 40) in
    // points holds a disc.
    QImage white(200, 200, QImage::Format_ARGB32_Premultiplied);
    white.fill(Qt::white);
    QImage disc(80, 80, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            disc.setPixel(x, y, std::hypot(x + 0.5 - 40, y + 0.5 - 40) <= 38 ? qRgba(0, 0, 0, 255) : qRgba(0, 0, 0, 0));
    OriginalComposition job;
    job.composition.size = QSizeF(100, 100);
    job.composition.center = QPointF(50, 50);
    job.original = {QStringLiteral("photo.png"), white.size()};
    job.hole = QRectF(20, 20, 40, 40);
    job.holeShape = Picture(disc);

    const QImage shaped = renderFromOriginal(job, Picture(white)).bitmap();
    ASSERT_EQ(shaped.size(), QSize(200, 200));
    EXPECT_EQ(shaped.pixel(80, 80), qRgb(0, 0, 0));       // the subject's middle
    EXPECT_EQ(shaped.pixel(44, 44), qRgb(255, 255, 255)); // the rectangle's corner, off it
    EXPECT_EQ(shaped.pixel(150, 150), qRgb(255, 255, 255));

    job.holeShape = Picture(); // a rectangle's cut keeps its black rectangle
    EXPECT_EQ(renderFromOriginal(job, Picture(white)).bitmap().pixel(44, 44), qRgb(0, 0, 0));
}

} // namespace
