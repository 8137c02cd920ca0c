// Panels, help pictures, hint strips, the home pictures, promotion banners and type cards.
#include <QPainterPath>
#include <QRandomGenerator>

#include "catalogue.h"
#include "glyphs.h"
#include "style.h"

namespace vimora::artwork {

namespace {

using namespace palette;

/// A panel with a light header band for the dark grey titles some screens put on top.
void drawHeaderPanel(QPainter &p, const QSizeF &size, double radius, double header)
{
    prepare(p);
    const QRectF rect(1, 1, size.width() - 2, size.height() - 2);
    drawPanel(p, rect, radius, 224);
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    p.save();
    p.setClipPath(shape);
    QLinearGradient band(0, rect.top(), 0, rect.top() + header);
    band.setColorAt(0, mist.lighter(104));
    band.setColorAt(1, mist.darker(104));
    p.fillRect(QRectF(rect.left(), rect.top(), rect.width(), header), band);
    QLinearGradient line(rect.left(), 0, rect.right(), 0);
    line.setColorAt(0, violet);
    line.setColorAt(1, coral);
    p.fillRect(QRectF(rect.left(), rect.top() + header, rect.width(), 2.0), line);
    p.restore();
}

void drawAccentPanel(QPainter &p, const QSizeF &size, double radius, int alpha = 224)
{
    prepare(p);
    const QRectF rect(1, 1, size.width() - 2, size.height() - 2);
    drawPanel(p, rect, radius, alpha);
    QLinearGradient line(rect.left() + radius, 0, rect.right() - radius, 0);
    line.setColorAt(0, withAlpha(violet, 0));
    line.setColorAt(0.3, violet);
    line.setColorAt(0.7, coral);
    line.setColorAt(1, withAlpha(coral, 0));
    p.fillRect(QRectF(rect.left() + radius, rect.top() + 1.0, rect.width() - 2 * radius, 2.0), line);
}

struct Tip
{
    Glyph glyph;
    QString heading;
    QString text;
};

void drawTipBadge(QPainter &p, const QRectF &disc, Glyph glyph)
{
    drawFace(p, disc, disc.width() / 2, violet, false);
    const double g = disc.width() * 0.6;
    drawGlyph(p, glyph, QRectF(disc.center().x() - g / 2, disc.center().y() - g / 2, g, g), white, 2.0);
}

/// The tablet tips: a title, then one row per tip; the bottom 100 points stay free for the
/// buttons the screens lay there.
void drawTabletTips(QPainter &p, const QSizeF &size, const QString &title, const QString &subtitle, const QList<Tip> &tips)
{
    drawAccentPanel(p, size, 24, 232);
    p.setPen(white);
    p.setFont(uiFont(30));
    p.drawText(QRectF(36, 26, size.width() - 72, 40), Qt::AlignLeft | Qt::AlignVCenter, title);
    p.setFont(uiFont(15, QFont::Normal));
    p.setPen(withAlpha(white, 170));
    p.drawText(QRectF(36, 62, size.width() - 72, 24), Qt::AlignLeft | Qt::AlignVCenter, subtitle);
    const double top = 104, bottom = 488;
    const double row = (bottom - top) / tips.size();
    for (int i = 0; i < tips.size(); ++i) {
        const double y = top + i * row;
        const double d = std::min(42.0, row - 12);
        drawTipBadge(p, QRectF(36, y + (row - d) / 2, d, d), tips[i].glyph);
        drawFittedText(p, QRectF(36 + d + 18, y + row / 2 - 23, size.width() - 110 - d, 24), tips[i].heading, uiFont(19), white,
                       Qt::AlignLeft | Qt::AlignBottom);
        drawFittedText(p, QRectF(36 + d + 18, y + row / 2 + 2, size.width() - 110 - d, 22), tips[i].text,
                       uiFont(15, QFont::Normal), withAlpha(white, 185), Qt::AlignLeft | Qt::AlignTop);
    }
    p.fillRect(QRectF(36, 496, size.width() - 72, 1), withAlpha(white, 40));
}

/// The phone tips: the top right (Never show this) and the bottom (OK) stay free.
void drawPhoneTips(QPainter &p, const QSizeF &size, const QString &title, const QList<Tip> &tips)
{
    drawAccentPanel(p, size, 16, 232);
    p.setPen(white);
    p.setFont(uiFont(20));
    p.drawText(QRectF(16, 14, 160, 32), Qt::AlignLeft | Qt::AlignVCenter, title);
    const double top = 56, bottom = 234;
    const double row = (bottom - top) / tips.size();
    for (int i = 0; i < tips.size(); ++i) {
        const double y = top + i * row;
        const double d = std::min(26.0, row - 6);
        drawTipBadge(p, QRectF(16, y + (row - d) / 2, d, d), tips[i].glyph);
        drawFittedText(p, QRectF(16 + d + 10, y, size.width() - 42 - d, row), tips[i].heading + QStringLiteral(" ") + tips[i].text,
                       uiFont(12, QFont::Normal), white, Qt::AlignLeft | Qt::AlignVCenter, 8);
    }
}

const QList<Tip> &compositorTips()
{
    static const QList<Tip> tips = {
        {Glyph::Drag, "Drag a picture", "to move it over the background"},
        {Glyph::Pinch, "Pinch", "to make a picture larger or smaller"},
        {Glyph::Tap, "Tap a picture", "to hide it"},
        {Glyph::Sparkle, "Filter", "brightness, softness, colour and more"},
        {Glyph::TextPlus, "+Word", "to lay words over your picture"},
        {Glyph::Save, "Save", "at Low, Medium or High resolution"}};
    return tips;
}

const QList<Tip> &compositorPhoneTips()
{
    static const QList<Tip> tips = {{Glyph::Drag, "Drag", "to move a picture"},
                                    {Glyph::Pinch, "Pinch", "to resize it"},
                                    {Glyph::Tap, "Tap", "a picture to hide it"},
                                    {Glyph::Sparkle, "Filter:", "brighten, soften, colour"},
                                    {Glyph::Save, "Save:", "Low, Medium or High"}};
    return tips;
}

const QList<Tip> &textTips()
{
    static const QList<Tip> tips = {
        {Glyph::TextPlus, "Type, then Done", "your words become a layer of their own"},
        {Glyph::Layers, "Font", "choose a typeface before you press Done"},
        {Glyph::Drag, "Drag", "to move a layer"},
        {Glyph::Pinch, "Pinch", "to make it larger or smaller"},
        {Glyph::Tap, "Tap a layer", "to recolour it, fade it or change its size"},
        {Glyph::Frame, "Transform", "stretch with the corner handles, then rotate"},
        {Glyph::Hold, "Hold for a moment", "to delete a layer"}};
    return tips;
}

const QList<Tip> &textPhoneTips()
{
    static const QList<Tip> tips = {{Glyph::TextPlus, "Type,", "then press Done"},
                                    {Glyph::Drag, "Drag", "to move, pinch to resize"},
                                    {Glyph::Tap, "Tap", "a word to recolour it"},
                                    {Glyph::Frame, "Transform:", "stretch and rotate"},
                                    {Glyph::Hold, "Hold", "a word to delete it"}};
    return tips;
}

struct Segment
{
    Glyph glyph;
    QString text;
};

/// One line of hints: glyph and words per segment, centred, with dots between segments.
void drawHintLine(QPainter &p, const QRectF &line, const QList<Segment> &segments, double fontSize)
{
    QFont font = uiFont(fontSize, QFont::Normal);
    const double g = fontSize * 1.35, gap = fontSize * 0.45, sep = fontSize * 1.6;
    auto widthAt = [&](const QFont &f) {
        double total = 0;
        for (const Segment &s : segments)
            total += g + gap + QFontMetricsF(f).horizontalAdvance(s.text);
        return total + sep * (segments.size() - 1);
    };
    while (widthAt(font) > line.width() - 16 && font.pointSizeF() > 6)
        font.setPointSizeF(font.pointSizeF() - 0.25);
    double x = line.center().x() - widthAt(font) / 2;
    for (int i = 0; i < segments.size(); ++i) {
        drawGlyph(p, segments[i].glyph, QRectF(x, line.center().y() - g / 2, g, g), amber, 2.0);
        x += g + gap;
        const double w = QFontMetricsF(font).horizontalAdvance(segments[i].text);
        p.setFont(font);
        p.setPen(white);
        p.drawText(QRectF(x, line.top(), w + 2, line.height()), Qt::AlignVCenter | Qt::AlignLeft, segments[i].text);
        x += w;
        if (i + 1 < segments.size()) {
            p.setPen(Qt::NoPen);
            p.setBrush(withAlpha(white, 110));
            p.drawEllipse(QPointF(x + sep / 2, line.center().y()), 1.6, 1.6);
            x += sep;
        }
    }
}

void drawHintStrip(QPainter &p, const QSizeF &size, const QList<QList<Segment>> &lines, double fontSize)
{
    prepare(p);
    const QRectF rect(QPointF(0, 0), size);
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, inkRaised);
    fill.setColorAt(1, ink);
    p.fillRect(rect, fill);
    QLinearGradient line(0, 0, size.width(), 0);
    line.setColorAt(0, violet);
    line.setColorAt(1, coral);
    p.fillRect(QRectF(0, 0, size.width(), 2), line);
    const double h = (size.height() - 4) / lines.size();
    for (int i = 0; i < lines.size(); ++i)
        drawHintLine(p, QRectF(0, 3 + i * h, size.width(), h), lines[i], fontSize);
}

// The brand art: soft light on deep violet, a photo card with its piece lifted out, drifting
// shards, and the wordmark. focus is the part of the picture every screen shape shows.
void drawHome(QPainter &p, const QSizeF &size, const QRectF &focus)
{
    prepare(p);
    const QRectF all(QPointF(0, 0), size);
    QLinearGradient base(all.topLeft(), all.bottomRight());
    base.setColorAt(0, QColor(33, 24, 78));
    base.setColorAt(0.55, QColor(20, 18, 44));
    base.setColorAt(1, QColor(12, 14, 26));
    p.fillRect(all, base);
    const double w = size.width();
    auto glow = [&](QPointF c, double r, QColor color, int alpha) {
        QRadialGradient g(c, r);
        g.setColorAt(0, withAlpha(color, alpha));
        g.setColorAt(1, withAlpha(color, 0));
        p.fillRect(all, g);
    };
    glow(QPointF(focus.left() + focus.width() * 0.2, focus.top() + focus.height() * 0.15), w * 0.55, violet, 120);
    glow(QPointF(focus.right(), focus.bottom() * 0.95), w * 0.5, coral, 80);
    glow(QPointF(w * 0.95, w * 0.05), w * 0.4, sky, 50);
    // A fine dot grid gives the dark areas texture.
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(white, 14));
    const double step = w / 42.0;
    for (double y = step / 2; y < size.height(); y += step)
        for (double x = step / 2; x < w; x += step)
            p.drawEllipse(QPointF(x, y), step * 0.06, step * 0.06);

