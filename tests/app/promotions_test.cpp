// The promotions panel: rows from the resource lists, the phone's panel and close button,
// the tablet's popover, opening a row's address (our own pages in the guide reader).
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

    EXPECT_TRUE(shell().cateViewTop->isHidden());
    EXPECT_FALSE(ad().adView()->isHidden());
    EXPECT_EQ(ad().adView()->frame(), QRectF(0, 0, 320, 480));
    // A card with room around it; the list under its header.
    EXPECT_EQ(ad().view()->frame(), QRectF(10, 10, 300, 460));
    EXPECT_EQ(ad().adTable()->frame(), QRectF(0, AD::kHeaderHeight, 300, 460 - AD::kHeaderHeight));
    ASSERT_EQ(ad().tableViewNumberOfRowsInSection(), 3);
    EXPECT_EQ(ad().adTable()->contentSize(), QSizeF(300, 540));
    EXPECT_EQ(row(1).frame(), QRectF(0, 180, 300, 180));
    const auto cell = ad().adTable()->cellForRowAtIndexPath({0, 2});
    ASSERT_NE(cell, nullptr);
    EXPECT_TRUE(cell->textLabel().text().isEmpty());
    EXPECT_EQ(cell->imageView().image().bitmap(), Resources::imageNamed("adWords.png").bitmap());
    ASSERT_NE(ad().closeSetViewBtn(), nullptr);
    // In the header, clear of the rows it would otherwise cover.
    EXPECT_FALSE(ad().closeSetViewBtn()->frame().intersects(ad().adTable()->frame()));
    EXPECT_GE(ad().closeSetViewBtn()->frame().width(), 44);
    EXPECT_EQ(ad().closeSetViewBtn()->currentTitle(), "close");

    tapOn(*ad().closeSetViewBtn());
    EXPECT_TRUE(ad().adView()->isHidden());
    EXPECT_FALSE(shell().cateViewTop->isHidden());
}

TEST_F(PromotionsTest, TallPhoneUsesItsWholeScreen)
{
    launch(DeviceProfile::Phone568);
    openPanel();

    EXPECT_EQ(ad().adView()->frame(), QRectF(0, 0, 320, 568));
    EXPECT_EQ(ad().view()->frame(), QRectF(10, 10, 300, 548));
    EXPECT_EQ(ad().adTable()->frame(), QRectF(0, AD::kHeaderHeight, 300, 548 - AD::kHeaderHeight));
}

TEST_F(PromotionsTest, ARowOpensItsPageInTheReaderAndOtherAddressesOutside)
{
    launch(DeviceProfile::Phone480);
    openPanel();

    tapOn(row(0));

    // Our own page opens here, in place of the list; nothing goes to the desktop.
    EXPECT_TRUE(opened.isEmpty());
    GuideReader &reader = ad().guideReader();
    ASSERT_TRUE(reader.isOpen());
    EXPECT_TRUE(reader.currentPage().toLocalFile().endsWith("guide/index.html"));
    EXPECT_TRUE(QFileInfo::exists(reader.currentPage().toLocalFile()));
    EXPECT_TRUE(ad().adView()->isHidden());

    reader.followLink(QUrl("https://example.org/a"));
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0], QUrl("https://example.org/a"));
    EXPECT_FALSE(host->hasModal());

    // Where nothing can open it, the user is told rather than left waiting.
    ad().setUrlOpener([](const QUrl &) { return false; });
    reader.followLink(QUrl("https://example.org/b"));
    EXPECT_TRUE(host->hasModal());

    EXPECT_EQ(AD::addressForEntry("https://example.org/a"), QUrl("https://example.org/a"));
    EXPECT_FALSE(AD::addressForEntry("").isValid());
}

TEST_F(PromotionsTest, TabletPopoverLeavesTheBarVisibleAndClosesOnAnOutsideTap)
{
    launch(DeviceProfile::Tablet);
    openPanel();

    EXPECT_FALSE(shell().cateViewTop->isHidden());
    ASSERT_NE(ad().popoverSetView(), nullptr);
    EXPECT_TRUE(ad().popoverSetView()->isPopoverVisible());
    EXPECT_EQ(ad().popoverAnchor(), QRectF(340, 920, 320, 480));
    // Above its rectangle, the arrow pointing down at it.
    EXPECT_EQ(ad().popoverSetView()->popoverArrowDirection(), ui::PopoverArrowDirectionDown);
    const QRectF panel = ad().popoverSetView()->panel().frame();
    EXPECT_LE(panel.bottom(), 920);
    EXPECT_EQ(ad().view()->frame().size(), QSizeF(320, 480));
    EXPECT_EQ(ad().adTable()->frame(), QRectF(0, AD::kHeaderHeight, 320, 480 - AD::kHeaderHeight));

    tapOn(row(1));
    host->advance(1);
    EXPECT_TRUE(ad().guideReader().currentPage().toLocalFile().endsWith("guide/effects.html"));
    EXPECT_FALSE(ad().popoverSetView()->isPopoverVisible());
    ad().guideReader().close();

    tapOn(*top().categoryButton(2));
    host->tap(QPointF(100, 100));
    host->advance(1);
    EXPECT_FALSE(ad().popoverSetView()->isPopoverVisible());
    EXPECT_TRUE(ad().adView()->isHidden());
    EXPECT_FALSE(shell().cateViewTop->isHidden());

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
