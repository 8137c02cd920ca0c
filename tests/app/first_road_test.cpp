// The first road on the headless host with the real screens: the home's album button, the
// intake of a picked photo and the editor taking the job.
#include <map>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QKeyEvent>

#include "app/app_fixture.h"
#include "app/photo_intake.h"
#include "editor/cut_image.h"
#include "platform/app_home.h"
#include "platform/settings.h"
#include "store/job_store.h"
#include "store/working_files.h"
#include "support/small_disk.h"

using namespace vimora;

namespace {

class FirstRoadTest : public test::AppTest
{
protected:
    static Picture photo(int w, int h)
    {
        QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(200, 120, 40));
        return Picture(image);
    }
    QSize fileSize(const QString &name) { return QImageReader(AppHome::tempDir() + '/' + name).size(); }

    // Every file in tmp/ with its bytes.
    static std::map<QString, QByteArray> tmpContents()
    {
        std::map<QString, QByteArray> contents;
        for (const QFileInfo &info : QDir(AppHome::tempDir()).entryInfoList(QDir::Files)) {
            QFile file(info.absoluteFilePath());
            contents[info.fileName()] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
        }
        return contents;
    }

    // Noise does not compress: a few of these fill a small disk.
    static Picture noisyPhoto(int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        quint32 seed = 7;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                image.setPixel(x, y, seed = seed * 1664525u + 1013904223u);
        return Picture(image);
    }

    void pickFromTheAlbum(const Picture &photo)
    {
        tapOn(*top().categoryButton(1));
        picker->pick(photo);
        host->advance(1);
        WorkingFiles::shared().flush();
        JobStore::shared().flush();
    }
};

} // namespace

TEST_F(FirstRoadTest, APhonePhotoReachesTheEditorAtItsWorkingSize)
{
    launch(DeviceProfile::Phone480);

    tapOn(*top().categoryButton(1));
    picker->pick(photo(4000, 3000));
    host->advance(1);

    const PhotoIntake &intake = root().intake();
    ASSERT_EQ(intake.originMuAry().size(), 1);
    EXPECT_EQ(fileSize(intake.originMuAry()[0]), QSize(1500, 1125));
    EXPECT_EQ(fileSize(intake.thuMuAry()[0]), QSize(156, 117));
    // The editor took the job: the working copy is its Origin and "back" is offered.
    EXPECT_EQ(WorkingFiles::shared().originLoad().size(), QSizeF(1500, 1125));
    EXPECT_EQ(Settings::shared().stringForKey("ButtonBack"), "SHOW");
    EXPECT_FALSE(editorViews().cutImgView->isHidden());
    EXPECT_TRUE(shell().cateViewTop->isHidden());
    EXPECT_TRUE(top().showHideBtn()->isHidden());
    EXPECT_TRUE(top().helpBtn()->isHidden());
    EXPECT_FALSE(host->hasModal());
    WorkingFiles::shared().flush();
}

TEST_F(FirstRoadTest, TheEditorNotTheEmptyBackgroundLayerGetsTheTouches)
{
    launch(DeviceProfile::Tablet);
    tapOn(*top().categoryButton(1));
    picker->pick(photo(1600, 1200));
    host->advance(1);

    ui::View *photoView = editorViews().cutImgView->viewWithTag(555);
    ASSERT_NE(photoView, nullptr);
    ui::View *hit = host->hitTest(centreOf(*photoView));
    ASSERT_NE(hit, nullptr);
    EXPECT_TRUE(hit->isDescendantOf(editorViews().cutImgView.get()));
    WorkingFiles::shared().flush();
}

