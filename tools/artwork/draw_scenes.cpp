// The built-in backgrounds, the back-animation style previews, the feathering masks and the
// colour palettes.
#include <algorithm>
#include <cmath>

#include <QPainterPath>
#include <QRandomGenerator>

#include "catalogue.h"
#include "glyphs.h"
#include "style.h"

namespace vimora::artwork {

namespace {

using namespace palette;

constexpr double kSceneWidth = 1280, kSceneHeight = 960;
const QRectF kScene(0, 0, kSceneWidth, kSceneHeight);

void glow(QPainter &p, QPointF centre, double radius, const QColor &color, int alpha)
{
    QRadialGradient g(centre, radius);
    g.setColorAt(0, withAlpha(color, alpha));
    g.setColorAt(1, withAlpha(color, 0));
    p.fillRect(kScene, g);
}

void vignette(QPainter &p, int alpha)
{
    QRadialGradient v(kScene.center(), kSceneWidth * 0.75);
    v.setColorAt(0.55, withAlpha(Qt::black, 0));
    v.setColorAt(1, withAlpha(Qt::black, alpha));
    p.fillRect(kScene, v);
}

void fillVertical(QPainter &p, std::initializer_list<std::pair<double, QColor>> stops)
{
    QLinearGradient g(0, 0, 0, kSceneHeight);
    for (const auto &[at, color] : stops)
        g.setColorAt(at, color);
    p.fillRect(kScene, g);
}

QPainterPath hill(double base, double amplitude, double phase, double waves)
{
    QPainterPath path;
    path.moveTo(0, kSceneHeight);
    for (double x = 0; x <= kSceneWidth + 1; x += 16)
        path.lineTo(x, base - amplitude * (0.6 * std::sin(x / kSceneWidth * M_PI * waves + phase) + 0.4 * std::sin(x / kSceneWidth * M_PI * waves * 2.3 + phase * 1.7)));
    path.lineTo(kSceneWidth, kSceneHeight);
    path.closeSubpath();
    return path;
}

void sceneDawn(QPainter &p)
{
    fillVertical(p, {{0, QColor(38, 40, 110)}, {0.45, QColor(196, 110, 150)}, {0.7, QColor(250, 170, 130)}, {1, QColor(255, 220, 170)}});
    glow(p, QPointF(700, 600), 520, QColor(255, 236, 200), 220);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 248, 230));
    p.drawEllipse(QPointF(700, 600), 70, 70);
    p.setBrush(withAlpha(QColor(120, 80, 150), 150));
    p.drawPath(hill(700, 60, 0.4, 2.2));
    p.setBrush(withAlpha(QColor(80, 56, 120), 210));
    p.drawPath(hill(790, 50, 2.0, 3.0));
    p.setBrush(QColor(46, 34, 84));
    p.drawPath(hill(880, 40, 4.1, 2.6));
}

void sceneOcean(QPainter &p)
{
    fillVertical(p, {{0, QColor(40, 150, 200)}, {0.4, QColor(16, 90, 150)}, {1, QColor(6, 30, 70)}});
    QRandomGenerator random(21);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        const double x = 100 + i * 130 + random.bounded(60.0);
        const double spread = 40 + random.bounded(90.0);
        const int strength = 70 + random.bounded(40);
        // Overlapping widening beams give each ray a soft edge.
        for (int layer = 0; layer < 4; ++layer) {
            const double grow = 1.0 + layer * 0.55;
            QLinearGradient ray(0, 0, 0, kSceneHeight * 0.9);
            ray.setColorAt(0, withAlpha(white, strength / 4));
            ray.setColorAt(1, withAlpha(white, 0));
            QPainterPath beam;
            beam.moveTo(x - 20 * grow, 0);
            beam.lineTo(x + 20 * grow, 0);
            beam.lineTo(x + spread * grow + 180, kSceneHeight);
            beam.lineTo(x - spread * grow + 120, kSceneHeight);
            beam.closeSubpath();
            p.setBrush(ray);
            p.drawPath(beam);
        }
    }
    glow(p, QPointF(640, -120), 700, QColor(200, 240, 255), 120);
    for (int i = 0; i < 70; ++i) {
        const QPointF c(random.bounded(kSceneWidth), 200 + random.bounded(kSceneHeight - 200));
        const double r = 2 + random.bounded(7.0);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(withAlpha(white, 60 + random.bounded(80)), 1.5));
        p.drawEllipse(c, r, r);
    }
}

