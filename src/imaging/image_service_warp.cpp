// Geometry filters of the image service: inverse-mapping warps sampled bilinearly in linear
// light, and the crop. Mappings are written in image space (y up): for every output pixel
// centre p they give the source point whose colour lands there. Inside the disc of a
// distortion, c is its centre, d = p - c, r = |d| and R its radius; outside it p maps to itself.

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>

#include "imaging/image_service_families.h"
#include "imaging/simd.h"
#include "imaging/vector_math.h"

namespace vimora::service {

namespace {

using kernels::PixelRow;
using kernels::Region;
using kernels::SourceRow;

constexpr double kPi = std::numbers::pi;

inline float smoothstep(float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

// --- affine, crop, perspective ------------------------------------------------------------

Extent boundsOf(const QPointF *points, int count)
{
    double x0 = points[0].x(), x1 = x0, y0 = points[0].y(), y1 = y0;
    for (int i = 1; i < count; ++i) {
        x0 = std::min(x0, points[i].x());
        x1 = std::max(x1, points[i].x());
        y0 = std::min(y0, points[i].y());
        y1 = std::max(y1, points[i].y());
    }
    if (!std::isfinite(x0) || !std::isfinite(x1) || !std::isfinite(y0) || !std::isfinite(y1))
        return {};
    return {x0, y0, x1 - x0, y1 - y0, false};
}

bool invertible(const QTransform &m)
{
    const double det = m.m11() * m.m22() - m.m12() * m.m21();
    return std::isfinite(det) && std::abs(det) > 1e-12;
}

Extent affineExtent(const FilterArgs &args)
{
    const QTransform m = args.transform("inputTransform");
    const Extent in = args.inputExtent();
    if (!invertible(m) || in.isEmpty())
        return {};
    const QPointF corners[4] = {m.map(QPointF(0, 0)), m.map(QPointF(in.width, 0)), m.map(QPointF(0, in.height)),
                                m.map(QPointF(in.width, in.height))};
    return boundsOf(corners, 4);
}

/// Source points of an affine map along one output row: x' = a x + c y + e, y' = b x + d y + f.
VIMORA_VECTOR_LOOP(void, affineRow,
                   (float *sx, float *sy, int n, double x0, double y, const double *m), (sx, sy, n, x0, y, m))
{
    const double a = m[0], b = m[1], c = m[2], d = m[3], e = m[4], f = m[5];
    for (int i = 0; i < n; ++i) {
        const double x = x0 + i;
        sx[i] = float(a * x + c * y + e);
        sy[i] = float(b * x + d * y + f);
    }
}

QImage renderAffine(const FilterArgs &args, Region region)
{
    // QTransform maps x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy (the parameter's a, b,
    // c, d, tx, ty), applied here in y-up image space.
    const QTransform m = args.transform("inputTransform");
    if (!invertible(m))
        return {};
    const QTransform inv = m.inverted();
    const double coefficients[6] = {inv.m11(), inv.m12(), inv.m21(), inv.m22(), inv.dx(), inv.dy()};
    return kernels::warp(args.input(), region, [&](SourceRow &row) {
        affineRow(row.x, row.y, row.count, row.x0, row.y0, coefficients);
    });
}

Extent cropExtent(const FilterArgs &args)
{
    const QRectF r = args.rectangle("inputRectangle");
    return args.inputExtent().intersected({r.x(), r.y(), r.width(), r.height(), false});
}

QImage renderCrop(const FilterArgs &args, Region region)
{
    // Pixels are copied, not resampled; outside the cropped part the result is transparent.
    QImage out = inputOverRegion(args.input(), region);
    const Region kept = cropExtent(args).integral();
    if (out.isNull() || kept == region)
        return out;
    out.detach();
    const int left = std::clamp(kept.x - region.x, 0, region.width);
    const int right = std::clamp(kept.x + kept.width - region.x, left, region.width);
    const int top = std::clamp(region.y + region.height - (kept.y + kept.height), 0, region.height);
    const int bottom = std::clamp(region.y + region.height - kept.y, top, region.height);
    for (int j = 0; j < region.height; ++j) {
        QRgb *row = reinterpret_cast<QRgb *>(out.scanLine(j));
        if (j < top || j >= bottom || kept.isEmpty()) {
            std::fill_n(row, region.width, 0u);
            continue;
        }
        std::fill(row, row + left, 0u);
        std::fill(row + right, row + region.width, 0u);
    }
    return out;
}

/// The square-to-quadrilateral mapping of the four corner points, (s, t) running from the
/// top-left corner (0, 0) to the bottom-right (1, 1).
struct Projective
{
    double m[3][3];
    bool valid;
};

Projective perspectiveMatrix(const QPointF corners[4])
{
    const double x0 = corners[0].x(), y0 = corners[0].y(), x1 = corners[1].x(), y1 = corners[1].y();
    const double x2 = corners[2].x(), y2 = corners[2].y(), x3 = corners[3].x(), y3 = corners[3].y();
    const double sx = x0 - x1 + x2 - x3, sy = y0 - y1 + y2 - y3;
    double a, b, c, d, e, f, g, h;
    if (sx == 0 && sy == 0) {
        g = h = 0;
        a = x1 - x0, b = x2 - x1, c = x0;
        d = y1 - y0, e = y2 - y1, f = y0;
    } else {
        const double dx1 = x1 - x2, dx2 = x3 - x2, dy1 = y1 - y2, dy2 = y3 - y2;
        const double den = dx1 * dy2 - dx2 * dy1;
        if (den == 0)
            return {{}, false};
        g = (sx * dy2 - dx2 * sy) / den;
        h = (dx1 * sy - sx * dy1) / den;
        a = x1 - x0 + g * x1, b = x3 - x0 + h * x3, c = x0;
        d = y1 - y0 + g * y1, e = y3 - y0 + h * y3, f = y0;
    }
    return {{{a, b, c}, {d, e, f}, {g, h, 1}}, true};
}

/// The true inverse (not the adjugate), so the third component keeps the sign of w.
Projective inverted(const Projective &p)
{
    const auto &m = p.m;
    const double det = m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1])
        - m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) + m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0]);
    if (!p.valid || !std::isfinite(det) || std::abs(det) < 1e-12)
        return {{}, false};
    Projective r{{}, true};
    r.m[0][0] = (m[1][1] * m[2][2] - m[1][2] * m[2][1]) / det;
    r.m[0][1] = (m[0][2] * m[2][1] - m[0][1] * m[2][2]) / det;
    r.m[0][2] = (m[0][1] * m[1][2] - m[0][2] * m[1][1]) / det;
    r.m[1][0] = (m[1][2] * m[2][0] - m[1][0] * m[2][2]) / det;
    r.m[1][1] = (m[0][0] * m[2][2] - m[0][2] * m[2][0]) / det;
    r.m[1][2] = (m[0][2] * m[1][0] - m[0][0] * m[1][2]) / det;
    r.m[2][0] = (m[1][0] * m[2][1] - m[1][1] * m[2][0]) / det;
    r.m[2][1] = (m[0][1] * m[2][0] - m[0][0] * m[2][1]) / det;
    r.m[2][2] = (m[0][0] * m[1][1] - m[0][1] * m[1][0]) / det;
    return r;
}

