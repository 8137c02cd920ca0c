#include "table_page.h"

#include <cmath>

#include "entry_art.h"
#include "gallery_art.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/navigation_controller.h"
#include "ui/tap_recognizer.h"
#include "ui/theme.h"

using namespace vimora::ui;

namespace vimora::gallery {

namespace {

constexpr double kWordRowHeight = 110;
constexpr double kAlbumRowHeight = 57;
constexpr double kItemSize = 75;
constexpr double kCheckSize = 28;
constexpr double kPromotionRowHeight = 180;
constexpr int kStyleRows = 5;

const char *const kWords[] = {"apple",  "banana", "cherry",    "dragon", "eclipse",  "feather", "galaxy",
                              "harbour", "island", "jasmine",  "kite",   "lantern",  "pineapple", "meadow",
                              "nectar", "orchid", "pebble",    "quartz", "river",    "sunrise", "thunder",
                              "umbrella", "velvet", "willow"};

struct Album
{
    QString name;
    int photos;
};

const Album kAlbums[] = {{QStringLiteral("All photos"), 14}, {QStringLiteral("Summer"), 9},
                         {QStringLiteral("Lakes"), 6},        {QStringLiteral("Evenings"), 11},
                         {QStringLiteral("Cut-outs"), 4},     {QStringLiteral("Postcards"), 7}};

// One grid row: up to itemsPerRow photos, each toggled by a tap.
class GridCell : public TableViewCell
{
public:
    explicit GridCell(int itemsPerRow)
        : TableViewCell(Style::Default, QStringLiteral("QvIPCGridCell"))
    {
        setSelectionStyle(SelectionStyle::None);
        setSeparator(false, Qt::transparent);
        for (int i = 0; i < itemsPerRow; ++i) {
            auto item = std::make_shared<ImageView>();
            item->setUserInteractionEnabled(true);
            item->setClipsToBounds(true);
            item->setContentMode(ContentMode::ScaleAspectFill);
            auto check = std::make_shared<ImageView>(checkmark(kCheckSize));
            check->setFrame(QRectF(kItemSize - 4 - kCheckSize, kItemSize - 4 - kCheckSize, kCheckSize, kCheckSize));
            item->addSubview(check);
            item->addGestureRecognizer(std::make_shared<TapRecognizer>([this, i](TapRecognizer &) {
                if (onTap)
                    onTap(first + i);
            }));
            contentView().addSubview(item);
            m_items.push_back(item);
            m_checks.push_back(check);
        }
    }

    void show(int firstIndex, int count, double gap, const std::vector<bool> &ticked)
    {
        first = firstIndex;
        for (int i = 0; i < int(m_items.size()); ++i) {
            const int index = firstIndex + i;
            const bool present = index < count;
            m_items[i]->setHidden(!present);
            if (!present)
                continue;
            m_items[i]->setFrame(QRectF(gap + i * (kItemSize + gap), gap, kItemSize, kItemSize));
            m_items[i]->setImage(landscapePhoto(150, 150, index));
            m_items[i]->setAlpha(ticked[index] ? 0.75 : 1.0);
            m_checks[i]->setHidden(!ticked[index]);
        }
    }

    std::function<void(int)> onTap;
    int first = 0;

private:
    std::vector<std::shared_ptr<ImageView>> m_items;
    std::vector<std::shared_ptr<ImageView>> m_checks;
};

// The photos of one album in rows, ticked by taps; Done once any is ticked.
class GridScreen : public NavigationScreen, private TableViewDataSource
{
public:
    GridScreen(const Album &album, std::function<void(const QString &)> status)
        : m_album(album)
        , m_ticked(size_t(album.photos), false)
        , m_status(std::move(status))
    {
        setTitle(album.name);
        m_done = std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::Done, [this](BarButtonItem &) {
            m_status(QStringLiteral("Done: %1 photos chosen").arg(count()));
            if (navigationController())
                navigationController()->popToRootScreen(true);
        });
        m_done->setEnabled(false);
        navigationItem().setRightBarButtonItem(m_done);
        setToolbarItems({std::make_shared<BarButtonItem>(QStringLiteral("Select All"), BarButtonItem::Style::Bordered,
                                                         [this](BarButtonItem &) { tickAll(true); }),
                         std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::FlexibleSpace),
                         std::make_shared<BarButtonItem>(QStringLiteral("Deselect All"), BarButtonItem::Style::Bordered,
                                                         [this](BarButtonItem &) { tickAll(false); })});
    }

