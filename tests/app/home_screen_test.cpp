// The home screen: the category bar per device and orientation, the "back" rule, the camera
// button, the dispatcher, the show/hide toggle and the option panel.
#include <QCoreApplication>
#include <QFile>

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "imaging/codec.h"
#include "picker/thumbnail_cache.h"
#include "platform/app_home.h"
#include "platform/settings.h"
#include "store/working_files.h"
#include "support/pixel_compare.h"
#include "ui/control_reach.h"

using namespace vimora;

namespace {

class HomeTest : public test::AppTest
{
protected:
    std::vector<double> buttonXs()
    {
        std::vector<double> xs;
        for (int tag = 0; tag < Top::kBarButtonCount; ++tag) {
            const auto button = top().categoryButton(tag);
            EXPECT_NE(button, nullptr);
            if (!button)
                return xs;
            EXPECT_EQ(button->frame().size(), QSizeF(60, 60));
            EXPECT_EQ(button->frame().y(), 2);
            xs.push_back(button->frame().x());
        }
        return xs;
    }
    testing::AssertionResult samePicture(const Picture &shown, const QString &name)
    {
        return test::picturesEqual(shown, Resources::imageNamed(name));
    }
    QString setting(const QString &key) { return Settings::shared().stringForKey(key); }
};

using Xs = std::vector<double>;

} // namespace

TEST_F(HomeTest, TabletBarFollowsTheRotation)
{
    launch(DeviceProfile::Tablet);
    EXPECT_EQ(shell().cateViewTop->frame(), QRectF(0, 939, 1024, 65));
    EXPECT_EQ(buttonXs(), (Xs{7, 237, 467, 697}));

    turn(true);
    EXPECT_EQ(shell().cateViewTop->frame(), QRectF(0, 683, 1024, 65));
    EXPECT_EQ(buttonXs(), (Xs{7, 277, 547, 817}));
    EXPECT_FALSE(shell().cateViewTop->isHidden());

    turn(false);
    EXPECT_EQ(shell().cateViewTop->frame(), QRectF(0, 939, 1024, 65));
    EXPECT_EQ(buttonXs(), (Xs{7, 237, 467, 697}));

    // Three orientations offered (no upside down), yet every one is answered yes.
    EXPECT_EQ(root().supportedInterfaceOrientations(), 26);
    EXPECT_TRUE(root().shouldAutorotateToInterfaceOrientation(InterfaceOrientation::PortraitUpsideDown));
}

TEST_F(HomeTest, PhonesKeepTheirBarAndNeverTurn)
{
    launch(DeviceProfile::Phone568);
    EXPECT_EQ(shell().cateViewTop->frame(), QRectF(0, 483, 568, 65));
    EXPECT_EQ(buttonXs(), (Xs{7, 77, 147, 217}));
    EXPECT_EQ(root().supportedInterfaceOrientations(), 2);
    EXPECT_FALSE(root().shouldAutorotateToInterfaceOrientation(InterfaceOrientation::LandscapeLeft));

    launch(DeviceProfile::Phone480);
    EXPECT_EQ(shell().cateViewTop->frame(), QRectF(0, 415, 568, 65));
    turn(true);
    EXPECT_EQ(shell().cateViewTop->frame(), QRectF(0, 415, 568, 65));
    EXPECT_EQ(buttonXs(), (Xs{7, 77, 147, 217}));
    EXPECT_FALSE(Device::isLandscape());
    top().cateViewH();
    EXPECT_EQ(shell().cateViewTop->frame(), QRectF(0, 395, 568, 65));
}

TEST_F(HomeTest, LaunchLaysTheSquareMainViewUnderEverything)
{
    for (const auto profile : {DeviceProfile::Tablet, DeviceProfile::Phone568, DeviceProfile::Phone480}) {
        launch(profile);
        const double side = Device::windowSide(profile);
        const auto main = delegate->mainView();
        EXPECT_EQ(main->frame(), QRectF(0, 0, side, side));
        EXPECT_EQ(main->contentMode(), ui::ContentMode::ScaleAspectFill);
        EXPECT_EQ(main->backgroundColor(), QColor(Qt::black));
        EXPECT_EQ(host->rootView(), root().view());
        EXPECT_EQ(main->superview(), root().view().get());
        EXPECT_TRUE(log.contains("statusBarOrientation: portrait"));
        EXPECT_TRUE(samePicture(main->image(), isDeviceiPad() ? "mainB1.png" : "mainB1iphone.png"));
    }
}

TEST_F(HomeTest, ZoADStatusFreesAStripAtTheTop)
{
    launch(DeviceProfile::Phone568);
    delegate->zoADStatus(true);
    EXPECT_EQ(root().view()->frame(), QRectF(0, 48, 320, 432));
    delegate->zoADStatus(false);
    EXPECT_EQ(root().view()->frame(), QRectF(0, 0, 320, 480));
}

