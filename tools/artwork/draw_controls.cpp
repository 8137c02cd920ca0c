// Buttons, handles, toggles, slider parts and the icons that sit beside button titles.
#include <QPainterPath>

#include "catalogue.h"
#include "glyphs.h"
#include "style.h"

namespace vimora::artwork {

namespace {

using namespace palette;

/// A dark tile carrying a glyph and its caption: glyph beside the caption on wide tiles, above
/// it on squarer ones. Used for every control whose title is not shown.
void drawCaptionedTile(QPainter &p, const QSizeF &size, Glyph glyph, const QString &caption, const QColor &glyphColor,
                       bool dimmed = false)
{
    prepare(p);
    const QRectF rect(1, 1, size.width() - 2, size.height() - 2);
    drawPanel(p, rect, std::min(12.0, rect.height() * 0.26), dimmed ? 150 : 226);
    const QColor text = dimmed ? withAlpha(white, 120) : white;
    const QColor mark = dimmed ? withAlpha(glyphColor, 120) : glyphColor;
    if (size.width() >= size.height() * 1.6) {
        const double g = size.height() * 0.5;
        QRectF glyphBox(rect.left() + 10, rect.center().y() - g / 2, g, g);
        drawGlyph(p, glyph, glyphBox, mark, 2.0);
        const QRectF textBox(glyphBox.right() + 6, rect.top(), rect.right() - glyphBox.right() - 12, rect.height());
        const double least = captionPixels(9);
        drawFittedText(p, textBox, caption, uiFont(captionPixels(14)), text, Qt::AlignVCenter | Qt::AlignLeft, least);
    } else {
        // A larger caption takes its room from the glyph.
        const double nominal = size.height() >= 60 ? 11 : 10, pixels = captionPixels(nominal);
        const double captionHeight = std::max(size.height() * 0.27, pixels * 1.15);
        const double g = std::min(std::min(size.width(), size.height()) * 0.44, rect.height() - captionHeight - 6);
        const double top = rect.top() + (rect.height() - captionHeight - g) * 0.55;
        drawGlyph(p, glyph, QRectF(rect.center().x() - g / 2, top, g, g), mark, 2.0);
        const QRectF textBox(rect.left() + 2, top + g + 1, rect.width() - 4, captionHeight);
        drawFittedText(p, textBox, caption, uiFont(pixels), text, Qt::AlignHCenter | Qt::AlignTop, captionPixels(7));
    }
}

/// A round button face with a soft shadow, filling the picture minus a margin for the shadow.
QRectF drawRoundFace(QPainter &p, const QSizeF &size, const QColor &face, bool ring = true)
{
    prepare(p);
    const double margin = std::max(1.5, size.width() * 0.06);
    const QRectF disc(margin, margin * 0.7, size.width() - 2 * margin, size.height() - 2 * margin);
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 4; i >= 1; --i) {
        p.setBrush(withAlpha(Qt::black, 18));
        const double grow = margin * i / 4.0;
        p.drawEllipse(disc.translated(0, margin * 0.35).adjusted(-grow, -grow, grow, grow));
    }
    p.restore();
    drawFace(p, disc, disc.width() / 2, face, false);
    if (ring) {
        p.save();
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(white, 200), std::max(1.0, size.width() * 0.045)));
        const double inset = size.width() * 0.045 / 2;
        p.drawEllipse(disc.adjusted(inset, inset, -inset, -inset));
        p.restore();
    }
    return disc;
}

void drawRoundGlyphButton(QPainter &p, const QSizeF &size, const QColor &face, Glyph glyph, double glyphShare = 0.5)
{
    const QRectF disc = drawRoundFace(p, size, face);
    const double g = disc.width() * glyphShare;
    drawGlyph(p, glyph, QRectF(disc.center().x() - g / 2, disc.center().y() - g / 2, g, g), white, 2.4);
}

/// An icon tile for buttons whose white title stands beside the picture.
void drawIconTile(QPainter &p, const QSizeF &size, Glyph glyph, const QColor &face = violet)
{
    prepare(p);
    const QRectF tile(2, 2, size.width() - 4, size.height() - 4);
    drawSoftShadow(p, tile, 9, 1.5, 60);
    drawFace(p, tile, 9, face);
    const double g = tile.width() * 0.62;
    drawGlyph(p, glyph, QRectF(tile.center().x() - g / 2, tile.center().y() - g / 2, g, g), white, 2.0);
}