    // Large faint facets, as if the whole picture were glass about to break.
    QRandomGenerator facets(3);
    for (int i = 0; i < 12; ++i) {
        const QPointF c(facets.bounded(w), facets.bounded(size.height()));
        const double s = w * (0.08 + facets.bounded(0.16));
        QPainterPath tri;
        tri.moveTo(c + QPointF(0, -s));
        tri.lineTo(c + QPointF(s * (0.6 + facets.bounded(0.5)), s * 0.7));
        tri.lineTo(c + QPointF(-s * (0.6 + facets.bounded(0.5)), s * (0.3 + facets.bounded(0.5))));
        tri.closeSubpath();
        p.setBrush(withAlpha(i % 3 ? violet : coral, 6 + facets.bounded(8)));
        p.setPen(QPen(withAlpha(white, 9), w / 900.0));
        p.drawPath(tri);
    }
    p.setPen(Qt::NoPen);

    const double unit = focus.width();
    const QPointF motif(focus.center().x(), focus.top() + focus.height() * 0.36);
    const QSizeF card(unit * 0.56, unit * 0.42);
    const QRectF cardRect(-card.width() / 2, -card.height() / 2, card.width(), card.height());
    const QRectF hole(cardRect.left() + card.width() * 0.42, cardRect.top() + card.height() * 0.2, card.width() * 0.34,
                      card.height() * 0.42);
    // The photo card, with the hole where the piece came from.
    p.save();
    p.translate(motif);
    p.rotate(-7);
    drawSoftShadow(p, cardRect, unit * 0.02, unit * 0.03, 110);
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    p.drawRoundedRect(cardRect.adjusted(-unit * 0.012, -unit * 0.012, unit * 0.012, unit * 0.012), unit * 0.02, unit * 0.02);
    drawLandscape(p, cardRect, unit * 0.01);
    p.setBrush(QColor(10, 10, 16));
    p.drawRect(hole);
    QPen dash(withAlpha(QColor(120, 170, 255), 230), unit * 0.004);
    dash.setDashPattern({4, 3});
    p.setPen(dash);
    p.setBrush(Qt::NoBrush);
    p.drawRect(hole);
    p.restore();
    // The lifted piece: the same landscape, clipped to the hole, offset and turned.
    p.save();
    p.translate(motif + QPointF(unit * 0.19, -unit * 0.17));
    p.rotate(9);
    const QRectF piece(hole.left() - hole.center().x(), hole.top() - hole.center().y(), hole.width(), hole.height());
    drawSoftShadow(p, piece, unit * 0.006, unit * 0.03, 130);
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    p.drawRect(piece.adjusted(-unit * 0.006, -unit * 0.006, unit * 0.006, unit * 0.006));
    p.setClipRect(piece);
    p.translate(-hole.center());
    drawLandscape(p, cardRect, 0);
    p.restore();
    // Shards drifting off the piece's corner.
    QRandomGenerator random(7);
    const QColor colors[] = {violet, coral, amber, sky, mint, white};
    for (int i = 0; i < 14; ++i) {
        const double t = i / 13.0;
        const QPointF c = motif + QPointF(unit * (0.3 + 0.1 * t + random.bounded(0.04)), -unit * (0.28 + 0.08 * t - random.bounded(0.1)));
        const double s = unit * (0.022 - 0.012 * t + random.bounded(0.006));
        p.save();
        p.translate(c);
        p.rotate(random.bounded(360.0));
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(colors[i % 6], 230 - int(120 * t)));
        QPainterPath tri;
        tri.moveTo(0, -s);
        tri.lineTo(s * 0.9, s * 0.7);
        tri.lineTo(-s * 0.8, s * 0.5);
        tri.closeSubpath();
        p.drawPath(tri);
        p.restore();
    }
    // The wordmark.
    const QRectF wordRect(focus.left(), focus.top() + focus.height() * 0.64, focus.width(), focus.height() * 0.2);
    QFont brand = brandFont(unit * 0.2);
    brand.setLetterSpacing(QFont::PercentageSpacing, 104);
    QPainterPath word;
    const QFontMetricsF metrics(brand);
    const double wordWidth = metrics.horizontalAdvance(QStringLiteral("Vimora"));
    word.addText(wordRect.center().x() - wordWidth / 2, wordRect.center().y() + metrics.capHeight() / 2, brand, QStringLiteral("Vimora"));
    QLinearGradient ink(wordRect.topLeft(), wordRect.bottomLeft());
    ink.setColorAt(0, white);
    ink.setColorAt(1, QColor(214, 210, 255));
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(Qt::black, 90));
    p.drawPath(word.translated(0, unit * 0.008));
    p.setBrush(ink);
    p.drawPath(word);
    QLinearGradient rule(wordRect.center().x() - wordWidth / 2, 0, wordRect.center().x() + wordWidth / 2, 0);
    rule.setColorAt(0, violet);
    rule.setColorAt(1, coral);
    p.fillRect(QRectF(wordRect.center().x() - wordWidth * 0.18, wordRect.bottom() + unit * 0.005, wordWidth * 0.36, unit * 0.008), rule);
    QFont tagline = uiFont(unit * 0.042, QFont::Normal);
    tagline.setLetterSpacing(QFont::PercentageSpacing, 118);
    p.setFont(tagline);
    p.setPen(withAlpha(white, 200));
    p.drawText(QRectF(focus.left(), wordRect.bottom() + unit * 0.03, focus.width(), unit * 0.08), Qt::AlignHCenter | Qt::AlignTop,
               QStringLiteral("Cut out  \u00b7  Shatter  \u00b7  Compose"));
}

