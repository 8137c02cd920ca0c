#include "picker/qv_ipc_grid_cell.h"

namespace vimora::picker {

QvIPCGridCell::QvIPCGridCell()
    : TableViewCell(Style::Default, kReuseIdentifier)
{
    setSelectionStyle(SelectionStyle::None);
    setBackgroundColor(kGridBackground);
    contentView().setBackgroundColor(kGridBackground);
}

void QvIPCGridCell::setItems(const std::vector<QvIPCGridItemPtr> &items, const GridLayout &layout)
{
    for (const auto &item : m_items) {
        if (item->superview() == &contentView())
            item->removeFromSuperview();
    }
    m_items = items;
    for (std::size_t column = 0; column < m_items.size(); ++column) {
        m_items[column]->setFrame(QRectF(layout.itemOrigin(int(column)), QSizeF(GridLayout::kItemSide, GridLayout::kItemSide)));
        contentView().addSubview(m_items[column]);
    }
}

} // namespace vimora::picker
