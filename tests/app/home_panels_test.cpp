// The home screen's panels (Help, Styles, the Guide list, the guide reader): each closes by
// its control, an outside tap and Escape; the category bar comes back where the screen is;
// one panel at a time; close controls stay on top of what they close.
#include <functional>

#include <QKeyEvent>

#include <gtest/gtest.h>

#include "app/app_fixture.h"
#include "ui/overlay_stack.h"

using namespace vimora;

namespace {

enum class Way { Control, OutsideTap, Escape };
const Way kWays[] = {Way::Control, Way::OutsideTap, Way::Escape};

const char *nameOf(Way way)
{
    switch (way) {
    case Way::Control:
        return "close control";
    case Way::OutsideTap:
        return "outside tap";
    case Way::Escape:
        return "Escape";
    }
    return "";
}

struct PanelCase
{
    const char *name;
    std::function<void()> open;
    std::function<bool()> isOpen;
    std::function<ui::View *()> closeControl;
};

class PanelsTest : public test::AppTest
{
protected:
    AD &ad() { return root().ad(); }
    GuideReader &reader() { return ad().guideReader(); }

    bool pressEscape()
    {
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        const bool taken = host->pressKey(&escape);
        host->advance(1);
        return taken;
    }

    std::vector<PanelCase> panels()
    {
        return {
            {"Help", [this] { tapOn(*top().helpBtn()); }, [this] { return !homeViews().descripImg->isHidden(); },
             [this] { return top().closeOptionBtn().get(); }},
            {"Styles", [this] { tapOn(*top().typesBtn()); }, [this] { return !homeViews().selectTopView->isHidden(); },
             [this] { return top().closeOptionBtn().get(); }},
            {"Guide", [this] { tapOn(*top().categoryButton(2)); }, [this] { return ad().isAdViewOpen(); },
             [this] { return ad().closeSetViewBtn().get(); }},
            {"guide reader",
             [this] {
                 tapOn(*top().categoryButton(2));
                 ad().tableViewDidSelectRowAtIndexPath(0);
                 host->advance(1);
             },
             [this] { return reader().isOpen(); }, [this] { return reader().closeButton().get(); }},
        };
    }

    /// A window point that no open panel covers: the first of a few candidates the hit test
    /// gives to an overlay backdrop.
    QPointF outsidePoint()
    {
        const QSizeF screen = host->screenSize();
        for (const QPointF p : {QPointF(5, screen.height() / 2), QPointF(screen.width() - 5, screen.height() - 5),
                                QPointF(screen.width() / 2, screen.height() - 5), QPointF(5, 5)}) {
            ui::View *hit = host->hitTest(p);
            if (!hit)
                continue;
            auto &overlays = host->overlays();
            for (const ui::View *panel : {static_cast<ui::View *>(homeViews().descripImg.get()),
                                          static_cast<ui::View *>(homeViews().selectTopView.get()), ad().view().get(),
                                          reader().card().get()})
                if (overlays.backdropOf(panel) == hit)
                    return p;
            if (ad().popoverSetView() && ad().popoverSetView()->isPopoverVisible() &&
                !hit->isDescendantOf(&ad().popoverSetView()->panel()))
                return p;
        }
        ADD_FAILURE() << "no point outside the panel";
        return {};
    }

    void close(Way way, const PanelCase &panel)
    {
        switch (way) {
        case Way::Control: {
            ui::View *control = panel.closeControl();
            ASSERT_NE(control, nullptr);
            // Its middle is its own: nothing the panel shows lies over it.
            const QPointF middle = centreOf(*control);
            ASSERT_EQ(host->hitTest(middle), control) << panel.name;
            host->tap(middle);
            break;
        }
        case Way::OutsideTap:
            host->tap(outsidePoint());
            break;
        case Way::Escape:
            EXPECT_TRUE(pressEscape()) << panel.name;
            break;
        }
        host->advance(1);
    }

    void expectEveryPanelClosesThreeWays(const QRectF &barFrame)
    {
        for (const PanelCase &panel : panels())
            for (const Way way : kWays) {
                SCOPED_TRACE(std::string(panel.name) + " by " + nameOf(way));
                panel.open();
                ASSERT_TRUE(panel.isOpen());
                close(way, panel);
                EXPECT_FALSE(panel.isOpen());
                // A page opened from the list goes back one step, to the list; the list then
                // closes the same way.
                if (std::string(panel.name) == "guide reader") {
                    EXPECT_TRUE(ad().isAdViewOpen());
                    close(way, panels()[2]);
                    EXPECT_FALSE(ad().isAdViewOpen());
                }
                EXPECT_EQ(host->overlays().count(), 0);
                EXPECT_FALSE(host->hasModal());
                EXPECT_FALSE(shell().cateViewTop->isHidden());
                EXPECT_EQ(shell().cateViewTop->frame(), barFrame);
                // The bar answers at once: no stray backdrop is left over it.
                EXPECT_EQ(host->hitTest(centreOf(*top().categoryButton(1))), top().categoryButton(1).get());
            }
    }
};

} // namespace

TEST_F(PanelsTest, EveryPanelClosesByItsControlAnOutsideTapAndEscapeOnEveryDevice)
{
    launch(DeviceProfile::Tablet);
    expectEveryPanelClosesThreeWays(QRectF(0, 939, 1024, 65));
    launch(DeviceProfile::Phone568);
    expectEveryPanelClosesThreeWays(QRectF(0, 483, 568, 65));
    launch(DeviceProfile::Phone480);
    expectEveryPanelClosesThreeWays(QRectF(0, 415, 568, 65));
}

