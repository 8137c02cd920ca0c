// Photos opened the desktop way: files dropped on the window (a drop event made here, handed
// to the headless host as the window would) and Ctrl+O, through the same intake as Album.
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QUrl>

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "store/working_files.h"
#include "support/screen_driver.h"

using namespace vimora;

namespace {

class OpenPhotosTest : public test::AppTest
{
protected:
    QString writePhoto(const QString &name, int w, int h)
    {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(QColor(40, 120, 200));
        const QString path = QDir(home.path()).filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }
    // Drops urls at the window's centre; returns whether the host accepted the drop.
    bool dropUrls(const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        QDropEvent event(QPointF(host->screenSize().width() / 2, host->screenSize().height() / 2), Qt::CopyAction, &data,
                         Qt::LeftButton, Qt::NoModifier);
        event.setAccepted(false);
        const bool acceptable = host->acceptsDrop(data);
        host->drop(event);
        EXPECT_EQ(acceptable, event.isAccepted());
        settle();
        return event.isAccepted();
    }
    void settle()
    {
        root().intake().waitForIntake();
        host->runPending();
        root().intake().waitForIntake();
        host->advance(1);
        WorkingFiles::shared().flush();
    }
    bool editorShown() { return !editorViews().cutImgView->isHidden() && top().helpBtn()->isHidden(); }
};

TEST_F(OpenPhotosTest, ADroppedPhotoOpensInTheEditorAndOnlyTheFirstOfSeveral)
{
    for (DeviceProfile profile : {DeviceProfile::Tablet, DeviceProfile::Phone480}) {
        launch(profile);
        const QString first = writePhoto("wide.png", 900, 300);
        const QString second = writePhoto("tall.png", 300, 900);

        EXPECT_TRUE(dropUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)}));

        EXPECT_TRUE(editorShown());
        EXPECT_EQ(root().intake().pickedPath(), first);
        const QSizeF working = WorkingFiles::shared().originLoad().size();
        EXPECT_DOUBLE_EQ(working.width() / working.height(), 3.0) << "not the first photo";
        EXPECT_EQ(test::shownAlert(*host), nullptr);
        EXPECT_EQ(picker->presented, 0) << "a drop needs no picker";
    }
}

TEST_F(OpenPhotosTest, AFileThatIsNoPictureGetsTheAlertAndTheHomeScreenBack)
{
    launch(DeviceProfile::Tablet);
    const QString text = QDir(home.path()).filePath("notes.jpg");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("shopping list, not a photo");
    file.close();

    EXPECT_TRUE(dropUrls({QUrl::fromLocalFile(text)}));

    ui::AlertView *alert = test::shownAlert(*host);
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "Photo not opened");
    EXPECT_TRUE(test::answerAlert(*host, "OK"));
    EXPECT_FALSE(top().helpBtn()->isHidden()) << "the home screen's controls stay away";
    EXPECT_FALSE(root().draw().hasJob());
}

TEST_F(OpenPhotosTest, WebLinksAreRefusedAndADropOverAJobDoesNotReplaceIt)
{
    launch(DeviceProfile::Tablet);
    EXPECT_FALSE(dropUrls({QUrl("https://example.org/photo.jpg")}));
    EXPECT_FALSE(top().helpBtn()->isHidden());

    const QString first = writePhoto("first.png", 800, 600);
    ASSERT_TRUE(dropUrls({QUrl::fromLocalFile(first)}));
    ASSERT_TRUE(editorShown());
    // In the editor the job is the user's work: a stray drop is taken by nothing.
    const QString other = writePhoto("other.png", 300, 900);
    dropUrls({QUrl::fromLocalFile(other)});
    EXPECT_EQ(root().intake().pickedPath(), first);
    EXPECT_TRUE(editorShown());
}

TEST_F(OpenPhotosTest, CtrlOOpensThePickerFromTheHomeScreenOnly)
{
    launch(DeviceProfile::Tablet);
    QKeyEvent ctrlO(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, QStringLiteral("o"));
    EXPECT_TRUE(host->pressKey(&ctrlO));
    host->runPending();
    EXPECT_EQ(picker->presented, 1);
    picker->pick(Picture(QImage(640, 480, QImage::Format_RGB32)));
    host->advance(1);
    ASSERT_TRUE(editorShown());

    QKeyEvent again(QEvent::KeyPress, Qt::Key_O, Qt::ControlModifier, QStringLiteral("o"));
    host->pressKey(&again);
    host->runPending();
    EXPECT_EQ(picker->presented, 1) << "Ctrl+O in the editor opened the picker over the job";
    WorkingFiles::shared().flush();
}

} // namespace
