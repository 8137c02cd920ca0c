// The level save into "Nerelda", the option bar, deletion and leaving the compositor.
#include "compositor/compositor_fixture.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>

#include "compositor/saved_pictures.h"
#include "ui/overlay_stack.h"

using namespace vimora;
using namespace vimora::test;

namespace {

class SaveTest : public CompositorTest
{
protected:
    /// Every picture file in the library's album folder.
    QStringList albumFiles(const QString &album = QStringLiteral("Nerelda")) const
    {
        QStringList out;
        QDirIterator it(library.path() + '/' + album, QDir::Files | QDir::System);
        while (it.hasNext())
            out << it.next();
        return out;
    }

    QSize savedSize(const QString &album = QStringLiteral("Nerelda")) const
    {
        const QStringList files = albumFiles(album);
        return files.isEmpty() ? QSize() : QImageReader(files.front()).size();
    }

    void finishWrites()
    {
        writer->waitForWrites();
        // Completions arrive through the event loop.
        for (int i = 0; i < 5; ++i) {
            QCoreApplication::processEvents();
            host->runPending();
        }
    }
};

} // namespace

TEST_F(SaveTest, HighOnATabletSavesTwiceTheSavedPictureAndKeepsTheLayout)
{
    openSaved(twoTonePicture(2048, 1536));
    back->actionbtn();
    const QRectF frame = views->backImgView->frame();

    back->justSaveToAlbum();
    ui::Button *high = buttonTitled(*views->descripImg, QStringLiteral("High — 4096 × 3072"));
    ASSERT_NE(high, nullptr);
    high->sendActions(ui::ControlEventTouchUpInside);
    finishWrites();

    EXPECT_EQ(savedSize(), QSize(4096, 3072));
    EXPECT_EQ(views->backImgView->frame(), frame);
    EXPECT_TRUE(views->descripImg->isHidden());
    EXPECT_FALSE(views->selectTopView->isHidden());
    ASSERT_NE(shownAlert(), nullptr);
    EXPECT_EQ(shownAlert()->title(), "Save");
    EXPECT_EQ(shownAlert()->message(), "Saved in Nerelda");
}

TEST_F(SaveTest, LowAndMediumFollowTheirFactors)
{
    openSaved(twoTonePicture(2048, 1536));

    back->effectLevel("Low");
    finishWrites();
    const QSize low = savedSize();
    QFile::remove(albumFiles().value(0));
    back->effectLevel("Medium");
    finishWrites();

    EXPECT_EQ(low, QSize(1024, 768));
    EXPECT_EQ(savedSize(), QSize(2048, 1536));
}

TEST_F(SaveTest, APhoneLevelSaveWritesTheSavedPicturesOwnSize)
{
    useDevice(DeviceProfile::Phone480);
    openSaved(twoTonePicture(800, 600));
    const QRectF frame = views->backImgView->frame();

    back->effectLevel("Medium");
    finishWrites();

    // Medium: the saved picture's own size, whatever the screen.
    EXPECT_EQ(savedSize(), QSize(800, 600));
    EXPECT_EQ(views->backImgView->frame(), frame);
}

TEST_F(SaveTest, WithoutABackgroundNothingIsSavedAndTheUserIsTold)
{
    views->backImgView->setFrame(QRectF(0, 0, 1024, 768));

    const bool saved = back->effectLevel("High");
    finishWrites();

    EXPECT_FALSE(saved);
    EXPECT_TRUE(albumFiles().isEmpty());
    EXPECT_EQ(views->backImgView->frame(), QRectF(0, 0, 1024, 768));
    ASSERT_NE(shownAlert(), nullptr);
    EXPECT_TRUE(shownAlert()->message().contains("no background"));
}

TEST_F(SaveTest, AFailedAlbumWriteIsLoggedAndTold)
{
    openSaved(twoTonePicture(400, 300));
    const QRectF frame = views->backImgView->frame();
    // A file where the album folder should be.
    QFile blocker(library.path() + "/Nerelda");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    back->effectLevel("Low");
    finishWrites();

    EXPECT_TRUE(log.filter("Big error: ").size() == 1) << log.join('\n').toStdString();
    ASSERT_NE(shownAlert(), nullptr);
    EXPECT_EQ(shownAlert()->title(), "Not saved");
    EXPECT_EQ(views->backImgView->frame(), frame);
}

