#pragma once

// Screen capture: part of a view tree drawn into a picture.

#include <QRectF>

#include "imaging/picture.h"
#include "ui/view.h"

namespace vimora::ui {

/// The region (in root's coordinates) of root's tree rendered at sx x sy pixels per point,
/// without moving any view. None for an empty region or a canvas that cannot be had.
Picture renderRegion(const View &root, const QRectF &region, double sx, double sy);

} // namespace vimora::ui
