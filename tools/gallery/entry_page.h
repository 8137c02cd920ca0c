#pragma once

#include <memory>
#include <vector>

#include <QSizeF>
#include <QString>

#include "ui/view.h"

namespace vimora::ui {
class Label;
class ScrollView;
} // namespace vimora::ui

namespace vimora::gallery {

/// A gallery page for the text-entry, table, search, popover and navigation controls: a
/// scrolling backdrop with a title, cards in two columns on a tablet (one on a phone) and a
/// status line that shows what the controls report.
class EntryPage
{
public:
    virtual ~EntryPage();

    ui::ViewPtr rootView() const;
    /// Rebuilds every card for a screen size.
    void build(QSizeF screen);
    /// Puts the page into the state its screenshot shows (text typed, a row chosen…).
    virtual void stage() {}
    /// Opens the page's popover, where it has one.
    virtual void showPopover() {}

    /// "text" or "table"; nullptr for other names.
    static std::unique_ptr<EntryPage> named(const QString &name);

protected:
    explicit EntryPage(const QString &title);

    /// Adds the cards (card() places each one).
    virtual void buildCards() = 0;
    /// A new card in the given column (0 or 1; phones have one), below what is there.
    ui::ViewPtr card(const QString &title, double height, int column);
    void setStatus(const QString &text);
    bool isTablet() const { return m_twoColumns; }
    double cardWidth() const { return m_cardWidth; }
    QSizeF screenSize() const { return m_screen; }

    static std::shared_ptr<ui::Label> makeLabel(const QRectF &frame, const QString &text, double size = 14,
                                                bool bold = false, QColor color = QColor(235, 240, 248));
    static const QColor kInk;
    static const QColor kMutedInk;

private:
    QString m_title;
    std::shared_ptr<ui::ScrollView> m_root;
    std::shared_ptr<ui::Label> m_status;
    std::vector<double> m_columnBottoms;
    double m_cardWidth = 300;
    bool m_twoColumns = false;
    QSizeF m_screen;
};

} // namespace vimora::gallery