TEST_F(PanelsTest, OnATurnedTabletClosingAPanelLeavesTheBarWhereTheScreenIs)
{
    launch(DeviceProfile::Tablet);
    turn(true);
    expectEveryPanelClosesThreeWays(QRectF(0, 683, 1024, 65));

    // A panel open while the tablet turns closes onto the bar of the new orientation.
    tapOn(*top().helpBtn());
    turn(false);
    EXPECT_TRUE(pressEscape());
    EXPECT_EQ(shell().cateViewTop->frame(), QRectF(0, 939, 1024, 65));
    EXPECT_FALSE(shell().cateViewTop->isHidden());
}

TEST_F(PanelsTest, OnePanelAtATime)
{
    launch(DeviceProfile::Tablet);
    tapOn(*top().helpBtn());
    // A tap on another control while Help is up only closes Help.
    tapOn(*top().typesBtn());
    EXPECT_TRUE(homeViews().descripImg->isHidden());
    EXPECT_TRUE(homeViews().selectTopView->isHidden());

    // Opened by code, as a key or another screen may, the new panel replaces the old one.
    tapOn(*top().helpBtn());
    top().selectViewTopOpen(*top().categoryButton(2));
    host->advance(1);
    EXPECT_TRUE(homeViews().descripImg->isHidden());
    EXPECT_TRUE(ad().isAdViewOpen());
    EXPECT_EQ(host->overlays().count(), 1);

    top().optionViewOpen(Top::OptionPanelMode::Styles);
    host->advance(1);
    EXPECT_FALSE(ad().isAdViewOpen());
    EXPECT_FALSE(homeViews().selectTopView->isHidden());
    EXPECT_EQ(host->overlays().count(), 1);

    // The reader takes the list's place.
    EXPECT_TRUE(pressEscape());
    tapOn(*top().categoryButton(2));
    ad().tableViewDidSelectRowAtIndexPath(1);
    host->advance(1);
    EXPECT_TRUE(reader().isOpen());
    EXPECT_FALSE(ad().isAdViewOpen());
    EXPECT_EQ(host->overlays().count(), 1);
}

TEST_F(PanelsTest, ThePhoneHelpCardCarriesItsCloseControlOnTop)
{
    launch(DeviceProfile::Phone480);
    tapOn(*top().helpBtn());
    const ui::View &card = *homeViews().descripImg;
    const ui::View &control = *top().closeOptionBtn();
    const QRectF cardFrame = card.convertRectTo(card.bounds(), nullptr);
    const QRectF controlFrame = control.convertRectTo(control.bounds(), nullptr);
    EXPECT_TRUE(cardFrame.contains(controlFrame));
    EXPECT_TRUE(QRectF(QPointF(0, 0), host->screenSize()).contains(controlFrame));
    EXPECT_TRUE(homeViews().selectTopView->isHidden()); // no empty panel peeking out behind
    // The card itself is content: a tap on it keeps it open.
    host->tap(cardFrame.center() + QPointF(0, 40));
    EXPECT_FALSE(card.isHidden());
}

TEST_F(PanelsTest, TheReaderFollowsLinksBetweenPagesAndGoesBack)
{
    launch(DeviceProfile::Phone480);
    tapOn(*top().categoryButton(2));
    ad().tableViewDidSelectRowAtIndexPath(0);
    host->advance(1);
    ASSERT_TRUE(reader().isOpen());
    EXPECT_EQ(reader().titleLabel()->text(), QStringLiteral("Getting started"));
    EXPECT_FALSE(reader().backButton()->isEnabled());
    // The page is taller than the phone: it scrolls.
    EXPECT_GT(reader().scrollView()->maximumContentOffset().y(), 0);

    // The links at the page's foot: scroll there and tap the second page's.
    auto &scroll = *reader().scrollView();
    scroll.setContentOffset(scroll.maximumContentOffset());
    const ui::RichTextView &page = *reader().page();
    const QRectF visible = scroll.convertRectTo(scroll.bounds(), nullptr);
    QPointF link;
    for (double y = visible.bottom() - 2; y > visible.top() && link.isNull(); y -= 3)
        for (double x = visible.left() + 2; x < visible.right() && link.isNull(); x += 3)
            if (page.linkAt(page.convertPointFrom(QPointF(x, y), nullptr)).toLocalFile().endsWith("effects.html"))
                link = QPointF(x, y);
    ASSERT_FALSE(link.isNull());
    host->tap(link);
    EXPECT_TRUE(reader().currentPage().toLocalFile().endsWith("guide/effects.html"));
    EXPECT_EQ(reader().titleLabel()->text(), QStringLiteral("Effects and styles"));
    EXPECT_EQ(scroll.contentOffset(), QPointF(0, 0));
    ASSERT_TRUE(reader().backButton()->isEnabled());

    tapOn(*reader().backButton());
    EXPECT_TRUE(reader().currentPage().toLocalFile().endsWith("guide/index.html"));
    EXPECT_FALSE(reader().backButton()->isEnabled());

    // A page that cannot be read is said so; the reader stays on its page.
    EXPECT_FALSE(reader().open(QUrl::fromLocalFile(home.path() + "/missing.html")));
    EXPECT_TRUE(host->hasModal());
    EXPECT_TRUE(reader().currentPage().toLocalFile().endsWith("guide/index.html"));
}