TEST_F(FirstRoadTest, HomeBringsTheBarBackAndBackResumesTheJobWhereItWasLeft)
{
    launch(DeviceProfile::Phone480);
    tapOn(*top().categoryButton(1));
    picker->pick(photo(1200, 900));
    host->advance(1);
    ASSERT_FALSE(QDir(AppHome::tempDir()).entryList(QDir::Files).isEmpty());
    root().draw().showResult();
    ui::View *piece = editorViews().cutImgView->viewWithTag(666);
    ASSERT_NE(piece, nullptr);
    // The editor's back control is on screen and reachable after the cut.
    ui::View *backControl = editorViews().cutImgView->viewWithTag(401);
    ASSERT_NE(backControl, nullptr);
    const QRectF backOnScreen = backControl->convertRectTo(backControl->bounds(), nullptr);
    EXPECT_TRUE(QRectF(QPointF(0, 0), host->screenSize()).contains(backOnScreen))
        << backOnScreen.x() << "," << backOnScreen.y() << " " << backOnScreen.width();
    EXPECT_EQ(host->hitTest(centreOf(*backControl)), backControl);
    host->drag(centreOf(*piece), centreOf(*piece) + QPointF(30, 20));
    host->advance(1);
    const QRectF placed = piece->frame();
    WorkingFiles::shared().flush();
    JobStore::shared().flush();
    const QStringList files = QDir(AppHome::tempDir()).entryList(QDir::Files);

    root().draw().closeDrawView();

    EXPECT_TRUE(editorViews().cutImgView->isHidden());
    EXPECT_FALSE(shell().cateViewTop->isHidden());
    EXPECT_FALSE(top().showHideBtn()->isHidden());
    EXPECT_FALSE(top().helpBtn()->isHidden());
    EXPECT_FALSE(shell().mainView->image().isNull());
    EXPECT_EQ(QDir(AppHome::tempDir()).entryList(QDir::Files), files) << "the job's files stay for back";

    const auto back = top().categoryButton(3);
    ASSERT_NE(back, nullptr);
    ASSERT_FALSE(back->isHidden());
    tapOn(*back);
    host->advance(1);

    EXPECT_FALSE(editorViews().cutImgView->isHidden());
    ASSERT_EQ(editorViews().cutImgView->viewWithTag(666), piece);
    EXPECT_EQ(piece->frame(), placed);
    EXPECT_EQ(host->hitTest(centreOf(*piece)), piece);

    // Escape reaches the resumed editor with no tap first: it asks before leaving the piece.
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    EXPECT_TRUE(host->pressKey(&escape));
    host->advance(1);
    EXPECT_TRUE(host->hasModal());
}

TEST_F(FirstRoadTest, AnUnreadablePhotoLeavesTheRunningJobAlone)
{
    launch(DeviceProfile::Phone568);
    pickFromTheAlbum(photo(800, 600));
    host->advance(1); // the job's record is asked for on the next turn of the loop
    JobStore::shared().flush();
    const QStringList files = QDir(AppHome::tempDir()).entryList(QDir::Files);
    const Picture origin = WorkingFiles::shared().originLoad();

    // A second intake from the home screen, with a file that cannot be read.
    editorViews().cutImgView->setHidden(true);
    top().cateViewTopOpen();
    tapOn(*top().categoryButton(1));
    picker->pick(Picture(), "The photo \"broken.jpg\" could not be read.");
    host->advance(1);

    EXPECT_TRUE(host->hasModal());
    EXPECT_EQ(QDir(AppHome::tempDir()).entryList(QDir::Files), files);
    EXPECT_EQ(WorkingFiles::shared().originLoad().bitmap(), origin.bitmap());
    EXPECT_FALSE(shell().cateViewTop->isHidden());
    EXPECT_FALSE(top().showHideBtn()->isHidden());
}

TEST_F(FirstRoadTest, AFullOrReadOnlyTmpGetsAnAlertAndKeepsTheRunningJob)
{
    for (const bool readOnly : {true, false}) {
        SCOPED_TRACE(readOnly ? "read-only" : "full");
        test::SmallDisk tmp(AppHome::tempDir(), 600 * 1024);
        test::SmallDisk documents(AppHome::documentsDir(), 64 * 1024);
        if (!tmp.mounted() || !documents.mounted())
            GTEST_SKIP() << "a small disk needs root";
        launch(DeviceProfile::Phone568);
        pickFromTheAlbum(photo(800, 600));
        ASSERT_FALSE(editorViews().cutImgView->isHidden());
        const auto earlier = tmpContents();
        const Picture origin = WorkingFiles::shared().originLoad();
        if (readOnly) {
            ASSERT_TRUE(tmp.makeReadOnly());
            ASSERT_TRUE(documents.makeReadOnly());
        }

        editorViews().cutImgView->setHidden(true);
        top().cateViewTopOpen();
        pickFromTheAlbum(noisyPhoto(1400, 1000));

        EXPECT_TRUE(host->hasModal());
        EXPECT_FALSE(log.filter("The photo could not be stored for editing.").isEmpty());
        EXPECT_EQ(tmpContents(), earlier); // nothing half-written, nothing cut short
        EXPECT_EQ(WorkingFiles::shared().originLoad().bitmap(), origin.bitmap());
        delegate.reset();
        host.reset();
        WorkingFiles::shared().forget();
        JobStore::shared().forget();
    }
}