    void toggle(int index)
    {
        m_ticked[size_t(index)] = !m_ticked[size_t(index)];
        changed();
    }

protected:
    ViewPtr loadView() override
    {
        m_table = std::make_shared<TableView>();
        m_table->setBackgroundColor(QColor(250, 250, 250));
        m_table->setSeparatorStyle(TableView::SeparatorStyle::None);
        m_table->setDataSource(this);
        return m_table;
    }
    void viewWillAppear(bool) override
    {
        m_table->setRowHeight(gap() + kItemSize);
        m_table->reloadData();
    }

private:
    int perRow() const { return std::max(1, int((m_table->bounds().width() - 4) / (kItemSize + 4))); }
    double gap() const { return (m_table->bounds().width() - perRow() * kItemSize) / (perRow() + 1); }
    int count() const { return int(std::count(m_ticked.begin(), m_ticked.end(), true)); }

    int numberOfRowsInSection(TableView &, int) override { return (m_album.photos + perRow() - 1) / perRow(); }
    TableViewCellPtr cellForRowAtIndexPath(TableView &table, const IndexPath &path) override
    {
        auto cell = std::dynamic_pointer_cast<GridCell>(table.dequeueReusableCellWithIdentifier(QStringLiteral("QvIPCGridCell")));
        if (!cell) {
            cell = std::make_shared<GridCell>(perRow());
            cell->onTap = [this](int index) { toggle(index); };
        }
        cell->setBackgroundColor(Qt::transparent);
        cell->show(path.row * perRow(), m_album.photos, gap(), m_ticked);
        return cell;
    }

    void tickAll(bool on)
    {
        std::fill(m_ticked.begin(), m_ticked.end(), on);
        changed();
    }
    void changed()
    {
        for (const TableViewCellPtr &c : m_table->visibleCells())
            if (auto cell = std::dynamic_pointer_cast<GridCell>(c))
                cell->show(cell->first, m_album.photos, gap(), m_ticked);
        m_done->setEnabled(count() > 0);
        navigationItem().setPrompt(QStringLiteral("(%1/%2)").arg(count()).arg(m_album.photos));
        m_status(QStringLiteral("qvGridItem:didChangeNumberOfSelections: %1").arg(count()));
    }

    Album m_album;
    std::vector<bool> m_ticked;
    std::function<void(const QString &)> m_status;
    std::shared_ptr<BarButtonItem> m_done;
    std::shared_ptr<TableView> m_table;
};

} // namespace

// The album list: name, photo count and poster per row; a row opens the album's grid.
class AlbumsScreen : public NavigationScreen, private TableViewDataSource, private TableViewDelegate
{
public:
    explicit AlbumsScreen(std::function<void(const QString &)> status)
        : m_status(std::move(status))
    {
        setTitle(QStringLiteral("Albums"));
        navigationItem().setLeftBarButtonItem(std::make_shared<BarButtonItem>(
            BarButtonItem::SystemItem::Cancel, [this](BarButtonItem &) { m_status(QStringLiteral("qvImagePickerController:didFail:")); }));
    }