void perspectiveCorners(const FilterArgs &args, QPointF corners[4])
{
    corners[0] = args.point("inputTopLeft");
    corners[1] = args.point("inputTopRight");
    corners[2] = args.point("inputBottomRight");
    corners[3] = args.point("inputBottomLeft");
}

Extent perspectiveExtent(const FilterArgs &args)
{
    QPointF corners[4];
    perspectiveCorners(args, corners);
    if (!inverted(perspectiveMatrix(corners)).valid)
        return {};
    return boundsOf(corners, 4);
}

/// Source points of the inverse square-to-quadrilateral map along one output row, scaled to
/// a w x h picture; points behind the viewer (q <= 0) read transparent.
VIMORA_VECTOR_LOOP(void, perspectiveRow,
                   (float *sx, float *sy, int n, double x0, double y, const double (*m)[3], double w, double h),
                   (sx, sy, n, x0, y, m, w, h))
{
    const double sy0 = m[0][1] * y, ty0 = m[1][1] * y, qy0 = m[2][1] * y;
    for (int i = 0; i < n; ++i) {
        const double x = x0 + i;
        const double s = m[0][0] * x + sy0 + m[0][2];
        const double t = m[1][0] * x + ty0 + m[1][2];
        const double q = m[2][0] * x + qy0 + m[2][2];
        const bool visible = q > 0;
        const double divisor = visible ? q : 1.0;
        sx[i] = visible ? float(s / divisor * w) : -1e9f;
        sy[i] = visible ? float(h - t / divisor * h) : -1e9f;
    }
}

