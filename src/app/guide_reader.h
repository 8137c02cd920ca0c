#pragma once

// The in-app reader of our guide pages: a card over the screen with a header (back, the
// page's title, close) and the page in a scroll view. Links between pages open in the
// reader; it needs no browser. It closes by its close control, a tap outside the card and
// Escape.

#include <functional>
#include <memory>
#include <vector>

#include <QUrl>

#include "ui/button.h"
#include "ui/label.h"
#include "ui/rich_text_view.h"
#include "ui/scroll_view.h"

namespace vimora {

class GuideReader
{
public:
    static constexpr double kHeaderHeight = 52;
    static constexpr double kHeaderButtonSide = 44;

    /// The reader lays itself into parent, in front, when it opens.
    explicit GuideReader(ui::View *parent);
    ~GuideReader();
    GuideReader(const GuideReader &) = delete;
    GuideReader &operator=(const GuideReader &) = delete;

    /// A page the reader shows: a local HTML file.
    static bool canRead(const QUrl &address);

    /// Opens the reader on a page (a page already open is replaced, its history kept);
    /// false, and nothing changes, when the page cannot be read.
    bool open(const QUrl &page);
    /// Follows a link from the current page: our own pages open here, anything else goes to
    /// the external opener.
    void followLink(const QUrl &address);
    /// The previous page; false when there is none.
    bool back();
    void close();
    bool isOpen() const;
    /// Lays the card out for the screen size now (after a turn).
    void layOut();

    /// Told after the reader closed.
    void setClosedHandler(std::function<void()> handler) { m_closed = std::move(handler); }
    /// Opens an address that is not one of our pages; false when that failed.
    void setExternalOpener(std::function<bool(const QUrl &)> opener) { m_openExternal = std::move(opener); }

    QUrl currentPage() const { return m_history.empty() ? QUrl() : m_history.back(); }
    ui::ViewPtr shade() const { return m_shade; }
    ui::ViewPtr card() const { return m_card; }
    std::shared_ptr<ui::Button> closeButton() const { return m_closeButton; }
    std::shared_ptr<ui::Button> backButton() const { return m_backButton; }
    std::shared_ptr<ui::Label> titleLabel() const { return m_titleLabel; }
    std::shared_ptr<ui::ScrollView> scrollView() const { return m_scroll; }
    std::shared_ptr<ui::RichTextView> page() const { return m_page; }

private:
    bool show(const QUrl &page);
    void fitPage();
    void showProblem(const QString &message) const;

    ui::View *m_parent;
    ui::ViewPtr m_shade;
    ui::ViewPtr m_card;
    ui::ViewPtr m_header;
    std::shared_ptr<ui::Button> m_closeButton;
    std::shared_ptr<ui::Button> m_backButton;
    std::shared_ptr<ui::Label> m_titleLabel;
    std::shared_ptr<ui::ScrollView> m_scroll;
    std::shared_ptr<ui::RichTextView> m_page;
    std::vector<QUrl> m_history;
    std::function<void()> m_closed;
    std::function<bool(const QUrl &)> m_openExternal;
};

} // namespace vimora
