#pragma once

// The promotions panel: a list of pictures, one per promoted page, each opening its address.
// The rows come from the resource lists "ads" (addresses) and "adImg" (picture names).

#include <functional>
#include <memory>

#include <QRectF>
#include <QStringList>
#include <QUrl>

#include "app/guide_reader.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/popover.h"
#include "ui/table_view.h"
#include "screenkit/screen_views.h"

namespace vimora {

class AD : public ui::TableViewDataSource, public ui::TableViewDelegate, public ui::PopoverDelegate
{
public:
    static constexpr double kRowHeight = 180;
    static constexpr QSizeF kPopoverContentSize{320, 480};
    /// The panel's header (title and close control) above the list.
    static constexpr double kHeaderHeight = 48;
    /// Room around the phone's panel, where a tap closes it.
    static constexpr double kPhoneMargin = 10;

    /// Opens an address that is not one of our guide pages; the application uses the
    /// desktop's browser, tests record.
    using UrlOpener = std::function<bool(const QUrl &)>;

    explicit AD(const ShellViews &shell);
    ~AD() override;
    AD(const AD &) = delete;
    AD &operator=(const AD &) = delete;

    /// Loading: reads both lists.
    void awakeFromNib();
    void openPlist();

    void showAdView();
    /// Tablet: presents the panel in a popover for the current orientation.
    void ipadPopover();
    void adH();
    void adW();
    /// The close control, a tap outside the panel and Escape: the panel goes (the popover
    /// on a tablet) and the category bar shows.
    void closeAdView();
    /// Whether the list is up (popover or phone panel).
    bool isAdViewOpen() const;
    /// The screen turned: the popover and the guide reader follow.
    void rotated();
    /// Tablet: the popover was closed by a tap outside it.
    void popoverControllerDidDismissPopover(ui::Popover &popover) override;

    // The list: one row per picture name.
    int numberOfRowsInSection(ui::TableView &tableView, int section) override;
    ui::TableViewCellPtr cellForRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath) override;
    void didSelectRowAtIndexPath(ui::TableView &tableView, const ui::IndexPath &indexPath) override;
    int tableViewNumberOfRowsInSection() const;
    /// The picture a row shows (none when its name is missing).
    Picture tableViewCellImageForRow(int row) const;
    void tableViewDidSelectRowAtIndexPath(int row);

    /// Where a row's entry points: an address with a scheme as it stands, anything else a
    /// page among the resources. Invalid when the entry is missing or names nothing.
    static QUrl addressForEntry(const QString &entry);

    void setUrlOpener(UrlOpener opener) { m_openUrl = std::move(opener); }

    const QStringList &adsAry() const { return m_adsAry; }
    const QStringList &adImgAry() const { return m_adImgAry; }
    std::shared_ptr<ui::ImageView> adView() const { return m_adView; }
    ui::ViewPtr view() const { return m_view; }
    std::shared_ptr<ui::TableView> adTable() const { return m_adTable; }
    std::shared_ptr<ui::Button> closeSetViewBtn() const { return m_closeSetViewBtn; }
    std::shared_ptr<ui::Label> headerLabel() const { return m_headerLabel; }
    GuideReader &guideReader() { return *m_guideReader; }
    /// The tablet's popover (nullptr before the panel was first shown on a tablet).
    ui::Popover *popoverSetView() const { return m_popoverSetView.get(); }
    /// The rectangle of mainView the popover was last presented from.
    QRectF popoverAnchor() const { return m_popoverAnchor; }

private:
    void buildTable(QRectF frame);
    void buildHeader(double width);
    void openAddress(const QUrl &url);
    void presentPopover(QRectF anchor);

    ShellViews m_views;
    QStringList m_adsAry;
    QStringList m_adImgAry;
    std::shared_ptr<ui::ImageView> m_adView;
    ui::ViewPtr m_view;
    std::shared_ptr<ui::TableView> m_adTable;
    std::shared_ptr<ui::Button> m_closeSetViewBtn;
    std::shared_ptr<ui::View> m_header;
    std::shared_ptr<ui::Label> m_headerLabel;
    std::unique_ptr<GuideReader> m_guideReader;
    /// The open page came from the list: closing it goes back one step, to the list.
    bool m_readerFromList = false;
    std::unique_ptr<ui::Popover> m_popoverSetView;
    QRectF m_popoverAnchor;
    UrlOpener m_openUrl;
};

} // namespace vimora
