// The kept job on the headless host with the real screens: a quit keeps it, the next start
// offers "back" and brings it back as it was; a damaged one is reported once and set aside.
#include <QDir>
#include <QFile>
#include <QInputMethodEvent>

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "editor/cut_image.h"
#include "editor/photo_capture.h"
#include "platform/app_home.h"
#include "store/job_store.h"
#include "store/working_files.h"
#include "support/pixel_compare.h"
#include "text/word_table.h"

using namespace vimora;

namespace {

class ResumeTest : public test::AppTest
{
protected:
    void TearDown() override
    {
        JobStore::shared().forget();
        WorkingFiles::shared().forget();
        AppTest::TearDown();
    }
    void pickFromTheAlbum(const Picture &photo)
    {
        tapOn(*top().categoryButton(1));
        picker->pick(photo);
        host->advance(1);
    }
    CutImage &editor() { return root().draw(); }
    ui::ImageView *piece() { return dynamic_cast<ui::ImageView *>(editorViews().cutImgView->viewWithTag(666)); }
    ui::ImageView *photoView() { return dynamic_cast<ui::ImageView *>(editorViews().cutImgView->viewWithTag(555)); }
    void typeLayer(const QString &text)
    {
        WordTable &words = editor().wordTable();
        editor().gotoTextView();
        ui::TextView &box = words.entry().noteTextView();
        box.becomeFirstResponder();
        QInputMethodEvent commit;
        commit.setCommitString(text);
        box.inputMethodEvent(&commit);
        words.inputTextDone();
        words.colorChoose();
        host->advance(1);
    }
    /// What a quit leaves, and a new process on it.
    void quitAndStartAgain()
    {
        host->advance(1);
        delegate->applicationWillTerminate();
        launch(DeviceProfile::Tablet);
    }
};

} // namespace

TEST_F(ResumeTest, AQuitKeepsTheJobAndBackBringsItBackAsItWasLeft)
{
    launch(DeviceProfile::Tablet);
    pickFromTheAlbum(Picture(test::positionCoded(1200, 900)));
    editor().showResult();
    ASSERT_NE(piece(), nullptr);
    host->drag(centreOf(*piece()), centreOf(*piece()) + QPointF(40, -30));
    host->pinch(centreOf(*piece()), 100, {1.0, 1.1, 1.2});
    typeLayer(QStringLiteral("Kept"));
    ui::ImageView *text = editor().wordTable().tView();
    ASSERT_NE(text, nullptr);
    host->drag(centreOf(*text), centreOf(*text) + QPointF(25, 60));
    host->advance(1);
    const QRectF pieceFrame = piece()->frame();
    const QImage piecePixels = piece()->image().bitmap();
    const QImage shown = photoView()->image().bitmap();
    const QRectF textFrame = text->frame();
    const QImage textPixels = text->image().bitmap();
    const QImage screen = host->render();

    quitAndStartAgain();
    ASSERT_TRUE(top().hasKeptJob());
    ASSERT_FALSE(top().categoryButton(3)->isHidden()) << "back is offered after a restart";
    tapOn(*top().categoryButton(3));
    host->advance(1);

    ASSERT_NE(piece(), nullptr);
    EXPECT_EQ(piece()->frame(), pieceFrame);
    EXPECT_TRUE(test::imagesEqual(piece()->image().bitmap(), piecePixels));
    EXPECT_TRUE(test::imagesEqual(photoView()->image().bitmap(), shown)) << "the photo with its hole";
    ui::ImageView *restored = editor().wordTable().layers().layers().empty() ? nullptr : editor().wordTable().layers().layers().back();
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->frame(), textFrame);
    EXPECT_TRUE(test::imagesEqual(restored->image().bitmap(), textPixels));
    // Later steps read the working files: they hold the job's cut-out and photo again.
    EXPECT_TRUE(test::imagesEqual(WorkingFiles::shared().simpleLoad().bitmap(), piecePixels));
    EXPECT_EQ(WorkingFiles::shared().originLoad().size(), QSizeF(1200, 900));
    EXPECT_TRUE(test::imagesEqual(host->render(), screen)) << "the screen is the one left";
    // The resumed job goes on being kept: a drag after the restart survives the next one.
    host->drag(centreOf(*piece()), centreOf(*piece()) + QPointF(-20, 10));
    const QRectF movedAgain = piece()->frame();
    quitAndStartAgain();
    tapOn(*top().categoryButton(3));
    host->advance(1);
    ASSERT_NE(piece(), nullptr);
    EXPECT_EQ(piece()->frame(), movedAgain);
}

