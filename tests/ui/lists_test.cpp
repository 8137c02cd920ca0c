// Tables, popovers and the navigation stack.

#include <string>
#include <vector>

#include <QImage>

#include <gtest/gtest.h>

#include "ui/button.h"
#include "ui/headless_host.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/navigation_controller.h"
#include "ui/popover.h"
#include "ui/table_view.h"
#include "ui/text_field.h"
#include "ui/theme.h"

using namespace vimora;
using namespace vimora::ui;

namespace {

struct Screen
{
    HeadlessHost host;
    ViewPtr root = std::make_shared<View>();

    explicit Screen(QSizeF size = QSizeF(768, 1024))
        : host(size)
    {
        host.setRootView(root);
    }
};

// Rows named "row N"; records which rows it was asked for.
class Rows : public TableViewDataSource, public TableViewDelegate
{
public:
    int count = 10;
    std::vector<int> asked;
    std::vector<int> selected;
    int cellsMade = 0;

    int numberOfRowsInSection(TableView &, int) override { return count; }
    TableViewCellPtr cellForRowAtIndexPath(TableView &table, const IndexPath &path) override
    {
        asked.push_back(path.row);
        TableViewCellPtr cell = table.dequeueReusableCellWithIdentifier(QStringLiteral("UITableViewCell"));
        if (!cell) {
            cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, QStringLiteral("UITableViewCell"));
            ++cellsMade;
        }
        cell->textLabel().setText(QStringLiteral("row %1").arg(path.row));
        return cell;
    }
    void didSelectRowAtIndexPath(TableView &, const IndexPath &path) override { selected.push_back(path.row); }
};

std::vector<int> visibleRows(const TableView &table)
{
    std::vector<int> rows;
    for (const IndexPath &p : table.indexPathsForVisibleRows())
        rows.push_back(p.row);
    return rows;
}

// The word catalogue's table: 10 rows of 110 in a 430-point-tall table.
std::shared_ptr<TableView> catalogueTable(Screen &s, Rows &rows)
{
    auto table = std::make_shared<TableView>(QRectF(0, 0, 320, 430));
    table->setRowHeight(110);
    table->setDataSource(&rows);
    table->setDelegate(&rows);
    s.root->addSubview(table);
    table->reloadData();
    return table;
}

} // namespace

// --- Table view ---

