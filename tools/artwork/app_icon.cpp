#include "app_icon.h"

#include <QDir>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QSvgGenerator>

#include "style.h"

namespace vimora::artwork {

using namespace palette;

void drawAppIcon(QPainter &p, double side)
{
    prepare(p);
    const double s = side;
    // The themes' icon grid leaves a margin; the tile stays inside it at every size.
    const QRectF tile(s * 0.06, s * 0.06, s * 0.88, s * 0.88);
    const double radius = s * 0.2;
    QPainterPath tileShape;
    tileShape.addRoundedRect(tile, radius, radius);
    QLinearGradient base(tile.topLeft(), tile.bottomRight());
    base.setColorAt(0, QColor(52, 38, 122));
    base.setColorAt(0.55, QColor(26, 22, 60));
    base.setColorAt(1, QColor(14, 16, 30));
    p.setPen(Qt::NoPen);
    p.setBrush(base);
    p.drawPath(tileShape);
    // No clipping anywhere: the scalable icon's SVG writer drops clips, so every shape is
    // drawn within its own outline.
    auto glow = [&](QPointF c, double r, const QColor &color, int alpha) {
        QRadialGradient g(c, r);
        g.setColorAt(0, withAlpha(color, alpha));
        g.setColorAt(1, withAlpha(color, 0));
        p.setBrush(g);
        p.drawPath(tileShape);
    };
    glow(QPointF(s * 0.28, s * 0.22), s * 0.55, violet, 140);
    glow(QPointF(s * 0.9, s * 0.9), s * 0.5, coral, 90);
    p.setPen(QPen(withAlpha(white, 40), s * 0.006));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tileShape);

    // The photo card with the hole where the piece came from.
    const QPointF motif(s * 0.45, s * 0.58);
    const QRectF card(-s * 0.3, -s * 0.22, s * 0.6, s * 0.44);
    const QRectF hole(card.left() + card.width() * 0.44, card.top() + card.height() * 0.16, card.width() * 0.36,
                      card.height() * 0.46);
    p.save();
    p.translate(motif);
    p.rotate(-8);
    drawSoftShadow(p, card, s * 0.02, s * 0.03, 120);
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    const double rim = s * 0.018;
    p.drawRoundedRect(card.adjusted(-rim, -rim, rim, rim), s * 0.025, s * 0.025);
    drawLandscape(p, card, s * 0.01);
    p.setBrush(QColor(10, 10, 16));
    p.drawRect(hole);
    p.restore();

    // The lifted piece, up and turned: a landscape of its own, as a clip would not survive.
    p.save();
    p.translate(motif + QPointF(s * 0.2, -s * 0.24));
    p.rotate(10);
    const QRectF piece(-hole.width() / 2, -hole.height() / 2, hole.width(), hole.height());
    drawSoftShadow(p, piece, s * 0.006, s * 0.03, 140);
    p.setPen(Qt::NoPen);
    p.setBrush(white);
    const double edge = s * 0.012;
    p.drawRect(piece.adjusted(-edge, -edge, edge, edge));
    drawLandscape(p, piece, 0);
    p.restore();

    // A few shards off the piece's corner; fixed seed, so every size draws the same ones.
    QRandomGenerator random(11);
    const QColor colours[] = {coral, amber, sky, white, violet};
    for (int i = 0; i < 5; ++i) {
        const double t = i / 4.0;
        const QPointF c(s * (0.8 + 0.05 * t), s * (0.24 + 0.12 * t - random.bounded(0.04)));
        const double size = s * (0.04 - 0.018 * t);
        p.save();
        p.translate(c);
        p.rotate(random.bounded(360.0));
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(colours[i], 235 - int(90 * t)));
        QPainterPath tri;
        tri.moveTo(0, -size);
        tri.lineTo(size * 0.9, size * 0.7);
        tri.lineTo(-size * 0.8, size * 0.5);
        tri.closeSubpath();
        p.drawPath(tri);
        p.restore();
    }
}

QImage renderAppIcon(int pixels)
{
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    drawAppIcon(p, pixels);
    return image;
}

QStringList writeAppIcons(const QString &dir, const QString &name)
{
    QStringList problems;
    for (int pixels : kAppIconSizes) {
        const QString folder = QStringLiteral("%1/hicolor/%2x%2/apps").arg(dir).arg(pixels);
        const QString path = folder + '/' + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !renderAppIcon(pixels).save(path, "PNG"))
            problems << QStringLiteral("cannot write %1").arg(path);
    }
    // The scalable icon records the same drawing as vector paths.
    const QString folder = dir + QStringLiteral("/hicolor/scalable/apps");
    const QString path = folder + '/' + name + QStringLiteral(".svg");
    constexpr int kSvgSide = 256;
    if (!QDir().mkpath(folder)) {
        problems << QStringLiteral("cannot write %1").arg(path);
        return problems;
    }
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(kSvgSide, kSvgSide));
    svg.setViewBox(QRect(0, 0, kSvgSide, kSvgSide));
    svg.setTitle(QStringLiteral("Vimora"));
    QPainter p;
    if (!p.begin(&svg)) {
        problems << QStringLiteral("cannot write %1").arg(path);
        return problems;
    }
    drawAppIcon(p, kSvgSide);
    p.end();
    return problems;
}

} // namespace vimora::artwork