QImage renderPerspective(const FilterArgs &args, Region region)
{
    QPointF corners[4];
    perspectiveCorners(args, corners);
    const Projective inv = inverted(perspectiveMatrix(corners));
    if (!inv.valid)
        return {};
    const double w = args.input().width(), h = args.input().height();
    return kernels::warp(args.input(), region, [&](SourceRow &row) {
        perspectiveRow(row.x, row.y, row.count, row.x0, row.y0, inv.m, w, h);
    });
}

// --- distortions --------------------------------------------------------------------------

struct Disc
{
    float cx, cy, radius;
};

Disc discOf(const FilterArgs &args)
{
    const QPointF c = args.point("inputCenter");
    return {float(c.x()), float(c.y()), float(std::max(0.0, args.number("inputRadius")))};
}

/// A warp whose rule rule(dx, dy, r, sx, sy) sets the source offset from the centre of every
/// pixel inside the disc (r < R); everything else maps to itself.
template <typename Rule>
QImage discWarp(const FilterArgs &args, Region region, Rule &&rule)
{
    const Disc disc = discOf(args);
    return kernels::warpDisc(args.input(), region, disc.cx, disc.cy, disc.radius, [&](SourceRow &row) {
        const float dy = row.y0 - disc.cy;
        for (int i = 0; i < row.count; ++i) {
            const float x = row.x0 + float(i);
            const float dx = x - disc.cx;
            const float r = std::sqrt(dx * dx + dy * dy);
            float ox = dx, oy = dy;
            const bool inside = r < disc.radius;
            if (inside)
                rule(dx, dy, r, ox, oy);
            row.x[i] = inside ? disc.cx + ox : x;
            row.y[i] = inside ? disc.cy + oy : row.y0;
        }
    });
}

/// The bump's source points along a chord: the scale factor is 1 outside the disc.
VIMORA_VECTOR_LOOP(void, bumpRow, (SourceRow & row, Disc disc, float invRadius, float scale),
                   (row, disc, invRadius, scale))
{
    const float cx = disc.cx, cy = disc.cy, radius = disc.radius, x0 = row.x0, y0 = row.y0;
    const float dy = y0 - cy;
    float *__restrict sx = row.x;
    float *__restrict sy = row.y;
    const int n = row.count;
    for (int i = 0; i < n; ++i) {
        const float x = x0 + float(i);
        const float dx = x - cx;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float f = 1.0f - scale * smoothstep(1.0f - r * invRadius);
        const bool inside = r < radius;
        sx[i] = inside ? cx + dx * f : x;
        sy[i] = inside ? cy + dy * f : y0;
    }
}

QImage renderBump(const FilterArgs &args, Region region)
{
    const float scale = float(args.number("inputScale"));
    if (scale == 0.0f)
        return inputOverRegion(args.input(), region);
    const Disc disc = discOf(args);
    const float invRadius = 1.0f / std::max(disc.radius, 1e-6f);
    return kernels::warpDisc(args.input(), region, disc.cx, disc.cy, disc.radius,
                             [=](SourceRow &row) { bumpRow(row, disc, invRadius, scale); });
}

/// The pinch's source points along a chord: d sin(r pi / 2R)^-scale inside the disc.
VIMORA_VECTOR_LOOP(void, pinchRow, (SourceRow & row, Disc disc, float quarterTurnPerRadius, float scale),
                   (row, disc, quarterTurnPerRadius, scale))
{
    const float cx = disc.cx, cy = disc.cy, radius = disc.radius, x0 = row.x0, y0 = row.y0;
    const float dy = y0 - cy;
    float *__restrict sx = row.x;
    float *__restrict sy = row.y;
    const int n = row.count;
    // Three short passes, the output planes holding the intermediate values: one long chain of
    // dependent steps per point keeps fewer points in flight.
    for (int i = 0; i < n; ++i) {
        const float dx = x0 + float(i) - cx;
        const float r = std::sqrt(dx * dx + dy * dy);
        float sine, cosine;
        vecmath::sinCos(quarterTurnPerRadius * r, sine, cosine);
        sx[i] = r;
        sy[i] = sine;
    }
    // The centre itself (r = 0) stays; a sine below any normal float gives a point far outside
    // the picture either way.
    for (int i = 0; i < n; ++i)
        sy[i] = vecmath::expBounded(-scale * vecmath::logPositive(std::max(sy[i], 1e-30f)));
    for (int i = 0; i < n; ++i) {
        const float x = x0 + float(i);
        const float dx = x - cx;
        const float r = sx[i], f = sy[i];
        const bool moved = (r < radius) & (r > 0.0f); // no &&: a branch would stop the loop vectorising
        sx[i] = moved ? cx + dx * f : x;
        sy[i] = moved ? cy + dy * f : y0;
    }
}

