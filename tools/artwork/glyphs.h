#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace vimora::artwork {

/// Line glyphs drawn on a 24-unit grid with round caps: one stroke weight for the whole set.
enum class Glyph {
    Camera, CameraOff, Photos, PhotosPlus, Book, Resume, Home, Save, Palette, Shards, Scissors, TextPlus,
    Check, Close, Plus, Minus, SunMinus, SunPlus, Drop, Crystal, ArrowRight, Move, Frame, Expand,
    Feather, HueRing, Restore, Drag, Pinch, Tap, Hold, Layers, Sparkle, Rotate
};

/// Draws the glyph fitted into box (square, centred) in colour; weight scales the stroke.
void drawGlyph(QPainter &p, Glyph glyph, const QRectF &box, const QColor &color, double weight = 2.0);

} // namespace vimora::artwork