/// Slider track with a rounded left end; the stretchable column sits at x = 10.
void drawTrack(QPainter &p, const QSizeF &size, const QColor &color)
{
    prepare(p);
    const QRectF track(0.5, 0.5, size.width() - 1, size.height() - 1);
    QLinearGradient fill(track.topLeft(), track.bottomLeft());
    fill.setColorAt(0, color.lighter(125));
    fill.setColorAt(1, color.darker(108));
    p.setPen(QPen(withAlpha(color.darker(150), 160), 0.6));
    p.setBrush(fill);
    p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
}

void drawThumb(QPainter &p, const QSizeF &size, const QColor &accent, bool ringOnly)
{
    prepare(p);
    const QRectF knob(3, 2, size.width() - 6, size.height() - 6);
    p.setPen(Qt::NoPen);
    for (int i = 4; i >= 1; --i) {
        p.setBrush(withAlpha(Qt::black, 22));
        p.drawEllipse(knob.translated(0, 1.2).adjusted(-i * 0.6, -i * 0.6, i * 0.6, i * 0.6));
    }
    QLinearGradient fill(knob.topLeft(), knob.bottomLeft());
    fill.setColorAt(0, white);
    fill.setColorAt(1, QColor(226, 230, 238));
    p.setBrush(fill);
    p.drawEllipse(knob);
    if (ringOnly) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(accent, 3.0));
        p.drawEllipse(knob.adjusted(5, 5, -5, -5));
    } else {
        p.setBrush(accent);
        p.drawEllipse(knob.center(), 4.6, 4.6);
    }
}

/// A pill face for titles drawn over it.
void drawPill(QPainter &p, const QSizeF &size, const QColor &face, double radius)
{
    prepare(p);
    const QRectF pill(1.5, 1.5, size.width() - 3, size.height() - 4);
    drawSoftShadow(p, pill, radius, 1.5, 70);
    drawFace(p, pill, radius, face);
}