    void open(int row, bool animated)
    {
        if (auto nav = navigationController())
            nav->pushScreen(std::make_shared<GridScreen>(kAlbums[row], m_status), animated);
    }

protected:
    ViewPtr loadView() override
    {
        m_table = std::make_shared<TableView>();
        m_table->setRowHeight(kAlbumRowHeight);
        m_table->setDataSource(this);
        m_table->setDelegate(this);
        return m_table;
    }
    void viewWillAppear(bool) override
    {
        if (auto selected = m_table->indexPathForSelectedRow())
            m_table->deselectRowAtIndexPath(*selected, true);
    }

private:
    int numberOfRowsInSection(TableView &, int) override { return int(std::size(kAlbums)); }
    TableViewCellPtr cellForRowAtIndexPath(TableView &table, const IndexPath &path) override
    {
        TableViewCellPtr cell = table.dequeueReusableCellWithIdentifier(QStringLiteral("Album"));
        if (!cell)
            cell = std::make_shared<TableViewCell>(TableViewCell::Style::Subtitle, QStringLiteral("Album"));
        const Album &album = kAlbums[path.row];
        cell->textLabel().setText(album.name);
        cell->textLabel().setFont(Theme::systemFont(17, true));
        cell->detailTextLabel().setText(QStringLiteral("%1").arg(album.photos));
        cell->imageView().setImage(landscapePhoto(100, 100, path.row));
        cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
        return cell;
    }
    void didSelectRowAtIndexPath(TableView &, const IndexPath &path) override
    {
        m_status(QStringLiteral("did select album %1").arg(kAlbums[path.row].name));
        open(path.row, true);
    }

    std::function<void(const QString &)> m_status;
    std::shared_ptr<TableView> m_table;
};

TablePage::TablePage()
    : EntryPage(QStringLiteral("Tables and navigation"))
{
    for (const char *w : kWords)
        m_words.append(QString::fromLatin1(w));
}

TablePage::~TablePage()
{
    if (m_popover)
        m_popover->setDelegate(nullptr);
}

void TablePage::buildCards()
{
    if (m_popover)
        m_popover->dismissPopoverAnimated(false);
    const double styles = 50 + kStyleRows * TableView::kDefaultRowHeight;
    const double albums = 470, promotions = 136;
    // On a tablet the catalogue runs as deep as the right-hand column.
    const double catalogue = isTablet() ? albums + styles + promotions + 2 * 14 : 460;
    buildCatalogue(*card(QStringLiteral("Word catalogue"), catalogue, 0));
    buildAlbums(*card(QStringLiteral("Multi-photo picker"), albums, 1));
    buildStyles(*card(QStringLiteral("Cell styles"), styles, 1));
    buildPromotions(*card(QStringLiteral("Promotions popover"), promotions, 1));
}

void TablePage::buildCatalogue(View &c)
{
    const double w = c.bounds().width(), h = c.bounds().height();
    m_search = std::make_shared<SearchBar>(QRectF(6, 34, w - 12, SearchBar::kHeight));
    m_search->setPlaceholder(QStringLiteral("Input English word"));
    m_search->setDelegate(this);
    m_search->subviewAt(0)->removeFromSuperview(); // the bar's own background, as the catalogue removes it
    c.addSubview(m_search);

    m_wordTable = std::make_shared<TableView>(QRectF(14, 84, w - 28, h - 84 - 40));
    m_wordTable->setRowHeight(kWordRowHeight);
    m_wordTable->setShowsVerticalScrollIndicator(false);
    m_wordTable->setCornerRadius(8);
    m_wordTable->setBackgroundColor(Qt::white);
    m_wordTable->setDataSource(this);
    m_wordTable->setDelegate(this);
    c.addSubview(m_wordTable);
    m_wordTable->reloadData();

    m_found = makeLabel(QRectF(14, h - 34, w - 28, 24), QStringLiteral("Search scrolls to the first word containing the text."),
                        12, false, kMutedInk);
    c.addSubview(m_found);
}

