// The compositor's working view and loading a saved picture as its background.
#include <gtest/gtest.h>

#include <QPainter>

#include "compositor/back_photo.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/log.h"
#include "store/working_files.h"
#include "support/temp_home.h"
#include "ui/headless_host.h"

using namespace vimora;

namespace {

// A photo whose quadrants differ, so a turned or mirrored copy shows.
Picture quadrantPhoto(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(QRectF(0, 0, w / 2.0, h / 2.0), Qt::red);
    p.fillRect(QRectF(w / 2.0, h / 2.0, w / 2.0, h / 2.0), Qt::blue);
    p.end();
    return Picture(image);
}

class SavedPictureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        setLogSink([this](const QString &line) { log << line; });
        useDevice(DeviceProfile::Phone480);
    }
    void TearDown() override
    {
        setLogSink(nullptr);
        Device::setProfile(DeviceProfile::Tablet);
        Device::setOrientation(InterfaceOrientation::Portrait);
    }

    void useDevice(DeviceProfile profile)
    {
        back.reset();
        Device::setProfile(profile);
        Device::setOrientation(InterfaceOrientation::Portrait);
        host = std::make_unique<ui::HeadlessHost>(Device::screenSize());
        const double side = Device::windowSide(profile);
        views = ScreenViews::create(QSizeF(side, side));
        host->setRootView(views->rootView);
        back = std::make_unique<BackPhoto>(views);
        back->awakeFromNib();
    }

    test::TempHome home;
    QStringList log;
    std::unique_ptr<ui::HeadlessHost> host;
    std::shared_ptr<ScreenViews> views;
    std::unique_ptr<BackPhoto> back;
};

} // namespace

TEST_F(SavedPictureTest, WorkingViewCoversTheScreenAtTheRatio)
{
    useDevice(DeviceProfile::Tablet);
    back->openBackView(QStringLiteral("w"), 0.5f);
    EXPECT_EQ(back->view()->frame(), QRectF(0, 0, 1536, 768));
    EXPECT_EQ(back->printRect(), QRectF(0, 0, 1536, 768));
    EXPECT_EQ(views->backImgView->frame(), QRectF(0, 0, 1536, 768));
    EXPECT_FALSE(views->backImgView->isHidden());
    back->openBackView(QStringLiteral("h"), 2.0f);
    EXPECT_EQ(back->printRect(), QRectF(0, 0, 768, 1536));

    useDevice(DeviceProfile::Phone568);
    back->openBackView(QStringLiteral("w"), 1.0f);
    EXPECT_EQ(back->phoneRect(), QRectF(0, 0, 568, 568));
    EXPECT_TRUE(back->printRect().isEmpty());
}

TEST_F(SavedPictureTest, ASavedPictureBecomesTheWholeBackgroundAndTheCompositorsOwnOriginal)
{
    const QString name = QStringLiteral("D2000.jpg");
    ASSERT_TRUE(writeFileAtomically(AppHome::drawImgsDir() + '/' + name, encodeJpeg(quadrantPhoto(2000, 1500), 1.0)));

    back->showSelectPhoto(name);

    // Fitted under the toolbar, across the whole screen's width.
    const double top = SelectionLayer::toolbarHeight(isDeviceiPad());
    const QSizeF screen = Device::screenSize();
    const double height = screen.width() * 0.75;
    EXPECT_EQ(views->backImgView->frame(), QRectF(0, top + (screen.height() - top - height) / 2, screen.width(), height));
    EXPECT_EQ(views->backImgView->image().size(), QSizeF(1024, 768));
    EXPECT_FALSE(views->backImgView->isHidden());
    EXPECT_TRUE(views->cateViewTop->isHidden());
    EXPECT_TRUE(views->mainView->image().isNull());
    EXPECT_EQ(back->effects().pictures().get(CompositorPictures::Kind::Original).size(), QSizeF(2000, 1500));
    EXPECT_TRUE(WorkingFiles::shared().simple2Load().isNull());
    EXPECT_TRUE(log.contains("openOptionView:" + name));
    WorkingFiles::shared().flush();
}

TEST_F(SavedPictureTest, AMissingSavedPictureLeavesTheScreenAsItWas)
{
    views->cateViewTop->setHidden(false);

    back->showSelectPhoto(QStringLiteral("D9999.jpg"));

    EXPECT_FALSE(views->cateViewTop->isHidden());
    EXPECT_TRUE(views->backImgView->isHidden());
    EXPECT_FALSE(log.join('\n').contains("openOptionView"));
}
