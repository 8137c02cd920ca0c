#pragma once

#include <vector>

#include "picker/grid_layout.h"
#include "picker/qv_ipc_grid_item.h"
#include "ui/table_view_cell.h"

namespace vimora::picker {

/// One row of the grid: the items of that row placed by the layout.
class QvIPCGridCell : public ui::TableViewCell
{
public:
    static inline const QString kReuseIdentifier = QStringLiteral("QvIPCGridCell");

    QvIPCGridCell();
    const std::vector<QvIPCGridItemPtr> &items() const { return m_items; }
    void setItems(const std::vector<QvIPCGridItemPtr> &items, const GridLayout &layout);

private:
    std::vector<QvIPCGridItemPtr> m_items;
};

} // namespace vimora::picker
