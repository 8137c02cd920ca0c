#include "ui/table_view.h"

#include <algorithm>
#include <cmath>

#include "ui/theme.h"

namespace vimora::ui {

TableView::TableView()
{
    m_separatorColor = Theme::current().style(ThemeElement::TableSeparator).pen.color();
    setAlwaysBounceVertical(true);
}

TableView::TableView(const QRectF &frame)
    : TableView()
{
    setFrame(frame);
}

TableView::~TableView() = default;

void TableView::setDataSource(TableViewDataSource *dataSource)
{
    m_dataSource = dataSource;
    m_loaded = false;
    m_loadLater.start(0, [this]() {
        if (!m_loaded)
            reloadData();
    });
}

void TableView::setRowHeight(double height)
{
    m_rowHeight = std::max(0.0, height);
    updateContentSize();
    for (const auto &[row, cell] : m_visible)
        cell->setFrame(rectForRowAtIndexPath(IndexPath{0, row}));
    layoutVisibleRows();
}

void TableView::setSeparatorStyle(SeparatorStyle style)
{
    m_separatorStyle = style;
    for (const auto &[row, cell] : m_visible)
        cell->setSeparator(style == SeparatorStyle::SingleLine, m_separatorColor);
}

void TableView::setSeparatorColor(const QColor &color)
{
    m_separatorColor = color.isValid() ? color : QColor(Qt::transparent);
    setSeparatorStyle(m_separatorStyle);
}

void TableView::reloadData()
{
    m_loadLater.stop();
    m_loaded = true;
    while (!m_visible.empty())
        recycle(m_visible.begin()->first);
    m_rows = m_dataSource ? std::max(0, m_dataSource->numberOfRowsInSection(*this, 0)) : 0;
    m_selected.reset();
    m_pressedRow.reset();
    m_highlightedRow.reset();
    updateContentSize();
    // Content that shrank under the offset would show nothing: bring the offset back in range.
    const QPointF offset = contentOffset();
    const double maxY = std::max(minimumContentOffset().y(), maximumContentOffset().y());
    if (offset.y() > maxY)
        setContentOffset(QPointF(offset.x(), maxY));
    layoutVisibleRows();
}

void TableView::updateContentSize()
{
    setContentSize(QSizeF(bounds().width(), m_rows * m_rowHeight));
}

void TableView::layoutSubviews()
{
    ScrollView::layoutSubviews();
    updateContentSize();
    for (const auto &[row, cell] : m_visible)
        cell->setFrame(rectForRowAtIndexPath(IndexPath{0, row}));
    layoutVisibleRows();
}

std::pair<int, int> TableView::visibleRowRange() const
{
    const QRectF b = bounds();
    if (m_rows == 0 || m_rowHeight <= 0 || b.height() <= 0)
        return {0, -1};
    // Rows whose [top, bottom) meets [offset, offset + height).
    const int first = std::max(0, int(std::floor(b.top() / m_rowHeight)));
    const int last = std::min(m_rows - 1, int(std::ceil((b.top() + b.height()) / m_rowHeight)) - 1);
    return {first, last};
}

void TableView::layoutVisibleRows()
{
    if (m_laying)
        return;
    if (!m_loaded) {
        if (m_dataSource)
            reloadData();
        return;
    }
    m_laying = true;
    const auto [first, last] = visibleRowRange();
    std::vector<int> gone;
    for (const auto &[row, cell] : m_visible)
        if (row < first || row > last)
            gone.push_back(row);
    for (int row : gone)
        recycle(row);
    for (int row = first; row <= last && m_dataSource; ++row) {
        if (m_visible.count(row))
            continue;
        TableViewCellPtr cell = m_dataSource->cellForRowAtIndexPath(*this, IndexPath{0, row});
        if (!cell)
            continue;
        if (cell->superview() == this)
            continue; // already showing another row: a data source error
        cell->setFrame(rectForRowAtIndexPath(IndexPath{0, row}));
        cell->setSeparator(m_separatorStyle == SeparatorStyle::SingleLine, m_separatorColor);
        cell->setSelected(m_selected && m_selected->row == row);
        cell->setHighlighted(m_highlightedRow == row);
        cell->layoutParts();
        addSubview(cell);
        m_visible[row] = cell;
    }
    m_laying = false;
}

void TableView::recycle(int row)
{
    auto it = m_visible.find(row);
    if (it == m_visible.end())
        return;
    TableViewCellPtr cell = it->second;
    m_visible.erase(it);
    cell->removeFromSuperview();
    if (!cell->reuseIdentifier().isEmpty())
        m_reusePool[cell->reuseIdentifier()].push_back(cell);
}

TableViewCellPtr TableView::dequeueReusableCellWithIdentifier(const QString &identifier)
{
    auto it = m_reusePool.find(identifier);
    if (it == m_reusePool.end() || it->second.empty())
        return nullptr;
    TableViewCellPtr cell = it->second.back();
    it->second.pop_back();
    cell->prepareForReuse();
    return cell;
}

TableViewCellPtr TableView::cellForRowAtIndexPath(const IndexPath &indexPath) const
{
    auto it = m_visible.find(indexPath.row);
    return indexPath.section == 0 && it != m_visible.end() ? it->second : nullptr;
}

std::vector<TableViewCellPtr> TableView::visibleCells() const
{
    std::vector<TableViewCellPtr> cells;
    for (const auto &[row, cell] : m_visible)
        cells.push_back(cell);
    return cells;
}

std::vector<IndexPath> TableView::indexPathsForVisibleRows() const
{
    std::vector<IndexPath> paths;
    for (const auto &[row, cell] : m_visible)
        paths.push_back(IndexPath{0, row});
    return paths;
}

QRectF TableView::rectForRowAtIndexPath(const IndexPath &indexPath) const
{
    return QRectF(0, indexPath.row * m_rowHeight, bounds().width(), m_rowHeight);
}

std::optional<IndexPath> TableView::indexPathForRowAtPoint(QPointF point) const
{
    if (m_rowHeight <= 0 || point.y() < 0)
        return std::nullopt;
    const int row = int(std::floor(point.y() / m_rowHeight));
    if (row >= m_rows)
        return std::nullopt;
    return IndexPath{0, row};
}

void TableView::scrollToRowAtIndexPath(const IndexPath &indexPath, ScrollPosition position, bool animated)
{
    if (indexPath.section != 0 || indexPath.row < 0 || indexPath.row >= m_rows)
        return;
    const QRectF row = rectForRowAtIndexPath(indexPath);
    const double height = bounds().height();
    const QPointF offset = contentOffset();
    double y = offset.y();
    switch (position) {
    case ScrollPosition::Top:
        y = row.top();
        break;
    case ScrollPosition::Middle:
        y = row.center().y() - height / 2;
        break;
    case ScrollPosition::Bottom:
        y = row.bottom() - height;
        break;
    case ScrollPosition::None:
        if (row.top() < y)
            y = row.top();
        else if (row.bottom() > y + height)
            y = row.bottom() - height;
        break;
    }
    const double lo = minimumContentOffset().y();
    y = std::clamp(y, lo, std::max(lo, maximumContentOffset().y()));
    setContentOffset(QPointF(offset.x(), y), animated);
}

void TableView::selectRowAtIndexPath(const IndexPath &indexPath, bool animated, ScrollPosition position)
{
    if (indexPath.section != 0 || indexPath.row < 0 || indexPath.row >= m_rows)
        return;
    if (m_selected)
        if (TableViewCellPtr old = cellForRowAtIndexPath(*m_selected))
            old->setSelected(false);
    m_selected = indexPath;
    if (TableViewCellPtr cell = cellForRowAtIndexPath(indexPath))
        cell->setSelected(true);
    if (position != ScrollPosition::None)
        scrollToRowAtIndexPath(indexPath, position, animated);
}

void TableView::deselectRowAtIndexPath(const IndexPath &indexPath, bool)
{
    if (m_selected != indexPath)
        return;
    m_selected.reset();
    if (TableViewCellPtr cell = cellForRowAtIndexPath(indexPath))
        cell->setSelected(false);
}

// --- Touches: a tap selects the row under it ---

void TableView::setHighlightedRow(std::optional<int> row)
{
    if (m_highlightedRow)
        if (TableViewCellPtr cell = cellForRowAtIndexPath(IndexPath{0, *m_highlightedRow}))
            cell->setHighlighted(false);
    m_highlightedRow = row;
    if (row)
        if (TableViewCellPtr cell = cellForRowAtIndexPath(IndexPath{0, *row}))
            cell->setHighlighted(true);
}

void TableView::touchesBegan(const TouchSet &touches)
{
    if (!m_allowsSelection || touches.empty() || m_pressedRow)
        return;
    const auto path = indexPathForRowAtPoint(touches.front()->locationInView(this));
    if (!path)
        return;
    m_pressedRow = path->row;
    setHighlightedRow(path->row);
}

void TableView::touchesMoved(const TouchSet &)
{
}

void TableView::touchesEnded(const TouchSet &touches)
{
    if (!m_pressedRow || touches.empty())
        return;
    const int pressed = *m_pressedRow;
    m_pressedRow.reset();
    setHighlightedRow(std::nullopt);
    const auto path = indexPathForRowAtPoint(touches.front()->locationInView(this));
    if (!path || path->row != pressed)
        return;
    selectRowAtIndexPath(*path, false, ScrollPosition::None);
    if (m_delegate)
        m_delegate->didSelectRowAtIndexPath(*this, *path);
}

void TableView::touchesCancelled(const TouchSet &)
{
    m_pressedRow.reset();
    setHighlightedRow(std::nullopt);
}

} // namespace vimora::ui
