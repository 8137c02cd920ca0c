#include "ui/transition.h"

#include <algorithm>
#include <atomic>
#include <cmath>

#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include "imaging/parallel.h"

namespace vimora::ui {

namespace {

std::atomic<int> g_active{0};

// Unit direction content travels in for a subtype, in the view's own axes.
QPointF travel(TransitionSubtype subtype)
{
    switch (subtype) {
    case TransitionSubtype::FromLeft:
        return {1, 0};
    case TransitionSubtype::FromRight:
        return {-1, 0};
    case TransitionSubtype::FromTop:
        return {0, 1};
    case TransitionSubtype::FromBottom:
        return {0, -1};
    }
    return {1, 0};
}

QPointF scaleBy(QPointF direction, const QRectF &rect, double amount)
{
    return QPointF(direction.x() * rect.width() * amount, direction.y() * rect.height() * amount);
}

// The after snapshot at the before snapshot's size (the bounds may have changed size).
QImage matching(const QImage &image, QSize size)
{
    const QImage converted = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    return converted.size() == size ? converted : converted.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void drawFade(QPainter &painter, const QImage &before, const QImage &after, const QRectF &rect, double t)
{
    // before·(1 − t) + after·t on premultiplied samples: stacking the two with opacities
    // would let before show through where after is opaque.
    const QImage a = before.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = matching(after, a.size());
    QImage mix(a.size(), QImage::Format_ARGB32_Premultiplied);
    const int m = int(std::lround(t * 256));
    vimora::forEachRow(a.height(), [&](int y) {
        const uchar *pa = a.constScanLine(y), *pb = b.constScanLine(y);
        uchar *out = mix.scanLine(y);
        for (int i = 0; i < a.width() * 4; ++i)
            out[i] = uchar((pa[i] * (256 - m) + pb[i] * m) >> 8);
    });
    painter.drawImage(rect, mix);
}

// One face of the turning box: the rectangle of a snapshot mapped through a perspective
// quad, darkened as it turns away from the viewer.
void drawFace(QPainter &painter, const QImage &image, const QPolygonF &quad, double shade)
{
    QTransform map;
    // Four corners: a polygon made from a rectangle would close itself with a fifth point.
    QPolygonF source;
    source << QPointF(0, 0) << QPointF(image.width(), 0) << QPointF(image.width(), image.height())
           << QPointF(0, image.height());
    if (!QTransform::quadToQuad(source, quad, map))
        return;
    painter.save();
    painter.setTransform(map, true);
    painter.drawImage(QPointF(0, 0), image);
    if (shade > 0)
        painter.fillRect(QRectF(0, 0, image.width(), image.height()), QColor(0, 0, 0, int(std::clamp(shade, 0.0, 1.0) * 200)));
    painter.restore();
}

void drawCube(QPainter &painter, TransitionSubtype subtype, const QImage &before, const QImage &after,
              const QRectF &rect, double t)
{
    // Worked out for a box turning about the vertical axis with the new face arriving from
    // the right; the other subtypes mirror or swap the axes of the result.
    const bool vertical = subtype == TransitionSubtype::FromTop || subtype == TransitionSubtype::FromBottom;
    const bool mirrored = subtype == TransitionSubtype::FromLeft || subtype == TransitionSubtype::FromTop;
    const double W = vertical ? rect.height() : rect.width();
    const double H = vertical ? rect.width() : rect.height();
    const double f = 1.5 * W; // eye distance: strong enough that the turning box stays in bounds
    const double theta = t * M_PI / 2;
    const double cs = std::cos(theta), sn = std::sin(theta);

    // (X, Z) about the box's centre; Z grows away from the viewer, the front face at Z = −W/2.
    // The box is pushed back as it turns so its nearest edge stays on the screen plane and
    // the turning faces never grow past the view's bounds.
    const double pushBack = W / 2 * (sn + cs - 1);
    auto project = [&](double X, double Z, double Y) {
        const double depth = Z + W / 2 + pushBack; // distance behind the screen plane
        const double k = f / (f + depth);
        double u = W / 2 + X * k, v = H / 2 + Y * k;
        if (mirrored)
            u = W - u;
        return vertical ? QPointF(rect.x() + v, rect.y() + u) : QPointF(rect.x() + u, rect.y() + v);
    };
    auto faceQuad = [&](auto position) {
        // Corners in the image's order: top-left, top-right, bottom-right, bottom-left.
        QPolygonF quad;
        const auto [x0, z0] = position(0.0);
        const auto [x1, z1] = position(W);
        QPointF tl = project(x0, z0, -H / 2), tr = project(x1, z1, -H / 2);
        QPointF br = project(x1, z1, H / 2), bl = project(x0, z0, H / 2);
        if (mirrored) { // u = 0 now lies on the right: swap to keep the picture unmirrored
            std::swap(tl, tr);
            std::swap(bl, br);
        }
        if (vertical) // axes swapped: the image's top edge is the left column of points
            quad << tl << bl << br << tr;
        else
            quad << tl << tr << br << bl;
        return quad;
    };
    auto oldFace = [&](double u) {
        const double X = u - W / 2, Z = -W / 2;
        return std::pair{X * cs + Z * sn, -X * sn + Z * cs};
    };
    auto newFace = [&](double u) {
        const double X = W / 2, Z = u - W / 2;
        return std::pair{X * cs + Z * sn, -X * sn + Z * cs};
    };
    const QImage &oldImage = before, &newImage = after;
    const QPolygonF oldQuad = faceQuad(oldFace), newQuad = faceQuad(newFace);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::Antialiasing);
    // The face further back goes first.
    if (t < 0.5) {
        drawFace(painter, newImage, newQuad, 1 - t * 2);
        drawFace(painter, oldImage, oldQuad, t * 0.8);
    } else {
        drawFace(painter, oldImage, oldQuad, t * 0.8);
        drawFace(painter, newImage, newQuad, (1 - t) * 0.8);
    }
    painter.restore();
}

void drawRipple(QPainter &painter, const QImage &before, const QImage &after, const QRectF &rect, double t)
{
    const QImage a = before.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = matching(after, a.size());
    const int w = a.width(), h = a.height();
    if (w == 0 || h == 0)
        return;
    QImage out(w, h, QImage::Format_ARGB32_Premultiplied);
    const double cx = w / 2.0, cy = h / 2.0;
    const double maxR = std::hypot(cx, cy);
    const double front = t * maxR * 1.3;
    const double wavelength = std::max(8.0, std::min(w, h) / 7.0);
    const double ring = wavelength * 1.2;
    const double amplitude = std::min(w, h) * 0.035 * (1 - t);
    vimora::forEachRow(h, [&](int y) {
        QRgb *dst = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
            const double r = std::hypot(dx, dy);
            const double delta = r - front;
            const double envelope = std::exp(-(delta * delta) / (ring * ring));
            const double disp = amplitude * std::sin(delta * 2 * M_PI / wavelength) * envelope;
            const double ux = r > 0 ? dx / r : 0, uy = r > 0 ? dy / r : 0;
            const int sx = std::clamp(int(x + ux * disp), 0, w - 1);
            const int sy = std::clamp(int(y + uy * disp), 0, h - 1);
            const double m = std::clamp(0.5 - delta / (2 * ring), 0.0, 1.0); // share of new
            const QRgb pa = reinterpret_cast<const QRgb *>(a.constScanLine(sy))[sx];
            const QRgb pb = reinterpret_cast<const QRgb *>(b.constScanLine(sy))[sx];
            const int mi = int(m * 256);
            auto mixc = [mi](int ca, int cb) { return (ca * (256 - mi) + cb * mi) >> 8; };
            dst[x] = qRgba(mixc(qRed(pa), qRed(pb)), mixc(qGreen(pa), qGreen(pb)), mixc(qBlue(pa), qBlue(pb)),
                           mixc(qAlpha(pa), qAlpha(pb)));
        }
    });
    painter.drawImage(rect, out);
}

void drawSuck(QPainter &painter, const QImage &before, const QImage &after, const QRectF &rect, double t)
{
    painter.drawImage(rect, after);
    const int h = before.height();
    if (h == 0 || before.width() == 0)
        return;
    const double sy = rect.height() / h;
    const QPointF target(rect.x() + rect.width() * 0.5, rect.y() + rect.height() * 0.75);
    const int step = std::max(1, h / 400);
    auto eased = [&](double yLocal) {
        // Rows near the drain go first; every row is in by t = 1.
        const double distance = std::abs(rect.y() + yLocal - target.y()) / std::max(1.0, rect.height());
        const double l = std::clamp(t * 2 - distance, 0.0, 1.0);
        return l * l * (3 - 2 * l);
    };
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (int y = 0; y < h; y += step) {
        const int rows = std::min(step, h - y);
        const double y0 = y * sy, y1 = (y + rows) * sy;
        const double e0 = eased(y0), e1 = eased(y1);
        const double top = rect.y() + y0 + (target.y() - rect.y() - y0) * e0;
        const double bottom = rect.y() + y1 + (target.y() - rect.y() - y1) * e1;
        const double e = (e0 + e1) / 2;
        const double width = rect.width() * (1 - e);
        if (width <= 0.01 || e >= 1)
            continue;
        const double cx = rect.x() + rect.width() / 2 + (target.x() - rect.x() - rect.width() / 2) * e;
        painter.setOpacity(1 - e * e * e * e);
        painter.drawImage(QRectF(cx - width / 2, top, width, std::max(bottom - top, sy * 0.5)),
                          before, QRectF(0, y, before.width(), rows));
    }
    painter.restore();
}

} // namespace