TEST_F(HomeTest, BackAppearsOnlyAfterTheEditorStartedAJob)
{
    launch(DeviceProfile::Tablet);
    EXPECT_EQ(setting("ButtonBack"), "HIDE");
    EXPECT_TRUE(top().categoryButton(3)->isHidden());
    EXPECT_TRUE(log.contains("typeStr:HIDE"));
    for (int tag = 0; tag < 3; ++tag)
        EXPECT_FALSE(top().categoryButton(tag)->isHidden());

    Settings::shared().setString("ButtonBack", "SHOW");
    shell().mainView->setImage({});
    top().cateViewTopOpen();
    EXPECT_FALSE(top().categoryButton(3)->isHidden());
    EXPECT_TRUE(shell().mainView->image().isNull()) << "the home picture is left as it is";

    // A restart forgets the job.
    launch(DeviceProfile::Tablet);
    EXPECT_EQ(setting("ButtonBack"), "HIDE");
    EXPECT_TRUE(top().categoryButton(3)->isHidden());
}

TEST_F(HomeTest, WithoutACameraTheCameraButtonIsDisabled)
{
    launch(DeviceProfile::Phone480, false);
    const auto camera = top().categoryButton(0);
    EXPECT_FALSE(camera->isEnabled());
    EXPECT_FALSE(camera->isHidden());
    EXPECT_TRUE(samePicture(camera->image().picture(), "afterCutsy.png"));
    tapOn(*camera);
    EXPECT_EQ(picker->presented, 0);
    EXPECT_FALSE(shell().cateViewTop->isHidden());

    launch(DeviceProfile::Phone480, true);
    EXPECT_TRUE(top().categoryButton(0)->isEnabled());
    EXPECT_TRUE(samePicture(top().categoryButton(0)->image().picture(), "afterCuts.png"));
    tapOn(*top().categoryButton(0));
    EXPECT_EQ(picker->source, PhotoPicker::Source::Camera);
    EXPECT_EQ(root().intake().fun(), "camera");
}

TEST_F(HomeTest, AlbumButtonHandsTheChoiceToTheIntakeAndCancelComesHome)
{
    launch(DeviceProfile::Phone480);
    tapOn(*top().categoryButton(1));

    EXPECT_EQ(picker->presented, 1);
    EXPECT_EQ(picker->source, PhotoPicker::Source::Album);
    EXPECT_TRUE(shell().cateViewTop->isHidden());
    EXPECT_TRUE(top().showHideBtn()->isHidden());
    EXPECT_EQ(setting("type"), "t2");

    picker->cancel();
    EXPECT_FALSE(shell().cateViewTop->isHidden());
    EXPECT_FALSE(top().showHideBtn()->isHidden());
    EXPECT_EQ(top().showHideBtn()->currentTitle(), "hide");
    EXPECT_TRUE(QDir(AppHome::tempDir()).entryList(QDir::Files).isEmpty());
}

TEST_F(HomeTest, ToggleHidesAndShowsTheBar)
{
    launch(DeviceProfile::Tablet);
    const auto toggle = top().showHideBtn();
    ASSERT_FALSE(toggle->isHidden());
    EXPECT_EQ(toggle->currentTitle(), "hide");

    tapOn(*toggle);
    EXPECT_TRUE(shell().cateViewTop->isHidden());
    EXPECT_EQ(toggle->currentTitle(), "show");
    EXPECT_FALSE(toggle->isSelected());
    EXPECT_TRUE(log.contains("showHideBtn"));
    EXPECT_TRUE(log.contains("hide"));

    tapOn(*toggle);
    EXPECT_FALSE(shell().cateViewTop->isHidden());
    EXPECT_EQ(toggle->currentTitle(), "hide");
    EXPECT_TRUE(toggle->isSelected());
}

TEST_F(HomeTest, TurningLaysAHiddenBarOutWithoutShowingIt)
{
    launch(DeviceProfile::Tablet);
    tapOn(*top().showHideBtn());

    turn(true);

    EXPECT_TRUE(shell().cateViewTop->isHidden());
    EXPECT_EQ(shell().cateViewTop->frame(), QRectF(0, 683, 1024, 65));
    EXPECT_EQ(buttonXs(), (Xs{7, 277, 547, 817}));
}

