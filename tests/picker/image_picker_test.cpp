// The picker's screens over a real folder: album order and counts, the grid's rows, the
// maximum, the selection count, Done, the toolbar's buttons and what the picker reports.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "picker/qv_image_picker_controller.h"
#include "picker/qv_ipc_albums_controller.h"
#include "picker/qv_ipc_assets_controller.h"
#include "picker/qv_ipc_grid_cell.h"
#include "picker_support.h"
#include "platform/device.h"
#include "support/temp_home.h"
#include "ui/headless_host.h"
#include "ui/navigation_bar.h"
#include "ui/toolbar.h"

using namespace vimora;
using namespace vimora::picker;

namespace {

class PickerTest : public testing::Test, public QvImagePickerControllerDelegate
{
protected:
    void SetUp() override
    {
        Device::setProfile(DeviceProfile::Phone480);
        Device::setOrientation(InterfaceOrientation::Portrait);
        m_host.setRootView(std::make_shared<ui::View>(QRectF(0, 0, 320, 480)));
        m_library = m_dir.filePath("library");
        for (int i = 0; i < 2; ++i)
            test::writePhoto(QStringLiteral("%1/saved%2.png").arg(m_library).arg(i));
        for (int i = 0; i < 9; ++i)
            test::writePhoto(QStringLiteral("%1/Nine/p%2.png").arg(m_library).arg(i));
        QDir().mkpath(m_library + "/Empty");
    }

    void TearDown() override
    {
        if (m_picker)
            m_picker->removeFromSuperview();
        m_picker.reset();
        Device::setProfile(DeviceProfile::Tablet);
    }

    std::shared_ptr<QvImagePickerController> open(unsigned maximum, std::optional<std::vector<QvIPCToolbarItem>> items = std::nullopt,
                                                  bool savedOnTop = true)
    {
        m_picker = std::make_shared<QvImagePickerController>(
            this, [this](const std::optional<QString> &error) { failures.push_back(error); },
            [this](const std::vector<PhotoAsset> &assets) { blockResults.push_back(assets); }, maximum, true, std::move(items), true);
        m_picker->setShouldShowSavedPhotosOnTop(savedOnTop);
        m_picker->setLibrary(m_library, {});
        m_picker->setFrame(QRectF(0, 0, 320, 480));
        m_host.rootView()->addSubview(m_picker);
        auto &albums = m_picker->albumsController();
        albums.view();
        EXPECT_TRUE(test::waitUntil(m_host, [&] { return !albums.isLoading() && albums.assetGroups().size() == 3; }))
            << albums.isLoading() << " " << albums.assetGroups().size();
        return m_picker;
    }

    std::shared_ptr<QvIPCAssetsController> openAlbum(const QString &name)
    {
        auto &albums = m_picker->albumsController();
        for (std::size_t row = 0; row < albums.assetGroups().size(); ++row) {
            if (albums.assetGroups()[row].album.name == name) {
                auto grid = albums.openAlbum(int(row));
                grid->view();
                EXPECT_TRUE(test::waitUntil(m_host, [&] { return grid->isLoaded(); }));
                m_host.advance(1);
                return grid;
            }
        }
        ADD_FAILURE() << "no album " << name.toStdString();
        return nullptr;
    }

    void qvImagePickerController(QvImagePickerController &, const std::vector<PhotoAsset> &info) override { delegateResults.push_back(info); }
    void qvImagePickerController(QvImagePickerController &, const std::optional<QString> &error) override { delegateFailures.push_back(error); }

    std::vector<std::vector<PhotoAsset>> delegateResults, blockResults;
    std::vector<std::optional<QString>> delegateFailures, failures;
    ui::HeadlessHost m_host{QSizeF(320, 480)};
    test::TempHome m_home;
    QTemporaryDir m_dir;
    QString m_library;
    std::shared_ptr<QvImagePickerController> m_picker;
};

int ticked(const QvIPCAssetsController &grid)
{
    return int(std::count_if(grid.elements().begin(), grid.elements().end(), [](const auto &item) { return item->isSelected(); }));
}

} // namespace

