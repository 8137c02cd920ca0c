#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QString>

class QPainter;

namespace vimora::ui {

enum class TextAlignment { Left, Center, Right };
enum class LineBreakMode { WordWrap, CharacterWrap, Clip, TruncateHead, TruncateTail, TruncateMiddle };

/// How a block of text is set: the shared rules of labels, button titles and alerts.
struct TextStyle
{
    QFont font;
    QColor color = Qt::black;
    TextAlignment alignment = TextAlignment::Left;
    LineBreakMode lineBreak = LineBreakMode::TruncateTail;
    /// 1: a single line; 0: as many lines as the rectangle holds.
    int numberOfLines = 1;
    QColor shadowColor = Qt::transparent;
    QPointF shadowOffset;
};

/// The size the text needs: at most maxWidth wide (0: unlimited) and within the style's
/// number of lines. An empty text is 0 × 0.
QSizeF textSize(const QString &text, const TextStyle &style, double maxWidth = 0);

/// The smallest text, in device pixels, a screen shows: below it letters stop being readable.
inline constexpr double kLegibleTextPixels = 9;

/// The font, enlarged where needed so that at deviceScale (device pixels per point) its
/// letters are at least minimumPixels tall; unchanged when they already are.
QFont legibleFont(const QFont &font, double deviceScale, double minimumPixels = kLegibleTextPixels);

/// Draws the text in rect: lines broken and truncated per the style, the block centred
/// vertically, each line aligned horizontally, the shadow first.
void drawText(QPainter &painter, const QRectF &rect, const QString &text, const TextStyle &style);

} // namespace vimora::ui
