#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>

// The one visual language of Vimora's artwork: a small palette, rounded shapes, white glyphs on
// translucent dark panels, Liberation Sans for words. Every picture draws in points; the
// generator scales the painter for the scale-2 drawings.
namespace vimora::artwork {

namespace palette {
inline const QColor ink{20, 24, 33};        // panels, tiles
inline const QColor inkRaised{40, 46, 61};  // raised faces on panels
inline const QColor mist{233, 236, 242};    // light header bands
inline const QColor slate{148, 158, 176};   // quiet text and lines
inline const QColor white{255, 255, 255};
inline const QColor violet{108, 99, 255};   // the accent
inline const QColor violetDeep{76, 64, 214};
inline const QColor coral{255, 122, 89};
inline const QColor mint{46, 196, 140};
inline const QColor sky{56, 178, 240};
inline const QColor amber{246, 180, 40};
inline const QColor rose{240, 72, 100};
} // namespace palette

QColor withAlpha(QColor color, int alpha);
QColor mixed(const QColor &a, const QColor &b, double t);

/// The interface font (Liberation Sans) at a size in points.
QFont uiFont(double pixelSize, QFont::Weight weight = QFont::Bold);
/// The wordmark font.
QFont brandFont(double pixelSize);
/// A family at a size in points, no synthetic fallbacks beyond fontconfig's.
QFont familyFont(const QString &family, double pixelSize, QFont::Weight weight = QFont::Normal);

/// While one lives on this thread, pictures are drawn for a window shown small: captions are
/// sized to stay at least nine device pixels tall down to kSmallScreenScale device pixels per point.
inline constexpr double kSmallScreenScale = 0.65;
class SmallScreenDrawing
{
public:
    SmallScreenDrawing();
    ~SmallScreenDrawing();
    SmallScreenDrawing(const SmallScreenDrawing &) = delete;
    SmallScreenDrawing &operator=(const SmallScreenDrawing &) = delete;

private:
    bool m_previous;
};
/// A caption's size in pixels: the nominal one, or larger when drawing for a small screen.
double captionPixels(double nominal);

/// A painter on the picture with the antialiasing every drawing wants.
void prepare(QPainter &p);

/// Translucent dark panel filling rect with a hairline border and a top sheen.
void drawPanel(QPainter &p, const QRectF &rect, double radius, int alpha = 222);
/// Raised pill or rounded face in one colour, lit from the top.
void drawFace(QPainter &p, const QRectF &rect, double radius, const QColor &color, bool border = true);
/// A soft shadow under a rounded shape (several widening translucent strokes).
void drawSoftShadow(QPainter &p, const QRectF &rect, double radius, double spread, int alpha);

/// Text fitted into rect: shrinks the size until it fits (never below minSize), then elides.
void drawFittedText(QPainter &p, const QRectF &rect, const QString &text, QFont font, const QColor &color,
                    Qt::Alignment align = Qt::AlignCenter, double minSize = 6.0);
/// Wrapped paragraph; returns the height used.
double drawParagraph(QPainter &p, const QRectF &rect, const QString &text, const QFont &font, const QColor &color);

} // namespace vimora::artwork

namespace vimora::artwork {

/// The small landscape (sky, sun, two hills) used wherever a picture stands for "a photo".
void drawLandscape(QPainter &p, const QRectF &rect, double radius = 0);

} // namespace vimora::artwork
