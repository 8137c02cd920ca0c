// The editor's first road on the headless host, driven by touches: the job lays the photo
// and the rectangle, drags keep the rectangle whole, done cuts at full resolution over an
// upright hole, the piece is dragged and pinched, Home empties tmp/.

#include <cmath>

#include <QFile>

#include "editor_fixture.h"
#include "platform/resources.h"
#include "platform/settings.h"
#include "support/pixel_compare.h"
#include "ui/label.h"

using namespace vimora;
using namespace vimora::test;

namespace {

/// The rectangle and its four handles agree: each handle is centred on its corner.
testing::AssertionResult cornersHold(const EditorScreen &screen)
{
    const QRectF r = screen.rectangle()->frame();
    const CropCorners c = CropCorners::fromFrame(r);
    const std::pair<int, QPointF> expected[] = {{kCropHandleTopLeftTag, c.lu},
                                                {kCropHandleTopRightTag, c.ru},
                                                {kCropHandleBottomLeftTag, c.ld},
                                                {kCropHandleBottomRightTag, c.rd}};
    for (const auto &[tag, corner] : expected)
        if (const ui::View *handle = screen.editorView(tag);
            !handle || EditorScreen::centreOnScreen(*handle) != EditorScreen::onScreen(*screen.photoView(), corner))
            return testing::AssertionFailure() << "handle " << tag << " not at corner " << corner.x() << "," << corner.y();
    if (r.width() <= 0 || r.height() <= 0)
        return testing::AssertionFailure() << "rectangle turned inside out";
    return testing::AssertionSuccess();
}

class EditorRoadTest : public testing::Test
{
protected:
    /// The worked example: a 1200 x 900 photo on a 480-point phone, shown at 300 x 225.
    void startExample()
    {
        screen.writePhoto("D1001.jpg", photo);
        screen.startJob("D1001.jpg");
    }
    void dragRectangleTo(QPointF topLeft)
    {
        const ui::ImageView &r = *screen.rectangle();
        const QPointF from = EditorScreen::centreOnScreen(r);
        screen.host.drag(from, from + (topLeft - r.frame().topLeft()));
    }
    void pressDone() { screen.host.tap(EditorScreen::centreOnScreen(*screen.doneButton())); }