TEST(TableView, MakesCellsOnlyForTheRowsOnScreen)
{
    Screen s;
    Rows rows;

    auto table = catalogueTable(s, rows);

    EXPECT_EQ(rows.asked, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(visibleRows(*table), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(table->contentSize(), QSizeF(320, 1100));
    EXPECT_EQ(table->cellForRowAtIndexPath(IndexPath{0, 3})->frame(), QRectF(0, 330, 320, 110));
    EXPECT_EQ(table->cellForRowAtIndexPath(IndexPath{0, 4}), nullptr);
}

TEST(TableView, ScrollToRowPutsTheRowAtTheTopWithinTheContent)
{
    Screen s;
    Rows rows;
    auto table = catalogueTable(s, rows);
    rows.asked.clear();

    table->scrollToRowAtIndexPath(IndexPath{0, 5}, TableView::ScrollPosition::Top, false);
    const double toFive = table->contentOffset().y();
    const std::vector<int> shownAtFive = visibleRows(*table);
    const std::vector<int> askedAtFive = rows.asked;
    table->scrollToRowAtIndexPath(IndexPath{0, 9}, TableView::ScrollPosition::Top, false);

    EXPECT_DOUBLE_EQ(toFive, 550);
    EXPECT_EQ(shownAtFive, (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(askedAtFive, (std::vector<int>{5, 6, 7, 8}));
    EXPECT_DOUBLE_EQ(table->contentOffset().y(), 670); // 1100 - 430: the last row ends at the bottom
    EXPECT_EQ(visibleRows(*table), (std::vector<int>{6, 7, 8, 9}));
}

TEST(TableView, CellsThatLeaveTheScreenAreReused)
{
    Screen s;
    Rows rows;
    rows.count = 100;
    auto table = catalogueTable(s, rows);

    for (int row = 0; row < 100; row += 3)
        table->scrollToRowAtIndexPath(IndexPath{0, row}, TableView::ScrollPosition::Top, false);

    EXPECT_LE(rows.cellsMade, 8);
    EXPECT_EQ(table->cellForRowAtIndexPath(IndexPath{0, 99})->textLabel().text(), "row 99");
    EXPECT_EQ(int(table->visibleCells().size()), 4);
}

TEST(TableView, RowsStayLazyWhenScrolledByDragAndWheel)
{
    Screen s;
    Rows rows;
    auto table = catalogueTable(s, rows);
    rows.asked.clear();

    s.host.drag(QPointF(100, 400), QPointF(100, 180), 11); // 220 points up: rows 2 to 5
    const double dragged = table->contentOffset().y();
    const std::vector<int> askedByDrag = rows.asked;
    const bool wheeled = s.host.scrollWheel(QPointF(100, 200), QPointF(0, -1000));

    EXPECT_DOUBLE_EQ(dragged, 220);
    EXPECT_EQ(askedByDrag, (std::vector<int>{4, 5}));
    EXPECT_TRUE(wheeled);
    EXPECT_DOUBLE_EQ(table->contentOffset().y(), 670); // the wheel stops at the end
    EXPECT_FALSE(s.host.scrollWheel(QPointF(100, 200), QPointF(0, -10)));
    EXPECT_TRUE(rows.selected.empty());
}

TEST(TableView, ATapSelectsTheRowUnderTheFingerAndTellsTheDelegate)
{
    Screen s;
    Rows rows;
    auto table = catalogueTable(s, rows);
    table->scrollToRowAtIndexPath(IndexPath{0, 5}, TableView::ScrollPosition::Top, false);

    s.host.touchDown(QPointF(100, 120));
    const bool highlighted = table->cellForRowAtIndexPath(IndexPath{0, 6})->isHighlighted();
    s.host.touchUp(QPointF(100, 120));

    EXPECT_TRUE(highlighted);
    EXPECT_EQ(rows.selected, std::vector<int>{6});
    EXPECT_EQ(table->indexPathForSelectedRow(), (IndexPath{0, 6}));
    EXPECT_TRUE(table->cellForRowAtIndexPath(IndexPath{0, 6})->isSelected());
    EXPECT_FALSE(table->cellForRowAtIndexPath(IndexPath{0, 6})->isHighlighted());
}

TEST(TableView, ReloadingFewerRowsBringsTheOffsetBack)
{
    Screen s;
    Rows rows;
    auto table = catalogueTable(s, rows);
    table->scrollToRowAtIndexPath(IndexPath{0, 9}, TableView::ScrollPosition::Top, false);

    rows.count = 5; // 550 tall: at most 120 down
    table->reloadData();

    EXPECT_DOUBLE_EQ(table->contentOffset().y(), 120);
    EXPECT_EQ(visibleRows(*table), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_FALSE(table->indexPathForSelectedRow().has_value());
}

TEST(TableView, AnEmptyOrMissingDataSourceShowsNoRows)
{
    Screen s;
    Rows rows;
    rows.count = -3;
    auto table = catalogueTable(s, rows);
    TableView orphan(QRectF(0, 0, 100, 100));

    orphan.reloadData();
    table->scrollToRowAtIndexPath(IndexPath{0, 2}, TableView::ScrollPosition::Top, false);

    EXPECT_EQ(table->numberOfRows(), 0);
    EXPECT_TRUE(table->visibleCells().empty());
    EXPECT_DOUBLE_EQ(table->contentOffset().y(), 0);
    EXPECT_EQ(orphan.numberOfRows(), 0);
}

TEST(TableView, RowsLoadByThemselvesOnTheNextTurn)
{
    Screen s;
    Rows rows;
    auto table = std::make_shared<TableView>(QRectF(0, 0, 320, 100));
    s.root->addSubview(table);

    table->setDataSource(&rows);
    const bool loadedAtOnce = !rows.asked.empty();
    s.host.runPending();

    EXPECT_FALSE(loadedAtOnce);
    EXPECT_EQ(rows.asked, (std::vector<int>{0, 1, 2}));
}

TEST(TableViewCell, DefaultStyleShrinksThePictureToTheRowAndPutsTheTextBesideIt)
{
    TableViewCell cell;
    QImage big(200, 150, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::red);
    cell.imageView().setImage(Picture(big));
    cell.textLabel().setText(QStringLiteral("word"));
    const ThemeStyle look = Theme::current().style(ThemeElement::TableCell);

    cell.setFrame(QRectF(0, 0, 320, 110));

    const double imageWidth = 200.0 * 110 / 150;
    EXPECT_EQ(cell.imageView().frame(), QRectF(look.padding.left, 0, imageWidth, 110));
    const QRectF text = cell.textLabel().frame();
    EXPECT_DOUBLE_EQ(text.left(), look.padding.left + imageWidth + look.size.width());
    EXPECT_DOUBLE_EQ(text.right(), 320 - look.padding.right);
    EXPECT_EQ(text.height(), 110);
}

TEST(TableViewCell, ASelectedCellShowsItsLabelsInTheSelectedColourAndGivesThemBack)
{
    TableViewCell cell;
    cell.textLabel().setTextColor(Qt::black);
    const QColor selectedText = Theme::current().style(ThemeElement::TableCellSelected).textColor;

    cell.setHighlighted(true);
    cell.setSelected(true);
    const QColor whileSelected = cell.textLabel().textColor();
    cell.setHighlighted(false);
    const QColor stillSelected = cell.textLabel().textColor();
    cell.setSelected(false);

    EXPECT_EQ(whileSelected, selectedText);
    EXPECT_EQ(stillSelected, selectedText);
    EXPECT_EQ(cell.textLabel().textColor(), QColor(Qt::black));
}

// --- Popover ---

namespace {

class PopoverLog : public PopoverDelegate
{
public:
    std::vector<std::string> calls;
    bool allow = true;

    bool popoverControllerShouldDismissPopover(Popover &) override
    {
        calls.push_back("should");
        return allow;
    }
    void popoverControllerDidDismissPopover(Popover &popover) override
    {
        calls.push_back(popover.isPopoverVisible() ? "did, still visible" : "did");
    }
};

// What the panel adds around its content along and across the arrow's axis.
QSizeF frameAround(QSizeF content)
{
    const ThemeStyle look = Theme::current().style(ThemeElement::PopoverPanel);
    return QSizeF(content.width() + look.padding.left + look.padding.right,
                  content.height() + look.padding.top + look.padding.bottom + look.size.height());
}

} // namespace

TEST(PopoverPlacement, ArrowDownSitsAboveTheRectangleWithItsTipAtTheMiddle)
{
    const QSizeF panel = frameAround(QSizeF(320, 480));

    const PopoverPlacement p =
        placePopover(QSizeF(768, 1024), QRectF(75, 920, 400, 400), QSizeF(320, 480), PopoverArrowDirectionDown);

    EXPECT_EQ(p.direction, PopoverArrowDirectionDown);
    EXPECT_EQ(p.frame, QRectF(275 - panel.width() / 2, 920 - panel.height(), panel.width(), panel.height()));
    EXPECT_DOUBLE_EQ(p.frame.left() + p.arrowOffset, 275);
    EXPECT_EQ(p.contentSize, QSizeF(320, 480));
}

TEST(PopoverPlacement, AnyDirectionTakesTheSideWithRoom)
{
    // The promotions panel: the rectangle runs off the bottom of a portrait tablet.
    const PopoverPlacement portrait =
        placePopover(QSizeF(768, 1024), QRectF(340, 920, 320, 480), QSizeF(320, 480), PopoverArrowDirectionAny);
    const PopoverPlacement landscape =
        placePopover(QSizeF(1024, 768), QRectF(420, 650, 320, 480), QSizeF(320, 480), PopoverArrowDirectionAny);

    EXPECT_EQ(portrait.direction, PopoverArrowDirectionDown);
    EXPECT_DOUBLE_EQ(portrait.frame.bottom(), 920);
    EXPECT_EQ(landscape.direction, PopoverArrowDirectionDown);
    EXPECT_DOUBLE_EQ(landscape.frame.bottom(), 650);
}

TEST(PopoverPlacement, OnlyThePartOfTheRectangleOnScreenCounts)
{
    // The editor's album picker: a rectangle reaching far above and left of the screen.
    const PopoverPlacement p =
        placePopover(QSizeF(768, 1024), QRectF(-300, -750, 800, 800), QSizeF(320, 480), PopoverArrowDirectionUp);

    EXPECT_EQ(p.direction, PopoverArrowDirectionUp);
    EXPECT_DOUBLE_EQ(p.frame.top(), 50);
    EXPECT_DOUBLE_EQ(p.frame.left() + p.arrowOffset, 250);
}

TEST(PopoverPlacement, ThePanelStaysOnScreenAndTheArrowClearOfTheCorners)
{
    const ThemeStyle look = Theme::current().style(ThemeElement::PopoverPanel);

    const PopoverPlacement p =
        placePopover(QSizeF(768, 1024), QRectF(0, 100, 4, 40), QSizeF(320, 480), PopoverArrowDirectionUp);
    const PopoverPlacement squeezed =
        placePopover(QSizeF(320, 480), QRectF(100, 300, 100, 20), QSizeF(320, 480), PopoverArrowDirectionDown);

    EXPECT_DOUBLE_EQ(p.frame.left(), Popover::kScreenMargin);
    EXPECT_DOUBLE_EQ(p.arrowOffset, look.radius + look.size.width() / 2);
    EXPECT_DOUBLE_EQ(squeezed.frame.top(), Popover::kScreenMargin);
    EXPECT_DOUBLE_EQ(squeezed.frame.bottom(), 300);
    EXPECT_DOUBLE_EQ(squeezed.frame.width(), 320 - 2 * Popover::kScreenMargin);
    EXPECT_LT(squeezed.contentSize.height(), 480);
    EXPECT_EQ(frameAround(squeezed.contentSize), squeezed.frame.size());
}

TEST(Popover, ATapOutsideDismissesItTellsTheDelegateAndGoesNoFurther)
{
    Screen s;
    auto behind = std::make_shared<Button>(QRectF(600, 50, 100, 50));
    s.root->addSubview(behind);
    int behindTaps = 0;
    behind->addAction(ControlEventTouchUpInside, [&](Control &) { ++behindTaps; });
    auto content = std::make_shared<Button>(QRectF(0, 0, 320, 480));
    int contentTaps = 0;
    content->addAction(ControlEventTouchUpInside, [&](Control &) { ++contentTaps; });
    Popover popover(content);
    PopoverLog log;
    popover.setDelegate(&log);
    popover.presentPopoverFromRect(QRectF(75, 920, 400, 400), s.root.get(), PopoverArrowDirectionDown, false);
    const QPointF inside = popover.panel().frame().center();

    s.host.tap(inside);
    const bool visibleAfterInsideTap = popover.isPopoverVisible();
    s.host.advance(1);
    s.host.tap(QPointF(650, 75));
    s.host.advance(1);

    EXPECT_TRUE(visibleAfterInsideTap);
    EXPECT_EQ(contentTaps, 1);
    EXPECT_FALSE(popover.isPopoverVisible());
    EXPECT_EQ(log.calls, (std::vector<std::string>{"should", "did"}));
    EXPECT_EQ(behindTaps, 0);
    EXPECT_EQ(popover.panel().superview(), nullptr);
    EXPECT_EQ(s.host.window().subviewCount(), 1); // the layer has gone after its fade
}

TEST(Popover, ADelegateMayKeepItUpAndCodeDismissesSilently)
{
    Screen s;
    Popover popover(std::make_shared<View>());
    PopoverLog log;
    log.allow = false;
    popover.setDelegate(&log);
    popover.presentPopoverFromRect(QRectF(340, 920, 320, 480), s.root.get(), PopoverArrowDirectionAny, true);

    s.host.tap(QPointF(20, 20));
    const bool keptUp = popover.isPopoverVisible();
    popover.dismissPopoverAnimated(false);

    EXPECT_TRUE(keptUp);
    EXPECT_FALSE(popover.isPopoverVisible());
    EXPECT_EQ(log.calls, std::vector<std::string>{"should"});
    EXPECT_EQ(popover.popoverArrowDirection(), PopoverArrowDirectionUnknown);
}

TEST(Popover, ContentFillsThePanelsFrameAndTakesItsKeyboardAlongWhenItGoes)
{
    Screen s;
    auto content = std::make_shared<View>();
    auto field = std::make_shared<TextField>(QRectF(10, 10, 200, 30));
    content->addSubview(field);
    Popover popover(content);
    popover.setPopoverContentSize(QSizeF(300, 200));
    popover.presentPopoverFromRect(QRectF(100, 100, 50, 50), s.root.get(), PopoverArrowDirectionLeft, false);
    field->becomeFirstResponder();

    const QRectF contentOnScreen = content->convertRectTo(content->bounds(), nullptr);
    s.host.tap(QPointF(700, 1000));

    EXPECT_EQ(contentOnScreen.size(), QSizeF(300, 200));
    EXPECT_EQ(popover.panel().frame().left(), 150); // the tip touches the rectangle's right side
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(s.host.focusView(), nullptr);
}

TEST(Popover, PresentingAgainMovesTheSamePanel)
{
    Screen s;
    Popover popover(std::make_shared<View>());
    popover.presentPopoverFromRect(QRectF(75, 920, 400, 400), s.root.get(), PopoverArrowDirectionDown, false);

    popover.presentPopoverFromRect(QRectF(110, 650, 400, 400), s.root.get(), PopoverArrowDirectionDown, false);

    EXPECT_DOUBLE_EQ(popover.panel().frame().bottom(), 650);
    EXPECT_EQ(s.host.window().subviewCount(), 2); // the root and one popover layer
}

// --- Navigation ---

namespace {

class LoggingScreen : public NavigationScreen
{
public:
    LoggingScreen(const QString &title, std::vector<std::string> *log)
        : m_log(log)
    {
        setTitle(title);
    }

protected:
    void viewDidLoad() override { note("load"); }
    void viewWillAppear(bool) override { note("will appear"); }
    void viewDidAppear(bool) override { note("did appear"); }
    void viewWillDisappear(bool) override { note("will disappear"); }
    void viewDidDisappear(bool) override { note("did disappear"); }

private:
    void note(const char *what) { m_log->push_back(title().toStdString() + " " + what); }
    std::vector<std::string> *m_log;
};

struct Stack
{
    Screen s{QSizeF(320, 480)};
    std::vector<std::string> log;
    std::shared_ptr<LoggingScreen> albums = std::make_shared<LoggingScreen>(QStringLiteral("Albums"), &log);
    std::shared_ptr<LoggingScreen> grid = std::make_shared<LoggingScreen>(QStringLiteral("Summer"), &log);
    std::shared_ptr<LoggingScreen> detail = std::make_shared<LoggingScreen>(QStringLiteral("Photo"), &log);
    std::shared_ptr<NavigationController> nav = std::make_shared<NavigationController>(albums);

    Stack()
    {
        nav->setFrame(QRectF(0, 0, 320, 480));
        s.root->addSubview(nav);
    }
};

} // namespace

TEST(NavigationController, PushShowsTheNewScreenUnderABackButtonToThePreviousOne)
{
    Stack st;
    st.log.clear();

    st.nav->pushScreen(st.grid, true);
    st.s.host.advance(1);

    EXPECT_EQ(st.nav->topScreen(), st.grid);
    EXPECT_EQ(st.grid->navigationController(), st.nav.get());
    EXPECT_EQ(st.nav->navigationBar().titleLabel().text(), "Summer");
    ASSERT_TRUE(st.nav->navigationBar().showsBackButton());
    EXPECT_EQ(st.nav->navigationBar().leftButton()->title(), "Albums");
    EXPECT_EQ(st.grid->view()->superview()->frame(), QRectF(0, 44, 320, 436));
    EXPECT_EQ(st.grid->view()->frame(), QRectF(0, 0, 320, 436));
    EXPECT_EQ(st.albums->view()->superview(), nullptr);
    EXPECT_EQ(st.log, (std::vector<std::string>{"Albums will disappear", "Summer load", "Summer will appear",
                                                "Albums did disappear", "Summer did appear"}));
}

TEST(NavigationController, PopToRootReturnsThePoppedScreensAndShowsTheRoot)
{
    Stack st;
    st.nav->pushScreen(st.grid);
    st.nav->pushScreen(st.detail);
    st.log.clear();

    const std::vector<NavigationScreenPtr> popped = st.nav->popToRootScreen(false);

    EXPECT_EQ(popped, (std::vector<NavigationScreenPtr>{st.grid, st.detail}));
    EXPECT_EQ(st.nav->screens(), std::vector<NavigationScreenPtr>{st.albums});
    EXPECT_EQ(st.detail->navigationController(), nullptr);
    EXPECT_EQ(st.nav->navigationBar().titleLabel().text(), "Albums");
    EXPECT_FALSE(st.nav->navigationBar().showsBackButton());
    EXPECT_EQ(st.albums->view()->superview()->subviewCount(), 1);
    EXPECT_EQ(st.log, (std::vector<std::string>{"Photo will disappear", "Albums will appear", "Photo did disappear",
                                                "Albums did appear"}));
    EXPECT_EQ(st.nav->popScreen(), nullptr); // the root stays
}

TEST(NavigationController, TheBackButtonPopsOneScreen)
{
    Stack st;
    st.nav->pushScreen(st.grid);
    st.nav->pushScreen(st.detail);
    const QRectF back = st.nav->navigationBar().leftButton()->frame();

    st.s.host.tap(back.center());

    EXPECT_EQ(st.nav->topScreen(), st.grid);
    EXPECT_EQ(st.nav->navigationBar().leftButton()->title(), "Albums");
}

TEST(NavigationController, BarButtonsAndTheToolbarFollowTheTopScreen)
{
    Stack st;
    int cancels = 0, done = 0;
    auto cancel = std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Cancel, [&](BarButtonItem &) { ++cancels; });
    auto doneItem = std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Done, [&](BarButtonItem &) { ++done; });
    st.albums->navigationItem().setLeftBarButtonItem(cancel);
    st.grid->navigationItem().setRightBarButtonItem(doneItem);
    auto selectAll = std::make_shared<BarButtonItem>(QStringLiteral("Select All"), BarButtonItem::Style::Bordered);
    auto deselectAll = std::make_shared<BarButtonItem>(QStringLiteral("Deselect All"), BarButtonItem::Style::Bordered);
    st.grid->setToolbarItems(
        {selectAll, std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::FlexibleSpace), deselectAll});
    st.nav->setToolbarHidden(false);
    doneItem->setEnabled(false);

    st.s.host.tap(st.nav->navigationBar().leftButton()->frame().center());
    st.nav->pushScreen(st.grid);
    const QRectF doneFrame = st.nav->navigationBar().rightButton()->frame();
    st.s.host.tap(doneFrame.center());
    doneItem->setEnabled(true);
    st.s.host.advance(1);
    st.s.host.tap(doneFrame.center());

    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(done, 1); // not while disabled
    EXPECT_DOUBLE_EQ(doneFrame.right(), 320 - NavigationBar::kButtonMargin);
    EXPECT_EQ(st.nav->toolbar().frame(), QRectF(0, 480 - Toolbar::kHeight, 320, Toolbar::kHeight));
    EXPECT_DOUBLE_EQ(selectAll->button()->frame().left(), Toolbar::kEdgeMargin);
    EXPECT_DOUBLE_EQ(deselectAll->button()->frame().right(), 320 - Toolbar::kEdgeMargin);
    EXPECT_EQ(st.nav->contentRect(), QRectF(0, 44, 320, 480 - 44 - Toolbar::kHeight));
}

TEST(NavigationController, APromptGrowsTheBarAndShrinksTheContent)
{
    Stack st;
    const double promptHeight = Theme::current().style(ThemeElement::NavigationPrompt).size.height();

    st.albums->navigationItem().setPrompt(QStringLiteral("(2/9)"));
    const QRectF withPrompt = st.albums->view()->frame();
    st.albums->navigationItem().setPrompt(QString());

    EXPECT_EQ(withPrompt, QRectF(0, 0, 320, 480 - 44 - promptHeight));
    EXPECT_EQ(st.albums->view()->frame(), QRectF(0, 0, 320, 436));
    EXPECT_EQ(st.nav->navigationBar().frame().height(), 44);
}

TEST(NavigationController, ALongTitleStaysClearOfTheButtons)
{
    Stack st;
    st.albums->navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Done));
    st.nav->pushScreen(st.grid);

    st.grid->setTitle(QStringLiteral("An album with a very long name indeed"));

    const NavigationBar &bar = st.nav->navigationBar();
    const QRectF title = st.nav->navigationBar().titleLabel().frame();
    EXPECT_GE(title.left(), bar.leftButton()->frame().right() + NavigationBar::kTitleGap);
    EXPECT_LE(title.right(), 320.0);
    EXPECT_EQ(bar.rightButton(), nullptr); // the root's Done is not the grid's
}