void TablePage::buildAlbums(View &c)
{
    const double w = c.bounds().width(), h = c.bounds().height();
    m_albums = std::make_shared<AlbumsScreen>([this](const QString &s) { setStatus(s); });
    m_navigation = std::make_shared<NavigationController>(m_albums);
    m_navigation->setFrame(QRectF(14, 40, w - 28, h - 54));
    m_navigation->setCornerRadius(8);
    m_navigation->setClipsToBounds(true);
    m_navigation->navigationBar().setBarStyle(BarStyle::Black);
    m_navigation->navigationBar().setTranslucent(true);
    m_navigation->toolbar().setBarStyle(BarStyle::Black);
    m_navigation->toolbar().setTranslucent(true);
    m_navigation->setToolbarHidden(false);
    c.addSubview(m_navigation);
}

void TablePage::buildStyles(View &c)
{
    const double w = c.bounds().width();
    m_stylesTable = std::make_shared<TableView>(QRectF(14, 38, w - 28, kStyleRows * TableView::kDefaultRowHeight));
    m_stylesTable->setCornerRadius(8);
    m_stylesTable->setScrollEnabled(false);
    m_stylesTable->setDataSource(this);
    m_stylesTable->setDelegate(this);
    c.addSubview(m_stylesTable);
    m_stylesTable->reloadData();
    m_stylesTable->selectRowAtIndexPath(IndexPath{0, kStyleRows - 1}, false, TableView::ScrollPosition::None);
}

void TablePage::buildPromotions(View &c)
{
    const double w = c.bounds().width();
    m_promotionsButton = std::make_shared<Button>(QRectF(14, 40, w - 28, 44), Button::Type::RoundedRect);
    m_promotionsButton->setTitle(QStringLiteral("Promotions"));
    m_promotionsButton->addAction(ControlEventTouchUpInside, [this](Control &) { showPromotions(); });
    c.addSubview(m_promotionsButton);
    auto note = makeLabel(QRectF(14, 90, w - 28, 36),
                          QStringLiteral("A 320 × 480 panel with an arrow at the button; a tap outside closes it."), 12,
                          false, kMutedInk);
    note->setNumberOfLines(2);
    note->setLineBreakMode(LineBreakMode::WordWrap);
    c.addSubview(note);
}

void TablePage::showPromotions()
{
    if (!m_promotionTable) {
        m_promotionTable = std::make_shared<TableView>();
        m_promotionTable->setRowHeight(kPromotionRowHeight);
        m_promotionTable->setBackgroundColor(Qt::transparent);
        m_promotionTable->setSeparatorStyle(TableView::SeparatorStyle::None);
        m_promotionTable->setShowsVerticalScrollIndicator(false);
        m_promotionTable->setDataSource(this);
        m_promotionTable->setDelegate(this);
        m_popover = std::make_unique<Popover>(m_promotionTable);
        m_popover->setPopoverContentSize(QSizeF(320, 480));
        m_popover->setDelegate(this);
    }
    m_popover->presentPopoverFromRect(m_promotionsButton->bounds(), m_promotionsButton.get(), PopoverArrowDirectionAny, true);
    m_promotionTable->reloadData();
    setStatus(QStringLiteral("popover presented"));
}

int TablePage::rowMatching(const QString &text) const
{
    for (int i = 0; i < m_words.size(); ++i)
        if (m_words[i].contains(text, Qt::CaseSensitive))
            return i;
    return int(m_words.size()) - 1;
}

int TablePage::numberOfRowsInSection(TableView &table, int)
{
    if (&table == m_promotionTable.get())
        return 6;
    if (&table == m_stylesTable.get())
        return kStyleRows;
    return int(m_words.size());
}