    EditorScreen screen{DeviceProfile::Phone480};
    QImage photo = codedPhoto(1200, 900);
};

TEST_F(EditorRoadTest, AJobShowsThePhotoStoresOriginAndLaysTheRectangle)
{
    startExample();

    ui::ImageView *photoView = screen.photoView();
    ASSERT_TRUE(photoView);
    EXPECT_EQ(photoView->frame(), QRectF(10, 127.5, 300, 225));
    ASSERT_TRUE(screen.rectangle());
    EXPECT_EQ(screen.rectangle()->superview(), photoView);
    EXPECT_EQ(screen.rectangle()->frame(), QRectF(80, 42.5, 140, 140));
    EXPECT_TRUE(cornersHold(screen));
    ASSERT_TRUE(screen.doneButton());
    EXPECT_EQ(screen.doneButton()->frame(), QRectF(10, 10, 50, 50));
    EXPECT_FALSE(screen.views->cutImgView->isHidden());
    EXPECT_EQ(Settings::shared().stringForKey(kKeyButtonBack), "SHOW");
    EXPECT_TRUE(imagesEqual(EditorScreen::fileImage(WorkingFiles::Slot::Origin), photo));
}

TEST_F(EditorRoadTest, BodyAndCornerDragsKeepTheRectangleWhole)
{
    startExample();
    const ui::ImageView &photoView = *screen.photoView();

    dragRectangleTo(QPointF(30, 20));
    EXPECT_EQ(screen.rectangle()->frame(), QRectF(30, 20, 140, 140));
    EXPECT_TRUE(cornersHold(screen));

    // Bottom-right handle from (170, 160) to (200, 190): the top-left corner stays.
    screen.host.drag(EditorScreen::centreOnScreen(*screen.editorView(kCropHandleBottomRightTag)),
                     EditorScreen::onScreen(photoView, {200, 190}));
    EXPECT_EQ(screen.rectangle()->frame(), QRectF(30, 20, 170, 170));
    EXPECT_TRUE(cornersHold(screen));

    // Top-right and bottom-left: each keeps the opposite corner where it was.
    screen.host.drag(EditorScreen::centreOnScreen(*screen.editorView(kCropHandleTopRightTag)),
                     EditorScreen::onScreen(photoView, {230, 10}));
    EXPECT_EQ(screen.rectangle()->frame(), QRectF(30, 10, 200, 180));
    EXPECT_TRUE(cornersHold(screen));
    screen.host.drag(EditorScreen::centreOnScreen(*screen.editorView(kCropHandleBottomLeftTag)),
                     EditorScreen::onScreen(photoView, {20, 200}));
    EXPECT_EQ(screen.rectangle()->frame(), QRectF(20, 10, 210, 190));
    EXPECT_TRUE(cornersHold(screen));

    // Top-left handle dragged far past the bottom-right corner stops at the minimum side.
    screen.host.drag(EditorScreen::centreOnScreen(*screen.editorView(kCropHandleTopLeftTag)),
                     EditorScreen::onScreen(photoView, {290, 215}));
    EXPECT_EQ(screen.rectangle()->frame(), QRectF(230 - kMinCropSide, 200 - kMinCropSide, kMinCropSide, kMinCropSide));
    EXPECT_TRUE(cornersHold(screen));
}

TEST_F(EditorRoadTest, DoneCutsTheWorkedExampleAtFullResolutionOverAnUprightHole)
{
    startExample();
    dragRectangleTo(QPointF(10, 20));

    pressDone();

    const QImage tem = EditorScreen::fileImage(WorkingFiles::Slot::Tem);
    EXPECT_TRUE(imagesEqual(tem, photo.copy(40, 80, 560, 560)));

    QImage expectedHole = photo;
    for (int y = 80; y < 640; ++y)
        for (int x = 40; x < 600; ++x)
            expectedHole.setPixel(x, y, qRgb(0, 0, 0));
    EXPECT_TRUE(imagesEqual(screen.photoView()->image().bitmap(), expectedHole));

    ASSERT_TRUE(screen.piece());
    EXPECT_EQ(screen.piece()->superview(), screen.photoView());
    EXPECT_EQ(screen.piece()->frame(), QRectF(10, 20, 140, 140));
    EXPECT_TRUE(imagesEqual(screen.piece()->image().bitmap(), tem));
    EXPECT_EQ(screen.photoView()->subviewCount(), 1); // rectangle and handles gone
    EXPECT_EQ(screen.views->cutImgView->viewWithTag(kDoneButtonTag), nullptr);
    EXPECT_FALSE(screen.views->selectTopView->isHidden());
    for (const char *title : {"Color", "ChangeFoto", "Text", "Save", "Home"})
        EXPECT_NE(screen.toolbarButton(title), nullptr) << title;
    EXPECT_EQ(screen.views->selectTopView->frame(), QRectF(0, 415, 568, 65));
}

TEST_F(EditorRoadTest, APieceBetweenPixelsCoversExactlyTheWholePixelsItTook)
{
    startExample();
    dragRectangleTo(QPointF(10.3, 20.1)); // pixels (41.2, 80.4) to (601.2, 640.4)

    pressDone();

    EXPECT_EQ(screen.piece()->frame(), QRectF(10.25, 20, 140.25, 140.25));
    EXPECT_TRUE(imagesEqual(EditorScreen::fileImage(WorkingFiles::Slot::Tem), photo.copy(41, 80, 561, 561)));
    const QImage hole = screen.photoView()->image().bitmap();
    EXPECT_EQ(hole.pixel(41, 80), qRgb(0, 0, 0));
    EXPECT_EQ(hole.pixel(601, 640), qRgb(0, 0, 0));
    EXPECT_EQ(hole.pixel(40, 80), photo.pixel(40, 80));
    EXPECT_EQ(hole.pixel(602, 641), photo.pixel(602, 641));
}

TEST_F(EditorRoadTest, ARectangleDraggedPartlyOrWhollyOutsideStillCutsInsideThePhoto)
{
    // The photo lies 10 points from the screen's edges: the rectangle stops at the screen.
    startExample();
    dragRectangleTo(QPointF(-30, 20));
    EXPECT_EQ(screen.rectangle()->frame(), QRectF(-10, 20, 140, 140));
    pressDone();
    EXPECT_EQ(screen.piece()->frame(), QRectF(0, 20, 130, 140));
    EXPECT_TRUE(imagesEqual(EditorScreen::fileImage(WorkingFiles::Slot::Tem), photo.copy(0, 80, 520, 560)));

    startExample();
    dragRectangleTo(QPointF(400, 20));
    EXPECT_EQ(screen.rectangle()->frame(), QRectF(170, 20, 140, 140));
    pressDone();
    EXPECT_EQ(screen.piece()->frame(), QRectF(170, 20, 130, 140));
    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::Tem).size(), QSize(520, 560));
}

