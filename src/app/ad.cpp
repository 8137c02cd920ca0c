#include "app/ad.h"

#include <utility>

#include <QDesktopServices>

#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "ui/label.h"
#include "ui/overlay_stack.h"
#include "ui/table_view_cell.h"
#include "ui/theme.h"

namespace vimora {

namespace {
bool isTallPhone()
{
    return Device::profile() == DeviceProfile::Phone568;
}
} // namespace

AD::AD(const ShellViews &shell)
    : m_views(shell)
    , m_adView(std::make_shared<ui::ImageView>(QRectF(0, 0, 320, 480)))
    , m_view(std::make_shared<ui::View>(QRectF(0, 0, 320, 480)))
    , m_closeSetViewBtn(std::make_shared<ui::Button>())
    , m_header(std::make_shared<ui::View>())
    , m_headerLabel(std::make_shared<ui::Label>())
    , m_guideReader(std::make_unique<GuideReader>(m_views.mainView.get()))
    , m_openUrl([](const QUrl &url) { return QDesktopServices::openUrl(url); })
{
    m_adView->setHidden(true);
    m_adView->setUserInteractionEnabled(true);
    m_views.mainView->addSubview(m_adView);

    m_closeSetViewBtn->setTitle(QStringLiteral("close"));
    m_closeSetViewBtn->setTitleColor(Qt::transparent);
    m_closeSetViewBtn->setImage(Resources::imageNamed(QStringLiteral("leaveBtn2.png")));
    m_closeSetViewBtn->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { closeAdView(); });
    m_headerLabel->setText(QStringLiteral("Guide"));
    m_headerLabel->setBackgroundColor(Qt::transparent);
    m_headerLabel->setTextColor(Qt::white);
    m_headerLabel->setFont(ui::Theme::systemFont(18, true));
    m_header->setBackgroundColor(QColor(0x22, 0x27, 0x33));
    m_header->addSubview(m_headerLabel);
    m_header->addSubview(m_closeSetViewBtn);

    m_guideReader->setExternalOpener([this](const QUrl &url) { return m_openUrl && m_openUrl(url); });
    m_guideReader->setClosedHandler([this] {
        m_views.cateViewTop->setHidden(false);
        // One step back at a time: Escape or the close control on a page shows the list again.
        if (std::exchange(m_readerFromList, false))
            showAdView();
    });
}

AD::~AD() = default;

void AD::awakeFromNib()
{
    openPlist();
}

void AD::openPlist()
{
    m_adsAry = Resources::stringArray(QStringLiteral("ads"));
    m_adImgAry = Resources::stringArray(QStringLiteral("adImg"));
}

void AD::showAdView()
{
    const bool tablet = isDeviceiPad();
    m_views.cateViewTop->setHidden(!tablet);

    m_adView->setFrame(isTallPhone() ? QRectF(0, 0, 320, 568) : QRectF(0, 0, 320, 480));
    m_adView->setHidden(false);
    m_views.mainView->bringSubviewToFront(m_adView.get());
    m_adView->addSubview(m_view);

    if (tablet) {
        m_adView->setBackgroundColor(Qt::transparent);
        m_view->setFrame(QRectF(QPointF(0, 0), kPopoverContentSize));
    } else {
        // The list sits on a card with room around it, so a tap beside it closes it, and the
        // close control in its own header above the rows, never over them.
        m_adView->setBackgroundColor(QColor(0, 0, 0, 140));
        m_view->setFrame(m_adView->bounds().adjusted(kPhoneMargin, kPhoneMargin, -kPhoneMargin, -kPhoneMargin));
    }
    m_view->setBackgroundColor(QColor(0x14, 0x18, 0x21));
    m_view->setCornerRadius(tablet ? 0 : 12);
    m_view->setClipsToBounds(true);
    buildHeader(m_view->bounds().width());
    buildTable(QRectF(0, kHeaderHeight, m_view->bounds().width(), m_view->bounds().height() - kHeaderHeight));

    if (tablet) {
        ipadPopover();
        return;
    }
    ui::OverlayStack::of(m_view.get()).open(m_view, [this] { closeAdView(); });
}

void AD::buildHeader(double width)
{
    m_header->setFrame(QRectF(0, 0, width, kHeaderHeight));
    const double side = kHeaderHeight - 4;
    m_closeSetViewBtn->setFrame(QRectF(width - side - 2, 2, side, side));
    m_headerLabel->setFrame(QRectF(14, 0, width - side - 20, kHeaderHeight));
    m_view->addSubview(m_header);
}

