#pragma once

#include <compare>
#include <map>
#include <optional>
#include <vector>

#include <QString>

#include "ui/scroll_view.h"
#include "ui/table_view_cell.h"

namespace vimora::ui {

class TableView;

/// A row's place: the table has one section, 0.
struct IndexPath
{
    int section = 0;
    int row = 0;

    auto operator<=>(const IndexPath &) const = default;
};

/// Supplies a table's rows: how many a section has, and the cell that shows one.
class TableViewDataSource
{
public:
    virtual ~TableViewDataSource() = default;
    virtual int numberOfRowsInSection(TableView &tableView, int section) = 0;
    /// A cell for a row that has come into view: reuse one from
    /// dequeueReusableCellWithIdentifier() or make a new one.
    virtual TableViewCellPtr cellForRowAtIndexPath(TableView &tableView, const IndexPath &indexPath) = 0;
};

/// Told about a table's rows. Every method is optional.
class TableViewDelegate
{
public:
    virtual ~TableViewDelegate() = default;
    /// A row was tapped (the finger lifted on it without scrolling); it is now selected.
    virtual void didSelectRowAtIndexPath(TableView & /*tableView*/, const IndexPath & /*indexPath*/) {}
};

/// Rows of one fixed height in a scroll view. The content is rowHeight × rows tall and as wide
/// as the table. Only rows whose rectangle meets the visible range [offset, offset + height)
/// have cells: the data source is asked for a cell when its row comes into view, and cells
/// that leave the view go to a reuse pool by their identifier. reloadData() asks for the row
/// count and the visible cells again. A tap on a row highlights it while the finger is down
/// and selects it (delegate told) when the finger lifts; a drag or the wheel scrolls instead.
/// Clips to its bounds like any scroll view.
class TableView : public ScrollView
{
public:
    static constexpr double kDefaultRowHeight = 44;
    enum class ScrollPosition { None, Top, Middle, Bottom };
    enum class SeparatorStyle { None, SingleLine };

    TableView();
    explicit TableView(const QRectF &frame);
    ~TableView() override;

    TableViewDataSource *dataSource() const { return m_dataSource; }
    /// The rows load on the next turn of the event loop (or at reloadData(), a resize or a
    /// scroll, whichever comes first).
    void setDataSource(TableViewDataSource *dataSource);
    TableViewDelegate *delegate() const { return m_delegate; }
    void setDelegate(TableViewDelegate *delegate) { m_delegate = delegate; }

    double rowHeight() const { return m_rowHeight; }
    void setRowHeight(double height);
    SeparatorStyle separatorStyle() const { return m_separatorStyle; }
    void setSeparatorStyle(SeparatorStyle style);
    QColor separatorColor() const { return m_separatorColor; }
    void setSeparatorColor(const QColor &color);
    bool allowsSelection() const { return m_allowsSelection; }
    void setAllowsSelection(bool allows) { m_allowsSelection = allows; }

    /// Asks the data source for the number of rows and the cells on screen again; the
    /// selection goes.
    void reloadData();
    int numberOfRows() const { return m_rows; }

    /// The cell shown for a row, or nullptr when the row is off screen.
    TableViewCellPtr cellForRowAtIndexPath(const IndexPath &indexPath) const;
    std::vector<TableViewCellPtr> visibleCells() const;
    std::vector<IndexPath> indexPathsForVisibleRows() const;
    QRectF rectForRowAtIndexPath(const IndexPath &indexPath) const;
    /// The row under a point in content coordinates.
    std::optional<IndexPath> indexPathForRowAtPoint(QPointF point) const;
    /// A cell waiting in the reuse pool, prepared for reuse, or nullptr.
    TableViewCellPtr dequeueReusableCellWithIdentifier(const QString &identifier);

    /// Scrolls so the row sits at the position (None: the least movement that shows it),
    /// the offset clamped to the content. Top: offset = the row's top.
    void scrollToRowAtIndexPath(const IndexPath &indexPath, ScrollPosition position, bool animated);

    std::optional<IndexPath> indexPathForSelectedRow() const { return m_selected; }
    void selectRowAtIndexPath(const IndexPath &indexPath, bool animated, ScrollPosition position);
    void deselectRowAtIndexPath(const IndexPath &indexPath, bool animated);

    void touchesBegan(const TouchSet &touches) override;
    void touchesMoved(const TouchSet &touches) override;
    void touchesEnded(const TouchSet &touches) override;
    void touchesCancelled(const TouchSet &touches) override;

protected:
    void layoutSubviews() override;
    void boundsOriginChanged() override { layoutVisibleRows(); }

private:
    void updateContentSize();
    void layoutVisibleRows();
    void recycle(int row);
    std::pair<int, int> visibleRowRange() const;
    void setHighlightedRow(std::optional<int> row);

    TableViewDataSource *m_dataSource = nullptr;
    TableViewDelegate *m_delegate = nullptr;
    double m_rowHeight = kDefaultRowHeight;
    SeparatorStyle m_separatorStyle = SeparatorStyle::SingleLine;
    QColor m_separatorColor;
    bool m_allowsSelection = true;
    int m_rows = 0;
    bool m_loaded = false;
    bool m_laying = false;
    std::map<int, TableViewCellPtr> m_visible;
    std::map<QString, std::vector<TableViewCellPtr>> m_reusePool;
    std::optional<IndexPath> m_selected;
    std::optional<int> m_pressedRow;
    std::optional<int> m_highlightedRow;
    ScheduledCall m_loadLater;
};

} // namespace vimora::ui
