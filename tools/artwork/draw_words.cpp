// Word art for the catalogue: each font family of "wordE" written in itself.
#include <QFontMetricsF>
#include <QPainterPath>

#include "catalogue.h"
#include "style.h"

namespace vimora::artwork {

namespace {

using namespace palette;

struct Ink
{
    QColor top, bottom;
};

Ink inkFor(int index)
{
    static const Ink inks[] = {{violet.lighter(130), violet}, {coral.lighter(115), rose}, {amber.lighter(110), coral},
                               {sky.lighter(120), violet},    {mint.lighter(120), sky},   {QColor(255, 170, 210), violet}};
    return inks[index % 6];
}

/// The words split into lines (1 to 3) that give the largest font fitting the box.
QStringList bestLines(const QString &text, const QFont &font, const QSizeF &box, double &bestSize)
{
    const QStringList words = text.split(' ', Qt::SkipEmptyParts);
    QStringList best = {text};
    bestSize = 0;
    const int maxLines = std::min<int>(3, std::max<int>(1, words.size()));
    for (int lines = 1; lines <= maxLines; ++lines) {
        // Greedy balanced split: roughly equal characters per line.
        QStringList candidate;
        const int per = int(std::ceil(double(text.size()) / lines));
        QString current;
        for (const QString &word : words) {
            if (!current.isEmpty() && current.size() + 1 + word.size() > per && candidate.size() < lines - 1) {
                candidate << current;
                current.clear();
            }
            current += (current.isEmpty() ? QString() : QStringLiteral(" ")) + word;
        }
        candidate << current;
        QFont probe = font;
        probe.setPointSizeF(75); // 100 points
        const QFontMetricsF metrics(probe);
        double widest = 0;
        for (const QString &line : candidate)
            widest = std::max(widest, metrics.tightBoundingRect(line).width() + metrics.horizontalAdvance(' ') * 0.2);
        const double height = metrics.capHeight() * candidate.size() + metrics.capHeight() * 0.55 * (candidate.size() - 1) +
                              metrics.descent() * 0.6;
        const double size = 100.0 * std::min(box.width() / widest, box.height() / height);
        if (size > bestSize * 1.04) {
            bestSize = size;
            best = candidate;
        }
    }
    return best;
}

QPainterPath textPath(const QStringList &lines, const QFont &font, const QRectF &box)
{
    const QFontMetricsF metrics(font);
    const double lineStep = metrics.capHeight() * 1.55;
    const double blockHeight = metrics.capHeight() + lineStep * (lines.size() - 1);
    double baseline = box.center().y() - blockHeight / 2 + metrics.capHeight();
    QPainterPath path;
    for (const QString &line : lines) {
        const QRectF bounds = metrics.tightBoundingRect(line);
        path.addText(box.center().x() - bounds.center().x(), baseline, font, line);
        baseline += lineStep;
    }
    return path;
}

void drawWordArt(QPainter &p, const QSizeF &size, int index)
{
    prepare(p);
    const QString family = wordFonts().value(index);
    const QRectF box(10, 12, size.width() - 20, size.height() - 24);
    QFont font = familyFont(family, 40, QFont::Bold);
    double fitted = 0;
    const QStringList lines = bestLines(family, font, box.size(), fitted);
    font.setPointSizeF(std::min(fitted, 58.0) * 0.75);
    const QPainterPath path = textPath(lines, font, box);
    const Ink ink = inkFor(index);
    const double outline = std::max(2.0, font.pointSizeF() / 0.75 * 0.09);
    // Shadow, dark outline, then the gradient face with a light inner edge.
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 70));
    p.drawPath(path.translated(0, outline * 0.9));
    p.setPen(QPen(palette::ink, outline * 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(palette::ink);
    p.drawPath(path);
    const QRectF bounds = path.boundingRect();
    QLinearGradient face(bounds.topLeft(), bounds.bottomLeft());
    face.setColorAt(0, ink.top);
    face.setColorAt(1, ink.bottom);
    p.setPen(QPen(withAlpha(white, 170), outline * 0.45, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(face);
    p.drawPath(path);
}

void drawWordThumb(QPainter &p, const QSizeF &size, int index)
{
    prepare(p);
    const QString family = wordFonts().value(index);
    const QRectF tile(1.5, 1.5, size.width() - 3, size.height() - 3);
    drawPanel(p, tile, 14, 236);
    const Ink ink = inkFor(index);
    QFont sample = familyFont(family, size.height() * 0.44, QFont::Bold);
    const QPainterPath aa = textPath({QStringLiteral("Aa")}, sample, QRectF(tile.left(), tile.top() + 6, tile.width(), tile.height() * 0.56));
    QLinearGradient face(aa.boundingRect().topLeft(), aa.boundingRect().bottomLeft());
    face.setColorAt(0, ink.top);
    face.setColorAt(1, ink.bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(face);
    p.drawPath(aa);
    drawFittedText(p, QRectF(tile.left() + 5, tile.top() + tile.height() * 0.68, tile.width() - 10, tile.height() * 0.22), family,
                   familyFont(family, 11.5), withAlpha(white, 225), Qt::AlignCenter, 6.5);
}

} // namespace

void addWords(Registry &r)
{
    for (int i = 0; i < wordFonts().size(); ++i) {
        r[QStringLiteral("words/%1.png").arg(i)] = [i](QPainter &p, const QSizeF &s) { drawWordArt(p, s, i); };
        r[QStringLiteral("words/%1s.png").arg(i)] = [i](QPainter &p, const QSizeF &s) { drawWordThumb(p, s, i); };
    }
}

} // namespace vimora::artwork