QImage renderPinch(const FilterArgs &args, Region region)
{
    const float scale = float(args.number("inputScale"));
    if (scale == 0.0f)
        return inputOverRegion(args.input(), region);
    const Disc disc = discOf(args);
    const float quarterTurnPerRadius = float(kPi / 2) / std::max(disc.radius, 1e-6f);
    return kernels::warpDisc(args.input(), region, disc.cx, disc.cy, disc.radius,
                             [=](SourceRow &row) { pinchRow(row, disc, quarterTurnPerRadius, scale); });
}

/// Twirl and vortex source points along a chord: the point turned by -angle x fall-off(r / R).
VIMORA_VECTOR_LOOP_TEMPLATE((bool quadratic), (quadratic), void, swirlRow,
                            (SourceRow & row, Disc disc, float invRadius, float angle),
                            (row, disc, invRadius, angle))
{
    const float cx = disc.cx, cy = disc.cy, radius = disc.radius, x0 = row.x0, y0 = row.y0;
    const float dy = y0 - cy;
    float *__restrict sx = row.x;
    float *__restrict sy = row.y;
    const int n = row.count;
    // Two passes, the output planes holding the sine and cosine in between: shorter chains of
    // dependent steps keep more points in flight.
    for (int i = 0; i < n; ++i) {
        const float dx = x0 + float(i) - cx;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float fall = 1.0f - r * invRadius;
        vecmath::sinCos(angle * (quadratic ? fall * fall : fall), sx[i], sy[i]);
    }
    for (int i = 0; i < n; ++i) {
        const float x = x0 + float(i);
        const float dx = x - cx;
        const float r = std::sqrt(dx * dx + dy * dy);
        const float s = sx[i], c = sy[i];
        const bool inside = r < radius;
        sx[i] = inside ? cx + (dx * c + dy * s) : x;
        sy[i] = inside ? cy + (-dx * s + dy * c) : y0;
    }
}

/// Twirl (linear fall-off) and vortex (quadratic): content turns by angle x fall-off(r / R).
template <bool quadratic>
QImage renderSwirl(const FilterArgs &args, Region region)
{
    const float angle = float(args.number("inputAngle"));
    if (angle == 0.0f)
        return inputOverRegion(args.input(), region);
    const float invRadius = 1.0f / std::max(discOf(args).radius, 1e-6f);
    const Disc disc = discOf(args);
    // The fall-off is at most 1 inside the disc, so theta never exceeds the angle.
    if (std::abs(angle) <= vecmath::kSinCosLimit)
        return kernels::warpDisc(args.input(), region, disc.cx, disc.cy, disc.radius,
                                 [=](SourceRow &row) { swirlRow<quadratic>(row, disc, invRadius, angle); });
    return discWarp(args, region, [&](float dx, float dy, float r, float &ox, float &oy) {
        const float fall = 1.0f - r * invRadius;
        const float theta = angle * (quadratic ? fall * fall : fall);
        // The source of content turned by +theta is the point turned by -theta.
        const float c = std::cos(theta), s = std::sin(theta);
        ox = dx * c + dy * s;
        oy = -dx * s + dy * c;
    });
}

/// The hole's source points along a row: inside the hole every point shows the centre;
/// outside, the point at radius r - R^2 / r on the same ray.
VIMORA_VECTOR_LOOP(void, holeRow, (SourceRow & row, Disc disc), (row, disc))
{
    const float r2 = disc.radius * disc.radius;
    const float dy = row.y0 - disc.cy;
    for (int i = 0; i < row.count; ++i) {
        const float dx = row.x0 + float(i) - disc.cx;
        const float d2 = dx * dx + dy * dy;
        const float f = d2 < r2 ? 0.0f : 1.0f - r2 / d2;
        row.x[i] = disc.cx + dx * f;
        row.y[i] = disc.cy + dy * f;
    }
}

QImage renderHole(const FilterArgs &args, Region region)
{
    const Disc disc = discOf(args);
    return kernels::warp(args.input(), region, [&](SourceRow &row) { holeRow(row, disc); });
}

