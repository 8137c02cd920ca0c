#include "style.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPainterPath>
#include <QTextLayout>

namespace vimora::artwork {

namespace {
thread_local bool t_smallScreen = false;
// The smallest text a screen shows legibly, in device pixels.
constexpr double kLegiblePixels = 9;
// How far a caption may be narrowed before it is elided instead.
constexpr double kLeastSqueeze = 0.75;
} // namespace

SmallScreenDrawing::SmallScreenDrawing()
    : m_previous(t_smallScreen)
{
    t_smallScreen = true;
}

SmallScreenDrawing::~SmallScreenDrawing()
{
    t_smallScreen = m_previous;
}

double captionPixels(double nominal)
{
    return t_smallScreen ? std::max(nominal, std::ceil(kLegiblePixels / kSmallScreenScale)) : nominal;
}

QColor withAlpha(QColor color, int alpha)
{
    color.setAlpha(std::clamp(alpha, 0, 255));
    return color;
}

QColor mixed(const QColor &a, const QColor &b, double t)
{
    const auto lerp = [t](int x, int y) { return int(x + (y - x) * t + 0.5); };
    return QColor(lerp(a.red(), b.red()), lerp(a.green(), b.green()), lerp(a.blue(), b.blue()), lerp(a.alpha(), b.alpha()));
}

QFont familyFont(const QString &family, double pixelSize, QFont::Weight weight)
{
    QFont font(family);
    // Sizes are in points of the picture; at 96 dpi (QImage's default) a point size of
    // 0.75 x gives that many pixels, and fractional sizes stay exact for fitting.
    font.setPointSizeF(pixelSize * 0.75);
    font.setWeight(weight);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QFont uiFont(double pixelSize, QFont::Weight weight)
{
    return familyFont(QStringLiteral("Liberation Sans"), pixelSize, weight);
}

QFont brandFont(double pixelSize)
{
    return familyFont(QStringLiteral("URW Gothic"), pixelSize, QFont::DemiBold);
}

void prepare(QPainter &p)
{
    p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
}

void drawSoftShadow(QPainter &p, const QRectF &rect, double radius, double spread, int alpha)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    const int steps = 6;
    for (int i = steps; i >= 1; --i) {
        const double grow = spread * i / steps;
        p.setPen(QPen(withAlpha(Qt::black, alpha / steps), spread / steps * 2.0));
        p.drawRoundedRect(rect.adjusted(-grow, -grow, grow, grow), radius + grow, radius + grow);
    }
    p.restore();
}

void drawPanel(QPainter &p, const QRectF &rect, double radius, int alpha)
{
    p.save();
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, withAlpha(palette::inkRaised, alpha));
    fill.setColorAt(0.18, withAlpha(palette::ink, alpha));
    fill.setColorAt(1, withAlpha(palette::ink.darker(115), std::min(255, alpha + 12)));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(rect, radius, radius);
    const QRectF edge = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(palette::white, 46), 1.0));
    p.drawRoundedRect(edge, radius - 0.5, radius - 0.5);
    p.restore();
}

void drawFace(QPainter &p, const QRectF &rect, double radius, const QColor &color, bool border)
{
    p.save();
    QLinearGradient fill(rect.topLeft(), rect.bottomLeft());
    fill.setColorAt(0, color.lighter(118));
    fill.setColorAt(0.55, color);
    fill.setColorAt(1, color.darker(112));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(rect, radius, radius);
    // A thin sheen on the upper half gives the face its lift.
    QPainterPath shape;
    shape.addRoundedRect(rect, radius, radius);
    QRectF sheen = rect.adjusted(1, 1, -1, -rect.height() * 0.5);
    QLinearGradient light(sheen.topLeft(), sheen.bottomLeft());
    light.setColorAt(0, withAlpha(palette::white, 70));
    light.setColorAt(1, withAlpha(palette::white, 0));
    p.setClipPath(shape);
    p.setBrush(light);
    p.drawRoundedRect(sheen, radius - 1, radius - 1);
    p.setClipping(false);
    if (border) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(palette::white, 60), 1.0));
        p.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius - 0.5, radius - 0.5);
    }
    p.restore();
}

