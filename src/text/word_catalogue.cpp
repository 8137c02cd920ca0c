#include "text/word_catalogue.h"

#include "platform/device.h"
#include "platform/resources.h"
#include "text/text_controls.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/theme.h"
#include "ui/transition.h"

namespace vimora::text {

namespace {
// The text bar's buttons end 45 points down on a phone.
constexpr double kPhoneBelowTextBar = 50;
const QString kCellIdentifier = QStringLiteral("WordCell");
constexpr double kCellFontSize = 26;
constexpr double kCloseSeconds = 0.5;
} // namespace

std::optional<QString> compare(const QStringList &entries, const QString &text)
{
    if (entries.isEmpty())
        return std::nullopt;
    for (const QString &entry : entries) {
        if (text.isEmpty() ? !entry.isEmpty() : entry.contains(text, Qt::CaseSensitive))
            return entry;
    }
    return entries.last();
}

std::optional<int> rowForSearch(const QStringList &entries, const QString &text)
{
    const std::optional<QString> found = compare(entries, text);
    if (!found)
        return std::nullopt;
    return int(entries.indexOf(*found));
}

std::vector<int> matchingRows(const QStringList &entries, const QString &text)
{
    const QString wanted = text.trimmed();
    std::vector<int> rows;
    for (int row = 0; row < entries.size(); ++row)
        if (wanted.isEmpty() || entries.at(row).contains(wanted, Qt::CaseInsensitive))
            rows.push_back(row);
    return rows;
}

WordCatalogue::WordCatalogue(WordTableViews views, std::function<void(int row)> chosen)
    : m_views(std::move(views))
    , m_chosen(std::move(chosen))
{
}

WordCatalogue::~WordCatalogue()
{
    if (m_table) {
        m_table->setDataSource(nullptr);
        m_table->setDelegate(nullptr);
    }
    if (m_search)
        m_search->setDelegate(nullptr);
}

bool WordCatalogue::isShown() const
{
    return m_table && m_table->superview() && !m_views.wordView->isHidden() && m_views.wordView->alpha() > 0;
}

void WordCatalogue::showWordView()
{
    const bool tablet = isDeviceiPad();
    ui::ImageView &panel = *m_views.wordView;
    panel.removeAllSubviews();
    panel.setImage(Resources::imageNamed(QStringLiteral("selectViewBack1.png")));
    panel.setAlpha(1);
    panel.setHidden(false);
    panel.setUserInteractionEnabled(true);
    // On a phone the panel starts under the text bar: over it, its clear parts took the taps
    // meant for Font, Done, Words, Tips and Close.
    panel.setFrame(tablet ? QRectF(100, 50, 380, 480) : QRectF(0, kPhoneBelowTextBar, 320, 320));
    if (ui::View *parent = panel.superview())
        parent->bringSubviewToFront(&panel);

    const QRectF contentFrame = tablet ? QRectF(30, 60, 320, 400) : QRectF(5, 10, 310, 290);
    auto content = std::make_shared<ui::View>(contentFrame);
    content->setBackgroundColor(Qt::transparent);
    panel.addSubview(content);

    if (m_search)
        m_search->setDelegate(nullptr);
    m_search = std::make_shared<ui::SearchBar>(tablet ? QRectF(0, 0, 320, 60) : QRectF(3, 20, 310, 60));
    m_search->setPlaceholder(QStringLiteral("Input English word"));
    m_search->setKeyboardType(ui::TextField::KeyboardType::Default);
    m_search->setDelegate(this);
    m_search->backgroundView().removeFromSuperview();
    content->addSubview(m_search);

    if (m_table) {
        m_table->setDataSource(nullptr);
        m_table->setDelegate(nullptr);
    }
    m_table = std::make_shared<ui::TableView>(tablet ? QRectF(0, 60, 320, 340) : QRectF(0, 90, 310, 200));
    m_table->setRowHeight(kRowHeight);
    m_table->setDelegate(this);
    m_table->setDataSource(this);
    m_table->setShowsVerticalScrollIndicator(false);
    m_table->setShowsHorizontalScrollIndicator(false);
    content->addSubview(m_table);
    m_noMatch = std::make_shared<ui::Label>(tablet ? QRectF(0, 80, 320, 40) : QRectF(0, 110, 310, 40),
        QStringLiteral("No match"));
    m_noMatch->setTextColor(Qt::white);
    m_noMatch->setBackgroundColor(Qt::transparent);
    m_noMatch->setFont(ui::Theme::systemFont(20));
    content->addSubview(m_noMatch);
    filter(QString());

    auto close = pictureButton(
        QRectF(tablet ? 285 : 225, 5, 90, 40), QStringLiteral("resultTool"), QStringLiteral("cancelBtn.png"), {});
    close->addAction(ui::ControlEventTouchUpInside,
        [this](ui::Control &sender) { smallTheButton(static_cast<ui::Button &>(sender).currentTitle()); });
    panel.addSubview(close);
}

void WordCatalogue::smallTheButton(const QString &senderTitle)
{
    if (m_search)
        m_search->resignFirstResponder();
    if (senderTitle != QLatin1String("resultTool"))
        return;
    ui::ImageView &panel = *m_views.wordView;
    panel.addTransition(ui::Transition(ui::TransitionType::Suck, ui::TransitionSubtype::FromLeft, kCloseSeconds));
    panel.setAlpha(0);
    panel.setHidden(true);
}

bool WordCatalogue::saysNoMatch() const
{
    return m_noMatch && !m_noMatch->isHidden();
}

void WordCatalogue::filter(const QString &text)
{
    m_shownRows = matchingRows(m_words, text);
    if (m_noMatch)
        m_noMatch->setHidden(!m_shownRows.empty());
    if (m_table) {
        m_table->reloadData();
        m_table->setContentOffset(QPointF(0, 0));
    }
}

int WordCatalogue::numberOfRowsInSection(ui::TableView &, int)
{
    return int(m_shownRows.size());
}

Picture WordCatalogue::thumbnail(int row)
{
    auto it = m_thumbnails.find(row);
    if (it == m_thumbnails.end())
        it = m_thumbnails.emplace(row, Resources::imageNamed(QStringLiteral("words/%1s.png").arg(row))).first;
    return it->second;
}

ui::TableViewCellPtr WordCatalogue::cellForRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath)
{
    ui::TableViewCellPtr cell = tableView.dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell) {
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, kCellIdentifier);
        cell->textLabel().setFont(ui::Theme::systemFont(kCellFontSize));
        cell->textLabel().setNumberOfLines(7);
        cell->textLabel().setLineBreakMode(ui::LineBreakMode::WordWrap);
        cell->textLabel().setTextColor(Qt::black);
    }
    const int shown = indexPath.row;
    const int row = shown >= 0 && shown < int(m_shownRows.size()) ? m_shownRows[std::size_t(shown)] : -1;
    cell->textLabel().setText(row >= 0 && row < m_words.size() ? m_words.at(row) : QString());
    cell->imageView().setImage(row >= 0 ? thumbnail(row) : Picture());
    cell->layoutParts();
    return cell;
}

void WordCatalogue::didSelectRowAtIndexPath(ui::TableView &, const ui::IndexPath &indexPath)
{
    m_views.wordView->setHidden(true);
    if (m_search)
        m_search->resignFirstResponder();
    const int shown = indexPath.row;
    if (shown < 0 || shown >= int(m_shownRows.size()))
        return;
    if (m_chosen)
        m_chosen(m_shownRows[std::size_t(shown)]);
}

bool WordCatalogue::searchBarShouldBeginEditing(ui::SearchBar &searchBar)
{
    searchBar.setText(QString());
    filter(QString());
    return true;
}

void WordCatalogue::searchBar(ui::SearchBar &, const QString &searchText)
{
    filter(searchText);
}

void WordCatalogue::searchBarSearchButtonClicked(ui::SearchBar &searchBar)
{
    searchBar.resignFirstResponder();
}

} // namespace vimora::text