TEST_F(PickerTest, AlbumListCountsPhotosWithSavedPhotosOnTop)
{
    open(0);
    const auto &groups = m_picker->albumsController().assetGroups();
    EXPECT_EQ(groups[0].album.name, "Saved Photos");
    EXPECT_EQ(groups[0].photoCount, 2);
    EXPECT_EQ(groups[1].album.name, "Empty");
    EXPECT_EQ(groups[1].photoCount, 0);
    EXPECT_EQ(groups[2].photoCount, 9);
    EXPECT_EQ(m_picker->albumsController().title(), "Albums");
    EXPECT_EQ(m_picker->albumsController().tableView()->rowHeight(), 57);
    EXPECT_EQ(currentStatusBarStyle(), StatusBarStyle::LightContent);
}

TEST_F(PickerTest, NinePhotosOnAPhoneMakeThreeRowsTheLastWithOne)
{
    open(0);
    auto grid = openAlbum("Nine");
    EXPECT_EQ(grid->title(), "Nine");
    EXPECT_EQ(grid->elements().size(), 9u);
    auto table = grid->tableView();
    EXPECT_EQ(table->numberOfRows(), 3);
    auto last = std::dynamic_pointer_cast<QvIPCGridCell>(table->cellForRowAtIndexPath({0, 2}));
    ASSERT_TRUE(last);
    ASSERT_EQ(last->items().size(), 1u);
    EXPECT_EQ(last->items()[0], grid->elements()[8]);
    EXPECT_EQ(last->items()[0]->frame().topLeft(), QPointF(4, 4));
}

TEST_F(PickerTest, MaximumOfThreeRefusesAFourthAndUntickingStopsAtZero)
{
    open(3);
    auto grid = openAlbum("Nine");
    EXPECT_FALSE(grid->doneButton().isEnabled());
    for (int i = 0; i < 4; ++i)
        grid->elements()[std::size_t(i)]->toggle();
    EXPECT_EQ(ticked(*grid), 3);
    EXPECT_FALSE(grid->elements()[3]->isSelected());
    EXPECT_EQ(m_picker->numberOfSelections(), 3);
    EXPECT_TRUE(grid->doneButton().isEnabled());
    EXPECT_EQ(grid->navigationItem().prompt(), "(3/9)");
    EXPECT_TRUE(grid->elements()[0]->checkmarkView().isHidden() == false);
    EXPECT_TRUE(grid->elements()[3]->checkmarkView().isHidden());

    grid->deselectAll();
    EXPECT_EQ(m_picker->numberOfSelections(), 0);
    EXPECT_FALSE(grid->doneButton().isEnabled());
    // Unticking an unticked item leaves the count at zero.
    grid->elements()[0]->setSelected(false);
    EXPECT_EQ(grid->numberOfSelections(), 0);
}

TEST_F(PickerTest, TappingAThumbnailTicksIt)
{
    open(0);
    auto grid = openAlbum("Nine");
    auto cell = std::dynamic_pointer_cast<QvIPCGridCell>(grid->tableView()->cellForRowAtIndexPath({0, 2}));
    ASSERT_TRUE(cell);
    const QPointF centre = cell->items()[0]->convertPointTo(QPointF(37, 37), nullptr);
    m_host.tap(centre);
    m_host.advance(1);
    EXPECT_TRUE(grid->elements()[8]->isSelected());
}