/// The circle splash's source points along a row: outside the disc, the rim point on the same ray.
VIMORA_VECTOR_LOOP(void, splashRow, (SourceRow & row, Disc disc), (row, disc))
{
    const float dy = row.y0 - disc.cy;
    for (int i = 0; i < row.count; ++i) {
        const float x = row.x0 + float(i);
        const float dx = x - disc.cx;
        const float r = std::sqrt(dx * dx + dy * dy);
        const bool outside = r > disc.radius;
        const float f = outside ? disc.radius / r : 1.0f;
        row.x[i] = outside ? disc.cx + dx * f : x;
        row.y[i] = outside ? disc.cy + dy * f : row.y0;
    }
}

QImage renderCircleSplash(const FilterArgs &args, Region region)
{
    const Disc disc = discOf(args);
    return kernels::warp(args.input(), region, [&](SourceRow &row) { splashRow(row, disc); });
}

Extent planeExtent(const FilterArgs &args)
{
    return args.input().isNull() ? Extent() : Extent::plane();
}

// --- pixellate, kaleidoscope --------------------------------------------------------------

struct Cells
{
    double cx, cy, side;
};

Cells cellsOf(const FilterArgs &args)
{
    const QPointF c = args.point("inputCenter");
    return {c.x(), c.y(), std::max(1.0, args.number("inputScale"))};
}

Extent pixellateExtent(const FilterArgs &args)
{
    // The input grown outward to whole cells; cell k spans c + (k -/+ 0.5) side.
    const Extent in = args.inputExtent();
    const Cells cells = cellsOf(args);
    auto grow = [&](double c, double lo, double hi, double &first, double &last) {
        const double kFirst = std::floor((lo - c) / cells.side + 0.5);
        const double kLast = std::ceil((hi - c) / cells.side + 0.5) - 1;
        first = c + (kFirst - 0.5) * cells.side;
        last = c + (kLast + 0.5) * cells.side;
    };
    double x0, x1, y0, y1;
    grow(cells.cx, in.x, in.x + in.width, x0, x1);
    grow(cells.cy, in.y, in.y + in.height, y0, y1);
    return {x0, y0, x1 - x0, y1 - y0, false};
}

QImage renderPixellate(const FilterArgs &args, Region region)
{
    // Every pixel reads its cell's centre, and the cell depends on x and y apart: a mosaic.
    const Cells cells = cellsOf(args);
    auto centre = [&](double c, double p) { return float(c + std::floor((p - c) / cells.side + 0.5) * cells.side); };
    std::vector<float> columnX(size_t(std::max(region.width, 0))), rowY(size_t(std::max(region.height, 0)));
    for (int i = 0; i < region.width; ++i)
        columnX[size_t(i)] = centre(cells.cx, double(float(region.x + i) + 0.5f));
    for (int j = 0; j < region.height; ++j)
        rowY[size_t(j)] = centre(cells.cy, double(float(region.y + region.height - j) - 0.5f));
    return kernels::separableWarp(args.input(), region, columnX, rowY);
}

// The kaleidoscope's triangle and its mirror images tile the plane: the mirrors are three
// families of parallel lines, and the reflections they generate are the affine Weyl group of
// type A2. In coordinates y_k = p . m_k (p measured from one vertex of the triangle, m_k three
// vectors 120 degrees apart, scaled so that crossing one triangle adds 1 to a difference),
// every reflection permutes the y_k or adds integers summing to zero, and the triangle is
// where y_2 <= y_0 <= y_1 <= y_2 + 1. So a point folds in closed form: keep the fractions of
// the y_k, take 1 from the largest M of them (M their sum, so the total stays put), and sort.

/// The fold in single precision, set up in double.
struct TriangleFold
{
    float vx, vy;         ///< the vertex the coordinates are measured from
    float mx[3], my[3];   ///< y_k = (x - vx) mx[k] + (y - vy) my[k]
    float ox, oy;         ///< the same vertex where the source is read: v less the source's offset
    float bx[3], by[3];   ///< the folded point is o + y'_0 b_0 + y'_1 b_1 + y'_2 b_2
};

