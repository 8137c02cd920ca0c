#include "ui/text_drawing.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

#include "ui/screen_drawing.h"

namespace vimora::ui {

namespace {

struct Line
{
    QString text;
    double width;
};

Qt::TextElideMode elideMode(LineBreakMode mode)
{
    switch (mode) {
    case LineBreakMode::TruncateHead:
        return Qt::ElideLeft;
    case LineBreakMode::TruncateMiddle:
        return Qt::ElideMiddle;
    case LineBreakMode::TruncateTail:
        return Qt::ElideRight;
    default:
        return Qt::ElideNone;
    }
}

// The lines of text laid out within width; maxLines 0 means as many as maxHeight holds.
std::vector<Line> layoutLines(const QString &text, const TextStyle &style, double width, double maxHeight)
{
    std::vector<Line> lines;
    if (text.isEmpty())
        return lines;
    const QFontMetricsF fm(style.font);
    const double lineHeight = fm.height();
    int maxLines = style.numberOfLines;
    if (maxLines <= 0)
        maxLines = maxHeight > 0 ? std::max(1, int(std::floor(maxHeight / lineHeight + 1e-6))) : 1 << 20;
    const bool unlimitedWidth = width <= 0;

    if (maxLines == 1) {
        QString single = text;
        single.replace(QLatin1Char('\n'), QLatin1Char(' '));
        const Qt::TextElideMode elide = elideMode(style.lineBreak);
        if (!unlimitedWidth && elide != Qt::ElideNone)
            single = fm.elidedText(single, elide, width);
        lines.push_back({single, fm.horizontalAdvance(single)});
        return lines;
    }

    QTextOption option;
    option.setWrapMode(style.lineBreak == LineBreakMode::CharacterWrap ? QTextOption::WrapAnywhere
                                                                        : QTextOption::WrapAtWordBoundaryOrAnywhere);
    const QStringList paragraphs = text.split(QLatin1Char('\n'));
    bool truncated = false;
    for (const QString &paragraph : paragraphs) {
        if (int(lines.size()) >= maxLines) {
            truncated = true;
            break;
        }
        if (paragraph.isEmpty()) {
            lines.push_back({QString(), 0});
            continue;
        }
        QTextLayout layout(paragraph, style.font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (;;) {
            QTextLine line = layout.createLine();
            if (!line.isValid())
                break;
            line.setLineWidth(unlimitedWidth ? 1e7 : width);
            if (int(lines.size()) >= maxLines) {
                truncated = true;
                break;
            }
            const QString part = paragraph.mid(line.textStart(), line.textLength());
            lines.push_back({part, line.naturalTextWidth()});
        }
        layout.endLayout();
    }
    if (truncated && !lines.empty() && !unlimitedWidth && elideMode(style.lineBreak) != Qt::ElideNone) {
        // The last line shows that text was cut: the rest of the text, elided into it.
        const qsizetype shown = [&] {
            qsizetype n = 0;
            for (size_t i = 0; i + 1 < lines.size(); ++i)
                n += lines[i].text.size();
            return n;
        }();
        QString rest = text.mid(shown).simplified();
        Line &last = lines.back();
        last.text = fm.elidedText(rest, Qt::ElideRight, width);
        last.width = fm.horizontalAdvance(last.text);
    }
    for (Line &line : lines) {
        while (line.text.endsWith(QLatin1Char(' ')) || line.text.endsWith(QLatin1Char('\n')))
            line.text.chop(1);
        line.width = fm.horizontalAdvance(line.text);
    }
    return lines;
}

} // namespace

QSizeF textSize(const QString &text, const TextStyle &style, double maxWidth)
{
    if (text.isEmpty())
        return {};
    const std::vector<Line> lines = layoutLines(text, style, maxWidth, 0);
    double w = 0;
    for (const Line &line : lines)
        w = std::max(w, line.width);
    const QFontMetricsF fm(style.font);
    return QSizeF(maxWidth > 0 ? std::min(w, maxWidth) : w, fm.height() * double(lines.size()));
}

QFont legibleFont(const QFont &font, double deviceScale, double minimumPixels)
{
    if (!(deviceScale > 0) || !(minimumPixels > 0))
        return font;
    const int pixels = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    if (pixels <= 0 || double(pixels) * deviceScale >= minimumPixels)
        return font;
    QFont larger(font);
    larger.setPixelSize(int(std::ceil(minimumPixels / deviceScale - 1e-9)));
    return larger;
}

void drawText(QPainter &painter, const QRectF &rect, const QString &text, const TextStyle &laidOut)
{
    if (text.isEmpty() || rect.width() <= 0)
        return;
    TextStyle style = laidOut;
    // On screen only: what is saved is drawn as laid out.
    if (ScreenDrawing::active())
        style.font = legibleFont(style.font, std::sqrt(std::abs(painter.deviceTransform().determinant())));
    const std::vector<Line> lines = layoutLines(text, style, rect.width(), rect.height());
    if (lines.empty())
        return;
    const QFontMetricsF fm(style.font);
    const double lineHeight = fm.height();
    const double blockHeight = lineHeight * double(lines.size());
    double y = rect.y() + (rect.height() - blockHeight) / 2;

    painter.save();
    painter.setFont(style.font);
    if (style.lineBreak == LineBreakMode::Clip || style.numberOfLines == 1)
        painter.setClipRect(rect.adjusted(-1, -lineHeight, 1, lineHeight), Qt::IntersectClip);
    for (const Line &line : lines) {
        double x = rect.x();
        if (style.alignment == TextAlignment::Center)
            x += (rect.width() - line.width) / 2;
        else if (style.alignment == TextAlignment::Right)
            x += rect.width() - line.width;
        const QPointF baseline(x, y + fm.ascent());
        if (style.shadowColor.alpha() > 0 && !style.shadowOffset.isNull()) {
            painter.setPen(style.shadowColor);
            painter.drawText(baseline + style.shadowOffset, line.text);
        }
        if (style.color.alpha() > 0) {
            painter.setPen(style.color);
            painter.drawText(baseline, line.text);
        }
        y += lineHeight;
    }
    painter.restore();
}

} // namespace vimora::ui