TEST_F(PickerTest, DoneReportsTickedPhotosInGridOrderAndResets)
{
    open(0);
    auto grid = openAlbum("Nine");
    grid->elements()[5]->toggle();
    grid->elements()[1]->toggle();
    grid->doneButton().trigger();
    ASSERT_EQ(delegateResults.size(), 1u);
    ASSERT_EQ(blockResults.size(), 1u);
    ASSERT_EQ(blockResults[0].size(), 2u);
    EXPECT_EQ(blockResults[0][0], grid->elements()[1]->asset());
    EXPECT_EQ(blockResults[0][1], grid->elements()[5]->asset());
    EXPECT_EQ(m_picker->numberOfSelections(), 0);
    EXPECT_EQ(m_picker->screens().size(), 1u) << "back to the album list";
}

TEST_F(PickerTest, CancelReportsNoErrorAndResets)
{
    open(0);
    auto grid = openAlbum("Nine");
    grid->elements()[0]->toggle();
    m_picker->albumsController().navigationItem().leftBarButtonItem()->trigger();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_FALSE(failures[0].has_value());
    ASSERT_EQ(delegateFailures.size(), 1u);
    EXPECT_EQ(m_picker->numberOfSelections(), 0);
}

TEST_F(PickerTest, StandardAndCustomToolbarItems)
{
    open(0);
    auto grid = openAlbum("Nine");
    ASSERT_EQ(grid->toolbarItems().size(), 3u);
    EXPECT_EQ(grid->toolbarItems()[0]->title(), "Select All");
    EXPECT_TRUE(grid->toolbarItems()[1]->isFlexibleSpace());
    EXPECT_EQ(grid->toolbarItems()[2]->title(), "Deselect All");
    grid->toolbarItems()[0]->trigger();
    EXPECT_EQ(ticked(*grid), 9);
    grid->toolbarItems()[2]->trigger();
    EXPECT_EQ(ticked(*grid), 0);

    m_picker->removeFromSuperview();
    auto even = QvIPCToolbarItem::make("Even", [](const PhotoAsset &asset) {
        const QString name = QFileInfo(asset.path()).baseName();
        return name.back().digitValue() % 2 == 0;
    });
    open(0, std::vector<QvIPCToolbarItem>{even});
    auto custom = openAlbum("Nine");
    ASSERT_EQ(custom->toolbarItems().size(), 1u);
    EXPECT_FALSE(m_picker->isToolbarHidden());
    custom->toolbarItems()[0]->trigger();
    EXPECT_EQ(ticked(*custom), 5);

    m_picker->removeFromSuperview();
    open(0, std::vector<QvIPCToolbarItem>{});
    openAlbum("Nine");
    EXPECT_TRUE(m_picker->isToolbarHidden());
}

TEST_F(PickerTest, PreselectedPhotosShowTicked)
{
    open(0);
    m_picker->setSelection({PhotoAsset{QUrl::fromLocalFile(m_library + "/Nine/p4.png")}});
    auto grid = openAlbum("Nine");
    EXPECT_TRUE(grid->elements()[4]->isSelected());
    EXPECT_EQ(ticked(*grid), 1);
    EXPECT_TRUE(grid->doneButton().isEnabled());
}

TEST_F(PickerTest, LibraryChangesReloadTheList)
{
    open(0);
    QDir().mkpath(m_library + "/Later");
    test::writePhoto(m_library + "/Later/x.png");
    EXPECT_TRUE(test::waitUntil(m_host, [&] { return m_picker->albumsController().assetGroups().size() == 4; }));
}

TEST_F(PickerTest, RemovedAlbumFolderGivesAnEmptyGrid)
{
    open(0);
    QDir(m_library + "/Nine").removeRecursively();
    auto grid = openAlbum("Nine");
    EXPECT_TRUE(grid->elements().empty());
    EXPECT_EQ(grid->tableView()->numberOfRows(), 0);
}