TableViewCellPtr TablePage::cellForRowAtIndexPath(TableView &table, const IndexPath &path)
{
    if (&table == m_stylesTable.get()) {
        using Style = TableViewCell::Style;
        const Style styles[kStyleRows] = {Style::Default, Style::Subtitle, Style::Value1, Style::Default, Style::Default};
        auto cell = std::make_shared<TableViewCell>(styles[path.row]);
        switch (path.row) {
        case 0:
            cell->textLabel().setText(QStringLiteral("Default, with a picture"));
            cell->imageView().setImage(wordTile(QStringLiteral("default"), 34));
            break;
        case 1:
            cell->textLabel().setText(QStringLiteral("Subtitle"));
            cell->detailTextLabel().setText(QStringLiteral("A detail line under the text"));
            cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
            break;
        case 2:
            cell->textLabel().setText(QStringLiteral("Value 1"));
            cell->detailTextLabel().setText(QStringLiteral("on the right"));
            break;
        case 3:
            cell->textLabel().setText(QStringLiteral("Checkmark accessory"));
            cell->setAccessoryType(TableViewCell::AccessoryType::Checkmark);
            break;
        default:
            cell->textLabel().setText(QStringLiteral("A selected row"));
            cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
            break;
        }
        for (Label *label : {&cell->textLabel(), &cell->detailTextLabel()})
            if (label->font().pixelSize() > 17)
                label->setFont(Theme::systemFont(17, true));
        return cell;
    }
    TableViewCellPtr cell = table.dequeueReusableCellWithIdentifier(QStringLiteral("UITableViewCell"));
    if (!cell)
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, QStringLiteral("UITableViewCell"));
    if (&table == m_promotionTable.get()) {
        cell->setBackgroundColor(Qt::transparent);
        cell->setSelectionStyle(TableViewCell::SelectionStyle::None);
        cell->textLabel().setText(QString());
        cell->imageView().setImage(promotionBanner(path.row, 300, kPromotionRowHeight - 10));
        return cell;
    }
    const QString word = m_words.value(path.row);
    cell->textLabel().setText(word);
    cell->textLabel().setTextColor(Qt::black);
    cell->textLabel().setFont(Theme::systemFont(26));
    cell->textLabel().setNumberOfLines(7);
    cell->textLabel().setLineBreakMode(LineBreakMode::WordWrap);
    cell->imageView().setImage(wordTile(word, 84));
    return cell;
}

void TablePage::didSelectRowAtIndexPath(TableView &table, const IndexPath &path)
{
    if (&table == m_stylesTable.get()) {
        setStatus(QStringLiteral("tableView:didSelectRowAtIndexPath: row %1").arg(path.row));
        return;
    }
    if (&table == m_promotionTable.get()) {
        setStatus(QStringLiteral("would open promotion %1").arg(path.row + 1));
        return;
    }
    m_search->resignFirstResponder();
    setStatus(QStringLiteral("chose \"%1\": its picture goes onto the background").arg(m_words.value(path.row)));
}

bool TablePage::searchBarShouldBeginEditing(SearchBar &bar)
{
    bar.setText(QString());
    return true;
}

void TablePage::searchBar(SearchBar &, const QString &text)
{
    const int row = rowMatching(text);
    if (row < 0)
        return;
    m_wordTable->scrollToRowAtIndexPath(IndexPath{0, row}, TableView::ScrollPosition::Top, false);
    m_found->setText(QStringLiteral("\"%1\" → %2, row %3").arg(text, m_words[row]).arg(row));
    setStatus(QStringLiteral("searchBar:textDidChange: \"%1\"").arg(text));
}

void TablePage::searchBarSearchButtonClicked(SearchBar &bar)
{
    bar.resignFirstResponder();
}

void TablePage::popoverControllerDidDismissPopover(Popover &)
{
    setStatus(QStringLiteral("popoverControllerDidDismissPopover:"));
}

void TablePage::stage()
{
    // A search under way in the catalogue, an album open with photos ticked.
    m_search->becomeFirstResponder();
    for (const QChar c : QStringLiteral("neap")) {
        m_search->textField().editor().insertText(QString(c));
    }
    m_albums->open(1, false);
    if (auto grid = std::dynamic_pointer_cast<GridScreen>(m_navigation->topScreen())) {
        grid->toggle(1);
        grid->toggle(4);
        grid->toggle(6);
    }
}

} // namespace vimora::gallery
