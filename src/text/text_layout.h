#pragma once

// Where the text overlay puts things, per device. Frames are (x, y, width,
// height) in points.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "ui/device_profile.h"

namespace vimora::text {

/// The render is this many times the size of the fitted text box.
double renderScale(ui::DeviceProfile profile);
/// The surface the text is rendered into: the fitted box enlarged from (0, 0).
QRectF renderFrame(QSizeF fittedBox, ui::DeviceProfile profile);
/// A new layer's frame before it is centred: the box's own size on the tablet,
/// 200 points wide with the render's aspect on a phone. render is the enlarged
/// render frame's size.
QRectF layerFrame(QSizeF render, ui::DeviceProfile profile);
/// Where a new layer's centre goes: 80 points left of the screen's centre, its
/// top 30 points below the picture view's top.
QPointF layerCentre(double screenCentreX, double layerHeight);
/// layerCentre moved right just enough for the whole layer to lie on a screen
/// this wide (on a phone the 200-point layer would otherwise start 20 points
/// off the left edge).
QPointF layerCentreOnScreen(double screenWidth, QSizeF layer);
/// A new layer of this size centred in area, shrunk (shape kept) until it fits inside; an empty
/// area leaves the size and centres it on the area's centre.
QRectF landedFrame(QSizeF layer, const QRectF &area);

/// The tallest render, in points: longer texts are cut there, so a page of text
/// cannot make a picture larger than memory allows.
inline constexpr double kMaxRenderHeight = 2400;
/// The text box never becomes smaller than this through its handles.
inline constexpr double kMinTextBoxSide = 40;

QRectF textBackFrame(ui::DeviceProfile profile);
/// The text box when it opens; the tablet's is centred above the middle of the
/// screen.
QRectF textBoxFrame(ui::DeviceProfile profile, QPointF screenCentre);
QRectF doneButtonFrame(ui::DeviceProfile profile);
QRectF fontButtonFrame(ui::DeviceProfile profile);
double textBoxFontSize(ui::DeviceProfile profile);

/// The colour and edit panel.
QRectF colourPanelFrame(ui::DeviceProfile profile, bool landscape, QSizeF screen);

} // namespace vimora::text
