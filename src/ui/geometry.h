#pragma once

// Small geometric helpers shared by the toolkit. All geometry is in points, double,
// y grows downwards, origin at the top-left; nothing is rounded unless a function says so.

#include <QRectF>

namespace vimora::ui {

/// Insets from each edge of a rectangle (cap insets, content and title insets).
struct EdgeInsets
{
    double top = 0, left = 0, bottom = 0, right = 0;

    bool isZero() const { return top == 0 && left == 0 && bottom == 0 && right == 0; }
    bool operator==(const EdgeInsets &) const = default;
};

/// The rectangle shrunk by the insets (grown by negative ones).
inline QRectF insetRect(const QRectF &r, const EdgeInsets &e)
{
    return QRectF(r.x() + e.left, r.y() + e.top, r.width() - e.left - e.right, r.height() - e.top - e.bottom);
}

/// Half-open containment: the minimum edges belong to the rectangle, the maximum edges do not.
/// Rectangles with a negative size are normalised first.
inline bool containsPoint(const QRectF &rect, QPointF p)
{
    const QRectF r = rect.normalized();
    return p.x() >= r.left() && p.x() < r.left() + r.width() && p.y() >= r.top() && p.y() < r.top() + r.height();
}

/// The centre of a rectangle without QRectF's integer-free but sign-sensitive quirks.
inline QPointF rectCenter(const QRectF &r)
{
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

} // namespace vimora::ui
