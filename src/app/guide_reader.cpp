#include "app/guide_reader.h"

#include <QFile>
#include <QFileInfo>

#include "platform/device.h"
#include "platform/log.h"
#include "screenkit/notices.h"
#include "ui/alert_view.h"
#include "ui/overlay_stack.h"
#include "ui/theme.h"

namespace vimora {

namespace {
// The pages' own dark ground, so the card does not flash white around short pages.
const QColor kPageColour(0x14, 0x18, 0x21);
const QColor kHeaderColour(0x22, 0x27, 0x33);

// Room left around the card: on a phone just enough to tap outside it.
double cardMargin()
{
    return isDeviceiPad() ? 40 : 10;
}

std::shared_ptr<ui::Button> headerButton(const QString &title)
{
    auto button = std::make_shared<ui::Button>(QRectF(0, 0, GuideReader::kHeaderButtonSide, GuideReader::kHeaderButtonSide));
    button->setTitle(title);
    button->setTitleColor(Qt::white);
    button->setTitleColor(QColor(255, 255, 255, 90), ui::ControlStateDisabled);
    button->setFont(ui::Theme::systemFont(17, true));
    button->setBackgroundColor(QColor(255, 255, 255, 28));
    button->setCornerRadius(GuideReader::kHeaderButtonSide / 2);
    return button;
}
} // namespace

GuideReader::GuideReader(ui::View *parent)
    : m_parent(parent)
    , m_shade(std::make_shared<ui::View>())
    , m_card(std::make_shared<ui::View>())
    , m_header(std::make_shared<ui::View>())
    , m_closeButton(headerButton(QStringLiteral("✕")))
    , m_backButton(headerButton(QStringLiteral("‹")))
    , m_titleLabel(std::make_shared<ui::Label>())
    , m_scroll(std::make_shared<ui::ScrollView>())
    , m_page(std::make_shared<ui::RichTextView>())
    , m_openExternal([](const QUrl &) { return false; })
{
    m_shade->setBackgroundColor(QColor(0, 0, 0, 140));
    m_shade->setHidden(true);
    m_card->setBackgroundColor(kPageColour);
    m_card->setCornerRadius(14);
    m_card->setClipsToBounds(true);
    m_shade->addSubview(m_card);

    auto &header = *m_header;
    header.setBackgroundColor(kHeaderColour);
    m_card->addSubview(m_header);
    m_titleLabel->setBackgroundColor(Qt::transparent);
    m_titleLabel->setTextColor(Qt::white);
    m_titleLabel->setFont(ui::Theme::systemFont(17, true));
    m_titleLabel->setTextAlignment(ui::TextAlignment::Center);
    m_titleLabel->setLineBreakMode(ui::LineBreakMode::TruncateTail);
    header.addSubview(m_titleLabel);
    header.addSubview(m_backButton);
    header.addSubview(m_closeButton);
    m_closeButton->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { close(); });
    m_backButton->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { back(); });

    m_scroll->setBackgroundColor(kPageColour);
    m_scroll->setShowsHorizontalScrollIndicator(false);
    m_card->addSubview(m_scroll);
    m_page->setBackgroundColor(Qt::transparent);
    m_page->setLinkHandler([this](const QUrl &address) { followLink(address); });
    m_scroll->addSubview(m_page);
}

GuideReader::~GuideReader()
{
    ui::OverlayStack::of(m_card.get()).closed(m_card.get());
    m_shade->removeFromSuperview();
}

bool GuideReader::canRead(const QUrl &address)
{
    if (!address.isLocalFile())
        return false;
    const QString suffix = QFileInfo(address.toLocalFile()).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm");
}

bool GuideReader::open(const QUrl &page)
{
    if (!show(page))
        return false;
    m_history.push_back(page.adjusted(QUrl::RemoveFragment));
    m_backButton->setEnabled(m_history.size() > 1);
    if (!isOpen()) {
        m_parent->addSubview(m_shade);
        m_shade->setHidden(false);
        layOut();
        ui::OverlayStack::of(m_card.get()).open(m_card, [this] { close(); });
    }
    m_parent->bringSubviewToFront(m_shade.get());
    return true;
}

bool GuideReader::show(const QUrl &page)
{
    QFile file(page.toLocalFile());
    if (!canRead(page) || !file.open(QIODevice::ReadOnly)) {
        logLine(QStringLiteral("guide: cannot read %1").arg(page.toString()));
        showProblem(QStringLiteral("The guide page could not be opened."));
        return false;
    }
    m_page->setHtml(QString::fromUtf8(file.readAll()), page);
    QString title = m_page->documentTitle();
    // "Vimora: Getting started" reads "Getting started" under our own header.
    if (const int colon = title.indexOf(QLatin1String(": ")); colon >= 0)
        title = title.mid(colon + 2);
    m_titleLabel->setText(title.isEmpty() ? QStringLiteral("Guide") : title);
    fitPage();
    return true;
}

void GuideReader::followLink(const QUrl &address)
{
    if (canRead(address)) {
        if (address.adjusted(QUrl::RemoveFragment) != currentPage())
            open(address);
        return;
    }
    if (!m_openExternal(address)) {
        logLine(QStringLiteral("guide: could not open %1").arg(address.toString()));
        showProblem(QStringLiteral("There is no browser here to open %1.").arg(address.toString()));
    }
}

bool GuideReader::back()
{
    if (m_history.size() < 2)
        return false;
    m_history.pop_back();
    show(m_history.back());
    m_backButton->setEnabled(m_history.size() > 1);
    return true;
}

void GuideReader::close()
{
    if (!isOpen())
        return;
    m_shade->setHidden(true);
    m_shade->removeFromSuperview();
    ui::OverlayStack::of(m_parent).closed(m_card.get());
    m_history.clear();
    if (m_closed)
        m_closed();
}

bool GuideReader::isOpen() const
{
    return m_shade->superview() && !m_shade->isHidden();
}

void GuideReader::layOut()
{
    const QSizeF screen = Device::screenSize();
    m_shade->setFrame(QRectF(QPointF(0, 0), screen));
    const double margin = cardMargin();
    // A tablet's card stays a readable column; a phone's takes the screen less its margin.
    const double width = std::min(screen.width() - 2 * margin, 720.0);
    const QRectF card((screen.width() - width) / 2, margin, width, screen.height() - 2 * margin);
    m_card->setFrame(card);

    const double side = kHeaderButtonSide;
    const double inset = (kHeaderHeight - side) / 2;
    m_backButton->setFrame(QRectF(inset, inset, side, side));
    m_closeButton->setFrame(QRectF(card.width() - inset - side, inset, side, side));
    m_titleLabel->setFrame(QRectF(2 * inset + side, 0, card.width() - 2 * (2 * inset + side), kHeaderHeight));
    m_header->setFrame(QRectF(0, 0, card.width(), kHeaderHeight));
    m_scroll->setFrame(QRectF(0, kHeaderHeight, card.width(), card.height() - kHeaderHeight));
    m_page->setFrame(QRectF(0, 0, card.width(), m_page->frame().height()));
    fitPage();
}

void GuideReader::fitPage()
{
    // The page as tall as its text, shown from its top.
    m_page->sizeToFit();
    m_scroll->setContentSize(m_page->frame().size());
    m_scroll->setContentOffset(QPointF(0, 0));
}

void GuideReader::showProblem(const QString &message) const
{
    showNotice(QStringLiteral("Guide"), message);
}

} // namespace vimora
