// The application's photo picker: where it shows per device, what each way out answers, and
// the file dialog behind "Other location...".
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "support/fake_picker.h"
#include "picker/library_photo_picker.h"
#include "picker/thumbnail_cache.h"
#include "picker/qv_image_picker_controller.h"
#include "picker/qv_ipc_albums_controller.h"
#include "picker/qv_ipc_assets_controller.h"
#include "picker_support.h"
#include "platform/device.h"
#include "support/temp_home.h"

using namespace vimora;
using namespace vimora::picker;

namespace {

class LibraryPickerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_library = m_dir.filePath("library");
        test::writePhoto(m_library + "/one.png", Qt::red, QSize(80, 60));
        PhotoLibrary::setFolder(m_library);
        auto fallback = std::make_shared<test::FakePicker::State>();
        m_fallback = fallback;
        m_picker = std::make_unique<LibraryPhotoPicker>(std::make_unique<test::FakePicker>(fallback));
    }
    void TearDown() override
    {
        m_picker.reset();
        // A thumbnail still being made answers through the host's clock: done before it goes.
        ThumbnailCache::shared().cancelPending();
        ThumbnailCache::shared().waitForDone();
        Device::setProfile(DeviceProfile::Tablet);
    }

    void start(DeviceProfile profile)
    {
        Device::setProfile(profile);
        const QSizeF screen = Device::portraitScreenSize();
        m_host = std::make_unique<ui::HeadlessHost>(screen);
        m_host->setRootView(std::make_shared<ui::View>(QRectF(QPointF(), screen)));
        m_picker->present(PhotoPicker::Source::Album, [this](std::optional<PhotoPicker::Result> result) {
            ++m_answers;
            m_result = std::move(result);
        });
        ASSERT_TRUE(m_picker->controller());
        auto &albums = m_picker->controller()->albumsController();
        ASSERT_TRUE(test::waitUntil(*m_host, [&] { return !albums.isLoading() && !albums.assetGroups().empty(); }));
    }

    QTemporaryDir m_dir;
    QString m_library;
    test::TempHome m_home;
    std::unique_ptr<ui::HeadlessHost> m_host;
    std::shared_ptr<test::FakePicker::State> m_fallback;
    std::unique_ptr<LibraryPhotoPicker> m_picker;
    int m_answers = 0;
    std::optional<PhotoPicker::Result> m_result;
};

} // namespace

TEST_F(LibraryPickerTest, TabletPopoverFromTheAnchorPickingOnePhoto)
{
    m_picker->setPopoverAnchor(QRectF(75, 920, 400, 400), ui::PopoverArrowDirectionDown);
    start(DeviceProfile::Tablet);
    EXPECT_TRUE(m_picker->isInPopover());
    auto controller = m_picker->controller();
    EXPECT_EQ(controller->maximumNumberOfPhotos(), 1u);
    EXPECT_EQ(controller->frame().size(), LibraryPhotoPicker::kPopoverContentSize);
    ASSERT_EQ(controller->albumsController().assetGroups()[0].album.type, AlbumType::SavedPhotos);

    auto grid = controller->albumsController().openAlbum(0);
    grid->view();
    ASSERT_TRUE(test::waitUntil(*m_host, [&] { return grid->isLoaded(); }));
    EXPECT_EQ(grid->layout().itemsPerRow, 4) << "laid out for the popover, not the screen";
    grid->elements()[0]->toggle();
    grid->doneButton().trigger();
    ASSERT_TRUE(test::waitUntil(*m_host, [&] { return m_answers > 0; }));
    EXPECT_EQ(m_answers, 1);
    ASSERT_TRUE(m_result);
    EXPECT_EQ(m_result->photo.size(), QSizeF(80, 60));
    EXPECT_FALSE(m_picker->controller());
}

TEST_F(LibraryPickerTest, PhoneFullScreenCancelAnswersNothing)
{
    start(DeviceProfile::Phone480);
    auto controller = m_picker->controller();
    EXPECT_FALSE(m_picker->isInPopover());
    EXPECT_EQ(controller->frame(), QRectF(0, 0, 320, 480));
    controller->albumsController().navigationItem().leftBarButtonItem()->trigger();
    EXPECT_EQ(m_answers, 1);
    EXPECT_FALSE(m_result);
    EXPECT_EQ(controller->superview(), nullptr);
}

TEST_F(LibraryPickerTest, OtherLocationHandsOverToTheFileDialog)
{
    start(DeviceProfile::Phone480);
    const auto &items = m_picker->controller()->albumsController().toolbarItems();
    ASSERT_FALSE(items.empty());
    EXPECT_EQ(items.back()->title(), "Other location...");
    items.back()->trigger();
    EXPECT_FALSE(m_picker->controller());
    EXPECT_EQ(m_fallback->presented, 1);
    EXPECT_EQ(m_answers, 0);
    m_fallback->cancel();
    EXPECT_EQ(m_answers, 1);
}