TEST_F(EditorRoadTest, CropHandlesStayOnScreenAndGrabbableWhateverTheDrag)
{
    startExample();
    const QRectF screenArea(QPointF(0, 0), screen.host.screenSize());
    // Where a finger finds a handle: the middle of the part of it on the screen.
    auto handleAt = [&](int tag) {
        const ui::View &handle = *screen.editorView(tag);
        return handle.convertRectTo(handle.bounds(), nullptr).intersected(screenArea).center();
    };
    auto handlesGrabbable = [&]() -> testing::AssertionResult {
        for (int tag : {kCropHandleTopLeftTag, kCropHandleTopRightTag, kCropHandleBottomLeftTag, kCropHandleBottomRightTag}) {
            ui::View *handle = screen.editorView(tag);
            const QRectF onScreen = handle->convertRectTo(handle->bounds(), nullptr).intersected(screenArea);
            if (onScreen.width() < 20 || onScreen.height() < 20 || screen.host.hitTest(onScreen.center()) != handle)
                return testing::AssertionFailure() << "handle " << tag << " not grabbable";
        }
        return cornersHold(screen);
    };

    // The bottom-right corner pulled far past the photo and the screen.
    screen.host.drag(handleAt(kCropHandleBottomRightTag), QPointF(600, 900));
    EXPECT_TRUE(handlesGrabbable());
    EXPECT_EQ(screen.rectangle()->convertRectTo(screen.rectangle()->bounds(), nullptr).bottomRight(), QPointF(320, 480));

    // A grab just inside the corner, off the handle's picture, still takes the handle.
    const QRectF before = screen.rectangle()->frame();
    const QPointF nearCorner = handleAt(kCropHandleTopLeftTag) + QPointF(20, 20);
    screen.host.drag(nearCorner, nearCorner + QPointF(30, 30));
    EXPECT_EQ(screen.rectangle()->frame(), before.adjusted(30, 30, 0, 0));
    EXPECT_TRUE(handlesGrabbable());

    // The body thrown off the screen stops at its edge.
    const QPointF body = EditorScreen::centreOnScreen(*screen.rectangle());
    screen.host.drag(body, body + QPointF(-900, -900));
    EXPECT_EQ(screen.rectangle()->convertRectTo(screen.rectangle()->bounds(), nullptr).topLeft(), QPointF(0, 0));
    EXPECT_TRUE(handlesGrabbable());

    // One corner past the opposite one: the handles stay a finger apart.
    screen.host.drag(handleAt(kCropHandleTopRightTag), handleAt(kCropHandleBottomLeftTag) + QPointF(-50, 50));
    EXPECT_EQ(screen.rectangle()->frame().size(), QSizeF(kMinCropSide, kMinCropSide));
    EXPECT_TRUE(handlesGrabbable());
}

