#pragma once

// The compositor's arithmetic: the save levels and their frame factors, the capture scale per
// level and device, and the adjust panel's frame. The pinch step and the handle's rule are the
// editor's (editor_layout.h).

#include <optional>

#include <QRectF>
#include <QString>

#include "imaging/picture.h"
#include "platform/device.h"

namespace vimora {

enum class SaveLevel { Low, Medium, High };

/// "Low" and "Medium" by name; any other title saves at the highest level.
SaveLevel saveLevelForTitle(const QString &title);
QString saveLevelTitle(SaveLevel level);
/// How much a level multiplies the background picture's size over its frame: 0.5, 1, 2.
double saveLevelMultiplier(SaveLevel level);

/// The level save's frame factors (fx, fy) = k x picture size / frame size; none when the
/// background has no picture or no frame (the factors would be 0 or infinite and the layout
/// could not be put back).
std::optional<QSizeF> levelSaveFactors(SaveLevel level, QSizeF pictureSize, QSizeF frameSize);

/// The capture level the level save renders at.
inline constexpr int kLevelSaveCaptureLevel = 2;

/// Capture levels outside this range count as its nearest end (at most an eightfold picture).
inline constexpr int kLowestCaptureLevel = 0;
inline constexpr int kHighestCaptureLevel = 5;

/// How much a capture at a level enlarges the composition. Each level away from the one that
/// needs no enlarging doubles it: on a tablet level 2 is the screen's size; on a phone, whose
/// points are about half a tablet's, level 2 doubles, lower levels double again, and levels
/// above 2 stay at screen size. Never below 1: a capture never loses pixels the screen has.
double captureLevelScale(int level, DeviceProfile profile);

/// The adjust panel's frame.
QRectF adjustPanelFrame(DeviceProfile profile, bool landscape);

} // namespace vimora