void sceneBokeh(QPainter &p)
{
    fillVertical(p, {{0, QColor(26, 22, 52)}, {1, QColor(10, 12, 22)}});
    QRandomGenerator random(33);
    const QColor colors[] = {violet, coral, amber, sky, mint, QColor(255, 160, 200)};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 70; ++i) {
        const QPointF c(random.bounded(kSceneWidth), random.bounded(kSceneHeight));
        const double r = 30 + random.bounded(110.0);
        const QColor color = colors[random.bounded(6)];
        QRadialGradient g(c, r);
        g.setColorAt(0, withAlpha(color, 40 + random.bounded(60)));
        g.setColorAt(0.8, withAlpha(color, 30 + random.bounded(40)));
        g.setColorAt(1, withAlpha(color, 0));
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    }
    vignette(p, 140);
}

void sceneStudio(QPainter &p)
{
    p.fillRect(kScene, QColor(52, 56, 66));
    QRadialGradient spot(QPointF(640, 380), 780);
    spot.setColorAt(0, QColor(226, 228, 234));
    spot.setColorAt(0.45, QColor(160, 166, 178));
    spot.setColorAt(1, QColor(52, 56, 66));
    p.fillRect(kScene, spot);
    QLinearGradient floor(0, 620, 0, kSceneHeight);
    floor.setColorAt(0, withAlpha(Qt::black, 0));
    floor.setColorAt(1, withAlpha(Qt::black, 70));
    p.fillRect(kScene, floor);
    vignette(p, 120);
}

void sceneStripes(QPainter &p)
{
    p.fillRect(kScene, QColor(255, 244, 232));
    p.save();
    p.translate(kScene.center());
    p.rotate(-35);
    p.setPen(Qt::NoPen);
    for (int i = -20; i <= 20; ++i) {
        p.setBrush(i % 2 ? QColor(168, 226, 204) : QColor(255, 196, 178));
        p.drawRect(QRectF(i * 90.0, -1000, 45, 2000));
    }
    p.restore();
    glow(p, QPointF(300, 200), 800, white, 150);
    vignette(p, 70);
}

void scenePolka(QPainter &p)
{
    fillVertical(p, {{0, QColor(46, 50, 110)}, {1, QColor(30, 32, 80)}});
    p.setPen(Qt::NoPen);
    const double step = 110;
    for (int row = -1; row * step * 0.866 < kSceneHeight + step; ++row)
        for (int col = -1; col * step < kSceneWidth + step; ++col) {
            const QPointF c(col * step + (row % 2 ? step / 2 : 0), row * step * 0.866);
            QRadialGradient dot(c - QPointF(8, 8), 34);
            dot.setColorAt(0, coral.lighter(120));
            dot.setColorAt(1, coral.darker(105));
            p.setBrush(dot);
            p.drawEllipse(c, 26, 26);
        }
    glow(p, QPointF(640, 300), 700, violet, 70);
    vignette(p, 120);
}

