#pragma once

// Where the thumbnails of the picker's grid go. Items are 75-point squares spread evenly
// over the width with equal gaps at both ends and between them.

#include <QColor>
#include <QPointF>
#include <QSizeF>

namespace vimora::picker {

/// Behind the thumbnails: dark, so the photos stand out.
inline const QColor kGridBackground(20, 20, 24);
/// Where a thumbnail or an album's poster has not arrived yet.
inline const QColor kPlaceholderColour(60, 60, 66);

struct GridLayout
{
    static constexpr double kItemSide = 75;
    static constexpr double kCheckmarkSide = 28;
    /// The checkmark's top-left point inside an item: 4 points in from its bottom-right corner.
    static constexpr QPointF kCheckmarkOrigin{kItemSide - kCheckmarkSide - 4, kItemSide - kCheckmarkSide - 4};
    static constexpr double kAlbumRowHeight = 57;

    int itemsPerRow = 4;
    double gap = 0;

    /// 8 / 12 items a row on a tablet (portrait / landscape), 4 / 6 on a phone, over the
    /// screen's width in that orientation.
    static GridLayout forScreen(bool tablet, bool landscape, double screenWidth);

    double rowHeight() const { return gap + kItemSide; }
    /// The top-left point of the item at a column of a row.
    QPointF itemOrigin(int column) const { return {gap + column * (kItemSide + gap), gap}; }
    int rowCount(int photos) const { return photos <= 0 ? 0 : (photos + itemsPerRow - 1) / itemsPerRow; }
    /// The first photo index of a row and how many it shows.
    int firstInRow(int row) const { return row * itemsPerRow; }
    int countInRow(int row, int photos) const;
};

} // namespace vimora::picker
