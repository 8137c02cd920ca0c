#include "entry_page.h"

#include <algorithm>

#include <QLinearGradient>
#include <QPainter>

#include "table_page.h"
#include "text_page.h"
#include "ui/label.h"
#include "ui/scroll_view.h"
#include "ui/theme.h"

using namespace vimora::ui;

namespace vimora::gallery {

namespace {

constexpr double kMargin = 14;
constexpr double kCardGap = 14;
constexpr double kTop = 58;

class Backdrop : public View
{
public:
    using View::View;

protected:
    void drawContent(QPainter &painter) const override
    {
        QLinearGradient g(0, 0, 0, bounds().height());
        g.setColorAt(0, QColor(38, 48, 66));
        g.setColorAt(1, QColor(16, 20, 30));
        painter.fillRect(bounds(), g);
    }
    bool drawsContent() const override { return true; }
};

} // namespace

const QColor EntryPage::kInk(235, 240, 248);
const QColor EntryPage::kMutedInk(170, 182, 200);

EntryPage::EntryPage(const QString &title)
    : m_title(title)
    , m_root(std::make_shared<ScrollView>())
{
    m_root->setBackgroundColor(QColor(16, 20, 30));
    m_root->setShowsHorizontalScrollIndicator(false);
}

EntryPage::~EntryPage() = default;

std::unique_ptr<EntryPage> EntryPage::named(const QString &name)
{
    if (name == QLatin1String("text"))
        return std::make_unique<TextPage>();
    if (name == QLatin1String("table"))
        return std::make_unique<TablePage>();
    return nullptr;
}

ViewPtr EntryPage::rootView() const
{
    return m_root;
}

std::shared_ptr<Label> EntryPage::makeLabel(const QRectF &frame, const QString &text, double size, bool bold, QColor color)
{
    auto label = std::make_shared<Label>(frame, text);
    label->setBackgroundColor(Qt::transparent);
    label->setTextColor(color);
    label->setFont(Theme::systemFont(size, bold));
    return label;
}

ViewPtr EntryPage::card(const QString &title, double height, int column)
{
    const int c = m_twoColumns ? std::clamp(column, 0, 1) : 0;
    const double x = kMargin + c * (m_cardWidth + kCardGap);
    auto v = std::make_shared<View>(QRectF(x, m_columnBottoms[c], m_cardWidth, height));
    v->setBackgroundColor(QColor(255, 255, 255, 18));
    v->setCornerRadius(12);
    v->setBorderWidth(1);
    v->setBorderColor(QColor(255, 255, 255, 45));
    v->addSubview(makeLabel(QRectF(14, 6, m_cardWidth - 28, 24), title.toUpper(), 12, true, kMutedInk));
    m_root->addSubview(v);
    m_columnBottoms[c] += height + kCardGap;
    return v;
}

void EntryPage::setStatus(const QString &text)
{
    if (m_status)
        m_status->setText(text);
}

void EntryPage::build(QSizeF screen)
{
    m_screen = screen;
    m_root->removeAllSubviews();
    m_root->setContentOffset(QPointF(0, 0));
    m_twoColumns = screen.width() >= 700;
    m_cardWidth = m_twoColumns ? (screen.width() - 2 * kMargin - kCardGap) / 2 : screen.width() - 2 * kMargin;
    m_columnBottoms.assign(m_twoColumns ? 2 : 1, kTop);

    auto backdrop = std::make_shared<Backdrop>(QRectF(0, 0, screen.width(), screen.height()));
    m_root->addSubview(backdrop);
    auto title = makeLabel(QRectF(kMargin, 12, screen.width() - 2 * kMargin, 36), m_title, 24, true);
    title->setShadowColor(QColor(0, 0, 0, 160));
    title->setShadowOffset(QPointF(0, 2));
    m_root->addSubview(title);
    m_status.reset();

    buildCards();

    const double bottom = *std::max_element(m_columnBottoms.begin(), m_columnBottoms.end());
    m_status = makeLabel(QRectF(kMargin, bottom, screen.width() - 2 * kMargin, 26),
                         QStringLiteral("Type, tap and scroll: what the delegates hear shows here."), 13, false, kMutedInk);
    m_status->setTextAlignment(TextAlignment::Center);
    m_root->addSubview(m_status);
    const double contentHeight = std::max(screen.height(), bottom + 36);
    m_root->setContentSize(QSizeF(screen.width(), contentHeight));
    backdrop->setFrame(QRectF(0, 0, screen.width(), contentHeight));
}

} // namespace vimora::gallery