void sceneBlueprint(QPainter &p)
{
    fillVertical(p, {{0, QColor(28, 76, 150)}, {1, QColor(16, 46, 106)}});
    for (double x = 0; x <= kSceneWidth; x += 32)
        p.fillRect(QRectF(x, 0, 1.2, kSceneHeight), withAlpha(white, std::fmod(x, 160) < 1 ? 55 : 20));
    for (double y = 0; y <= kSceneHeight; y += 32)
        p.fillRect(QRectF(0, y, kSceneWidth, 1.2), withAlpha(white, std::fmod(y, 160) < 1 ? 55 : 20));
    p.setPen(QPen(withAlpha(white, 90), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(880, 420), 220, 220);
    p.drawEllipse(QPointF(880, 420), 150, 150);
    p.drawLine(QPointF(620, 420), QPointF(1140, 420));
    p.drawLine(QPointF(880, 160), QPointF(880, 680));
    p.drawRect(QRectF(180, 520, 360, 240));
    QPen dash(withAlpha(white, 70), 2);
    dash.setDashPattern({6, 6});
    p.setPen(dash);
    p.drawLine(QPointF(180, 480), QPointF(540, 480));
    glow(p, QPointF(400, 200), 700, white, 40);
}

void sceneAurora(QPainter &p)
{
    fillVertical(p, {{0, QColor(8, 12, 36)}, {0.7, QColor(16, 30, 64)}, {1, QColor(20, 44, 70)}});
    QRandomGenerator random(44);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 260; ++i) {
        p.setBrush(withAlpha(white, 80 + random.bounded(170)));
        const double r = 0.8 + random.bounded(1.6);
        p.drawEllipse(QPointF(random.bounded(kSceneWidth), random.bounded(kSceneHeight * 0.8)), r, r);
    }
    struct Band { double base, amp, phase, height; QColor low, high; };
    const Band bands[] = {{520, 90, 0.3, 260, QColor(60, 230, 160), violet},
                          {430, 70, 2.2, 200, QColor(80, 255, 190), sky},
                          {600, 50, 4.0, 160, QColor(120, 120, 255), QColor(255, 120, 200)}};
    for (const Band &band : bands) {
        for (double x = 0; x <= kSceneWidth; x += 6) {
            const double y = band.base + band.amp * std::sin(x / kSceneWidth * M_PI * 2.2 + band.phase);
            const double h = band.height * (0.6 + 0.4 * std::sin(x / 97.0 + band.phase));
            QLinearGradient g(0, y, 0, y - h);
            g.setColorAt(0, withAlpha(band.low, 0));
            g.setColorAt(0.08, withAlpha(band.low, 70));
            g.setColorAt(0.5, withAlpha(band.high, 26));
            g.setColorAt(1, withAlpha(band.high, 0));
            p.fillRect(QRectF(x, y - h, 7, h), g);
        }
    }
    p.setBrush(QColor(10, 14, 26));
    p.drawPath(hill(880, 46, 1.0, 3.4));
}

void sceneSunburst(QPainter &p)
{
    p.fillRect(kScene, QColor(255, 170, 70));
    const QPointF centre(640, 1000);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 36; ++i) {
        const double a0 = i * 2 * M_PI / 36, a1 = (i + 0.5) * 2 * M_PI / 36;
        QPainterPath wedge;
        wedge.moveTo(centre);
        wedge.lineTo(centre + QPointF(std::cos(a0), std::sin(a0)) * 2000);
        wedge.lineTo(centre + QPointF(std::cos(a1), std::sin(a1)) * 2000);
        wedge.closeSubpath();
        p.setBrush(QColor(255, 196, 90));
        p.drawPath(wedge);
    }
    glow(p, centre, 900, QColor(255, 250, 220), 230);
    glow(p, QPointF(640, 0), 900, coral, 110);
    vignette(p, 60);
}

void sceneRibbons(QPainter &p)
{
    fillVertical(p, {{0, QColor(246, 244, 255)}, {1, QColor(226, 232, 250)}});
    const QColor colors[] = {violet, sky, mint, coral, amber};
    for (int i = 0; i < 5; ++i) {
        const double base = 180 + i * 150, phase = i * 1.3;
        QPainterPath ribbon;
        for (double x = -10; x <= kSceneWidth + 10; x += 10) {
            const double y = base + 70 * std::sin(x / kSceneWidth * M_PI * 2 + phase);
            if (x < 0)
                ribbon.moveTo(x, y);
            else
                ribbon.lineTo(x, y);
        }
        for (double x = kSceneWidth + 10; x >= -10; x -= 10)
            ribbon.lineTo(x, base + 70 * std::sin(x / kSceneWidth * M_PI * 2 + phase + 0.6) + 60 + 30 * std::sin(x / 180.0));
        ribbon.closeSubpath();
        QLinearGradient fill(0, 0, kSceneWidth, 0);
        fill.setColorAt(0, withAlpha(colors[i], 200));
        fill.setColorAt(1, withAlpha(colors[(i + 1) % 5], 140));
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPath(ribbon);
    }
    glow(p, QPointF(200, 100), 600, white, 120);
}

void sceneConfetti(QPainter &p)
{
    fillVertical(p, {{0, QColor(255, 250, 240)}, {1, QColor(250, 236, 222)}});
    QRandomGenerator random(55);
    const QColor colors[] = {violet, coral, amber, sky, mint, rose};
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 220; ++i) {
        p.save();
        p.translate(random.bounded(kSceneWidth), random.bounded(kSceneHeight));
        p.rotate(random.bounded(360.0));
        p.setBrush(withAlpha(colors[random.bounded(6)], 200 + random.bounded(55)));
        const double s = 8 + random.bounded(16.0);
        switch (random.bounded(3)) {
        case 0: p.drawEllipse(QPointF(0, 0), s * 0.6, s * 0.6); break;
        case 1: p.drawRoundedRect(QRectF(-s, -s * 0.35, 2 * s, s * 0.7), 2, 2); break;
        default: {
            QPainterPath tri;
            tri.moveTo(0, -s);
            tri.lineTo(s * 0.9, s * 0.6);
            tri.lineTo(-s * 0.9, s * 0.6);
            tri.closeSubpath();
            p.drawPath(tri);
        }
        }
        p.restore();
    }
}

