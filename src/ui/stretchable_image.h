#pragma once

#include <QRectF>
#include <QSizeF>

#include "imaging/picture.h"
#include "ui/geometry.h"

class QPainter;

namespace vimora::ui {

/// A picture that knows how to fill a rectangle of any size: plain pictures are scaled to
/// it; resizable ones are nine-sliced by cap insets (points): the four corners keep their
/// size, the edges stretch or tile along their length and the centre fills the rest.
/// Implicitly made from a Picture, so controls take either.
class StretchableImage
{
public:
    enum class ResizingMode { Tile, Stretch };

    StretchableImage() = default;
    StretchableImage(const Picture &picture) // NOLINT: a picture is a non-resizable image
        : m_picture(picture)
    {
    }

    /// Caps kept at the edges; middle bands exactly one pixel thick stretch, thicker ones tile
    /// left to right and top to bottom from the band's top-left.
    static StretchableImage resizable(const Picture &picture, const EdgeInsets &capInsets,
                                      ResizingMode mode = ResizingMode::Tile);
    /// A left and a top cap: a cap of 0 stretches that whole axis; otherwise the cap is kept,
    /// one pixel column (row) after it stretches and the rest is the far cap.
    static StretchableImage stretchable(const Picture &picture, double leftCapWidth, double topCapHeight);

    bool isNull() const { return m_picture.isNull(); }
    const Picture &picture() const { return m_picture; }
    /// Natural size in points.
    QSizeF size() const { return m_picture.isNull() ? QSizeF(0, 0) : m_picture.size(); }
    bool isResizable() const { return m_resizable; }
    EdgeInsets capInsets() const { return m_capInsets; }
    ResizingMode resizingMode() const { return m_mode; }

    /// Draws into rect (points). A rectangle smaller than the caps shrinks them in
    /// proportion and draws no middle.
    void draw(QPainter &painter, const QRectF &rect) const;
    /// The same with another bitmap of the same size (a darkened copy, say).
    void drawPicture(QPainter &painter, const QRectF &rect, const Picture &picture) const;

    bool operator==(const StretchableImage &other) const
    {
        return m_picture.bitmap().cacheKey() == other.m_picture.bitmap().cacheKey()
               && m_picture.scale() == other.m_picture.scale() && m_resizable == other.m_resizable
               && m_capInsets == other.m_capInsets && m_mode == other.m_mode;
    }

private:
    Picture m_picture;
    bool m_resizable = false;
    EdgeInsets m_capInsets;
    ResizingMode m_mode = ResizingMode::Tile;
};

} // namespace vimora::ui
