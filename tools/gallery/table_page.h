#pragma once

#include <memory>
#include <vector>

#include <QStringList>

#include "entry_page.h"
#include "ui/popover.h"
#include "ui/search_bar.h"
#include "ui/table_view.h"

namespace vimora::ui {
class Button;
class Label;
class NavigationController;
} // namespace vimora::ui

namespace vimora::gallery {

class AlbumsScreen;

/// The word catalogue (a search bar over a table of 110-point rows that scrolls to the first
/// word containing the search text), an album list and photo grid on a navigation stack
/// with a toolbar, and a promotions list in a popover.
class TablePage : public EntryPage,
                  private ui::TableViewDataSource,
                  private ui::TableViewDelegate,
                  private ui::SearchBarDelegate,
                  private ui::PopoverDelegate
{
public:
    TablePage();
    ~TablePage() override;

    void stage() override;
    /// Opens the promotions popover.
    void showPromotions();
    void showPopover() override { showPromotions(); }

protected:
    void buildCards() override;

private:
    void buildCatalogue(ui::View &card);
    void buildAlbums(ui::View &card);
    void buildStyles(ui::View &card);
    void buildPromotions(ui::View &card);
    /// The first word containing text (case matters); the last word when none does.
    int rowMatching(const QString &text) const;

    int numberOfRowsInSection(ui::TableView &table, int section) override;
    ui::TableViewCellPtr cellForRowAtIndexPath(ui::TableView &table, const ui::IndexPath &path) override;
    void didSelectRowAtIndexPath(ui::TableView &table, const ui::IndexPath &path) override;
    bool searchBarShouldBeginEditing(ui::SearchBar &bar) override;
    void searchBar(ui::SearchBar &bar, const QString &text) override;
    void searchBarSearchButtonClicked(ui::SearchBar &bar) override;
    void popoverControllerDidDismissPopover(ui::Popover &popover) override;

    QStringList m_words;
    std::shared_ptr<ui::SearchBar> m_search;
    std::shared_ptr<ui::TableView> m_wordTable;
    std::shared_ptr<ui::Label> m_found;
    std::shared_ptr<ui::NavigationController> m_navigation;
    std::shared_ptr<AlbumsScreen> m_albums;
    std::shared_ptr<ui::TableView> m_stylesTable;
    std::shared_ptr<ui::Button> m_promotionsButton;
    std::shared_ptr<ui::TableView> m_promotionTable;
    std::unique_ptr<ui::Popover> m_popover;
};

} // namespace vimora::gallery
