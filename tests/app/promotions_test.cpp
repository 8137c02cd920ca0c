// The promotions panel: rows from the resource lists, the phone's panel and close button,
// the tablet's popover, opening a row's address.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>

#include "app/app_fixture.h"
#include "ui/label.h"
#include "ui/table_view_cell.h"

using namespace vimora;

namespace {

class PromotionsTest : public test::AppTest
{
protected:
    void openPanel()
    {
        ad().setUrlOpener([this](const QUrl &url) {
            opened << url;
            return true;
        });
        tapOn(*top().categoryButton(2));
    }
    AD &ad() { return root().ad(); }
    ui::View &row(int n)
    {
        const auto cell = ad().adTable()->cellForRowAtIndexPath({0, n});
        EXPECT_NE(cell, nullptr) << "row " << n;
        return *cell;
    }

    QList<QUrl> opened;
};

} // namespace

TEST_F(PromotionsTest, PhonePanelListsTheRowsAndClosesBackToTheBar)
{
    launch(DeviceProfile::Phone480);
    openPanel();

    EXPECT_TRUE(views().cateViewTop->isHidden());
    EXPECT_FALSE(ad().adView()->isHidden());
    EXPECT_EQ(ad().adView()->frame(), QRectF(0, 0, 320, 480));
    EXPECT_EQ(ad().adTable()->frame(), QRectF(0, 0, 320, 430));
    ASSERT_EQ(ad().tableViewNumberOfRowsInSection(), 3);
    EXPECT_EQ(ad().adTable()->contentSize(), QSizeF(320, 540));
    EXPECT_EQ(row(1).frame(), QRectF(0, 180, 320, 180));
    const auto cell = ad().adTable()->cellForRowAtIndexPath({0, 2});
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(cell->textLabel().text().isEmpty());
    EXPECT_EQ(cell->imageView().image().bitmap(), Resources::imageNamed("adWords.png").bitmap());
    ASSERT_NE(ad().closeSetViewBtn(), nullptr);
    EXPECT_EQ(ad().closeSetViewBtn()->frame(), QRectF(245, 380, 70, 70));
    EXPECT_EQ(ad().closeSetViewBtn()->currentTitle(), "close");

    tapOn(*ad().closeSetViewBtn());
    EXPECT_TRUE(ad().adView()->isHidden());
    EXPECT_FALSE(views().cateViewTop->isHidden());
}

TEST_F(PromotionsTest, TallPhoneUsesItsWholeScreen)
{
    launch(DeviceProfile::Phone568);
    openPanel();

    EXPECT_EQ(ad().adView()->frame(), QRectF(0, 0, 320, 568));
    EXPECT_EQ(ad().adTable()->frame(), QRectF(0, 0, 320, 568));
    EXPECT_EQ(ad().closeSetViewBtn()->frame(), QRectF(245, 498, 70, 70));
}

TEST_F(PromotionsTest, ARowOpensItsPageAmongTheResources)
{
    launch(DeviceProfile::Phone480);
    openPanel();

    tapOn(row(0));

    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].isLocalFile());
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("guide/index.html"));
    EXPECT_TRUE(QFileInfo::exists(opened[0].toLocalFile()));
    EXPECT_EQ(AD::addressForEntry("https://example.org/a"), QUrl("https://example.org/a"));
    EXPECT_FALSE(AD::addressForEntry("").isValid());
}

TEST_F(PromotionsTest, TabletPopoverLeavesTheBarVisibleAndClosesOnAnOutsideTap)
{
    launch(DeviceProfile::Tablet);
    openPanel();

    EXPECT_FALSE(views().cateViewTop->isHidden());
    ASSERT_NE(ad().popoverSetView(), nullptr);
    EXPECT_TRUE(ad().popoverSetView()->isPopoverVisible());
    EXPECT_EQ(ad().popoverAnchor(), QRectF(340, 920, 320, 480));
    // Above its rectangle, the arrow pointing down at it.
    EXPECT_EQ(ad().popoverSetView()->popoverArrowDirection(), ui::PopoverArrowDirectionDown);
    const QRectF panel = ad().popoverSetView()->panel().frame();
    EXPECT_LE(panel.bottom(), 920);
    EXPECT_EQ(ad().view()->frame().size(), QSizeF(320, 480));
    EXPECT_EQ(ad().adTable()->frame(), QRectF(0, 0, 320, 480));
    EXPECT_EQ(ad().closeSetViewBtn(), nullptr);

    tapOn(row(1));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_TRUE(opened[0].toLocalFile().endsWith("guide/effects.html"));

    host->tap(QPointF(100, 100));
    host->advance(1);
    EXPECT_FALSE(ad().popoverSetView()->isPopoverVisible());
    EXPECT_TRUE(ad().adView()->isHidden());
    EXPECT_FALSE(views().cateViewTop->isHidden());

    turn(true);
    tapOn(*top().categoryButton(2));
    EXPECT_EQ(ad().popoverAnchor(), QRectF(420, 650, 320, 480));
    EXPECT_LE(ad().popoverSetView()->panel().frame().bottom(), 650);
}

TEST_F(PromotionsTest, MissingListsGiveAnEmptyPanelAndShortAddressListsOpenNothing)
{
    launch(DeviceProfile::Phone480);
    const QString resources = Resources::directory();
    QTemporaryDir empty;
    Resources::setDirectory(empty.path());
    ad().openPlist();
    Resources::setDirectory(resources);
    openPanel();

    EXPECT_EQ(ad().tableViewNumberOfRowsInSection(), 0);
    EXPECT_EQ(ad().adTable()->numberOfRows(), 0);
    EXPECT_TRUE(ad().adTable()->visibleCells().empty());

    ad().openPlist();
    ad().tableViewDidSelectRowAtIndexPath(7);
    EXPECT_TRUE(opened.isEmpty());
}