TEST_F(HomeTest, BackReturnsToTheEditingJob)
{
    launch(DeviceProfile::Tablet);
    auto layer = std::make_shared<ui::View>(QRectF(0, 0, 100, 100));
    auto photo = std::make_shared<ui::View>(QRectF(0, 0, 10, 10));
    photo->setTag(555);
    photo->setHidden(true);
    layer->setHidden(true);
    layer->addSubview(photo);
    editorViews().cutImgView->addSubview(layer);
    // The home screen's option panel was open: its picture stays the home screen's.
    tapOn(*top().typesBtn());
    ASSERT_FALSE(homeViews().selectTopView->isHidden());
    Settings::shared().setString("ButtonBack", "SHOW");
    top().cateViewTopOpen();

    tapOn(*top().categoryButton(3));

    EXPECT_FALSE(editorViews().cutImgView->isHidden());
    EXPECT_FALSE(layer->isHidden());
    EXPECT_FALSE(photo->isHidden());
    EXPECT_TRUE(shell().cateViewTop->isHidden());
    EXPECT_TRUE(homeViews().selectTopView->isHidden());
    // No cut yet, so no editor toolbar.
    EXPECT_TRUE(editorViews().selectTopView->isHidden());
    EXPECT_TRUE(editorViews().backImgView->image().isNull());
    EXPECT_TRUE(shell().mainView->image().isNull());
    const auto &main = *shell().mainView;
    EXPECT_EQ(main.indexOfSubview(editorViews().selectTopView.get()), main.subviewCount() - 1);
    EXPECT_EQ(main.indexOfSubview(editorViews().cutImgView.get()), main.subviewCount() - 2);
}

TEST_F(HomeTest, StylesPanelOffersTheTwoTypesAndStartsTheAlbum)
{
    launch(DeviceProfile::Tablet);
    tapOn(*top().typesBtn());

    const auto &panel = *homeViews().selectTopView;
    EXPECT_FALSE(panel.isHidden());
    EXPECT_EQ(panel.frame(), QRectF(0, 600, 1024, 80));
    EXPECT_TRUE(samePicture(homeViews().selectTopView->image(), "selectBackIpad.png"));
    EXPECT_EQ(setting("Reload"), "NO");
    std::vector<QRectF> frames;
    for (const auto &v : top().selectBackScroll2()->subviews())
        if (auto *b = dynamic_cast<ui::Button *>(v.get()))
            frames.push_back(b->frame());
    EXPECT_EQ(frames, (std::vector<QRectF>{{0, 2, 100, 75}, {160, 2, 100, 75}}));

    tapOn(*top().typeBtn());
    EXPECT_EQ(setting("type"), "TYPE2");
    EXPECT_TRUE(panel.isHidden());
    EXPECT_EQ(picker->source, PhotoPicker::Source::Album);

    // A phone's second type sits 110 to the right, still on the first row.
    launch(DeviceProfile::Phone480);
    tapOn(*top().typesBtn());
    EXPECT_EQ(homeViews().selectTopView->frame(), QRectF(0, 230, 480, 80));
    EXPECT_EQ(top().typeBtn()->frame(), QRectF(110, 2, 100, 75));
    EXPECT_FALSE(log.contains("換行"));
}

TEST_F(HomeTest, HelpShowsThePictureAndClosingRebuildsTheBar)
{
    launch(DeviceProfile::Tablet);
    tapOn(*top().helpBtn());
    EXPECT_FALSE(homeViews().descripImg->isHidden());
    EXPECT_TRUE(samePicture(homeViews().descripImg->image(), "descrip.png"));

    top().showHideToolbar(*top().showHideBtn());
    ASSERT_TRUE(shell().cateViewTop->isHidden());
    tapOn(*top().closeOptionBtn());

    EXPECT_TRUE(log.contains("hide selectView"));
    EXPECT_TRUE(homeViews().selectTopView->isHidden());
    EXPECT_TRUE(homeViews().descripImg->isHidden());
    EXPECT_FALSE(shell().cateViewTop->isHidden());
    EXPECT_EQ(top().showHideBtn()->currentTitle(), "hide");
}

TEST_F(HomeTest, PhotoModeListsSavedPicturesAndOpensOneAsTheBackground)
{
    launch(DeviceProfile::Phone480);

    top().optionViewOpen(Top::OptionPanelMode::SavedPictures);
    EXPECT_FALSE(homeViews().selectTopView->isHidden());
    EXPECT_EQ(top().selectBackScroll2()->subviewCount(), 0);
    EXPECT_EQ(setting("Reload"), "YES");

    QImage saved(300, 200, QImage::Format_ARGB32_Premultiplied);
    saved.fill(Qt::green);
    ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + "/D1234.jpg", encodeJpeg(Picture(saved), 1.0)));
    top().temMuAry() = QStringList{"D1234.jpg"};
    top().optionViewOpen(Top::OptionPanelMode::SavedPictures);
    ASSERT_EQ(top().selectBackScroll2()->subviewCount(), 1);
    EXPECT_TRUE(log.contains("celImg:D1234.jpg"));

    tapOn(*top().styleBtn());
    EXPECT_FALSE(compositorViews().backImgView->isHidden());
    // Shown whole: the 3:2 picture fitted across the phone's width, inside the screen.
    const QRectF shown = compositorViews().backImgView->frame();
    EXPECT_DOUBLE_EQ(shown.width(), 320);
    EXPECT_NEAR(shown.width() / shown.height(), 1.5, 1e-6);
    EXPECT_TRUE(QRectF(0, 0, 320, 480).contains(shown));
    EXPECT_TRUE(homeViews().selectTopView->isHidden()) << "the home panel goes with the home screen";
}