TEST_F(SaveTest, ConfirmedDeletionRemovesThatPictureAndItsThumbnailOnly)
{
    openSaved(twoTonePicture(40, 30), "D1111.jpg");
    ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + "/D2222.jpg", encodeJpeg(twoTonePicture(4, 3), 1.0)));
    QDir().mkpath(AppHome::drawImgsDir() + "/Thumbnails");
    ASSERT_TRUE(writeFileAtomically(saved_pictures::thumbnailPath("D1111.jpg"), "t"));
    ASSERT_TRUE(writeFileAtomically(saved_pictures::thumbnailPath("D2222.jpg"), "t"));

    buttonTitled(*views->selectTopView, "Delete")->sendActions(ui::ControlEventTouchUpInside);
    ASSERT_NE(back->optionBar().deleteQuestion(), nullptr);
    EXPECT_EQ(back->optionBar().deleteQuestion()->message(), "Sure to delete this photo?");
    answer(back->optionBar().deleteQuestion(), OptionBar::kYesIndex);

    EXPECT_FALSE(QFile::exists(saved_pictures::path("D1111.jpg")));
    EXPECT_FALSE(QFile::exists(saved_pictures::thumbnailPath("D1111.jpg")));
    EXPECT_TRUE(QFile::exists(saved_pictures::path("D2222.jpg")));
    EXPECT_TRUE(QFile::exists(saved_pictures::thumbnailPath("D2222.jpg")));
    EXPECT_TRUE(log.contains("delete!!"));
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(views->cateViewTop->isHidden());
}

TEST_F(SaveTest, CancelledDeletionKeepsThePictureAndTheOptionBar)
{
    openSaved(twoTonePicture(40, 30), "D1111.jpg");

    back->sureToDelete();
    answer(back->optionBar().deleteQuestion(), OptionBar::kCancelIndex);

    EXPECT_TRUE(QFile::exists(saved_pictures::path("D1111.jpg")));
    EXPECT_TRUE(log.contains("don't  delete"));
    EXPECT_FALSE(views->selectTopView->isHidden());
    EXPECT_NE(buttonTitled(*views->selectTopView, "Delete"), nullptr);
    EXPECT_EQ(exits, 0);
}

TEST_F(SaveTest, DeletingAPictureAnotherProcessRemovedTellsAndDeletesNothingElse)
{
    openSaved(twoTonePicture(40, 30), "D1111.jpg");
    ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + "/D2222.jpg", encodeJpeg(twoTonePicture(4, 3), 1.0)));
    QFile::remove(saved_pictures::path("D1111.jpg"));

    back->sureToDelete();
    answer(back->optionBar().deleteQuestion(), OptionBar::kYesIndex);

    EXPECT_TRUE(QFile::exists(saved_pictures::path("D2222.jpg")));
    ASSERT_NE(shownAlert(), nullptr);
    EXPECT_EQ(shownAlert()->title(), "Already deleted");
    EXPECT_EQ(exits, 1);
}

TEST_F(SaveTest, UnsafeNamesAreNeverDeleted)
{
    ASSERT_TRUE(writeFileAtomically(AppHome::documentsDir() + "/keep.jpg", "x"));

    EXPECT_EQ(saved_pictures::remove("../keep.jpg"), saved_pictures::Removal::Refused);
    EXPECT_EQ(saved_pictures::remove(""), saved_pictures::Removal::Refused);
    EXPECT_EQ(saved_pictures::remove(".."), saved_pictures::Removal::Refused);
    EXPECT_TRUE(QFile::exists(AppHome::documentsDir() + "/keep.jpg"));
}

TEST_F(SaveTest, ExitShowsTheHomePictureAndTheBar)
{
    openSaved(twoTonePicture(40, 30));
    back->actionbtn();

    buttonTitled(*views->selectTopView, "Exit")->sendActions(ui::ControlEventTouchUpInside);

    EXPECT_FALSE(views->mainView->image().isNull());
    EXPECT_FALSE(views->cateViewTop->isHidden());
    EXPECT_TRUE(views->backImgView->isHidden());
    EXPECT_TRUE(views->backImgView->image().isNull());
    EXPECT_TRUE(views->selectTopView->isHidden());
    EXPECT_EQ(exits, 1);
}

