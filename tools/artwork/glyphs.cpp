#include "glyphs.h"

#include <algorithm>
#include <cmath>

#include <QPainterPath>

#include "style.h"

namespace vimora::artwork {

namespace {

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    bool first = true;
    for (const QPointF &point : points) {
        if (first)
            path.moveTo(point);
        else
            path.lineTo(point);
        first = false;
    }
    return path;
}

/// An arc of a circle from angle a0 sweeping by sweep degrees (counter-clockwise positive,
/// y down as on screen), with an arrow head at its end.
QPainterPath arrowArc(QPointF centre, double radius, double a0, double sweep, double head)
{
    QPainterPath path;
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    path.arcMoveTo(box, a0);
    path.arcTo(box, a0, sweep);
    const double a1 = (a0 + sweep) * M_PI / 180.0;
    const QPointF end(centre.x() + radius * std::cos(a1), centre.y() - radius * std::sin(a1));
    // Tangent direction of travel at the end of the arc.
    const double dir = sweep >= 0 ? 1.0 : -1.0;
    const QPointF tangent(-std::sin(a1) * dir, -std::cos(a1) * dir);
    const QPointF normal(-tangent.y(), tangent.x());
    path.moveTo(end - tangent * head + normal * head * 0.8);
    path.lineTo(end);
    path.lineTo(end - tangent * head - normal * head * 0.8);
    return path;
}

void drawSun(QPainter &p, QPointF c, double r)
{
    p.drawEllipse(c, r, r);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        const QPointF d(std::cos(a), std::sin(a));
        p.drawLine(c + d * (r + 2.2), c + d * (r + 4.2));
    }
}

void drawBadge(QPainter &p, QPointF c, bool plus, const QColor &color)
{
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, 4.6, 4.6);
    p.setPen(QPen(palette::ink, 1.9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(-2.3, 0), c + QPointF(2.3, 0));
    if (plus)
        p.drawLine(c + QPointF(0, -2.3), c + QPointF(0, 2.3));
    p.restore();
}

void drawFinger(QPainter &p, QPointF c, const QColor &color)
{
    p.save();
    p.setBrush(withAlpha(color, 90));
    p.drawEllipse(c, 3.2, 3.2);
    p.restore();
}

} // namespace