TEST_F(LibraryPickerTest, AnUnreadablePickIsReportedNotDropped)
{
    start(DeviceProfile::Phone480);
    auto grid = m_picker->controller()->albumsController().openAlbum(0);
    grid->view();
    ASSERT_TRUE(test::waitUntil(*m_host, [&] { return grid->isLoaded(); }));
    grid->elements()[0]->toggle();
    // The photo goes bad between listing and reading.
    QFile::resize(m_library + "/one.png", 10);
    grid->doneButton().trigger();
    ASSERT_TRUE(test::waitUntil(*m_host, [&] { return m_answers > 0; }));
    ASSERT_TRUE(m_result);
    EXPECT_TRUE(m_result->photo.isNull());
    EXPECT_FALSE(m_result->error.isEmpty());
}

TEST_F(LibraryPickerTest, APhotoDeletedBeforeDoneIsReportedAsGone)
{
    start(DeviceProfile::Phone480);
    auto grid = m_picker->controller()->albumsController().openAlbum(0);
    grid->view();
    ASSERT_TRUE(test::waitUntil(*m_host, [&] { return grid->isLoaded(); }));
    grid->elements()[0]->toggle();
    ASSERT_TRUE(QFile::remove(m_library + "/one.png"));
    grid->doneButton().trigger();
    ASSERT_TRUE(test::waitUntil(*m_host, [&] { return m_answers > 0; }));
    ASSERT_TRUE(m_result);
    EXPECT_TRUE(m_result->photo.isNull());
    EXPECT_EQ(m_result->error, "This photo is no longer there.");
}

TEST_F(LibraryPickerTest, TurningATabletLaysAFullScreenGridOutAgain)
{
    Device::setProfile(DeviceProfile::Tablet);
    Device::setOrientation(InterfaceOrientation::Portrait);
    ui::HeadlessHost host(QSizeF(768, 1024));
    host.setRootView(std::make_shared<ui::View>(QRectF(0, 0, 768, 1024)));
    auto picker = std::make_shared<QvImagePickerController>(nullptr);
    picker->setLibrary(m_library, {});
    picker->setFrame(QRectF(0, 0, 768, 1024));
    host.rootView()->addSubview(picker);
    auto &albums = picker->albumsController();
    albums.view();
    ASSERT_TRUE(test::waitUntil(host, [&] { return !albums.isLoading() && !albums.assetGroups().empty(); }));
    auto grid = albums.openAlbum(0);
    grid->view();
    ASSERT_TRUE(test::waitUntil(host, [&] { return grid->isLoaded(); }));
    EXPECT_EQ(grid->layout().itemsPerRow, 8);

    Device::setOrientation(InterfaceOrientation::LandscapeLeft);
    picker->setFrame(QRectF(0, 0, 1024, 768));
    picker->orientationChanged();
    EXPECT_EQ(grid->layout().itemsPerRow, 12);
    EXPECT_DOUBLE_EQ(grid->tableView()->rowHeight(), (1024 - 900) / 13.0 + 75);
    Device::setOrientation(InterfaceOrientation::Portrait);
    picker->removeFromSuperview();
}

TEST_F(LibraryPickerTest, TurningATabletMovesItsPopoverToTheNewOrientationsAnchor)
{
    const QRectF portrait(75, 920, 400, 400), landscape(110, 650, 400, 400);
    Device::setOrientation(InterfaceOrientation::Portrait);
    m_picker->setPopoverAnchor([=] { return Device::isLandscape() ? landscape : portrait; }, ui::PopoverArrowDirectionDown);
    start(DeviceProfile::Tablet);
    ASSERT_TRUE(m_picker->isInPopover());
    m_host->rootView()->setAutoresizingMask(ui::FlexibleWidth | ui::FlexibleHeight);
    // The popover's panel: the picker's ancestor on the layer over the window.
    auto panelFrame = [&] {
        const ui::View *panel = m_picker->controller()->superview();
        while (panel && panel->superview() && panel->superview()->superview() != &m_host->window())
            panel = panel->superview();
        return panel ? panel->frame() : QRectF();
    };
    const QSizeF content = LibraryPhotoPicker::kPopoverContentSize;
    EXPECT_EQ(panelFrame(), ui::placePopover(QSizeF(768, 1024), portrait, content, ui::PopoverArrowDirectionDown).frame);

    Device::setOrientation(InterfaceOrientation::LandscapeLeft);
    m_host->setScreenSize(QSizeF(1024, 768));
    m_picker->orientationChanged();
    EXPECT_TRUE(m_picker->isInPopover());
    EXPECT_EQ(panelFrame(), ui::placePopover(QSizeF(1024, 768), landscape, content, ui::PopoverArrowDirectionDown).frame);

    Device::setOrientation(InterfaceOrientation::Portrait);
    m_host->setScreenSize(QSizeF(768, 1024));
    m_picker->orientationChanged();
    EXPECT_EQ(panelFrame(), ui::placePopover(QSizeF(768, 1024), portrait, content, ui::PopoverArrowDirectionDown).frame);

    // Turning after the popover went away brings nothing back.
    m_picker->controller()->albumsController().navigationItem().leftBarButtonItem()->trigger();
    EXPECT_EQ(m_answers, 1);
    m_picker->orientationChanged();
    EXPECT_FALSE(m_picker->isInPopover());
}