TEST_F(SaveTest, OddBackgroundsOpenAndSaveWithoutHarm)
{
    for (const QSize size : {QSize(1, 1), QSize(10000, 200)}) {
        openSaved(twoTonePicture(size.width(), size.height()));
        ASSERT_FALSE(views->backImgView->image().isNull()) << size.width();
        back->effectLevel("Low");
        finishWrites();
    }
    // A corrupt saved picture is reported, not shown.
    ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + "/D3333.jpg", QByteArray("not a picture")));
    back->showSelectPhoto(QStringLiteral("D3333.jpg"));

    ASSERT_NE(shownAlert(), nullptr);
    EXPECT_EQ(shownAlert()->title(), "Photo not opened");
}

TEST_F(SaveTest, EscapeClosesTheLevelMenuAndTheFurtherEffects)
{
    openSaved(twoTonePicture(40, 30));
    back->actionbtn();
    auto &overlays = ui::OverlayStack::of(views->mainView.get());

    back->justSaveToAlbum();
    const bool menuClosed = overlays.closeTopmost() && views->descripImg->isHidden();
    buttonTitled(*views->selectTopView, "More")->sendActions(ui::ControlEventTouchUpInside);
    const bool moreShown = buttonTitled(back->selectionLayer().panel(), "Reflection") != nullptr;
    overlays.closeTopmost();

    EXPECT_TRUE(menuClosed);
    EXPECT_TRUE(moreShown);
    EXPECT_NE(buttonTitled(*views->selectTopView, "Filter"), nullptr);
    EXPECT_EQ(overlays.count(), 0);
    EXPECT_TRUE(albumFiles().isEmpty());
}

TEST_F(SaveTest, SaveToAlbumHandsTheSavedPictureToTheEditorsSave)
{
    openSaved(twoTonePicture(40, 30));
    QList<QSizeF> handed;
    back->setSaveToAlbum([&](const Picture &p) { handed << p.size(); });

    buttonTitled(*views->selectTopView, "Save To Album")->sendActions(ui::ControlEventTouchUpInside);

    ASSERT_EQ(handed.size(), 1);
    EXPECT_EQ(handed.front(), QSizeF(40, 30));
}

TEST_F(SaveTest, AShapedCutOutKeepsItsTransparencyInTheSavedComposition)
{
    // A smart cut's piece: an opaque yellow disc, transparent around it.
    QImage shaped(120, 120, QImage::Format_ARGB32_Premultiplied);
    shaped.fill(Qt::transparent);
    {
        QPainter p(&shaped);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::yellow);
        p.drawEllipse(QRectF(10, 10, 100, 100));
    }
    WorkingFiles::shared().simpleSave(Picture(shaped));
    WorkingFiles::shared().flush();
    openSaved(twoTonePicture(400, 300, QColor(40, 60, 200), QColor(200, 40, 60)));
    back->actionbtn();
    // Saved at High, the newest file of the album.
    const auto saveHigh = [&]() -> QImage {
        const QStringList before = albumFiles();
        back->justSaveToAlbum();
        ui::Button *high = nullptr;
        for (const ui::ViewPtr &v : views->descripImg->subviews())
            if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->title().startsWith("High"))
                high = b;
        if (!high)
            return {};
        high->sendActions(ui::ControlEventTouchUpInside);
        finishWrites();
        if (ui::AlertView *alert = shownAlert())
            answer(alert, 0);
        for (const QString &file : albumFiles())
            if (!before.contains(file))
                return QImage(file).convertToFormat(QImage::Format_RGB32);
        return {};
    };
    const QImage bare = saveHigh();
    back->layTopPicture();
    settle();
    const QImage laid = saveHigh();
    ASSERT_FALSE(bare.isNull());
    ASSERT_EQ(bare.size(), laid.size());

    // What the piece changed is a disc: the corners of what it changed are the background's.
    QRect changed;
    for (int y = 0; y < laid.height(); ++y)
        for (int x = 0; x < laid.width(); ++x)
            if (laid.pixel(x, y) != bare.pixel(x, y))
                changed |= QRect(x, y, 1, 1);
    ASSERT_GT(changed.width(), 8);
    EXPECT_NEAR(changed.width(), changed.height(), 2);
    EXPECT_EQ(laid.pixel(changed.center()), qRgb(255, 255, 0));
    const int in = changed.width() / 10; // off the disc, inside its square
    for (const QPoint corner : {changed.topLeft() + QPoint(in, in), changed.topRight() + QPoint(-in, in),
                                changed.bottomLeft() + QPoint(in, -in), changed.bottomRight() + QPoint(-in, -in)})
        EXPECT_EQ(laid.pixel(corner), bare.pixel(corner)) << corner.x() << "," << corner.y();
}