TEST_F(ResumeTest, UndoAndRedoGoOnAcrossAQuitAndResume)
{
    launch(DeviceProfile::Tablet);
    pickFromTheAlbum(Picture(test::positionCoded(1200, 900)));
    const auto shot = [&] {
        host->advance(1);
        ui::ImageView *photo = photoView();
        return photo ? capturePhotoView(*photo, *editorViews().cutImgView, QSize(300, 225)).bitmap() : QImage();
    };
    std::vector<QImage> states{shot()};
    editor().showResult();
    states.push_back(shot());
    host->drag(centreOf(*piece()), centreOf(*piece()) + QPointF(40, -30));
    states.push_back(shot());
    typeLayer(QStringLiteral("Kept"));
    states.push_back(shot());
    host->pinch(centreOf(*piece()), 100, {1.0, 1.2, 1.4});
    states.push_back(shot());
    ASSERT_TRUE(editor().undo());
    ASSERT_TRUE(test::imagesEqual(shot(), states[3]));

    quitAndStartAgain();
    tapOn(*top().categoryButton(3));
    host->advance(1);
    EXPECT_EQ(editor().history().undoCount(), 3);
    EXPECT_EQ(editor().history().redoCount(), 1);
    EXPECT_TRUE(test::imagesEqual(shot(), states[3])) << "resumed as left";
    ASSERT_TRUE(editor().redo());
    EXPECT_TRUE(test::imagesEqual(shot(), states[4])) << "the undone pinch comes back";
    for (int i = 3; i >= 0; --i) {
        ASSERT_TRUE(editor().undo()) << i;
        EXPECT_TRUE(test::imagesEqual(shot(), states[size_t(i)])) << "back to state " << i;
    }
    EXPECT_FALSE(editor().undo());
}

TEST_F(ResumeTest, ADamagedKeptJobIsReportedOnceAndSetAsideAndTheStartGoesOn)
{
    QDir().mkpath(AppHome::tempDir());
    QFile record(AppHome::tempDir() + "/job.json");
    ASSERT_TRUE(record.open(QIODevice::WriteOnly));
    record.write("{\"format\": \"vimora-job\", \"version\": 1, \"photo\": \"job-1.png\"");
    record.close();

    launch(DeviceProfile::Tablet);
    const bool reported = host->hasModal();
    const bool offered = !top().categoryButton(3)->isHidden();
    launch(DeviceProfile::Tablet);

    EXPECT_TRUE(reported);
    EXPECT_FALSE(offered);
    EXPECT_TRUE(log.filter("the kept job cannot be read").size() == 1) << log.join('\n').toStdString();
    EXPECT_FALSE(host->hasModal()) << "reported once";
    EXPECT_FALSE(QFile::exists(AppHome::tempDir() + "/job.json"));
    EXPECT_EQ(QDir(AppHome::root() + "/damaged jobs").entryList(QDir::Files).size(), 1);
    pickFromTheAlbum(Picture(test::positionCoded(400, 300)));
    EXPECT_TRUE(editor().hasJob()) << "the start goes on to a new job";
}

TEST_F(ResumeTest, AKeptPictureCutShortIsFoundOnResumingReportedAndSetAside)
{
    launch(DeviceProfile::Tablet);
    pickFromTheAlbum(Picture(test::positionCoded(1200, 900)));
    editor().showResult();
    quitAndStartAgain();
    JobStore::shared().forget();
    for (const QString &name : QDir(AppHome::tempDir()).entryList({"job-*.png"}, QDir::Files)) {
        QFile picture(AppHome::tempDir() + '/' + name);
        ASSERT_TRUE(picture.open(QIODevice::ReadWrite));
        picture.resize(picture.size() / 2); // the header stays: only reading the pixels tells
    }
    launch(DeviceProfile::Tablet);
    ASSERT_FALSE(top().categoryButton(3)->isHidden());

    tapOn(*top().categoryButton(3));

    EXPECT_TRUE(host->hasModal());
    EXPECT_TRUE(editorViews().cutImgView->isHidden()) << "the home screen stays";
    EXPECT_FALSE(shell().cateViewTop->isHidden());
    EXPECT_TRUE(top().categoryButton(3)->isHidden());
    EXPECT_FALSE(QFile::exists(AppHome::tempDir() + "/job.json"));
}