/// Two discs blended in one composition mode over a gradient: the blend shows itself, and the
/// caption names it.
void drawBlendTile(QPainter &p, const QSizeF &size, QPainter::CompositionMode mode, const QString &caption)
{
    prepare(p);
    const QRectF tile(1, 1, size.width() - 2, size.height() - 2);
    const double scale = deviceScale(p, size);
    // The discs are blended on a layer of their own so the mode acts on the swatch only.
    QImage layer((tile.size() * scale).toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter l(&layer);
        prepare(l);
        l.scale(scale, scale);
        const QRectF local(QPointF(0, 0), tile.size());
        QLinearGradient base(local.topLeft(), local.topRight());
        base.setColorAt(0, QColor(250, 210, 110));
        base.setColorAt(0.5, QColor(200, 120, 170));
        base.setColorAt(1, QColor(60, 90, 180));
        l.setPen(Qt::NoPen);
        l.setBrush(base);
        l.drawRect(local);
        l.setCompositionMode(mode);
        const double d = local.height() * 0.78;
        l.setBrush(coral);
        l.drawEllipse(QRectF(local.center().x() - d * 0.82, 2, d, d));
        l.setBrush(sky);
        l.drawEllipse(QRectF(local.center().x() - d * 0.18, 2, d, d));
    }
    QPainterPath shape;
    shape.addRoundedRect(tile, 10, 10);
    p.save();
    p.setClipPath(shape);
    p.drawImage(tile, layer);
    const QRectF band(tile.left(), tile.bottom() - 17, tile.width(), 17);
    p.fillRect(band, withAlpha(ink, 215));
    p.restore();
    drawFittedText(p, band.adjusted(3, 0, -3, 0), caption, uiFont(11.5), white, Qt::AlignCenter, 7);
    p.setPen(QPen(withAlpha(white, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 9.5, 9.5);
}

void drawCheckmark(QPainter &p, const QSizeF &size)
{
    const QRectF disc = drawRoundFace(p, size, violet);
    const double g = disc.width() * 0.62;
    drawGlyph(p, Glyph::Check, QRectF(disc.center().x() - g / 2, disc.center().y() - g / 2, g, g), white, 3.0);
}

} // namespace

void addControls(Registry &r)
{
    // Home bar: titles are clear, so each picture names its action.
    r["afterCuts.png"] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::Camera, "Camera", white); };
    r["afterCutsy.png"] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::CameraOff, "No camera", slate, true); };
    r["empty.png"] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::Photos, "Album", white); };
    r["buyMores.png"] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::Book, "Guide", amber); };
    r["backButtonMain.png"] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::Resume, "Resume", mint); };

    // Toolbars.
    for (const char *name : {"surBtn.png", "surBtns.png"})
        r[name] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::Palette, "Color", white); };
    for (const char *name : {"disBtn.png", "disBtns.png"})
        r[name] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::Shards, "Scatter", sky); };
    r["cutBtns.png"] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::Scissors, "New cut", coral); };
    for (const char *name : {"saveBtn.png", "saveBtn2.png"})
        r[name] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::Save, "Save", mint); };
    for (const char *name : {"homeBtn.png", "homeBtn2.png"})
        r[name] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::Home, "Home", white); };
    r["noteBtn.png"] = [](QPainter &p, const QSizeF &s) { drawCaptionedTile(p, s, Glyph::TextPlus, "Text", amber); };

    // Button faces behind white titles.
    r["longBtn.png"] = [](QPainter &p, const QSizeF &s) { drawPill(p, s, violet, (s.height() - 4) / 2); };
    r["0.png"] = [](QPainter &p, const QSizeF &s) { drawPill(p, s, violet, 10); };
    r["2.png"] = [](QPainter &p, const QSizeF &s) { drawRoundFace(p, s, inkRaised); };
    r["buttonX.png"] = [](QPainter &p, const QSizeF &s) { drawRoundFace(p, s, violet); };
    r["messageBtn.png"] = [](QPainter &p, const QSizeF &s) {
        prepare(p);
        const QRectF pill(1.5, 6.5, s.width() - 3, s.height() - 13);
        p.setPen(QPen(withAlpha(white, 150), 1.2));
        p.setBrush(withAlpha(ink, 150));
        p.drawRoundedRect(pill, pill.height() / 2, pill.height() / 2);
    };

    // Whole controls.
    r["buttonY.png"] = [](QPainter &p, const QSizeF &s) { drawRoundGlyphButton(p, s, violet, Glyph::Restore); };
    r["doneBtns.png"] = [](QPainter &p, const QSizeF &s) { drawRoundGlyphButton(p, s, mint, Glyph::Check, 0.56); };
    r["scaleBtn.png"] = [](QPainter &p, const QSizeF &s) { drawRoundGlyphButton(p, s, inkRaised, Glyph::Frame, 0.6); };
    r["moveHandBtn.png"] = [](QPainter &p, const QSizeF &s) { drawRoundGlyphButton(p, s, violet, Glyph::Move, 0.62); };
    r["toolbtn.png"] = [](QPainter &p, const QSizeF &s) { drawRoundGlyphButton(p, s, inkRaised, Glyph::ArrowRight, 0.58); };
    r["listBtnN.png"] = [](QPainter &p, const QSizeF &s) {
        const QRectF disc = drawRoundFace(p, s, withAlpha(ink, 210));
        p.setPen(QPen(withAlpha(white, 120), 1.2, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(disc.center(), disc.width() * 0.22, disc.width() * 0.22);
    };
    r["listBtnY.png"] = [](QPainter &p, const QSizeF &s) { drawRoundGlyphButton(p, s, violet, Glyph::Check, 0.56); };
    r["moveHandBtnX.png"] = [](QPainter &p, const QSizeF &s) {
        prepare(p);
        const QRectF disc(s.width() * 0.2, s.height() * 0.2, s.width() * 0.6, s.height() * 0.6);
        p.setPen(Qt::NoPen);
        for (int i = 4; i >= 1; --i) {
            p.setBrush(withAlpha(Qt::black, 26));
            p.drawEllipse(disc.translated(0, 0.8).adjusted(-i * 0.9, -i * 0.9, i * 0.9, i * 0.9));
        }
        p.setBrush(white);
        p.drawEllipse(disc);
        p.setBrush(violet);
        p.drawEllipse(disc.center(), disc.width() * 0.26, disc.width() * 0.26);
    };
    r["cancelBtn.png"] = [](QPainter &p, const QSizeF &s) {
        prepare(p);
        const QRectF pill(1.5, 2.5, s.width() - 3, s.height() - 5);
        drawPanel(p, pill, pill.height() / 2, 230);
        const double d = pill.height() - 10;
        const QRectF disc(pill.left() + 5, pill.center().y() - d / 2, d, d);
        drawFace(p, disc, d / 2, rose, false);
        drawGlyph(p, Glyph::Close, disc.adjusted(d * 0.2, d * 0.2, -d * 0.2, -d * 0.2), white, 3.0);
        drawFittedText(p, QRectF(disc.right() + 6, pill.top(), pill.right() - disc.right() - 12, pill.height()), "Close",
                       uiFont(14), white, Qt::AlignVCenter | Qt::AlignLeft);
    };
    r["leaveBtn2.png"] = [](QPainter &p, const QSizeF &s) {
        const QRectF disc = drawRoundFace(p, s, inkRaised);
        const double g = disc.width() * 0.34;
        drawGlyph(p, Glyph::Close, QRectF(disc.center().x() - g / 2, disc.top() + disc.height() * 0.2, g, g), white, 2.6);
        drawFittedText(p, QRectF(disc.left(), disc.top() + disc.height() * 0.58, disc.width(), disc.height() * 0.22), "Close",
                       uiFont(11), white, Qt::AlignCenter);
    };
    r["QvIPC-Checkmark-iPad.png"] = drawCheckmark;
    r["QvIPC-Checkmark-iPhone.png"] = drawCheckmark;

    // Slider parts.
    r["leftSlider.png"] = [](QPainter &p, const QSizeF &s) { drawTrack(p, s, violet); };
    r["lefdSlider.png"] = [](QPainter &p, const QSizeF &s) { drawTrack(p, s, coral); };
    r["lefkSlider.png"] = [](QPainter &p, const QSizeF &s) { drawTrack(p, s, mint); };
    r["lefokSlider.png"] = [](QPainter &p, const QSizeF &s) { drawTrack(p, s, amber); };
    r["leftopPhotoSlider.png"] = [](QPainter &p, const QSizeF &s) { drawTrack(p, s, sky); };
    r["sliderBtn.png"] = [](QPainter &p, const QSizeF &s) { drawThumb(p, s, violet, false); };
    r["sliderBtn2.png"] = [](QPainter &p, const QSizeF &s) { drawThumb(p, s, coral, true); };

    // Icons beside white titles.
    r["rectangle.png"] = [](QPainter &p, const QSizeF &s) { drawIconTile(p, s, Glyph::Feather); };
    r["colorBtnS.png"] = [](QPainter &p, const QSizeF &s) { drawIconTile(p, s, Glyph::HueRing, inkRaised); };
    r["43.png"] = [](QPainter &p, const QSizeF &s) { drawIconTile(p, s, Glyph::Expand); };
    r["shad.png"] = [](QPainter &p, const QSizeF &s) { drawIconTile(p, s, Glyph::Shards); };
    r["tblurBtn.png"] = [](QPainter &p, const QSizeF &s) { drawIconTile(p, s, Glyph::Drop, sky.darker(115)); };
    r["tsharpenBtn.png"] = [](QPainter &p, const QSizeF &s) { drawIconTile(p, s, Glyph::Crystal, violet); };
    r["brightM.png"] = [](QPainter &p, const QSizeF &s) { drawIconTile(p, s, Glyph::SunMinus, amber.darker(135)); };
    r["brightPlus.png"] = [](QPainter &p, const QSizeF &s) { drawIconTile(p, s, Glyph::SunPlus, amber.darker(112)); };

    // Blend styles of the adjust panel.
    r["style1.png"] = [](QPainter &p, const QSizeF &s) { drawBlendTile(p, s, QPainter::CompositionMode_Overlay, "Overlay"); };
    r["style2.png"] = [](QPainter &p, const QSizeF &s) { drawBlendTile(p, s, QPainter::CompositionMode_Darken, "Darken"); };
    r["style3.png"] = [](QPainter &p, const QSizeF &s) { drawBlendTile(p, s, QPainter::CompositionMode_HardLight, "Hard Light"); };
    r["style4.png"] = [](QPainter &p, const QSizeF &s) { drawBlendTile(p, s, QPainter::CompositionMode_SourceOver, "Original"); };
}

} // namespace vimora::artwork
