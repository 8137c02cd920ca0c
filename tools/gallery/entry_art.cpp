#include "entry_art.h"

#include <cmath>

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ui/theme.h"

namespace vimora::gallery {

namespace {

constexpr double kScale = 2;

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

QColor hueFor(const QString &text, double saturation, double value)
{
    uint hash = 5381;
    for (QChar c : text)
        hash = hash * 33 + c.unicode();
    return QColor::fromHsvF((hash % 360) / 360.0, saturation, value);
}

} // namespace

Picture wordTile(const QString &word, double size)
{
    return drawn(size, size, [&](QPainter &p) {
        const QRectF r(1, 1, size - 2, size - 2);
        const QColor base = hueFor(word, 0.55, 0.9);
        QLinearGradient g(r.topLeft(), r.bottomLeft());
        g.setColorAt(0, base.lighter(125));
        g.setColorAt(1, base.darker(130));
        p.setPen(QPen(base.darker(160), 1));
        p.setBrush(g);
        p.drawRoundedRect(r, size * 0.18, size * 0.18);
        p.setPen(QColor(255, 255, 255, 235));
        p.setFont(ui::Theme::systemFont(size * 0.5, true));
        p.drawText(r, Qt::AlignCenter, word.left(1).toUpper() + word.mid(1, 1));
    });
}

Picture promotionBanner(int index, double width, double height)
{
    static const char *const titles[] = {"Shattered pieces", "Lettering styles", "Sunset skies", "Photo frames"};
    static const char *const lines[] = {"Break any photo into pieces", "Forty hand-drawn word pictures",
                                        "New skies for every landscape", "Borders, tapes and corners"};
    const int i = index % 4;
    return drawn(width, height, [&](QPainter &p) {
        const QRectF r(0, 0, width, height);
        const QColor a = QColor::fromHsvF(std::fmod(0.58 + 0.21 * i, 1.0), 0.65, 0.85);
        QLinearGradient g(r.topLeft(), r.bottomRight());
        g.setColorAt(0, a.lighter(120));
        g.setColorAt(1, a.darker(170));
        QPainterPath card;
        card.addRoundedRect(r.adjusted(4, 4, -4, -4), 10, 10);
        p.fillPath(card, g);
        p.setClipPath(card);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 36));
        for (int k = 0; k < 4; ++k)
            p.drawEllipse(QPointF(width * (0.7 + 0.1 * k), height * (0.2 + 0.25 * (k % 2))), height * 0.35, height * 0.35);
        p.setClipping(false);
        p.setPen(Qt::white);
        p.setFont(ui::Theme::systemFont(height * 0.16, true));
        p.drawText(QRectF(20, height * 0.25, width - 40, height * 0.25), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(titles[i]));
        p.setPen(QColor(255, 255, 255, 200));
        p.setFont(ui::Theme::systemFont(height * 0.09));
        p.drawText(QRectF(20, height * 0.52, width - 40, height * 0.2), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(lines[i]));
    });
}

Picture checkmark(double size)
{
    return drawn(size, size, [&](QPainter &p) {
        const QRectF r(1, 1, size - 2, size - 2);
        p.setPen(QPen(Qt::white, 1.5));
        p.setBrush(QColor(30, 110, 235));
        p.drawEllipse(r);
        QPainterPath tick;
        tick.moveTo(size * 0.28, size * 0.52);
        tick.lineTo(size * 0.44, size * 0.68);
        tick.lineTo(size * 0.73, size * 0.34);
        p.setPen(QPen(Qt::white, size * 0.11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    });
}

} // namespace vimora::gallery