TEST_F(PickerTest, TheCountBelongsToTheGridOnShowAfterBackCancelAndDone)
{
    open(1);
    auto nine = openAlbum("Nine");
    nine->elements()[0]->toggle();
    EXPECT_EQ(m_picker->numberOfSelections(), 1);
    m_picker->popScreen(false);
    EXPECT_EQ(m_picker->numberOfSelections(), 0) << "the ticks left with their grid";

    // Another album, and the same one again, take a tick as the first did.
    auto saved = openAlbum("Saved Photos");
    EXPECT_FALSE(saved->doneButton().isEnabled());
    EXPECT_TRUE(saved->elements()[1]->setSelected(true));
    EXPECT_FALSE(saved->elements()[0]->setSelected(true)) << "the maximum still holds";
    EXPECT_TRUE(saved->doneButton().isEnabled());
    m_picker->popScreen(false);
    auto again = openAlbum("Nine");
    EXPECT_FALSE(again->elements()[0]->isSelected());
    EXPECT_TRUE(again->elements()[3]->setSelected(true));

    // Cancel, then a new picker: nothing carried over.
    m_picker->cancel();
    EXPECT_EQ(m_picker->numberOfSelections(), 0);
    m_picker->removeFromSuperview();
    open(1);
    auto fresh = openAlbum("Nine");
    EXPECT_TRUE(fresh->elements()[2]->setSelected(true));
    fresh->doneButton().trigger();
    ASSERT_EQ(blockResults.size(), 1u);
    EXPECT_EQ(m_picker->numberOfSelections(), 0);
    auto after = openAlbum("Nine");
    EXPECT_TRUE(after->elements()[4]->setSelected(true));
}

TEST_F(PickerTest, DoneWithNothingTickedIsNeitherAnswerNorCancel)
{
    open(0);
    auto grid = openAlbum("Nine");
    EXPECT_FALSE(grid->doneButton().isEnabled());
    grid->doneAction();
    grid->elements()[2]->toggle();
    grid->elements()[2]->toggle();
    EXPECT_FALSE(grid->doneButton().isEnabled());
    grid->doneAction();
    EXPECT_TRUE(blockResults.empty());
    EXPECT_TRUE(delegateResults.empty());
    EXPECT_TRUE(failures.empty());
    EXPECT_TRUE(delegateFailures.empty());
    EXPECT_EQ(m_picker->topScreen(), grid) << "still choosing";
}

TEST_F(PickerTest, ALongAlbumOpensAtItsTopWithAScrollBar)
{
    for (int i = 9; i < 27; ++i)
        test::writePhoto(QStringLiteral("%1/Nine/p%2.png").arg(m_library).arg(i, 2, 10, QLatin1Char('0')));
    open(0);
    auto grid = openAlbum("Nine");
    ASSERT_EQ(grid->elements().size(), 27u);
    auto table = grid->tableView();
    ASSERT_GT(table->contentSize().height(), table->bounds().height()) << "the album does not fit, or the test shows nothing";
    EXPECT_EQ(table->contentOffset(), table->minimumContentOffset());
    EXPECT_TRUE(table->isVerticalScrollIndicatorShown());
    auto first = std::dynamic_pointer_cast<QvIPCGridCell>(table->cellForRowAtIndexPath({0, 0}));
    ASSERT_TRUE(first);
    EXPECT_EQ(first->items()[0], grid->elements()[0]);
    EXPECT_TRUE(table->bounds().contains(first->frame().center()));
}

TEST_F(PickerTest, SelectAllAndDeselectAllAreHiddenWhereOnePhotoIsTheMost)
{
    open(1);
    auto grid = openAlbum("Nine");
    EXPECT_TRUE(grid->toolbarItems().empty());
    EXPECT_TRUE(m_picker->isToolbarHidden());

    // A caller's own buttons stay.
    m_picker->removeFromSuperview();
    open(1, std::vector<QvIPCToolbarItem>{QvIPCToolbarItem::make("First", [](const PhotoAsset &) { return true; })});
    auto custom = openAlbum("Nine");
    ASSERT_EQ(custom->toolbarItems().size(), 1u);
    EXPECT_FALSE(m_picker->isToolbarHidden());
    custom->toolbarItems()[0]->trigger();
    EXPECT_EQ(ticked(*custom), 1);
}