void drawGlyph(QPainter &p, Glyph glyph, const QRectF &box, const QColor &color, double weight)
{
    const double side = std::min(box.width(), box.height());
    p.save();
    p.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    p.scale(side / 24.0, side / 24.0);
    QPen pen(color, weight, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);

    switch (glyph) {
    case Glyph::Camera:
    case Glyph::CameraOff: {
        QPainterPath body;
        body.moveTo(5, 7.5);
        body.lineTo(7.6, 7.5);
        body.lineTo(9.2, 5);
        body.lineTo(14.8, 5);
        body.lineTo(16.4, 7.5);
        body.lineTo(19, 7.5);
        body.quadTo(21, 7.5, 21, 9.5);
        body.lineTo(21, 17.5);
        body.quadTo(21, 19.5, 19, 19.5);
        body.lineTo(5, 19.5);
        body.quadTo(3, 19.5, 3, 17.5);
        body.lineTo(3, 9.5);
        body.quadTo(3, 7.5, 5, 7.5);
        p.drawPath(body);
        p.drawEllipse(QPointF(12, 13.2), 3.4, 3.4);
        if (glyph == Glyph::CameraOff)
            p.drawLine(QPointF(3.5, 3.5), QPointF(20.5, 20.5));
        break;
    }
    case Glyph::Photos:
    case Glyph::PhotosPlus: {
        p.drawRoundedRect(QRectF(3, 5, 18, 14), 2.5, 2.5);
        p.drawPath(polyline({{3.5, 17}, {9, 11.5}, {13, 15.5}, {15.5, 13}, {20.5, 17.5}}));
        p.drawEllipse(QPointF(15.5, 9), 1.5, 1.5);
        if (glyph == Glyph::PhotosPlus) {
            p.setBrush(palette::violet);
            p.setPen(Qt::NoPen);
            p.drawEllipse(QPointF(19.5, 5.5), 4.5, 4.5);
            p.setPen(QPen(palette::white, 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(19.5, 3.3), QPointF(19.5, 7.7));
            p.drawLine(QPointF(17.3, 5.5), QPointF(21.7, 5.5));
        }
        break;
    }
    case Glyph::Book: {
        QPainterPath left;
        left.moveTo(12, 7);
        left.cubicTo(10, 5.2, 6.5, 4.6, 3, 5);
        left.lineTo(3, 18.5);
        left.cubicTo(6.5, 18.1, 10, 18.7, 12, 20.5);
        QPainterPath right;
        right.moveTo(12, 7);
        right.cubicTo(14, 5.2, 17.5, 4.6, 21, 5);
        right.lineTo(21, 18.5);
        right.cubicTo(17.5, 18.1, 14, 18.7, 12, 20.5);
        p.drawPath(left);
        p.drawPath(right);
        p.drawLine(QPointF(12, 7), QPointF(12, 20.5));
        break;
    }
    case Glyph::Resume:
        p.drawPath(arrowArc(QPointF(12, 12.5), 7.5, 200, -250, 3.2));
        p.setBrush(color);
        p.setPen(Qt::NoPen);
        p.drawPath(polyline({{10.3, 9.6}, {15, 12.5}, {10.3, 15.4}, {10.3, 9.6}}));
        break;
    case Glyph::Home:
        p.drawPath(polyline({{3, 11.5}, {12, 3.8}, {21, 11.5}}));
        p.drawPath(polyline({{5.5, 9.6}, {5.5, 20}, {18.5, 20}, {18.5, 9.6}}));
        p.drawPath(polyline({{10, 20}, {10, 14.5}, {14, 14.5}, {14, 20}}));
        break;
    case Glyph::Save:
        p.drawLine(QPointF(12, 3.5), QPointF(12, 14.5));
        p.drawPath(polyline({{7.5, 10.2}, {12, 14.7}, {16.5, 10.2}}));
        p.drawPath(polyline({{3.8, 14.5}, {3.8, 18.5}, {5.2, 20}, {18.8, 20}, {20.2, 18.5}, {20.2, 14.5}}));
        break;
    case Glyph::Palette: {
        QPainterPath blob;
        blob.moveTo(12, 3);
        blob.cubicTo(6.5, 3, 3, 7, 3, 12);
        blob.cubicTo(3, 17, 7, 21, 11.5, 21);
        blob.cubicTo(13.2, 21, 13.6, 19.7, 13, 18.6);
        blob.cubicTo(12.2, 17.2, 13, 15.6, 14.8, 15.6);
        blob.lineTo(17, 15.6);
        blob.cubicTo(19.5, 15.6, 21, 14, 21, 11.5);
        blob.cubicTo(21, 6.5, 17, 3, 12, 3);
        p.drawPath(blob);
        p.setPen(Qt::NoPen);
        const QColor dots[] = {palette::coral, palette::amber, palette::mint, palette::sky};
        const QPointF at[] = {{7.6, 12.2}, {9, 7.6}, {13.8, 6.6}, {17.4, 9.6}};
        for (int i = 0; i < 4; ++i) {
            p.setBrush(dots[i]);
            p.drawEllipse(at[i], 1.75, 1.75);
        }
        break;
    }
    case Glyph::Shards: {
        // A square broken from one impact point, its pieces drifting apart.
        const QPointF hit(11, 12);
        const struct
        {
            std::initializer_list<QPointF> corners;
            QPointF drift;
        } pieces[] = {{{{3, 3}, {12.5, 3}, hit}, {-0.6, -1.4}},
                      {{{12.5, 3}, {21, 3}, {21, 10}, hit}, {1.3, -1.1}},
                      {{{21, 10}, {21, 21}, {13.5, 21}, hit}, {1.3, 1.2}},
                      {{{13.5, 21}, {3, 21}, {3, 14.5}, hit}, {-0.8, 1.4}},
                      {{{3, 14.5}, {3, 3}, hit}, {-1.5, 0.1}}};
        p.setBrush(withAlpha(color, 55));
        for (const auto &piece : pieces) {
            QPainterPath path;
            bool first = true;
            for (const QPointF &corner : piece.corners) {
                if (first)
                    path.moveTo(corner + piece.drift);
                else
                    path.lineTo(corner + piece.drift);
                first = false;
            }
            path.closeSubpath();
            p.drawPath(path);
        }
        break;
    }
    case Glyph::Scissors:
        p.drawEllipse(QPointF(6.2, 6.5), 2.8, 2.8);
        p.drawEllipse(QPointF(6.2, 17.5), 2.8, 2.8);
        p.drawLine(QPointF(8.4, 8.2), QPointF(20.5, 17.5));
        p.drawLine(QPointF(8.4, 15.8), QPointF(20.5, 6.5));
        break;
    case Glyph::TextPlus:
        p.drawLine(QPointF(3.5, 5), QPointF(14.5, 5));
        p.drawLine(QPointF(9, 5), QPointF(9, 20));
        p.drawLine(QPointF(18, 11), QPointF(18, 19));
        p.drawLine(QPointF(14, 15), QPointF(22, 15));
        break;
    case Glyph::Check:
        p.drawPath(polyline({{5, 12.5}, {10, 17.5}, {19.5, 7}}));
        break;
    case Glyph::Close:
        p.drawLine(QPointF(6.5, 6.5), QPointF(17.5, 17.5));
        p.drawLine(QPointF(17.5, 6.5), QPointF(6.5, 17.5));
        break;
    case Glyph::Plus:
        p.drawLine(QPointF(12, 5), QPointF(12, 19));
        p.drawLine(QPointF(5, 12), QPointF(19, 12));
        break;
    case Glyph::Minus:
        p.drawLine(QPointF(5, 12), QPointF(19, 12));
        break;
    case Glyph::SunMinus:
    case Glyph::SunPlus:
        drawSun(p, QPointF(10.5, 10.5), 3.6);
        drawBadge(p, QPointF(18.2, 18.2), glyph == Glyph::SunPlus, color);
        break;
    case Glyph::Drop: {
        QPainterPath drop;
        drop.moveTo(12, 3);
        drop.cubicTo(12, 3, 5, 10.5, 5, 14.5);
        drop.cubicTo(5, 18.4, 8.1, 21, 12, 21);
        drop.cubicTo(15.9, 21, 19, 18.4, 19, 14.5);
        drop.cubicTo(19, 10.5, 12, 3, 12, 3);
        QRadialGradient soft(QPointF(12, 15), 8);
        soft.setColorAt(0, withAlpha(color, 120));
        soft.setColorAt(1, withAlpha(color, 0));
        p.setBrush(soft);
        p.drawPath(drop);
        p.setPen(QPen(withAlpha(color, 150), weight * 0.7, Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(8, 11.5, 7, 7), 180 * 16, 70 * 16);
        break;
    }
    case Glyph::Crystal:
        p.drawPath(polyline({{12, 3}, {20, 9}, {12, 21}, {4, 9}, {12, 3}}));
        p.drawPath(polyline({{4, 9}, {20, 9}}));
        p.drawPath(polyline({{12, 3}, {9, 9}, {12, 21}, {15, 9}, {12, 3}}));
        break;
    case Glyph::ArrowRight:
        p.drawLine(QPointF(4.5, 12), QPointF(19, 12));
        p.drawPath(polyline({{13, 6}, {19, 12}, {13, 18}}));
        break;
    case Glyph::Move:
        p.drawLine(QPointF(12, 3), QPointF(12, 21));
        p.drawLine(QPointF(3, 12), QPointF(21, 12));
        p.drawPath(polyline({{9, 6}, {12, 3}, {15, 6}}));
        p.drawPath(polyline({{9, 18}, {12, 21}, {15, 18}}));
        p.drawPath(polyline({{6, 9}, {3, 12}, {6, 15}}));
        p.drawPath(polyline({{18, 9}, {21, 12}, {18, 15}}));
        break;
    case Glyph::Frame: {
        QPen dashed = pen;
        dashed.setWidthF(weight * 0.75);
        dashed.setDashPattern({2.0, 2.0});
        p.setPen(dashed);
        p.drawRect(QRectF(6, 6, 12, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        for (const QPointF c : {QPointF(6, 6), QPointF(18, 6), QPointF(6, 18), QPointF(18, 18)})
            p.drawRoundedRect(QRectF(c.x() - 2.6, c.y() - 2.6, 5.2, 5.2), 1.2, 1.2);
        break;
    }
    case Glyph::Expand:
        p.drawRoundedRect(QRectF(3, 6, 10, 12), 1.5, 1.5);
        p.setPen(QPen(withAlpha(color, 190), weight * 0.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15.5, 6.5), QPointF(15.5, 17.5));
        p.setPen(QPen(withAlpha(color, 120), weight * 0.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(18.3, 6.5), QPointF(18.3, 17.5));
        p.setPen(QPen(withAlpha(color, 70), weight * 0.8, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(21, 6.5), QPointF(21, 17.5));
        p.setPen(pen);
        p.drawPath(polyline({{15, 2.5}, {20.5, 2.5}}));
        p.drawPath(polyline({{18.5, 0.8}, {20.5, 2.5}, {18.5, 4.2}}));
        break;
    case Glyph::Feather: {
        QRadialGradient fade(QPointF(12, 12), 9.5);
        fade.setColorAt(0, withAlpha(color, 255));
        fade.setColorAt(0.45, withAlpha(color, 235));
        fade.setColorAt(1, withAlpha(color, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(fade);
        p.drawRoundedRect(QRectF(3, 3, 18, 18), 3, 3);
        QPen dashed(withAlpha(color, 200), weight * 0.6, Qt::SolidLine, Qt::RoundCap);
        dashed.setDashPattern({1.5, 2.0});
        p.setPen(dashed);
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(2, 2, 20, 20), 3.5, 3.5);
        break;
    }
    case Glyph::HueRing: {
        QConicalGradient hue(QPointF(12, 12), 90);
        for (int i = 0; i <= 6; ++i)
            hue.setColorAt(i / 6.0, QColor::fromHsvF(std::fmod(i / 6.0, 1.0), 0.8, 1.0));
        p.setPen(QPen(QBrush(hue), 4.2));
        p.drawEllipse(QPointF(12, 12), 7.2, 7.2);
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(QPointF(12, 12), 2.6, 2.6);
        break;
    }
    case Glyph::Restore:
        p.drawPath(polyline({{14, 4}, {20, 4}, {20, 10}}));
        p.drawLine(QPointF(20, 4), QPointF(13.5, 10.5));
        p.drawPath(polyline({{10, 20}, {4, 20}, {4, 14}}));
        p.drawLine(QPointF(4, 20), QPointF(10.5, 13.5));
        break;
    case Glyph::Drag:
        // A fingertip under a two-way arrow: "move it sideways".
        drawFinger(p, QPointF(12, 16.5), color);
        p.drawLine(QPointF(4, 7), QPointF(20, 7));
        p.drawPath(polyline({{7, 4}, {4, 7}, {7, 10}}));
        p.drawPath(polyline({{17, 4}, {20, 7}, {17, 10}}));
        break;
    case Glyph::Pinch:
        // Two fingertips moving apart.
        drawFinger(p, QPointF(8.5, 12), color);
        drawFinger(p, QPointF(15.5, 12), color);
        p.drawPath(polyline({{4, 8.5}, {1.8, 12}, {4, 15.5}}));
        p.drawPath(polyline({{20, 8.5}, {22.2, 12}, {20, 15.5}}));
        break;
    case Glyph::Tap:
        drawFinger(p, QPointF(12, 12), color);
        p.setPen(QPen(withAlpha(color, 170), weight * 0.75, Qt::SolidLine, Qt::RoundCap));
        p.drawEllipse(QPointF(12, 12), 6.5, 6.5);
        p.setPen(QPen(withAlpha(color, 90), weight * 0.6, Qt::SolidLine, Qt::RoundCap));
        p.drawEllipse(QPointF(12, 12), 9.8, 9.8);
        break;
    case Glyph::Hold:
        drawFinger(p, QPointF(12, 12), color);
        p.drawArc(QRectF(4, 4, 16, 16), 90 * 16, -270 * 16);
        p.drawPath(polyline({{12, 1.8}, {12, 4}}));
        break;
    case Glyph::Layers:
        p.drawPath(polyline({{12, 4}, {21, 8.5}, {12, 13}, {3, 8.5}, {12, 4}}));
        p.drawPath(polyline({{3, 12.5}, {12, 17}, {21, 12.5}}));
        p.drawPath(polyline({{3, 16.5}, {12, 21}, {21, 16.5}}));
        break;
    case Glyph::Sparkle: {
        QPainterPath star;
        star.moveTo(12, 2.5);
        star.quadTo(13, 11, 21.5, 12);
        star.quadTo(13, 13, 12, 21.5);
        star.quadTo(11, 13, 2.5, 12);
        star.quadTo(11, 11, 12, 2.5);
        p.setBrush(withAlpha(color, 60));
        p.drawPath(star);
        break;
    }
    case Glyph::Rotate:
        p.drawPath(arrowArc(QPointF(12, 12), 7.5, 120, -300, 3.0));
        break;
    }
    p.restore();
}

} // namespace vimora::artwork
