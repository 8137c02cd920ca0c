#pragma once

// The compositor's arithmetic: the save levels and their frame factors and the adjust panel's
// frame. The capture scale per level is shared with the editor (screenkit/capture_level.h).

#include <optional>

#include <QRectF>
#include <QString>

#include "imaging/picture.h"
#include "platform/device.h"
#include "screenkit/capture_level.h"

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

/// The adjust panel's frame.
QRectF adjustPanelFrame(DeviceProfile profile, bool landscape);

} // namespace vimora