/// The fold for a triangle around (px, py); the source is read from a copy whose origin lies at
/// (sourceX, sourceY) of the input.
TriangleFold triangleFold(double px, double py, double inradius, const double nx[3], const double ny[3],
                          double sourceX, double sourceY)
{
    TriangleFold fold{};
    // The vertex opposite edge 0; edge k is where (p - point) . n_k = inradius.
    const double vx = px - 2 * inradius * nx[0], vy = py - 2 * inradius * ny[0];
    fold.vx = float(vx);
    fold.vy = float(vy);
    fold.ox = float(vx - sourceX);
    fold.oy = float(vy - sourceY);
    for (int k = 0; k < 3; ++k) {
        const int next = (k + 1) % 3, after = (k + 2) % 3;
        const double mx = (nx[after] - nx[next]) / 3, my = (ny[after] - ny[next]) / 3;
        fold.mx[k] = float(mx / (3 * inradius));
        fold.my[k] = float(my / (3 * inradius));
        fold.bx[k] = float(6 * inradius * mx);
        fold.by[k] = float(6 * inradius * my);
    }
    return fold;
}

/// A nearest integer to v for |v| < 2^22 without a rounding instruction: v + 1.5 x 2^23 lies
/// where floats are whole numbers.
inline float roundSmall(float v)
{
    constexpr float kShift = 12582912.0f;
    return (v + kShift) - kShift;
}

/// floor(v) for |v| < 2^22: a step down where rounding went up.
inline float floorSmall(float v)
{
    const float nearest = roundSmall(v);
    return nearest > v ? nearest - 1.0f : nearest;
}

/// Source points of a row of n pixels at image y, the first at image x x0, folded into the
/// triangle.
VIMORA_VECTOR_LOOP(void, foldRow,
                   (const TriangleFold &fold, float x0, float y, int n, float *__restrict outX, float *__restrict outY),
                   (fold, x0, y, n, outX, outY))
{
    const float vx = fold.vx, vy = fold.vy, ox = fold.ox, oy = fold.oy;
    const float mx0 = fold.mx[0], mx1 = fold.mx[1], mx2 = fold.mx[2];
    const float my0 = fold.my[0], my1 = fold.my[1], my2 = fold.my[2];
    const float bx0 = fold.bx[0], bx1 = fold.bx[1], bx2 = fold.bx[2];
    const float by0 = fold.by[0], by1 = fold.by[1], by2 = fold.by[2];
    const float dy = y - vy;
    constexpr float kLimit = 4194304.0f; // beyond 2^22 the picture is long gone anyway
    for (int i = 0; i < n; ++i) {
        const float dx = x0 + float(i) - vx;
        auto coordinate = [&](float m, float k) {
            const float c = dx * m + dy * k;
            return c < -kLimit ? -kLimit : (c > kLimit ? kLimit : c);
        };
        const float c0 = coordinate(mx0, my0), c1 = coordinate(mx1, my1), c2 = coordinate(mx2, my2);
        const float f0 = c0 - floorSmall(c0), f1 = c1 - floorSmall(c1), f2 = c2 - floorSmall(c2);
        // The coordinates sum to zero, so the fractions sum to a whole number: 0, 1 or 2.
        const float taken = roundSmall(f0 + f1 + f2);
        // Rank of each fraction, largest first, ties to the lower index.
        const float rank0 = (f1 > f0 ? 1.0f : 0.0f) + (f2 > f0 ? 1.0f : 0.0f);
        const float rank1 = (f0 >= f1 ? 1.0f : 0.0f) + (f2 > f1 ? 1.0f : 0.0f);
        const float rank2 = (f0 >= f2 ? 1.0f : 0.0f) + (f1 >= f2 ? 1.0f : 0.0f);
        const float z0 = rank0 < taken ? f0 - 1.0f : f0;
        const float z1 = rank1 < taken ? f1 - 1.0f : f1;
        const float z2 = rank2 < taken ? f2 - 1.0f : f2;
        const float low01 = z0 < z1 ? z0 : z1, high01 = z0 < z1 ? z1 : z0;
        const float lowest = low01 < z2 ? low01 : z2;
        const float highest = high01 < z2 ? z2 : high01;
        const float middle = high01 < z2 ? high01 : (low01 < z2 ? z2 : low01);
        outX[i] = ox + (middle * bx0 + highest * bx1 + lowest * bx2);
        outY[i] = oy + (middle * by0 + highest * by1 + lowest * by2);
    }
}