TEST_F(EditorRoadTest, ThePieceMovesAloneAndPinchesScaleByTheAdditiveStep)
{
    startExample();
    dragRectangleTo(QPointF(10, 20));
    pressDone();
    ui::ImageView &piece = *screen.piece();
    const Picture hole = screen.photoView()->image();

    const QPointF from = EditorScreen::centreOnScreen(piece);
    screen.host.drag(from, from + QPointF(40, 30));
    EXPECT_EQ(piece.frame(), QRectF(50, 50, 140, 140));
    EXPECT_EQ(screen.photoView()->image().bitmap().cacheKey(), hole.bitmap().cacheKey());

    // Ten equal steps of the cumulative scale from 1.1 to 2.0 multiply by 1.1 ten times.
    std::vector<double> scales;
    for (int i = 1; i <= 10; ++i)
        scales.push_back(1.0 + i / 10.0);
    screen.host.pinch(EditorScreen::centreOnScreen(piece), 40, scales);
    EXPECT_NEAR(piece.transform().a, std::pow(1.1, 10), 1e-9);
    EXPECT_NEAR(piece.transform().d, std::pow(1.1, 10), 1e-9);

    // The next pinch starts from rest: cumulative 1.10, 1.25, 1.20 give 1.10 x 1.15 x 0.95.
    screen.host.pinch(EditorScreen::centreOnScreen(piece), 40, {1.10, 1.25, 1.20});
    EXPECT_NEAR(piece.transform().a, std::pow(1.1, 10) * 1.10 * 1.15 * 0.95, 1e-9);
}

TEST_F(EditorRoadTest, TheCutPieceIsLiftedAndHintedUntilItIsFirstDragged)
{
    startExample();
    pressDone();
    ui::ImageView &piece = *screen.piece();
    auto hint = [&] { return dynamic_cast<ui::Label *>(screen.views->cutImgView->viewWithTag(kPieceHintTag)); };

    EXPECT_GT(piece.shadowOpacity(), 0);
    EXPECT_FALSE(piece.clipsToBounds()) << "clipping would hide the shadow";
    // The photo just below the piece lies in its shadow.
    const QPointF below = EditorScreen::onScreen(piece, QPointF(piece.bounds().width() / 2, piece.bounds().height() + 5));
    const QRgb shaded = screen.host.render().pixel(below.toPoint());
    piece.setShadowOpacity(0);
    const QRgb plain = screen.host.render().pixel(below.toPoint());
    piece.setShadowOpacity(0.7);
    EXPECT_LT(qGray(shaded), qGray(plain));
    EXPECT_GT(piece.borderWidth(), 0);
    ASSERT_TRUE(hint());
    EXPECT_EQ(hint()->text(), "Drag to move the piece, pinch to resize it");
    // Readable: on the screen, clear of the photo it describes.
    const QRectF hintOnScreen = hint()->convertRectTo(hint()->bounds(), nullptr);
    EXPECT_TRUE(QRectF(QPointF(0, 0), screen.host.screenSize()).contains(hintOnScreen));
    EXPECT_FALSE(hintOnScreen.intersects(screen.photoView()->convertRectTo(screen.photoView()->bounds(), nullptr)));

    // The outline pulses once; the shadow stays.
    screen.host.advance(1);
    EXPECT_EQ(piece.borderWidth(), 0);
    EXPECT_GT(piece.shadowOpacity(), 0);

    // A pinch leaves the hint; the first drag takes it away.
    screen.host.pinch(EditorScreen::centreOnScreen(piece), 30, {1.1});
    EXPECT_TRUE(hint());
    const QPointF from = EditorScreen::centreOnScreen(piece);
    screen.host.drag(from, from + QPointF(15, 5));
    EXPECT_EQ(hint(), nullptr);
}

