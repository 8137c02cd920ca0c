// The word-art catalogue's search, rows and choices, and the tips panel.

#include <set>

#include "platform/resources.h"
#include "platform/settings.h"
#include "support/pixel_compare.h"
#include "text_fixture.h"

namespace vimora::test {
namespace {

using text::compare;
using text::rowForSearch;

const QStringList kFruit
    = {QStringLiteral("apple"), QStringLiteral("pineapple"), QStringLiteral("pear"), QStringLiteral("")};

TEST(CatalogueSearch, FindsTheFirstEntryContainingTheTextElseTheLast)
{
    EXPECT_EQ(compare(kFruit, QStringLiteral("app")), QStringLiteral("apple"));
    EXPECT_EQ(compare(kFruit, QStringLiteral("neap")), QStringLiteral("pineapple"));
    EXPECT_EQ(compare(kFruit, QStringLiteral("apple")), QStringLiteral("apple"));
    EXPECT_EQ(compare(kFruit, QStringLiteral("pear")), QStringLiteral("pear"));
    EXPECT_EQ(compare(kFruit, QStringLiteral("App")), QStringLiteral("")) << "case matters: the last entry";
    EXPECT_EQ(compare(kFruit, QStringLiteral("kiwi")), QStringLiteral(""));
    EXPECT_EQ(compare(kFruit, QString()), QStringLiteral("apple"));
    EXPECT_EQ(compare({}, QStringLiteral("a")), std::nullopt);
    EXPECT_EQ(rowForSearch(kFruit, QStringLiteral("neap")), 1);
    EXPECT_EQ(rowForSearch(kFruit, QStringLiteral("kiwi")), 3);
}

class Catalogue : public testing::Test {
protected:
    Catalogue()
        : s(DeviceProfile::Phone480)
    {
        for (int i = 0; i < 30; ++i)
            words << QStringLiteral("word%1").arg(i, 2, 10, QLatin1Char('0'));
        words[12] = QStringLiteral("apple");
        words[20] = QStringLiteral("pineapple");
        s.table->catalogue().setWords(words);
        s.table->showWordView();
        s.host.runPending();
        table = s.table->catalogue().wordTable();
    }
    double topRow() const { return table->contentOffset().y() / text::WordCatalogue::kRowHeight; }
    TextScreen s;
    QStringList words;
    ui::TableView *table = nullptr;
};

TEST_F(Catalogue, TypingKeepsTheMatchingWordsAnyCaseAndSaysNoMatchForNone)
{
    ui::SearchBar &bar = *s.table->catalogue().searchHanBar();
    text::WordCatalogue &catalogue = s.table->catalogue();
    words[5] = QStringLiteral("Pineapple");
    words[20] = QStringLiteral("pear");
    catalogue.setWords(words);

    catalogue.searchBar(bar, QStringLiteral("APP"));
    const std::vector<int> forApp = catalogue.shownRows();
    const bool noMatchForApp = catalogue.saysNoMatch();
    // The second shown row is the list's word 12: choosing it drops that word's picture.
    catalogue.didSelectRowAtIndexPath(*table, ui::IndexPath{0, 1});
    const int layersAfterChoice = int(s.table->layers().layers().size());
    s.table->showWordView();
    catalogue.searchBar(*catalogue.searchHanBar(), QStringLiteral("zzz"));

    EXPECT_EQ(forApp, (std::vector<int>{5, 12}));
    EXPECT_FALSE(noMatchForApp);
    EXPECT_EQ(layersAfterChoice, 1);
    EXPECT_TRUE(picturesEqual(s.table->layers().layers().front()->image(),
        Resources::imageNamed(QStringLiteral("words/12.png"))));
    EXPECT_EQ(catalogue.numberOfRowsInSection(*catalogue.wordTable(), 0), 0);
    EXPECT_TRUE(catalogue.saysNoMatch());

    catalogue.searchBar(*catalogue.searchHanBar(), QString());
    EXPECT_EQ(catalogue.shownRows().size(), std::size_t(words.size())) << "an empty search lists every word";
    EXPECT_FALSE(catalogue.saysNoMatch());
}

TEST_F(Catalogue, ScrollingReusesCellsAndDecodesEachThumbnailOnce)
{
    std::set<const ui::TableViewCell *> cells;
    for (int row = 0; row < words.size(); ++row) {
        table->scrollToRowAtIndexPath(ui::IndexPath{0, row}, ui::TableView::ScrollPosition::Top, false);
        for (const ui::TableViewCellPtr &cell : table->visibleCells())
            cells.insert(cell.get());
    }
    table->scrollToRowAtIndexPath(ui::IndexPath{0, 0}, ui::TableView::ScrollPosition::Top, false);

    EXPECT_LE(cells.size(), 5u) << "a 200-point table shows at most three 110-point rows at once";
    EXPECT_EQ(s.table->catalogue().thumbnailsDecoded(), words.size());
    ASSERT_NE(table->cellForRowAtIndexPath(ui::IndexPath{0, 0}), nullptr);
    EXPECT_EQ(table->cellForRowAtIndexPath(ui::IndexPath{0, 0})->textLabel().text(), QStringLiteral("word00"));
}

TEST_F(Catalogue, ChoosingTheSameRowTwiceGivesTwoIndependentPictures)
{
    s.table->catalogue().didSelectRowAtIndexPath(*table, ui::IndexPath{0, 3});
    s.table->showWordView();
    s.table->catalogue().didSelectRowAtIndexPath(*table, ui::IndexPath{0, 3});

    const std::vector<ui::ImageView *> pictures = s.table->layers().layers();
    ASSERT_EQ(pictures.size(), 2u);
    EXPECT_NE(pictures[0], pictures[1]);
    EXPECT_NE(pictures[0]->tag(), pictures[1]->tag());
    EXPECT_EQ(pictures[0]->frame(), QRectF(100, 100, 130, 130));
    EXPECT_FALSE(pictures[0]->image().isNull()) << "words/3.png";
    EXPECT_TRUE(s.views->wordView->isHidden());

    pictures[1]->setCenter(QPointF(200, 300));
    EXPECT_EQ(pictures[0]->center(), QPointF(165, 165));
}

TEST_F(Catalogue, APlacedWordTapsIntoTheColourPanelAndDragsAndCloses)
{
    s.table->catalogue().didSelectRowAtIndexPath(*table, ui::IndexPath{0, 0});
    ui::ImageView *word = s.table->layers().layers().front();

    s.host.drag(TextScreen::centreOf(*word), TextScreen::centreOf(*word) + QPointF(40, 60));
    s.host.advance(0.5);
    s.host.tap(TextScreen::centreOf(*word));

    EXPECT_EQ(word->center(), QPointF(205, 225));
    EXPECT_EQ(s.table->detectTag(), word->tag());
    EXPECT_NE(s.table->panel().kSlider(), nullptr) << "the colour panel is open";
}

TEST_F(Catalogue, CloseButtonHidesThePanel)
{
    s.press(QStringLiteral("resultTool"));

    EXPECT_TRUE(s.views->wordView->isHidden());
}

TEST(Tips, ShowWhenTheTextBoxOpensUntilNeverShowThis)
{
    TextScreen s(DeviceProfile::Tablet, false);
    s.table->noteViewOpen();
    const bool shownFirst = s.table->tips().isShown();

    s.press(QStringLiteral("Never show this"));
    s.table->noteViewOpen();

    EXPECT_TRUE(shownFirst);
    EXPECT_EQ(Settings::shared().stringForKey(QStringLiteral("Never2")), QStringLiteral("never"));
    EXPECT_FALSE(s.table->tips().isShown());
    EXPECT_TRUE(s.views->wordView->isHidden());
}

TEST(Tips, OkHidesThemForNow)
{
    TextScreen s(DeviceProfile::Phone480, false);
    s.table->selectTopViewRebuild();

    s.press(QStringLiteral("OK"));

    EXPECT_TRUE(s.views->wordView->isHidden());
    EXPECT_TRUE(Settings::shared().stringForKey(QStringLiteral("Never2")).isEmpty());
}

} // namespace
} // namespace vimora::test
