#include "picker/grid_layout.h"

#include <algorithm>

namespace vimora::picker {

GridLayout GridLayout::forScreen(bool tablet, bool landscape, double screenWidth)
{
    GridLayout layout;
    layout.itemsPerRow = tablet ? (landscape ? 12 : 8) : (landscape ? 6 : 4);
    // A width too narrow for the row would give a negative gap and overlapping items.
    layout.gap = std::max(0.0, (screenWidth - layout.itemsPerRow * kItemSide) / (layout.itemsPerRow + 1));
    return layout;
}

int GridLayout::countInRow(int row, int photos) const
{
    const int first = firstInRow(row);
    if (row < 0 || first >= photos)
        return 0;
    return std::min(first + itemsPerRow, photos) - first;
}

} // namespace vimora::picker