void drawBanner(QPainter &p, const QSizeF &size, const QColor &from, const QColor &to, Glyph glyph, const QString &title,
                const QString &text)
{
    prepare(p);
    const QRectF card(2, 2, size.width() - 4, size.height() - 6);
    drawSoftShadow(p, card, 16, 2, 80);
    QPainterPath shape;
    shape.addRoundedRect(card, 16, 16);
    QLinearGradient fill(card.topLeft(), card.bottomRight());
    fill.setColorAt(0, from);
    fill.setColorAt(1, to);
    p.fillPath(shape, fill);
    p.save();
    p.setClipPath(shape);
    drawGlyph(p, glyph, QRectF(card.right() - 120, card.top() + 30, 150, 150), withAlpha(white, 40), 1.6);
    QRadialGradient sheen(QPointF(card.left() + 40, card.top()), 200);
    sheen.setColorAt(0, withAlpha(white, 60));
    sheen.setColorAt(1, withAlpha(white, 0));
    p.fillRect(card, sheen);
    p.restore();
    const QRectF disc(card.left() + 18, card.top() + 20, 52, 52);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(white, 235));
    p.drawEllipse(disc);
    drawGlyph(p, glyph, disc.adjusted(12, 12, -12, -12), from.darker(130), 2.2);
    drawFittedText(p, QRectF(card.left() + 84, card.top() + 22, card.width() - 100, 26), title, uiFont(21), white,
                   Qt::AlignLeft | Qt::AlignVCenter);
    drawParagraph(p, QRectF(card.left() + 84, card.top() + 52, card.width() - 104, 50), text, uiFont(12.5, QFont::Normal),
                  withAlpha(white, 225));
    const QRectF chip(card.left() + 18, card.bottom() - 44, 140, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    p.drawRoundedRect(chip, 15, 15);
    drawFittedText(p, chip, QStringLiteral("Open the guide  \u203a"), uiFont(13), from.darker(140));
}

