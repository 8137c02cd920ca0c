#include "gallery_art.h"

#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "ui/theme.h"

namespace vimora::gallery {

namespace {

constexpr double kScale = 2;

// A transparent canvas of size points at kScale, painted in points.
template <typename Paint>
Picture drawn(double width, double height, Paint paint)
{
    QImage image(int(std::ceil(width * kScale)), int(std::ceil(height * kScale)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
        p.scale(kScale, kScale);
        paint(p);
    }
    return Picture(image, kScale);
}

} // namespace

Picture landscapePhoto(int width, int height, int variant)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double w = width, h = height;
    const bool dusk = variant % 2 == 1;
    QLinearGradient sky(0, 0, 0, h * 0.62);
    sky.setColorAt(0, dusk ? QColor(40, 30, 90) : QColor(40, 110, 200));
    sky.setColorAt(0.7, dusk ? QColor(230, 110, 80) : QColor(150, 200, 240));
    sky.setColorAt(1, dusk ? QColor(255, 190, 110) : QColor(225, 240, 250));
    p.fillRect(QRectF(0, 0, w, h), sky);
    QRadialGradient sun(QPointF(w * (dusk ? 0.3 : 0.72), h * (dusk ? 0.5 : 0.22)), h * 0.12);
    sun.setColorAt(0, QColor(255, 250, 220));
    sun.setColorAt(0.5, QColor(255, 230, 150, 230));
    sun.setColorAt(1, QColor(255, 220, 120, 0));
    p.fillRect(QRectF(0, 0, w, h), sun);
    auto hills = [&](double base, double amplitude, double phase, QColor color) {
        QPainterPath path(QPointF(0, h));
        for (int i = 0; i <= 64; ++i) {
            const double x = w * i / 64.0;
            path.lineTo(x, h * base - h * amplitude * (0.6 * std::sin(x / w * 7 + phase) + 0.4 * std::sin(x / w * 17 + phase * 2)));
        }
        path.lineTo(w, h);
        path.closeSubpath();
        p.fillPath(path, color);
    };
    hills(0.55, 0.09, 1.0 + variant, dusk ? QColor(70, 50, 90) : QColor(90, 130, 170));
    hills(0.63, 0.06, 2.3 + variant, dusk ? QColor(45, 35, 60) : QColor(50, 110, 70));
    QLinearGradient lake(0, h * 0.7, 0, h);
    lake.setColorAt(0, dusk ? QColor(200, 110, 90) : QColor(110, 170, 210));
    lake.setColorAt(1, dusk ? QColor(40, 30, 70) : QColor(20, 70, 120));
    p.fillRect(QRectF(0, h * 0.72, w, h * 0.28), lake);
    p.setPen(QPen(QColor(255, 255, 255, 70), h * 0.004));
    for (int i = 0; i < 12; ++i) {
        const double y = h * (0.75 + i * 0.02);
        p.drawLine(QPointF(w * (0.1 + 0.05 * (i % 4)), y), QPointF(w * (0.35 + 0.04 * (i % 3)), y));
    }
    hills(0.98, 0.05, 4.0 + variant, dusk ? QColor(25, 20, 35) : QColor(35, 70, 45));
    return Picture(image);
}

Picture glossyPill(double width, double height, const QColor &color)
{
    return drawn(width, height, [&](QPainter &p) {
        const QRectF r(0.5, 0.5, width - 1, height - 1);
        QLinearGradient body(0, 0, 0, height);
        body.setColorAt(0, color.lighter(150));
        body.setColorAt(0.5, color);
        body.setColorAt(1, color.darker(140));
        p.setPen(QPen(color.darker(200), 1));
        p.setBrush(body);
        p.drawRoundedRect(r, height / 2 - 1, height / 2 - 1);
        QLinearGradient gloss(0, 0, 0, height / 2);
        gloss.setColorAt(0, QColor(255, 255, 255, 150));
        gloss.setColorAt(1, QColor(255, 255, 255, 20));
        p.setPen(Qt::NoPen);
        p.setBrush(gloss);
        p.drawRoundedRect(QRectF(2, 1.5, width - 4, height / 2 - 1.5), height / 4, height / 4);
    });
}

Picture icon(const QString &kind, double size, const QColor &color)
{
    return drawn(size, size, [&](QPainter &p) {
        const double c = size / 2, r = size * 0.4;
        p.setPen(QPen(color, size * 0.08, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (kind == QLatin1String("blur")) {
            for (int i = 3; i >= 1; --i) {
                QColor ring = color;
                ring.setAlphaF(0.3 + 0.2 * (3 - i));
                p.setPen(Qt::NoPen);
                p.setBrush(ring);
                p.drawEllipse(QPointF(c, c), r * i / 3, r * i / 3);
            }
        } else if (kind == QLatin1String("sharpen")) {
            QPainterPath tri;
            tri.moveTo(c, c - r);
            tri.lineTo(c + r, c + r * 0.8);
            tri.lineTo(c - r, c + r * 0.8);
            tri.closeSubpath();
            p.setBrush(color.lighter(130));
            p.drawPath(tri);
        } else if (kind == QLatin1String("drop")) {
            QPainterPath drop;
            drop.moveTo(c, c - r);
            drop.cubicTo(c + r, c, c + r * 0.8, c + r, c, c + r);
            drop.cubicTo(c - r * 0.8, c + r, c - r, c, c, c - r);
            p.setBrush(color);
            p.drawPath(drop);
        } else {
            QPainterPath star;
            for (int i = 0; i < 10; ++i) {
                const double a = -M_PI / 2 + i * M_PI / 5, rr = i % 2 ? r * 0.45 : r;
                const QPointF pt(c + rr * std::cos(a), c + rr * std::sin(a));
                i ? star.lineTo(pt) : star.moveTo(pt);
            }
            star.closeSubpath();
            p.setBrush(color);
            p.drawPath(star);
        }
    });
}

Picture sliderThumb(double size, const QColor &color)
{
    return drawn(size, size, [&](QPainter &p) {
        QRadialGradient knob(QPointF(size * 0.4, size * 0.35), size * 0.6);
        knob.setColorAt(0, color.lighter(170));
        knob.setColorAt(1, color.darker(130));
        p.setPen(QPen(QColor(255, 255, 255, 220), 1.5));
        p.setBrush(knob);
        p.drawEllipse(QRectF(2, 2, size - 4, size - 4));
    });
}

Picture sliderTrack(double width, double height, const QColor &color)
{
    return drawn(width, height, [&](QPainter &p) {
        QLinearGradient g(0, 0, 0, height);
        g.setColorAt(0, color.lighter(140));
        g.setColorAt(1, color.darker(120));
        p.setPen(QPen(color.darker(170), 1));
        p.setBrush(g);
        p.drawRoundedRect(QRectF(0.5, 0.5, width - 1, height - 1), height / 2 - 0.5, height / 2 - 0.5);
    });
}

Picture tile(int number, double size)
{
    return drawn(size, size, [&](QPainter &p) {
        const QColor color = QColor::fromHsv((number * 37) % 360, 150, 230);
        QLinearGradient g(0, 0, size, size);
        g.setColorAt(0, color.lighter(120));
        g.setColorAt(1, color.darker(130));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRoundedRect(QRectF(0, 0, size, size), 8, 8);
        p.setPen(Qt::white);
        p.setFont(ui::Theme::systemFont(size * 0.4, true));
        p.drawText(QRectF(0, 0, size, size), Qt::AlignCenter, QString::number(number));
    });
}

} // namespace vimora::gallery