void AD::buildTable(QRectF frame)
{
    if (m_adTable)
        m_adTable->removeFromSuperview();
    m_adTable = std::make_shared<ui::TableView>(frame);
    m_adTable->setBackgroundColor(Qt::transparent);
    m_adTable->setRowHeight(kRowHeight);
    m_adTable->setDelegate(this);
    m_adTable->setDataSource(this);
    m_adTable->setShowsHorizontalScrollIndicator(false);
    m_adTable->setShowsVerticalScrollIndicator(false);
    m_view->addSubview(m_adTable);
    m_adTable->reloadData();
}

void AD::ipadPopover()
{
    if (Device::isLandscape())
        adW();
    else
        adH();
}

void AD::adH()
{
    presentPopover(QRectF(340, 920, 320, 480));
}

void AD::adW()
{
    presentPopover(QRectF(420, 650, 320, 480));
}

void AD::presentPopover(QRectF anchor)
{
    if (m_popoverSetView)
        m_popoverSetView->dismissPopoverAnimated(false);
    m_popoverSetView = std::make_unique<ui::Popover>(m_view);
    m_popoverSetView->setPopoverContentSize(kPopoverContentSize);
    m_popoverSetView->setDelegate(this);
    m_popoverAnchor = anchor;
    m_popoverSetView->presentPopoverFromRect(anchor, m_views.mainView.get(), ui::PopoverArrowDirectionAny, true);
    m_adView->setHidden(false);
}

void AD::popoverControllerDidDismissPopover(ui::Popover &)
{
    // The empty container stays out of the way once the list has gone.
    m_adView->setHidden(true);
    m_views.cateViewTop->setHidden(false);
}

void AD::closeAdView()
{
    if (m_popoverSetView)
        m_popoverSetView->dismissPopoverAnimated(true);
    ui::OverlayStack::of(m_view.get()).closed(m_view.get());
    m_adView->setHidden(true);
    m_views.cateViewTop->setHidden(false);
}

bool AD::isAdViewOpen() const
{
    if (m_popoverSetView && m_popoverSetView->isPopoverVisible())
        return true;
    return !m_adView->isHidden() && m_view->superview() == m_adView.get();
}

void AD::rotated()
{
    if (m_popoverSetView && m_popoverSetView->isPopoverVisible())
        ipadPopover();
    if (m_guideReader->isOpen())
        m_guideReader->layOut();
}

int AD::numberOfRowsInSection(ui::TableView &, int)
{
    return tableViewNumberOfRowsInSection();
}

ui::TableViewCellPtr AD::cellForRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath)
{
    const QString identifier = QStringLiteral("UITableViewCell");
    ui::TableViewCellPtr cell = tableView.dequeueReusableCellWithIdentifier(identifier);
    if (!cell)
        cell = std::make_shared<ui::TableViewCell>(ui::TableViewCell::Style::Default, identifier);
    cell->setBackgroundColor(Qt::transparent);
    cell->textLabel().setText({});
    cell->imageView().setImage(tableViewCellImageForRow(indexPath.row));
    cell->layoutParts();
    return cell;
}

void AD::didSelectRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath)
{
    tableView.deselectRowAtIndexPath(indexPath, true);
    tableViewDidSelectRowAtIndexPath(indexPath.row);
}

int AD::tableViewNumberOfRowsInSection() const
{
    return int(m_adImgAry.size());
}

Picture AD::tableViewCellImageForRow(int row) const
{
    if (row < 0 || row >= m_adImgAry.size())
        return {};
    return Resources::imageNamed(m_adImgAry.at(row));
}

QUrl AD::addressForEntry(const QString &entry)
{
    const QString trimmed = entry.trimmed();
    if (trimmed.isEmpty())
        return {};
    const QUrl url(trimmed);
    if (url.isValid() && !url.scheme().isEmpty())
        return url;
    const QString path = Resources::path(trimmed);
    return path.isEmpty() ? QUrl() : QUrl::fromLocalFile(path);
}

void AD::tableViewDidSelectRowAtIndexPath(int row)
{
    // A picture without an address opens nothing.
    if (row < 0 || row >= m_adsAry.size()) {
        logLine(QStringLiteral("ad row %1 has no address").arg(row));
        return;
    }
    const QUrl url = addressForEntry(m_adsAry.at(row));
    if (!url.isValid()) {
        logLine(QStringLiteral("ad row %1: no page for \"%2\"").arg(row).arg(m_adsAry.at(row)));
        return;
    }
    openAddress(url);
}

void AD::openAddress(const QUrl &url)
{
    // One panel at a time: the list gives way to the page it opens.
    if (GuideReader::canRead(url)) {
        const bool fromList = isAdViewOpen();
        closeAdView();
        if (m_guideReader->open(url)) {
            m_views.cateViewTop->setHidden(true);
            m_readerFromList = fromList;
        }
        return;
    }
    m_guideReader->followLink(url);
}

} // namespace vimora
