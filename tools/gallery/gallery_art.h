#pragma once

// Pictures for the gallery, drawn in code so the tool needs no resources. All are made at
// scale 2 (twice as many pixels as points), like the sharp resource pictures.

#include <QColor>
#include <QString>

#include "imaging/picture.h"

namespace vimora::gallery {

/// A landscape photo stand-in: sky, sun, hills and a lake.
Picture landscapePhoto(int width, int height, int variant = 0);
/// A glossy pill to use as a stretchable button background (caps of height / 2).
Picture glossyPill(double width, double height, const QColor &color);
/// A small icon: "blur", "sharpen", "star", "drop".
Picture icon(const QString &kind, double size, const QColor &color);
/// A slider thumb: a bright knob with a rim.
Picture sliderThumb(double size, const QColor &color);
/// A slider's minimum track: a rounded bar meant to be stretched with a left cap of 10.
Picture sliderTrack(double width, double height, const QColor &color);
/// A numbered colour tile for the scroll view.
Picture tile(int number, double size);

} // namespace vimora::gallery
