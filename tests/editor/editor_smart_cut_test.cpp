// The smart cut in the editor: the subject becomes the piece over a hole of its shape, the
// brushes touch it up, a rectangle without a subject asks before cutting it whole, and the
// grid of a shaped piece leaves out its empty cells; each stroke an undo step, and the shape
// kept across a resume into the saves.

#include <cmath>
#include <random>

#include <QCoreApplication>
#include <QThread>

#include "editor/original_size.h"
#include "editor/piece_grid.h"
#include "editor_fixture.h"
#include "platform/photo_picker.h"
#include "support/pixel_compare.h"

using namespace vimora;
using namespace vimora::test;

namespace {

/// A red grained disc (centre 320, 360, radius 200) on green grain, 1200 x 900; at a larger
/// scale, the same drawing that many times larger.
QImage subjectPhoto(double scale = 1)
{
    QImage image(int(1200 * scale), int(900 * scale), QImage::Format_ARGB32_Premultiplied);
    std::mt19937 grain(3);
    std::uniform_int_distribution<int> noise(-25, 25);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const bool inside = std::hypot(x + 0.5 - 320 * scale, y + 0.5 - 360 * scale) <= 200 * scale;
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
    /// A Remove stroke across the piece at a height in its points, from x 40 to 100.
    void removeAcross(double y)
    {
        if (screen.editor->touchUp().brush() != SubjectTouchUp::Brush::Remove)
            screen.tap(*screen.editorView<ui::Button>(kRemoveBrushTag));
        ASSERT_EQ(screen.editor->touchUp().brush(), SubjectTouchUp::Brush::Remove);
        const ui::ImageView &piece = *screen.piece();
        screen.host.advance(1); // apart from the tap before
        screen.host.drag(EditorScreen::onScreen(piece, QPointF(40, y)), EditorScreen::onScreen(piece, QPointF(100, y)));
        keep();
    }
    /// The segmentation done and the job kept.
    void keep()
    {
        screen.editor->segmentationRunner().waitForIdle();
        screen.host.advance(0.1);
        screen.host.advance(0.1);
    }
    struct Shown
    {
        QImage piece, hole;
    };
    Shown shown() const { return {screen.piece()->image().bitmap(), screen.photoView()->image().bitmap()}; }
    /// The same pixels; a kept picture comes back through PNG, a step at most per channel.
    static testing::AssertionResult same(const Shown &got, const Shown &wanted, int tolerance = 0)
    {
        if (auto r = imagesEqual(got.piece, wanted.piece, tolerance); !r)
            return r << " (the piece)";
        if (auto r = imagesEqual(got.hole, wanted.hole, tolerance); !r)
            return r << " (the hole)";
        return testing::AssertionSuccess();
    }
    /// Home, then the kept job read back and resumed as a new start would.
    void resume()
    {
        screen.editor->closeDrawView();
        screen.host.advance(0.1); // kept
        JobStore::shared().flush();
        const JobLoad kept = JobStore::load(AppHome::tempDir());
        ASSERT_EQ(kept.state, JobLoad::State::Loaded) << kept.problem.toStdString();
        screen.editor->resumeJob(kept.record);
        JobStore::shared().adopt(kept.record, AppHome::tempDir());
        screen.editor->resumeJob();
        screen.host.advance(0.1);
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

TEST_F(SmartCutTest, StrokesAreUndoStepsAndTheShapeOutlivesAResumeIntoTheSaves)
{
    // Picked at one and a half times the working size, so Original size is offered.
    const QString library = screen.home.path() + "/Photos";
    PhotoLibrary::setFolder(library);
    ASSERT_TRUE(QDir().mkpath(library));
    const QString originalPath = library + "/original.bmp";
    ASSERT_TRUE(subjectPhoto(1.5).save(originalPath));
    const QImage original = readPicture(originalPath).bitmap();
    screen.editor->setPickedOriginal({originalPath, original.size()});
    start(original.scaled(1200, 900, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    pressSmartCut();
    keep();
    ASSERT_TRUE(screen.piece());

    // The pulse runs along the subject's edge, at twice the piece's points: the disc (radius
    // 50 points about (70, 70)) is outlined, its middle and the rectangle's corners are not.
    ui::ImageView &piece = *screen.piece();
    EXPECT_EQ(piece.borderWidth(), 0) << "no rectangle";
    const auto outline = [&]() -> ui::ImageView * {
        for (const ui::ViewPtr &sub : screen.piece()->subviews())
            if (sub->tag() == kPieceOutlineTag)
                return dynamic_cast<ui::ImageView *>(sub.get());
        return nullptr;
    };
    ASSERT_TRUE(outline());
    const QImage band = outline()->image().bitmap();
    ASSERT_EQ(band.size(), QSize(280, 280));
    EXPECT_GT(qAlpha(band.pixel(140, 42)), 128); // just inside the disc's top
    EXPECT_EQ(qAlpha(band.pixel(140, 140)), 0);
    EXPECT_EQ(qAlpha(band.pixel(4, 4)), 0);
    EXPECT_EQ(qAlpha(band.pixel(275, 140)), 0);

    const Shown cut = shown();
    removeAcross(25); // the disc's top: piece pixel (280, 100)
    EXPECT_EQ(outline(), nullptr) << "the pulse is over";
    const Shown top = shown();
    removeAcross(115); // its bottom: piece pixel (280, 460)
    const Shown both = shown();
    ASSERT_EQ(qAlpha(top.piece.pixel(280, 100)), 0);
    ASSERT_EQ(qAlpha(both.piece.pixel(280, 460)), 0);

    ASSERT_TRUE(screen.editor->undo());
    EXPECT_TRUE(same(shown(), top));
    ASSERT_TRUE(screen.editor->undo());
    EXPECT_TRUE(same(shown(), cut));
    ASSERT_TRUE(screen.editor->redo());
    EXPECT_TRUE(same(shown(), top));
    ASSERT_TRUE(screen.editor->undo());
    EXPECT_TRUE(same(shown(), cut));
    ASSERT_TRUE(screen.editor->undo()); // the crop step
    EXPECT_EQ(screen.piece(), nullptr);
    EXPECT_EQ(screen.editorView(kKeepBrushTag), nullptr) << "the brushes go with the cut";
    ASSERT_TRUE(screen.editor->redo());
    EXPECT_TRUE(same(shown(), cut));
    // The brushes are back with the first cut: a stroke now takes the bottom alone, the top
    // stroke undone stays undone.
    ASSERT_TRUE(screen.editorView<ui::Button>(kRemoveBrushTag));
    removeAcross(115);
    EXPECT_EQ(qAlpha(pieceAt(280, 100)), 255);
    EXPECT_EQ(qAlpha(pieceAt(280, 460)), 0);
    EXPECT_EQ(holeAt(320, 180), qRgb(0, 0, 0));
    EXPECT_FALSE(screen.editor->redo()) << "a new stroke drops the redo steps";

    // The whole disc again, laid aside off its hole (photo pixels (640, 240) on), then resumed.
    ASSERT_TRUE(screen.editor->undo());
    const QPointF from = EditorScreen::centreOnScreen(*screen.piece());
    screen.host.advance(1);
    screen.host.drag(from, from + QPointF(150, 40));
    keep();
    ASSERT_EQ(screen.piece()->frame().topLeft(), QPointF(160, 60));
    const Shown aside = shown();
    resume();
    ASSERT_TRUE(screen.piece());
    EXPECT_TRUE(same(shown(), aside, 1));
    ASSERT_TRUE(screen.editor->undo());
    EXPECT_TRUE(same(shown(), cut, 1));
    ASSERT_TRUE(screen.editor->redo());
    EXPECT_TRUE(same(shown(), aside, 1));

    // Both saves punch the subject's hole, not its rectangle's.
    const QString album = library + "/Quorlan";
    const auto savedAs = [&](const QString &choice, QSize size) {
        screen.editor->askMessage();
        screen.answer(choice);
        screen.editor->saving().waitForOriginalRender();
        for (int i = 0; i < 3000 && !(screen.shownAlert() && screen.shownAlert()->title() == "Save"); ++i) {
            screen.editor->saving().albumWriter().waitForWrites();
            QCoreApplication::processEvents();
            screen.host.runPending();
            QThread::msleep(2);
        }
        screen.answer("OK");
        for (const QString &name : QDir(album).entryList(QDir::Files))
            if (const QImage picture = readPicture(album + "/" + name).bitmap(); picture.size() == size)
                return picture;
        return QImage();
    };
    const auto near = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) <= 8 && std::abs(qGreen(a) - qGreen(b)) <= 8 && std::abs(qBlue(a) - qBlue(b)) <= 8;
    };
    const QImage high = savedAs(QStringLiteral("High \u2014 1200 \u00d7 900"), QSize(1200, 900));
    ASSERT_FALSE(high.isNull());
    EXPECT_EQ(high.pixel(320, 360), qRgb(0, 0, 0));                // the subject's hole
    EXPECT_TRUE(near(high.pixel(44, 84), photo.pixel(44, 84)));     // its rectangle's corner
    EXPECT_TRUE(near(high.pixel(320, 575), photo.pixel(320, 575))); // just off the disc

    const QImage full = savedAs(QStringLiteral("Original size \u2014 1800 \u00d7 1350"), QSize(1800, 1350));
    ASSERT_FALSE(full.isNull()) << "offered after a resume, read again from the picked photo";
    EXPECT_EQ(full.pixel(480, 540), qRgb(0, 0, 0));
    EXPECT_EQ(full.pixel(480, 810), qRgb(0, 0, 0)); // just inside the disc's bottom
    EXPECT_TRUE(near(full.pixel(66, 126), original.pixel(66, 126)));
    EXPECT_TRUE(near(full.pixel(480, 862), original.pixel(480, 862)));
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