using SceneFn = void (*)(QPainter &);
const SceneFn kScenes[] = {sceneDawn,  sceneOcean, sceneBokeh,   sceneStudio,   sceneStripes, scenePolka,
                           sceneBlueprint, sceneAurora, sceneSunburst, sceneRibbons, sceneConfetti};

void drawScene(QPainter &p, const QSizeF &size, int index)
{
    prepare(p);
    p.save();
    p.scale(size.width() / kSceneWidth, size.height() / kSceneHeight);
    p.setClipRect(kScene);
    kScenes[index](p);
    p.restore();
}

// --- Back-animation previews: one small landscape, nine treatments. -----------------------

QImage landscapeImage(const QSize &pixels)
{
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    prepare(p);
    drawLandscape(p, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

double luminance(QRgb c)
{
    return (0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c)) / 255.0;
}

void drawHalf(QPainter &p, const QSizeF &size, int style)
{
    prepare(p);
    const double scale = deviceScale(p, size);
    const QRectF tile(1.5, 1.5, size.width() - 3, size.height() - 3);
    const QSize pixels = (tile.size() * scale).toSize();
    const QImage photo = landscapeImage(pixels);
    QImage out(pixels, QImage::Format_ARGB32_Premultiplied);
    out.fill(ink);
    {
        QPainter o(&out);
        prepare(o);
        const QRectF all(QPointF(0, 0), QSizeF(pixels));
        const double u = scale; // one point in pixels
        switch (style) {
        case 1: { // soft fade
            o.drawImage(0, 0, photo);
            QRadialGradient fade(all.center(), all.width() * 0.62);
            fade.setColorAt(0.45, withAlpha(white, 0));
            fade.setColorAt(1, withAlpha(white, 235));
            o.fillRect(all, fade);
            break;
        }
        case 2: { // halftone
            o.setPen(Qt::NoPen);
            // Whole-point cells, so both scales put the dots in the same places.
            const double cell = 7.0 * u;
            for (double y = cell / 2; y < all.height(); y += cell)
                for (double x = cell / 2; x < all.width(); x += cell) {
                    const QRgb c = photo.pixel(std::min(int(x), pixels.width() - 1), std::min(int(y), pixels.height() - 1));
                    o.setBrush(QColor(c));
                    const double r = cell * 0.5 * (0.35 + 0.75 * luminance(c));
                    o.drawEllipse(QPointF(x, y), r, r);
                }
            break;
        }
        case 3: { // mosaic
            const QImage small = photo.scaled(7, 7, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            o.setRenderHint(QPainter::SmoothPixmapTransform, false);
            o.drawImage(all, small);
            o.setPen(QPen(withAlpha(ink, 120), 0.6 * u));
            for (int i = 1; i < 7; ++i) {
                o.drawLine(QPointF(all.width() * i / 7, 0), QPointF(all.width() * i / 7, all.height()));
                o.drawLine(QPointF(0, all.height() * i / 7), QPointF(all.width(), all.height() * i / 7));
            }
            break;
        }
        case 4: // scan lines
            o.drawImage(0, 0, photo);
            for (double y = 0; y < all.height(); y += 4 * u)
                o.fillRect(QRectF(0, y, all.width(), 2 * u), withAlpha(ink, 90));
            break;
        case 5: { // mirror
            const QRectF top(0, 0, all.width(), all.height() * 0.58);
            o.drawImage(top, photo, QRectF(0, 0, pixels.width(), pixels.height() * 0.58));
            o.save();
            o.translate(0, top.height() * 2);
            o.scale(1, -1);
            o.setOpacity(0.55);
            o.drawImage(top, photo, QRectF(0, 0, pixels.width(), pixels.height() * 0.58));
            o.restore();
            QLinearGradient fade(0, top.bottom(), 0, all.bottom());
            fade.setColorAt(0, withAlpha(QColor(30, 50, 110), 60));
            fade.setColorAt(1, withAlpha(QColor(20, 24, 60), 230));
            o.fillRect(QRectF(0, top.bottom(), all.width(), all.height() - top.height()), fade);
            break;
        }
        case 6: { // duotone
            QImage tone(pixels, QImage::Format_ARGB32_Premultiplied);
            for (int y = 0; y < pixels.height(); ++y)
                for (int x = 0; x < pixels.width(); ++x)
                    tone.setPixel(x, y, mixed(violetDeep.darker(130), amber, luminance(photo.pixel(x, y))).rgba());
            o.drawImage(0, 0, tone);
            break;
        }
        case 7: { // shards
            QRandomGenerator random(77);
            const int n = 4;
            for (int row = 0; row < n; ++row)
                for (int col = 0; col < n; ++col)
                    for (int half = 0; half < 2; ++half) {
                        const double cw = all.width() / n, ch = all.height() / n;
                        const QPointF a(col * cw, row * ch), b((col + 1) * cw, row * ch), c(col * cw, (row + 1) * ch),
                            d((col + 1) * cw, (row + 1) * ch);
                        QPainterPath tri;
                        tri.moveTo(half ? b : a);
                        tri.lineTo(half ? d : b);
                        tri.lineTo(c);
                        tri.closeSubpath();
                        const QPointF drift((col - 1.5) * 0.8 * u + random.bounded(1.2) * u, (row - 1.5) * 0.8 * u + random.bounded(1.2) * u);
                        o.save();
                        o.translate(drift);
                        o.setClipPath(tri);
                        o.drawImage(0, 0, photo);
                        o.restore();
                    }
            break;
        }
        case 8: { // ripple
            o.drawImage(0, 0, photo);
            o.setBrush(Qt::NoBrush);
            for (int i = 1; i <= 6; ++i) {
                o.setPen(QPen(withAlpha(white, 200 - i * 28), 1.3 * u));
                o.drawEllipse(QPointF(all.width() * 0.5, all.height() * 0.55), i * 4.5 * u, i * 3.4 * u);
            }
            break;
        }
        default: { // sketch: the landscape's edges in ink on paper
            QImage sketch(pixels, QImage::Format_ARGB32_Premultiplied);
            const int w = pixels.width(), h = pixels.height();
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    auto l = [&](int xx, int yy) { return luminance(photo.pixel(std::clamp(xx, 0, w - 1), std::clamp(yy, 0, h - 1))); };
                    const double gx = l(x + 1, y) - l(x - 1, y), gy = l(x, y + 1) - l(x, y - 1);
                    const double edge = std::min(1.0, std::sqrt(gx * gx + gy * gy) * 9.0 * scale / 2.0);
                    sketch.setPixel(x, y, mixed(QColor(248, 244, 236), QColor(40, 40, 70), edge).rgba());
                }
            o.drawImage(0, 0, sketch);
            o.setPen(QPen(QColor(40, 40, 70), 1.1 * u));
            o.setBrush(Qt::NoBrush);
            o.drawEllipse(QPointF(all.width() * 0.68, all.height() * 0.42), all.width() * 0.075, all.width() * 0.075);
            break;
        }
        }
    }
    QPainterPath shape;
    shape.addRoundedRect(tile, 10, 10);
    p.save();
    p.setClipPath(shape);
    p.drawImage(tile, out);
    p.restore();
    p.setPen(QPen(withAlpha(white, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), 9.5, 9.5);
    const QRectF badge(tile.right() - 17, tile.bottom() - 17, 14, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(withAlpha(ink, 220));
    p.drawEllipse(badge);
    drawFittedText(p, badge, QString::number(style), uiFont(9.5), white);
}

// --- Feathering masks and palettes: computed per pixel. -------------------------------------

enum Edge { Top = 1, Bottom = 2, Left = 4, Right = 8 };

/// Opaque grey: black (kept) in the middle, white (removed) at the named edges. The fade covers
/// the outer 30 % of each named side with a smoothstep curve.
void drawMask(QPainter &p, const QSizeF &size, int edges)
{
    const double scale = deviceScale(p, size);
    const QSize pixels = (size * scale).toSize();
    QImage mask(pixels, QImage::Format_Grayscale8);
    const double fade = 0.3;
    auto ramp = [fade](double distance) {
        const double t = std::clamp(distance / fade, 0.0, 1.0);
        return 1.0 - t * t * (3.0 - 2.0 * t);
    };
    for (int y = 0; y < pixels.height(); ++y) {
        uchar *row = mask.scanLine(y);
        const double v = (y + 0.5) / pixels.height();
        for (int x = 0; x < pixels.width(); ++x) {
            const double u = (x + 0.5) / pixels.width();
            double white = 0;
            if (edges & Top)
                white = std::max(white, ramp(v));
            if (edges & Bottom)
                white = std::max(white, ramp(1.0 - v));
            if (edges & Left)
                white = std::max(white, ramp(u));
            if (edges & Right)
                white = std::max(white, ramp(1.0 - u));
            row[x] = uchar(std::lround(white * 255.0));
        }
    }
    p.save();
    p.resetTransform();
    p.drawImage(0, 0, mask);
    p.restore();
}

/// Every hue left to right; white at the top through full colour at the middle to black at the
/// bottom; a grey ramp in the rightmost 14 points.
void drawPalette(QPainter &p, const QSizeF &size)
{
    const double scale = deviceScale(p, size);
    const QSize pixels = (size * scale).toSize();
    const int greyStart = pixels.width() - int(std::lround(14 * scale));
    QImage field(pixels, QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        QRgb *row = reinterpret_cast<QRgb *>(field.scanLine(y));
        const double t = pixels.height() > 1 ? double(y) / (pixels.height() - 1) : 0.5;
        const double saturation = t < 0.5 ? t * 2.0 : 1.0;
        const double value = t < 0.5 ? 1.0 : 1.0 - (t - 0.5) * 2.0;
        for (int x = 0; x < pixels.width(); ++x) {
            if (x >= greyStart) {
                const int g = int(std::lround((1.0 - t) * 255.0));
                row[x] = qRgb(g, g, g);
            } else {
                row[x] = QColor::fromHsvF(double(x) / greyStart, saturation, value).rgb();
            }
        }
    }
    p.save();
    p.resetTransform();
    p.drawImage(0, 0, field);
    p.restore();
}

void drawLibraryTile(QPainter &p, const QSizeF &size)
{
    prepare(p);
    const QRectF rect(0, 0, size.width(), size.height());
    QLinearGradient fill(rect.topLeft(), rect.bottomRight());
    fill.setColorAt(0, inkRaised);
    fill.setColorAt(1, ink);
    p.fillRect(rect, fill);
    QRadialGradient light(QPointF(rect.width() * 0.3, 0), rect.width() * 0.8);
    light.setColorAt(0, withAlpha(violet, 110));
    light.setColorAt(1, withAlpha(violet, 0));
    p.fillRect(rect, light);
    const double g = size.height() * 0.44;
    drawGlyph(p, Glyph::PhotosPlus, QRectF(rect.center().x() - g / 2, size.height() * 0.14, g, g), white, 1.8);
    drawFittedText(p, QRectF(6, size.height() * 0.66, size.width() - 12, size.height() * 0.2), QStringLiteral("Photo library"),
                   uiFont(14), white, Qt::AlignCenter);
}

} // namespace

void addScenes(Registry &r)
{
    for (int i = 0; i < 11; ++i) {
        const QString number = QStringLiteral("%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        const auto draw = [i](QPainter &p, const QSizeF &s) { drawScene(p, s, i); };
        r[QStringLiteral("frame%1.jpg").arg(number)] = draw;
        r[QStringLiteral("frame%1s.jpg").arg(number)] = draw;
    }
    r["frameLibrary.png"] = drawLibraryTile;
    for (int style = 1; style <= 9; ++style)
        r[QStringLiteral("half%1.png").arg(style)] = [style](QPainter &p, const QSizeF &s) { drawHalf(p, s, style); };
    r["mask10x.jpg"] = [](QPainter &p, const QSizeF &s) { drawMask(p, s, Top | Bottom); };
    r["mask10.jpg"] = [](QPainter &p, const QSizeF &s) { drawMask(p, s, Top); };
    r["mask10b.jpg"] = [](QPainter &p, const QSizeF &s) { drawMask(p, s, Bottom); };
    r["mask10y.jpg"] = [](QPainter &p, const QSizeF &s) { drawMask(p, s, Left | Right); };
    r["mask10c.jpg"] = [](QPainter &p, const QSizeF &s) { drawMask(p, s, Right); };
    r["mask10a.jpg"] = [](QPainter &p, const QSizeF &s) { drawMask(p, s, Left); };
    r["colorpickerBig.png"] = drawPalette;
    r["colorpicker.jpg"] = drawPalette;
}

} // namespace vimora::artwork