/// 2^t for t <= 0 to within a few units in the last place (0 below 2^-126), in a loop that
/// vectorises: 2^round(t) built in the exponent bits times a polynomial of the rest.
inline float exp2NonPositive(float t)
{
    t = t < -126.0f ? -126.0f : t;
    const float whole = roundSmall(t);
    const float f = t - whole; // -0.5 .. 0.5
    constexpr float ln2 = std::numbers::ln2_v<float>;
    // exp(f ln 2) by its series to the seventh power: below 3e-9 on this interval.
    const float x = f * ln2;
    const float series =
        1.0f + x * (1.0f + x * (1.0f / 2 + x * (1.0f / 6 + x * (1.0f / 24 + x * (1.0f / 120 + x * (1.0f / 720 + x * (1.0f / 5040)))))));
    const float power = std::bit_cast<float>((int32_t(whole) + 127) << 23);
    return t <= -126.0f ? 0.0f : series * power;
}

/// Multiplies the premultiplied colour of a row at image y, first pixel at x0, by
/// decay^(distance from the point / side).
VIMORA_VECTOR_LOOP(void, fadeRow,
                   (float *__restrict r, float *__restrict g, float *__restrict b, int n, float x0, float y, float px,
                    float py, float log2DecayPerPixel),
                   (r, g, b, n, x0, y, px, py, log2DecayPerPixel))
{
    const float dy = y - py;
    for (int i = 0; i < n; ++i) {
        const float dx = x0 + float(i) - px;
        const float fade = exp2NonPositive(log2DecayPerPixel * std::sqrt(dx * dx + dy * dy));
        r[i] *= fade;
        g[i] *= fade;
        b[i] *= fade;
    }
}

QImage renderKaleidoscope(const FilterArgs &args, Region region)
{
    // An equilateral triangle around the point, repeated by mirroring across its edges, each
    // copy fading with distance from the point.
    const QPointF point = args.point("inputPoint");
    const double px = point.x(), py = point.y();
    const double side = std::max(1.0, args.number("inputSize"));
    const double inradius = side / (2.0 * std::numbers::sqrt3);
    const double rotation = args.number("inputRotation");
    const double decay = std::clamp(args.number("inputDecay"), 0.0, 1.0);
    double nx[3], ny[3];
    for (int k = 0; k < 3; ++k) {
        const double phi = rotation + kPi / 2 + 2 * kPi * k / 3;
        nx[k] = -std::cos(phi);
        ny[k] = -std::sin(phi);
    }
    // Every point reads the triangle: the warp decodes only the input's pixels around it (two
    // pixels more each way hold every bilinear tap), or all of it if they are none.
    QImage source = args.input();
    QRect around;
    if (!source.isNull()) {
        double x0 = px, x1 = px, y0 = py, y1 = py;
        for (int k = 0; k < 3; ++k) {
            x0 = std::min(x0, px - 2 * inradius * nx[k]);
            x1 = std::max(x1, px - 2 * inradius * nx[k]);
            y0 = std::min(y0, py - 2 * inradius * ny[k]);
            y1 = std::max(y1, py - 2 * inradius * ny[k]);
        }
        const double h = source.height();
        // Raster columns and rows, top row first; limits kept in range before the conversion.
        auto clampTo = [](double v, int size) { return int(std::clamp(v, 0.0, double(size))); };
        const int left = clampTo(std::floor(x0) - 2, source.width()), right = clampTo(std::ceil(x1) + 2, source.width());
        const int top = clampTo(std::floor(h - y1) - 2, source.height());
        const int bottom = clampTo(std::ceil(h - y0) + 2, source.height());
        if (right > left && bottom > top)
            around = QRect(left, top, right - left, bottom - top);
    }
    if (!around.isEmpty())
        source = source.copy(around);
    const double sourceX = around.isEmpty() ? 0 : around.x();
    const double sourceY = around.isEmpty() ? 0 : double(args.input().height()) - (around.y() + around.height());
    const TriangleFold fold = triangleFold(px, py, inradius, nx, ny, sourceX, sourceY);
    // Zero decay fades everything but the point itself; a finite slope keeps 0 x slope at 0.
    const float log2DecayPerPixel = float((decay > 0 ? std::log2(decay) : -1e30) / side);
    return kernels::warpThen(
        source, region,
        [&](SourceRow &row) { foldRow(fold, row.x0, row.y0, row.count, row.x, row.y); },
        [&](PixelRow &row) {
            if (decay < 1.0)
                fadeRow(row.r, row.g, row.b, row.count, row.x0, row.y, float(px), float(py), log2DecayPerPixel);
        });
}