void drawFittedText(QPainter &p, const QRectF &rect, const QString &text, QFont font, const QColor &color,
                    Qt::Alignment align, double minSize)
{
    double size = font.pointSizeF() / 0.75;
    for (;;) {
        const QFontMetricsF metrics(font);
        if (metrics.horizontalAdvance(text) <= rect.width() || size <= minSize)
            break;
        size = std::max(minSize, size - 0.5);
        font.setPointSizeF(size * 0.75);
    }
    const QFontMetricsF metrics(font);
    p.save();
    p.setFont(font);
    p.setPen(color);
    // For a small screen a caption keeps its height and is narrowed a little rather than cut.
    const double squeeze = rect.width() / std::max(1.0, metrics.horizontalAdvance(text));
    if (t_smallScreen && squeeze < 1 && squeeze >= kLeastSqueeze) {
        const double x = align & Qt::AlignLeft ? rect.left() : align & Qt::AlignRight ? rect.right() : rect.center().x();
        p.translate(x, 0);
        p.scale(squeeze, 1);
        p.translate(-x, 0);
        const QRectF wide(x + (rect.left() - x) / squeeze, rect.top(), rect.width() / squeeze, rect.height());
        p.drawText(wide, int(align), text);
    } else {
        p.drawText(rect, int(align), metrics.elidedText(text, Qt::ElideRight, rect.width()));
    }
    p.restore();
}

double drawParagraph(QPainter &p, const QRectF &rect, const QString &text, const QFont &font, const QColor &color)
{
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0;
    const double leading = QFontMetricsF(font).leading();
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(rect.width());
        line.setPosition(QPointF(0, y));
        y += line.height() + leading;
    }
    layout.endLayout();
    p.save();
    p.setPen(color);
    layout.draw(&p, rect.topLeft());
    p.restore();
    return y;
}

} // namespace vimora::artwork

namespace vimora::artwork {

void drawLandscape(QPainter &p, const QRectF &rect, double radius)
{
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(rect, radius, radius);
    p.setClipPath(clip, Qt::IntersectClip);
    QLinearGradient sky(rect.topLeft(), rect.bottomLeft());
    sky.setColorAt(0, QColor(76, 104, 214));
    sky.setColorAt(0.55, QColor(236, 150, 170));
    sky.setColorAt(1, QColor(255, 206, 150));
    p.fillRect(rect, sky);
    const double w = rect.width(), h = rect.height();
    const QPointF sun(rect.left() + w * 0.68, rect.top() + h * 0.42);
    QRadialGradient glow(sun, w * 0.3);
    glow.setColorAt(0, QColor(255, 244, 214, 230));
    glow.setColorAt(0.25, QColor(255, 220, 170, 140));
    glow.setColorAt(1, QColor(255, 200, 160, 0));
    p.fillRect(rect, glow);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 246, 224));
    p.drawEllipse(sun, w * 0.075, w * 0.075);
    QPainterPath far;
    far.moveTo(rect.left(), rect.top() + h * 0.72);
    far.cubicTo(rect.left() + w * 0.25, rect.top() + h * 0.5, rect.left() + w * 0.45, rect.top() + h * 0.58,
                rect.left() + w * 0.62, rect.top() + h * 0.66);
    far.cubicTo(rect.left() + w * 0.8, rect.top() + h * 0.74, rect.left() + w * 0.9, rect.top() + h * 0.6,
                rect.right(), rect.top() + h * 0.62);
    far.lineTo(rect.bottomRight());
    far.lineTo(rect.bottomLeft());
    far.closeSubpath();
    p.setBrush(QColor(92, 76, 150));
    p.drawPath(far);
    QPainterPath near;
    near.moveTo(rect.left(), rect.top() + h * 0.86);
    near.cubicTo(rect.left() + w * 0.3, rect.top() + h * 0.7, rect.left() + w * 0.6, rect.top() + h * 0.92,
                 rect.right(), rect.top() + h * 0.76);
    near.lineTo(rect.bottomRight());
    near.lineTo(rect.bottomLeft());
    near.closeSubpath();
    p.setBrush(QColor(44, 38, 92));
    p.drawPath(near);
    p.restore();
}

} // namespace vimora::artwork