Transition Transition::named(const QString &type, const QString &subtype, double duration)
{
    Transition t;
    t.duration = duration;
    if (type == QLatin1String("moveIn"))
        t.type = TransitionType::MoveIn;
    else if (type == QLatin1String("push"))
        t.type = TransitionType::Push;
    else if (type == QLatin1String("reveal"))
        t.type = TransitionType::Reveal;
    else if (type == QLatin1String("cube") || type == QLatin1String("tubey"))
        t.type = TransitionType::Cube;
    else if (type == QLatin1String("rippleEffect"))
        t.type = TransitionType::Ripple;
    else if (type == QLatin1String("suckEffect"))
        t.type = TransitionType::Suck;
    if (subtype == QLatin1String("fromRight"))
        t.subtype = TransitionSubtype::FromRight;
    else if (subtype == QLatin1String("fromTop"))
        t.subtype = TransitionSubtype::FromTop;
    else if (subtype == QLatin1String("fromBottom"))
        t.subtype = TransitionSubtype::FromBottom;
    return t;
}

int Transition::activeCount()
{
    return g_active.load();
}

void Transition::drawFrame(QPainter &painter, TransitionType type, TransitionSubtype subtype, const QImage &before,
                           const QImage &after, const QRectF &rect, double progress)
{
    const double t = std::clamp(progress, 0.0, 1.0);
    if (t <= 0) {
        painter.drawImage(rect, before);
        return;
    }
    if (t >= 1) {
        painter.drawImage(rect, after);
        return;
    }
    const QPointF d = travel(subtype);
    painter.save();
    switch (type) {
    case TransitionType::Fade:
        drawFade(painter, before, after, rect, t);
        break;
    case TransitionType::MoveIn:
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawImage(rect, before);
        painter.drawImage(rect.translated(-scaleBy(d, rect, 1 - t)), after);
        break;
    case TransitionType::Push:
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawImage(rect.translated(scaleBy(d, rect, t)), before);
        painter.drawImage(rect.translated(-scaleBy(d, rect, 1 - t)), after);
        break;
    case TransitionType::Reveal:
        painter.setClipRect(rect, Qt::IntersectClip);
        painter.drawImage(rect, after);
        painter.drawImage(rect.translated(scaleBy(d, rect, t)), before);
        break;
    case TransitionType::Cube:
        drawCube(painter, subtype, before, after, rect, t);
        break;
    case TransitionType::Ripple:
        drawRipple(painter, before, after, rect, t);
        break;
    case TransitionType::Suck:
        drawSuck(painter, before, after, rect, t);
        break;
    }
    painter.restore();
}

TransitionState::TransitionState()
{
    ++g_active;
}

TransitionState::~TransitionState()
{
    --g_active;
}

double TransitionState::progress(double now) const
{
    if (!started)
        return 0;
    if (duration <= 0)
        return 1;
    return std::clamp((now - start) / duration, 0.0, 1.0);
}

} // namespace vimora::ui