TEST_F(EditorRoadTest, ThePieceCannotBeLostOffThePhotoNorPinchedAway)
{
    startExample();
    dragRectangleTo(QPointF(10, 20));
    pressDone();
    ui::ImageView &piece = *screen.piece();
    const QRectF photoBounds = screen.photoView()->bounds();
    auto keptInside = [&] {
        const QRectF inside = piece.frame().intersected(photoBounds);
        const double keepX = std::min(44.0, piece.frame().width() / 4), keepY = std::min(44.0, piece.frame().height() / 4);
        return inside.width() >= keepX - 1e-9 && inside.height() >= keepY - 1e-9;
    };

    // Flung far past each corner: part of it stays on the photo, where a finger finds it.
    for (const QPointF fling : {QPointF(900, 900), QPointF(-900, -900), QPointF(900, -900), QPointF(-900, 900)}) {
        const QPointF from = EditorScreen::centreOnScreen(piece);
        screen.host.drag(from, from + fling);
        EXPECT_TRUE(keptInside()) << fling.x() << "," << fling.y();
        const QPointF visible = piece.frame().intersected(photoBounds).center();
        EXPECT_EQ(screen.host.hitTest(EditorScreen::onScreen(*screen.photoView(), visible)), &piece);
    }

    // Brought back to the middle, pinched to almost nothing, then to far beyond the photo.
    const QPointF middle = EditorScreen::onScreen(*screen.photoView(), photoBounds.center());
    screen.host.drag(EditorScreen::onScreen(*screen.photoView(), piece.frame().intersected(photoBounds).center()), middle);
    for (int i = 0; i < 5; ++i)
        screen.host.pinch(EditorScreen::centreOnScreen(piece), 10, {0.5});
    EXPECT_NEAR(std::min(piece.frame().width(), piece.frame().height()), 20, 1e-6);
    EXPECT_TRUE(keptInside());
    for (int i = 0; i < 4; ++i)
        screen.host.pinch(EditorScreen::centreOnScreen(piece), 10, {2, 4, 8, 16});
    EXPECT_LE(piece.frame().width(), 4 * photoBounds.width() + 1e-6);
    EXPECT_LE(piece.frame().height(), 4 * photoBounds.height() + 1e-6);
    EXPECT_GT(piece.frame().width(), 2 * photoBounds.width());
}

TEST_F(EditorRoadTest, HomeKeepsTheJobUntilTheNextJobStarts)
{
    startExample();
    pressDone();
    ui::ImageView &piece = *screen.piece();
    const QPointF from = EditorScreen::centreOnScreen(piece);
    screen.host.drag(from, from + QPointF(40, 30));
    const QRectF placed = piece.frame();
    const QImage tem = EditorScreen::fileImage(WorkingFiles::Slot::Tem);
    int homes = 0;
    screen.editor->setOnHome([&] { ++homes; });

    ui::Button *home = screen.toolbarButton("Home");
    ASSERT_NE(home, nullptr);
    screen.host.tap(EditorScreen::centreOnScreen(*home));

    EXPECT_EQ(homes, 1);
    EXPECT_TRUE(screen.views->cutImgView->isHidden());
    EXPECT_TRUE(screen.views->selectTopView->isHidden());
    EXPECT_FALSE(screen.views->mainView->image().isNull());
    // What the home screen's back shows again: the same piece at the same place, its files.
    EXPECT_EQ(screen.piece(), &piece);
    EXPECT_EQ(piece.frame(), placed);
    EXPECT_TRUE(imagesEqual(EditorScreen::fileImage(WorkingFiles::Slot::Tem), tem));
    EXPECT_TRUE(QFile::exists(screen.tmp("D1001.jpg")));

    // A new job clears the old one's files and keeps only its own photo.
    screen.writePhoto("D1002.jpg", codedPhoto(300, 200));
    screen.startJob("D1002.jpg");
    WorkingFiles::shared().flush();
    QStringList files = QDir(AppHome::tempDir()).entryList(QDir::Files);
    files.sort();
    EXPECT_EQ(files, (QStringList{"D1002.jpg", "Origin.png"}));
    EXPECT_EQ(screen.piece(), nullptr);
}