std::vector<ParamInfo> discParams(const char *amountKey, double amount, double amountMin, double amountMax,
                                  const char *amountDescription, double radius, double radiusMin, double radiusMax)
{
    std::vector<ParamInfo> params{inputPicture(), pointParam("inputCenter", 150, 150, "centre of the effect")};
    params.push_back(numberParam("inputRadius", radius, radiusMin, radiusMax, "radius in pixels"));
    if (amountKey)
        params.push_back(numberParam(amountKey, amount, amountMin, amountMax, amountDescription));
    return params;
}

} // namespace

std::vector<FilterEntry> warpFilters()
{
    constexpr double kHuge = 8.98847e307;
    return {
        {"CIAffineTransform",
         "applies a 2-D affine transform (a, b, c, d, tx, ty)",
         {inputPicture(), {"inputTransform", ParamKind::Transform, {}, 0, 0, "x' = a x + c y + tx, y' = b x + d y + ty"}},
         WorkingSpace::Linear, RenderRule::OutputExtent, affineExtent, renderAffine},
        {"CICrop",
         "keeps the part of the picture inside a rectangle",
         {inputPicture(),
          {"inputRectangle", ParamKind::Rectangle, {-kHuge, -kHuge, 2 * kHuge, 2 * kHuge}, 0, 0,
           "x, y (bottom-left corner), width, height"}},
         WorkingSpace::Bytes, RenderRule::OutputExtent, cropExtent, renderCrop},
        {"CIPerspectiveTransform",
         "maps the picture's corners onto four points",
         {inputPicture(), pointParam("inputTopLeft", 118, 484, "where the top-left corner lands"),
          pointParam("inputTopRight", 646, 507, "where the top-right corner lands"),
          pointParam("inputBottomRight", 548, 140, "where the bottom-right corner lands"),
          pointParam("inputBottomLeft", 155, 153, "where the bottom-left corner lands")},
         WorkingSpace::Linear, RenderRule::OutputExtent, perspectiveExtent, renderPerspective},
        {"CIBumpDistortion",
         "a convex or concave bulge around a point",
         discParams("inputScale", 0.5, -1, 1, "positive bulges, negative shrinks", 300, 0, 600),
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderBump},
        {"CIPinchDistortion",
         "pulls the picture towards a point",
         discParams("inputScale", 0.5, 0, 2, "strength", 300, 0, 1000),
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderPinch},
        {"CITwirlDistortion",
         "turns the picture around a point, fully at the centre, not at the rim",
         discParams("inputAngle", kPi, -4 * kPi, 4 * kPi, "turn at the centre, radians", 300, 0, 500),
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderSwirl<false>},
        {"CIVortexDistortion",
         "a tight spiral around a point",
         discParams("inputAngle", 56.55, -30 * kPi, 30 * kPi, "turn at the centre, radians", 300, 0, 800),
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderSwirl<true>},
        {"CIHoleDistortion",
         "opens a round hole and pushes the picture outward",
         discParams(nullptr, 0, 0, 0, "", 150, 0.01, 1000),
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderHole},
        // Its output has no bounds; the wrapper renders it over the input so it yields a picture.
        {"CICircleSplashDistortion",
         "keeps a disc and smears its rim outward in rays",
         discParams(nullptr, 0, 0, 0, "", 150, 0, 1000),
         WorkingSpace::Linear, RenderRule::InputExtent, planeExtent, renderCircleSplash},
        {"CIPixellate",
         "replaces the picture by squares of one colour",
         {inputPicture(), pointParam("inputCenter", 150, 150, "centre of one cell"),
          numberParam("inputScale", 8, 1, 100, "cell side in pixels")},
         WorkingSpace::Linear, RenderRule::OutputExtent, pixellateExtent, renderPixellate},
        // Its output tiles the plane; the wrapper renders it over the input so it yields a picture.
        {"CITriangleKaleidoscope",
         "repeats a triangular piece by mirroring, fading with distance",
         {inputPicture(), pointParam("inputPoint", 150, 150, "centre of the source triangle"),
          numberParam("inputSize", 700, 0, 1000, "triangle side in pixels"),
          numberParam("inputRotation", 5.924, 0, 2 * kPi, "triangle rotation, radians"),
          numberParam("inputDecay", 0.85, 0, 1, "fade per triangle side of distance; 1 none")},
         WorkingSpace::Linear, RenderRule::InputExtent, planeExtent, renderKaleidoscope},
    };
}

} // namespace vimora::service
