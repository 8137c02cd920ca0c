#pragma once

// The word-art catalogue: a search bar over a table with one row per word of
// the list, each with its thumbnail ("words/<row>s.png"). Typing keeps only the
// words containing the text (any case) and says "No match" when none does;
// choosing a row hands the word's number in the list to the screen, which drops
// the word's picture.

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include <QStringList>

#include "imaging/picture.h"
#include "text/word_table_views.h"
#include "ui/label.h"
#include "ui/search_bar.h"
#include "ui/table_view.h"

namespace vimora::text {

/// The first entry containing text (exact, case sensitive), else the last
/// entry; nothing for an empty list. An empty text finds the first non-empty
/// entry.
std::optional<QString> compare(const QStringList &entries, const QString &text);
/// The row the table scrolls to for a search: the first row holding compare's
/// entry.
std::optional<int> rowForSearch(const QStringList &entries, const QString &text);
/// The indices of the entries containing text, ignoring case; every index for
/// an empty (or blank) text.
std::vector<int> matchingRows(const QStringList &entries, const QString &text);

class WordCatalogue : public ui::TableViewDataSource, public ui::TableViewDelegate, public ui::SearchBarDelegate {
public:
    static constexpr double kRowHeight = 110;

    WordCatalogue(WordTableViews views, std::function<void(int row)> chosen);
    ~WordCatalogue() override;

    void setWords(const QStringList &words) { m_words = words; }
    const QStringList &words() const { return m_words; }

    /// showWordView: builds and shows the panel.
    void showWordView();
    /// smallTheButton: closes the panel when the sender is titled "resultTool".
    void smallTheButton(const QString &senderTitle);
    bool isShown() const;
    /// The words the table lists now (their numbers in the list), and whether
    /// it says "No match".
    const std::vector<int> &shownRows() const { return m_shownRows; }
    bool saysNoMatch() const;

    ui::TableView *wordTable() const { return m_table.get(); }
    ui::SearchBar *searchHanBar() const { return m_search.get(); }
    /// Thumbnails decoded so far (each at most once).
    int thumbnailsDecoded() const { return int(m_thumbnails.size()); }

    int numberOfRowsInSection(ui::TableView &tableView, int section) override;
    ui::TableViewCellPtr cellForRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath) override;
    bool searchBarShouldBeginEditing(ui::SearchBar &searchBar) override;
    void searchBar(ui::SearchBar &searchBar, const QString &searchText) override;
    void searchBarSearchButtonClicked(ui::SearchBar &searchBar) override;

private:
    Picture thumbnail(int row);
    void filter(const QString &text);

    WordTableViews m_views;
    std::function<void(int)> m_chosen;
    QStringList m_words;
    std::shared_ptr<ui::SearchBar> m_search;
    std::shared_ptr<ui::TableView> m_table;
    std::shared_ptr<ui::Label> m_noMatch;
    std::vector<int> m_shownRows;
    std::map<int, Picture> m_thumbnails;
};

} // namespace vimora::text