TEST_F(HomeTest, SavedThumbnailsComeFromTheCacheLaterUnsquashed)
{
    launch(DeviceProfile::Phone480);
    // Red, green and blue thirds across: a squeezed thumbnail shows red at its left edge,
    // one cut square from the middle only green.
    QImage wide(300, 100, QImage::Format_RGB32);
    wide.fill(Qt::green);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            wide.setPixel(x, y, qRgb(255, 0, 0));
            wide.setPixel(x + 200, y, qRgb(0, 0, 255));
        }
    ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + "/D2001.png", encodePng(Picture(wide))));
    auto &cache = picker::ThumbnailCache::shared();
    cache.clearMemory();

    top().optionViewOpen(Top::OptionPanelMode::SavedPictures);
    ASSERT_TRUE(top().styleBtn());
    const auto button = top().styleBtn();
    auto shown = [&] { return button->image().picture().bitmap(); };
    EXPECT_NE(shown().pixelColor(2, shown().height() / 2), QColor(Qt::green)) << "decoded on the UI thread";

    for (int i = 0; i < 3000 && shown().pixelColor(2, shown().height() / 2) != QColor(Qt::green); ++i) {
        cache.waitForDone();
        QCoreApplication::processEvents();
        host->runPending();
    }
    const QImage thumbnail = shown();
    EXPECT_EQ(thumbnail.width(), thumbnail.height());
    EXPECT_EQ(thumbnail.pixelColor(2, thumbnail.height() / 2), QColor(Qt::green));
    EXPECT_EQ(thumbnail.pixelColor(thumbnail.width() - 3, thumbnail.height() / 2), QColor(Qt::green));
    EXPECT_EQ(button->image().size(), QSizeF(60, 60));
}

TEST_F(HomeTest, EverySavedPictureScrollsIntoReachClearOfTheCloseControl)
{
    for (const auto profile : {DeviceProfile::Phone480, DeviceProfile::Tablet}) {
        launch(profile);
        QImage small(40, 30, QImage::Format_RGB32);
        small.fill(Qt::darkYellow);
        for (int i = 0; i < 14; ++i)
            ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + QStringLiteral("/D30%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                                            encodeJpeg(Picture(small), 0.9)));
        top().optionViewOpen(Top::OptionPanelMode::SavedPictures);
        auto list = top().selectBackScroll2();
        ASSERT_EQ(list->subviewCount(), 14);
        const QRectF onScreen = list->convertRectTo(list->bounds(), nullptr);
        EXPECT_LE(onScreen.right(), host->screenSize().width());
        EXPECT_FALSE(onScreen.intersects(top().closeOptionBtn()->convertRectTo(top().closeOptionBtn()->bounds(), nullptr)));
        for (const ui::ViewPtr &thumbnail : list->subviews()) {
            // Scrolled to show it, a tap at its centre reaches it.
            const double x = std::clamp(thumbnail->frame().left() - 10, 0.0, list->maximumContentOffset().x());
            list->setContentOffset(QPointF(x, 0));
            const QPointF centre = centreOf(*thumbnail);
            EXPECT_TRUE(onScreen.contains(centre)) << thumbnail->frame().left();
            EXPECT_EQ(host->hitTest(centre), thumbnail.get()) << thumbnail->frame().left();
            for (const ui::UnansweredControl &missed : ui::unansweredControls(*host))
                ADD_FAILURE() << ui::describeView(*missed.control).toStdString() << ": " << missed.reason.toStdString();
        }
        for (int i = 0; i < 14; ++i)
            QFile::remove(AppHome::drawImgsDir() + QStringLiteral("/D30%1.jpg").arg(i, 2, 10, QLatin1Char('0')));
    }
}

TEST_F(HomeTest, HomeScreenNamesOnlyPicturesThatExist)
{
    for (const auto profile : {DeviceProfile::Tablet, DeviceProfile::Phone568, DeviceProfile::Phone480}) {
        launch(profile, false);
        top().cateViewTopOpen();
        tapOn(*top().helpBtn());
        tapOn(*top().typesBtn());
        tapOn(*top().closeOptionBtn());
        tapOn(*top().categoryButton(2));
    }
    EXPECT_TRUE(Resources::missingNames().isEmpty()) << Resources::missingNames().join(", ").toStdString();
}
