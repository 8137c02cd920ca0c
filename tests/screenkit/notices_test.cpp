// The album save tells the user after the write, in one wording for every screen; the busy
// spinner changes on the UI thread in the order asked and leaves a gone spinner alone.

#include <QCoreApplication>
#include <QKeyEvent>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include "screenkit/album_save.h"
#include "screenkit/notices.h"
#include "support/pixel_compare.h"
#include "ui/headless_host.h"

using namespace vimora;

namespace {

struct Told
{
    QString title, message;
    bool finishedFirst = false;
};

// Saves a small picture into album inside library and waits for the user to be told.
Told saveAndWait(const QString &library, const QString &album)
{
    ui::HeadlessHost host(QSizeF(100, 100));
    AlbumWriter writer(library);
    Told told;
    bool finished = false, answered = false;
    saveToAlbumAndTell(
        writer, Picture(test::filledRaster(4, 3, 0xff204080)), album,
        [&](const QString &title, const QString &message) {
            told = {title, message, finished};
            answered = true;
        },
        [&] { finished = true; });
    writer.waitForWrites();
    for (int i = 0; i < 20 && !answered; ++i) {
        QCoreApplication::processEvents();
        host.runPending();
    }
    return told;
}

} // namespace

TEST(AlbumSaveTest, ASavedPictureIsToldWithItsAlbumAfterTheWrite)
{
    QTemporaryDir library;

    const Told told = saveAndWait(library.path(), kCompositorAlbum);

    EXPECT_EQ(told.title, "Save");
    EXPECT_EQ(told.message, "Saved in Nerelda");
    EXPECT_TRUE(told.finishedFirst);
    EXPECT_EQ(QDir(library.path() + "/Nerelda").entryList(QDir::Files | QDir::System).size(), 1);
}

TEST(AlbumSaveTest, AFailedWriteIsToldAsNotSavedWithTheReason)
{
    QTemporaryDir library;
    QFile blocker(library.path() + "/Quorlan"); // a file where the album folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const Told told = saveAndWait(library.path(), kEditorAlbum);

    EXPECT_EQ(told.title, "Not saved");
    EXPECT_TRUE(told.message.contains("Quorlan")) << told.message.toStdString();
    EXPECT_TRUE(told.finishedFirst);
}

TEST(BusySpinnerTest, ChangesWaitForTheUiThreadAndComeInOrder)
{
    ui::HeadlessHost host(QSizeF(200, 200));
    auto root = std::make_shared<ui::View>();
    host.setRootView(root);
    auto spinner = std::make_shared<ui::ActivityIndicator>();
    auto cover = std::make_shared<ui::View>(QRectF(0, 0, 50, 50));
    root->addSubview(spinner);
    root->addSubview(cover);

    showBusy(spinner, true, SpinnerOrder::ToFront);
    EXPECT_FALSE(spinner->isAnimating());
    host.runPending();
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_EQ(root->subviews().back(), spinner);

    showBusy(spinner, false);
    showBusy(spinner, true); // kept in place this time
    root->bringSubviewToFront(cover.get());
    host.runPending();
    EXPECT_TRUE(spinner->isAnimating());
    EXPECT_EQ(root->subviews().back(), cover);
}

TEST(BusySpinnerTest, ASpinnerGoneBeforeTheChangeArrivesIsLeftAlone)
{
    ui::HeadlessHost host(QSizeF(200, 200));
    auto spinner = std::make_shared<ui::ActivityIndicator>();
    std::weak_ptr<ui::ActivityIndicator> watch = spinner;

    showBusy(spinner, true, SpinnerOrder::ToFront);
    spinner.reset();
    host.runPending();

    EXPECT_TRUE(watch.expired());
}

TEST(BusyNoticeTest, ShowsOnlyOnceTheWorkOutlastsAGlanceAndGoesWhenItEnds)
{
    ui::HeadlessHost host(QSizeF(320, 480));
    host.setRootView(std::make_shared<ui::View>());
    BusyNotice notice(QStringLiteral("Opening photo…"));

    // Quick work: nothing flashes.
    notice.start();
    host.advance(BusyNotice::kDelay / 2);
    notice.stop();
    host.advance(1);
    EXPECT_FALSE(host.hasModal());

    // Slow work: the notice, which Escape cannot take away, until the work ends.
    notice.start();
    host.advance(BusyNotice::kDelay / 2);
    EXPECT_FALSE(notice.isShown());
    host.advance(BusyNotice::kDelay);
    ASSERT_TRUE(notice.isShown());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    host.pressKey(&escape);
    EXPECT_TRUE(notice.isShown());
    notice.stop();
    host.advance(1);
    EXPECT_FALSE(host.hasModal());
}