TEST_F(EditorRoadTest, TheBackControlAndEscapeLeaveTheCropEditorAskingOnlyWhenACutWouldGo)
{
    int homes = 0;
    screen.editor->setOnHome([&] { ++homes; });
    auto backControl = [&] { return screen.editorView<ui::Button>(kEditorBackTag); };

    // Before the cut nothing is lost: back leaves at once, from a visible, reachable control.
    startExample();
    ASSERT_TRUE(backControl());
    EXPECT_EQ(screen.host.hitTest(EditorScreen::centreOnScreen(*backControl())), backControl());
    EXPECT_FALSE(backControl()->frame().intersects(screen.doneButton()->frame()));
    screen.tap(*backControl());
    EXPECT_EQ(homes, 1);
    EXPECT_TRUE(screen.views->cutImgView->isHidden());

    startExample();
    EXPECT_TRUE(screen.pressKey(Qt::Key_Escape));
    EXPECT_EQ(homes, 2);
    EXPECT_FALSE(screen.pressKey(Qt::Key_Escape)) << "the editor has gone";

    // After the cut both ask first; Cancel keeps the piece. The control stays at the screen's
    // top right whatever frame the cut gives the editor layer.
    screen.views->backImgView->setFrame(QRectF(0, 0, 480, 480));
    startExample();
    pressDone();
    EXPECT_EQ(EditorScreen::centreOnScreen(*backControl()).y(), 26);
    EXPECT_NEAR(backControl()->convertRectTo(backControl()->bounds(), nullptr).right(), 310, 1e-9);
    screen.tap(*backControl());
    ASSERT_TRUE(screen.shownAlert());
    EXPECT_EQ(screen.shownAlert()->title(), "Leave the editor?");
    screen.answer("Cancel");
    EXPECT_EQ(homes, 2);
    EXPECT_NE(screen.piece(), nullptr);
    EXPECT_TRUE(screen.pressKey(Qt::Key_Escape));
    screen.answer("Leave");
    EXPECT_EQ(homes, 3);
    EXPECT_TRUE(screen.views->cutImgView->isHidden());
}

TEST_F(EditorRoadTest, DegeneratePhotosGiveASensibleCut)
{
    // 1 x 1: the rectangle covers the one pixel.
    screen.writePhoto("one.png", codedPhoto(1, 1));
    screen.startJob("one.png");
    pressDone();
    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::Tem).size(), QSize(1, 1));

    // A 10000 x 200 panorama shows 300 x 6: the rectangle shrinks to fit and cuts a slice.
    screen.writePhoto("pano.png", codedPhoto(10000, 200));
    screen.startJob("pano.png");
    EXPECT_EQ(screen.rectangle()->frame(), QRectF(147, 0, 6, 6));
    pressDone();
    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::Tem).size(), QSize(200, 200));

    // An unreadable photo: a degenerate view, no crash, and Origin and Tem keep their files.
    const QByteArray originBefore = [&] {
        WorkingFiles::shared().flush();
        QFile file(WorkingFiles::path(WorkingFiles::Slot::Origin));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    QFile(screen.tmp("empty.jpg")).open(QIODevice::WriteOnly);
    screen.startJob("empty.jpg");
    EXPECT_EQ(screen.photoView()->frame().size(), QSizeF(0, 0));
    pressDone();
    EXPECT_FALSE(screen.views->selectTopView->isHidden());
    WorkingFiles::shared().flush();
    QFile origin(WorkingFiles::path(WorkingFiles::Slot::Origin));
    ASSERT_TRUE(origin.open(QIODevice::ReadOnly));
    EXPECT_EQ(origin.readAll(), originBefore);
    EXPECT_EQ(EditorScreen::fileImage(WorkingFiles::Slot::Tem).size(), QSize(200, 200));
}

TEST_F(EditorRoadTest, TurningATabletRelaysTheEditorAndTheToolbarOnlyWhenShown)
{
    EditorScreen tablet(DeviceProfile::Tablet);
    tablet.writePhoto("p.png", codedPhoto(1200, 900));
    tablet.startJob("p.png");
    const QRectF hiddenBar = tablet.views->selectTopView->frame();

    tablet.editor->rotateW();
    EXPECT_EQ(tablet.views->cutImgView->frame(), QRectF(0, 0, 1024, 768));
    EXPECT_EQ(tablet.photoView()->center(), QPointF(512, 334));
    EXPECT_EQ(tablet.views->selectTopView->frame(), hiddenBar);

    tablet.editor->showResult();
    tablet.editor->rotateH();
    EXPECT_EQ(tablet.views->selectTopView->frame(), QRectF(0, 959, 1024, 65));
    EXPECT_EQ(tablet.views->cutImgView->frame(), QRectF(0, 0, 768, 1024));
    EXPECT_EQ(tablet.photoView()->center(), QPointF(384, 462));
}

} // namespace