void drawTypeCard(QPainter &p, const QSizeF &size, bool shards)
{
    prepare(p);
    const QRectF card(1.5, 1.5, size.width() - 3, size.height() - 3);
    QPainterPath shape;
    shape.addRoundedRect(card, 10, 10);
    p.save();
    p.setClipPath(shape);
    const QRectF picture(card.left(), card.top(), card.width(), card.height() - 20);
    if (!shards) {
        drawLandscape(p, picture);
        QPen dash(white, 1.4);
        dash.setDashPattern({3, 2});
        p.setPen(dash);
        p.setBrush(withAlpha(QColor(80, 140, 255), 70));
        p.drawRect(QRectF(picture.left() + picture.width() * 0.3, picture.top() + picture.height() * 0.22, picture.width() * 0.36,
                          picture.height() * 0.5));
        drawGlyph(p, Glyph::Scissors, QRectF(picture.right() - 26, picture.top() + 4, 22, 22), white, 2.2);
    } else {
        p.fillRect(picture, QColor(30, 30, 60));
        // The landscape broken into cells that drift apart and turn a little.
        p.fillRect(picture, ink);
        QRandomGenerator random(11);
        const int cols = 4, rows = 3;
        const double cw = picture.width() / cols, ch = picture.height() / rows;
        for (int row = 0; row < rows; ++row)
            for (int col = 0; col < cols; ++col) {
                const QRectF cell(picture.left() + col * cw, picture.top() + row * ch, cw, ch);
                const QPointF drift((col - 1.5) * 2.2, (row - 1) * 2.2);
                p.save();
                p.translate(cell.center() + drift);
                p.rotate(random.bounded(16.0) - 8.0);
                p.scale(0.86, 0.86);
                p.translate(-cell.center());
                QPainterPath piece;
                piece.addRect(cell);
                p.setClipPath(piece, Qt::IntersectClip);
                drawLandscape(p, picture);
                p.restore();
            }
    }
    p.fillRect(QRectF(card.left(), card.bottom() - 20, card.width(), 20), withAlpha(ink, 235));
    p.restore();
    drawFittedText(p, QRectF(card.left() + 4, card.bottom() - 20, card.width() - 8, 20), shards ? "Shatter" : "Cut-out", uiFont(12), white);
    p.setPen(QPen(withAlpha(white, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card.adjusted(0.5, 0.5, -0.5, -0.5), 9.5, 9.5);
}

void drawSteps(QPainter &p, const QSizeF &size)
{
    drawAccentPanel(p, size, 20, 236);
    p.setPen(white);
    p.setFont(uiFont(24));
    p.drawText(QRectF(28, 20, size.width() - 56, 34), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("How Vimora works"));
    const QList<Tip> steps = {{Glyph::Camera, "Take or pick a photo", "Camera or Album on the home screen"},
                              {Glyph::Frame, "Frame the part you want", "drag the blue frame and its corners"},
                              {Glyph::Check, "Press done", "the piece is cut out and lifted"},
                              {Glyph::Palette, "Color or Scatter", "scale, turn, tint and shatter it"},
                              {Glyph::Save, "Save", "keep the result in your album"}};
    const double top = 72, row = (size.height() - top - 20) / steps.size();
    for (int i = 0; i < steps.size(); ++i) {
        const double y = top + i * row;
        const QRectF disc(28, y + (row - 40) / 2, 40, 40);
        drawTipBadge(p, disc, steps[i].glyph);
        p.setPen(Qt::NoPen);
        p.setBrush(coral);
        p.drawEllipse(QPointF(disc.right() - 2, disc.top() + 3), 8, 8);
        drawFittedText(p, QRectF(disc.right() - 10, disc.top() - 5, 16, 16), QString::number(i + 1), uiFont(11), white);
        drawFittedText(p, QRectF(86, y + row / 2 - 20, size.width() - 110, 20), steps[i].heading, uiFont(16), white,
                       Qt::AlignLeft | Qt::AlignBottom);
        drawFittedText(p, QRectF(86, y + row / 2 + 1, size.width() - 110, 18), steps[i].text, uiFont(12.5, QFont::Normal),
                       withAlpha(white, 185), Qt::AlignLeft | Qt::AlignTop);
    }
}

} // namespace

void addPanels(Registry &r)
{
    r["selectBackIpad.png"] = [](QPainter &p, const QSizeF &s) { drawHeaderPanel(p, s, 22, 50); };
    r["selectBackIphone.png"] = [](QPainter &p, const QSizeF &s) { drawHeaderPanel(p, s, 14, 40); };
    r["selectViewBack2.png"] = [](QPainter &p, const QSizeF &s) { drawAccentPanel(p, s, 16); };
    r["selectViewBack1.png"] = [](QPainter &p, const QSizeF &s) { drawAccentPanel(p, s, 16); };
    r["blackBack600.png"] = [](QPainter &p, const QSizeF &s) { drawAccentPanel(p, s, 24, 246); };
    r["blackBack300.png"] = [](QPainter &p, const QSizeF &s) { drawAccentPanel(p, s, 16, 246); };
    r["skinBtnBack.png"] = [](QPainter &p, const QSizeF &s) {
        prepare(p);
        drawPanel(p, QRectF(1, 1, s.width() - 2, s.height() - 2), 16, 232);
    };
    r["skinBtnBackB.png"] = [](QPainter &p, const QSizeF &s) { drawAccentPanel(p, s, 18, 232); };

    r["descriptionIpad.png"] = [](QPainter &p, const QSizeF &s) {
        drawTabletTips(p, s, "Tips", "Arrange your pictures over the background", compositorTips());
    };
    r["descriptionIphone.png"] = [](QPainter &p, const QSizeF &s) { drawPhoneTips(p, s, "Tips", compositorPhoneTips()); };
    r["descriptionIpad3.png"] = [](QPainter &p, const QSizeF &s) {
        drawTabletTips(p, s, "Words", "Lay text over your picture", textTips());
    };
    r["descriptionIphone3.png"] = [](QPainter &p, const QSizeF &s) { drawPhoneTips(p, s, "Words", textPhoneTips()); };
    r["descrip.png"] = drawSteps;

    r["desIpad2.jpg"] = [](QPainter &p, const QSizeF &s) {
        drawHintStrip(p, s,
                      {{{Glyph::Drag, "Drag the piece"},
                        {Glyph::Pinch, "Pinch to resize"},
                        {Glyph::Palette, "Color or Scatter for effects"},
                        {Glyph::Save, "Save to your album"}}},
                      15);
    };
    r["desIpad3.jpg"] = [](QPainter &p, const QSizeF &s) {
        drawHintStrip(p, s,
                      {{{Glyph::Shards, "Pieces shattered"},
                        {Glyph::Rotate, "Switch again for a new mix"},
                        {Glyph::ArrowRight, "Next flattens them"},
                        {Glyph::Resume, "<-Prev starts over"}}},
                      15);
    };
    r["desIphone2.jpg"] = [](QPainter &p, const QSizeF &s) {
        drawHintStrip(p, s,
                      {{{Glyph::Drag, "Drag to place"}, {Glyph::Pinch, "Pinch to resize"}},
                       {{Glyph::Palette, "Color or Scatter"}, {Glyph::Save, "Save to album"}}},
                      12.5);
    };
    r["desIphone3.jpg"] = [](QPainter &p, const QSizeF &s) {
        drawHintStrip(p, s,
                      {{{Glyph::Shards, "Pieces scattered"}, {Glyph::Rotate, "Switch again to remix"}},
                       {{Glyph::ArrowRight, "Next flattens"}, {Glyph::Resume, "<-Prev starts over"}}},
                      12.5);
    };

    // The tablet window is square (1024) but shows 768 x 1024 or 1024 x 768 of it, above the
    // home bar; the phone picture is shown in a 320-point-wide strip (480 or 568 tall).
    r["mainB1.png"] = [](QPainter &p, const QSizeF &s) { drawHome(p, s, QRectF(64, 60, 640, 600)); };
    r["mainB1iphone.png"] = [](QPainter &p, const QSizeF &s) { drawHome(p, s, QRectF(20, 70, 300, 380)); };

    r["adGuide.png"] = [](QPainter &p, const QSizeF &s) {
        drawBanner(p, s, violet, sky.darker(110), Glyph::Scissors, "Getting started", "Cut a piece out of a photo and lay it back, step by step.");
    };
    r["adEffects.png"] = [](QPainter &p, const QSizeF &s) {
        drawBanner(p, s, coral.darker(108), amber.darker(105), Glyph::Sparkle, "Effects and styles", "Scatter, shatter, feather and blend your pieces.");
    };
    r["adWords.png"] = [](QPainter &p, const QSizeF &s) {
        drawBanner(p, s, mint.darker(125), sky.darker(120), Glyph::TextPlus, "Text and word art", "Lay words over your picture in twenty typefaces.");
    };

    r["TYPE1.png"] = [](QPainter &p, const QSizeF &s) { drawTypeCard(p, s, false); };
    r["TYPE2.png"] = [](QPainter &p, const QSizeF &s) { drawTypeCard(p, s, true); };
}

} // namespace vimora::artwork
