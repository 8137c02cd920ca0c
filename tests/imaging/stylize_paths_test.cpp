// The vectorised halftone screens, noise reduction and kaleidoscope against the plain rules they
// replace: each rule is written here the direct way, one pixel at a time, and the filters must
// give its bytes (bit for bit where only the loop changed, within a byte where the kaleidoscope
// now folds in closed form and fades through its own power of two).
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "imaging/image_service.h"
#include "imaging/kernels.h"
#include "pixel_test_support.h"
#include "support/pixel_compare.h"

using namespace vimora;
using namespace vimora::kernels;
using vimora::test::imagesEqual;
using vimora::test::noisyRaster;
using vimora::test::pixelAt;

namespace {

constexpr double kPi = std::numbers::pi;

enum class Screen { Dot, Circular, Hatched, Line };

/// A halftone screen one pixel at a time, with the library's rounding: paper or ink from the
/// spot height against the colour's level.
QImage plainScreen(const QImage &src, Screen kind, QPointF centre, double angle, double width, double sharpness)
{
    const float cx = float(centre.x()), cy = float(centre.y());
    const float cosA = float(std::cos(angle)), sinA = float(std::sin(angle));
    const float invWidth = 1.0f / float(std::max(1e-3, width));
    const float h = 0.5f * (1.0f - std::clamp(float(sharpness), 0.0f, 1.0f));
    constexpr float twoPi = 2.0f * std::numbers::pi_v<float>;
    auto distance = [](float x) { return std::abs(x - std::round(x)); };
    return mapStraight(src, regionOf(src), Space::Linear, [&](PixelRow &row) {
        const float dy = row.y - cy;
        for (int i = 0; i < row.count; ++i) {
            const float dx = row.x0 + float(i) - cx;
            const float u = (dx * cosA + dy * sinA) * invWidth;
            const float v = (-dx * sinA + dy * cosA) * invWidth;
            float spot;
            if (kind == Screen::Dot)
                spot = 0.5f + 0.25f * (std::cos(twoPi * u) + std::cos(twoPi * v));
            else if (kind == Screen::Line)
                spot = 1.0f - 2.0f * distance(v);
            else if (kind == Screen::Hatched)
                spot = 1.0f - 2.0f * std::min(distance(u), distance(v));
            else
                spot = 1.0f - 2.0f * distance(std::sqrt(dx * dx + dy * dy) * invWidth);
            const float level =
                std::clamp(0.2125f * row.r[i] + 0.7154f * row.g[i] + 0.0721f * row.b[i], 0.0f, 1.0f);
            const float threshold = kind == Screen::Hatched ? std::sqrt(level) : level;
            const float edge = std::min({h, threshold, 1.0f - threshold});
            float paper;
            if (edge <= 0.0f) {
                paper = threshold >= 1.0f || spot < threshold ? 1.0f : 0.0f;
            } else {
                const float s = std::clamp((threshold - spot + edge) / (2.0f * edge), 0.0f, 1.0f);
                paper = s * s * (3.0f - 2.0f * s);
            }
            row.r[i] = row.g[i] = row.b[i] = paper;
        }
    });
}

/// Noise reduction one pixel at a time: the steps of the nine neighbours' luminance against
/// the centre's, summed row by row, left to right.
QImage plainNoiseReduction(const QImage &src, float level, float sharpness)
{
    return neighbourhood(src, 1, [&](const Window &w, PixelRow &out) {
        float *planes[4] = {out.r, out.g, out.b, out.a};
        for (int x = 0; x < w.count(); ++x) {
            float edge = 0, close = 0, sum[4] = {}, mean[4] = {};
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const float step = std::abs(w.at(4, dy, x + dx) - w.at(4, 0, x));
                    edge = std::max(edge, step);
                    close += step <= level ? 1.0f : 0.0f;
                    for (int c = 0; c < 4; ++c) {
                        sum[c] += step <= level ? w.at(c, dy, x + dx) : 0.0f;
                        mean[c] += w.at(c, dy, x + dx);
                    }
                }
            for (int c = 0; c < 4; ++c) {
                const float p = w.at(c, 0, x);
                planes[c][x] = edge <= level ? sum[c] / close : p + sharpness * (p - mean[c] / 9.0f);
            }
        }
    });
}

double decode(double e)
{
    return e <= 0.04045 ? e / 12.92 : std::pow((e + 0.055) / 1.055, 2.4);
}

double encode(double l)
{
    l = std::clamp(l, 0.0, 1.0);
    return l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
}

/// Where the kaleidoscope reads image point (x, y): mirrored across the triangle's edges, one
/// edge at a time, for as long as it lies outside.
QPointF foldByReflections(double x, double y, QPointF point, double side, double rotation)
{
    const double inradius = side / (2 * std::numbers::sqrt3);
    double qx = x - point.x(), qy = y - point.y();
    for (int step = 0; step < 100000; ++step) {
        int edge = -1;
        double beyond = 1e-9;
        double nx = 0, ny = 0;
        for (int k = 0; k < 3; ++k) {
            const double phi = rotation + kPi / 2 + 2 * kPi * k / 3;
            const double d = -qx * std::cos(phi) - qy * std::sin(phi) - inradius;
            if (d > beyond) {
                beyond = d;
                edge = k;
                nx = -std::cos(phi);
                ny = -std::sin(phi);
            }
        }
        if (edge < 0)
            break;
        qx -= 2 * beyond * nx;
        qy -= 2 * beyond * ny;
    }
    return {point.x() + qx, point.y() + qy};
}

/// Premultiplied linear red, green, blue and alpha of an opaque picture sampled bilinearly at
/// image point p, transparent beyond its edges.
std::array<double, 4> sampleAt(const QImage &src, QPointF p)
{
    const double u = p.x() - 0.5, v = src.height() - p.y() - 0.5;
    const int x0 = int(std::floor(u)), y0 = int(std::floor(v));
    const double fx = u - x0, fy = v - y0;
    std::array<double, 4> sum{};
    for (int dy = 0; dy <= 1; ++dy)
        for (int dx = 0; dx <= 1; ++dx) {
            const int x = x0 + dx, y = y0 + dy;
            if (x < 0 || y < 0 || x >= src.width() || y >= src.height())
                continue;
            const double weight = (dx ? fx : 1 - fx) * (dy ? fy : 1 - fy);
            const QRgb tap = pixelAt(src, x, y);
            sum[0] += weight * decode(qRed(tap) / 255.0);
            sum[1] += weight * decode(qGreen(tap) / 255.0);
            sum[2] += weight * decode(qBlue(tap) / 255.0);
            sum[3] += weight;
        }
    return sum;
}

QImage smoothPhoto(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgb(int(127 + 120 * std::sin(x * 0.3 + y * 0.05)), (x * 5 + y * 3) % 256,
                                      int(127 + 120 * std::cos(y * 0.2))));
    return image;
}

} // namespace

TEST(ScreenPaths, EveryScreenGivesThePlainRulesBytes)
{
    // Translucent noise; periods whose half-way points fall on pixel rows (ties of the nearest
    // line); centres inside, off a pixel centre and far outside (negative coordinates, values
    // beyond 2^23 periods); turned and unturned; hard and soft edges; a width of 37, not a
    // multiple of any vector.
    const QImage src = noisyRaster(37, 19, 11);
    const struct
    {
        Screen kind;
        const char *name;
    } screens[] = {{Screen::Dot, "CIDotScreen"}, {Screen::Circular, "CICircularScreen"}, {Screen::Hatched, "CIHatchedScreen"},
                   {Screen::Line, "CILineScreen"}};
    for (const auto &screen : screens)
        for (const double width : {2.0, 6.0, 7.3})
            for (const QPointF centre : {QPointF(0, 0), QPointF(10.5, 3.5), QPointF(-250000.25, 3e7)})
                for (const double angle : {0.0, 0.4, -2.0})
                    for (const double sharpness : {0.0, 0.7, 1.0}) {
                        // The circular screen has no angle.
                        const bool turns = screen.kind != Screen::Circular;
                        if (!turns && angle != 0.0)
                            continue;
                        const QImage plain = plainScreen(src, screen.kind, centre, angle, width, sharpness);
                        ImageFilter filter(screen.name);
                        filter.setValue("inputImage", Picture(src));
                        filter.setValue("inputCenter", centre);
                        if (turns)
                            filter.setValue("inputAngle", angle);
                        filter.setValue("inputWidth", width);
                        filter.setValue("inputSharpness", sharpness);
                        const QImage fast = filter.renderForWrapper().bitmap();
                        ASSERT_TRUE(imagesEqual(fast, plain))
                            << screen.name << " width " << width << " centre " << centre.x() << "," << centre.y()
                            << " angle " << angle << " sharpness " << sharpness;
                    }
}

TEST(NoiseReductionPaths, GivesThePlainRulesBytes)
{
    // Translucent noise (transparent pixels included), a hard edge, and pictures one pixel
    // wide or high where every neighbour is an edge pixel repeated.
    QImage edge = noisyRaster(21, 9, 5, true);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 21; ++x)
            if (x > 6 + y)
                edge.setPixel(x, y, qRgba(250, 250, 250, 255));
    QImage withHoles = noisyRaster(37, 13, 3);
    for (int x = 0; x < 37; x += 5)
        withHoles.setPixel(x, x % 13, 0);
    for (const QImage &src : {withHoles, edge, noisyRaster(1, 6, 9), noisyRaster(9, 1, 4)})
        for (const double level : {0.0, 0.02, 0.1})
            for (const double sharpness : {0.0, 0.4, 2.0}) {
                const QImage plain = plainNoiseReduction(src, float(level), float(sharpness));
                const QImage fast = applyImageFilter("CINoiseReduction", Picture(src),
                                                     {{"inputNoiseLevel", level}, {"inputSharpness", sharpness}})
                                        .bitmap();
                ASSERT_TRUE(imagesEqual(fast, plain)) << src.width() << " x " << src.height() << " level " << level
                                                      << " sharpness " << sharpness;
            }
}

TEST(KaleidoscopePaths, ReadsWhereTheMirrorsSendEachPointAndFadesWithDistance)
{
    // A smooth picture, so a point read off by a fraction of a pixel changes a byte by one at
    // most while a point in the wrong copy shows. A triangle two pixels wide sends the far
    // corners through well over a hundred reflections; one triangle reaches past the corner
    // of the picture, where it reads transparent.
    const QImage src = smoothPhoto(120, 90);
    const struct
    {
        QPointF point;
        double side, rotation, decay;
    } cases[] = {{{61.3, 44.6}, 40, 0.3, 1.0},
                 {{61.3, 44.6}, 25, 5.924, 0.6},
                 {{61.3, 44.6}, 2, 1.0, 1.0},
                 {{61.3, 44.6}, 33, 2.2, 0.0},
                 {{4.0, 87.5}, 30, 0.7, 0.8}};
    for (const auto &c : cases) {
        const QImage out = applyImageFilter("CITriangleKaleidoscope", Picture(src),
                                            {{"inputPoint", c.point},
                                             {"inputSize", c.side},
                                             {"inputRotation", c.rotation},
                                             {"inputDecay", c.decay}})
                               .bitmap();
        ASSERT_EQ(out.size(), src.size());
        for (int j = 0; j < out.height(); ++j)
            for (int i = 0; i < out.width(); ++i) {
                const double x = i + 0.5, y = out.height() - j - 0.5;
                const std::array<double, 4> sample = sampleAt(src, foldByReflections(x, y, c.point, c.side, c.rotation));
                const double fade = std::pow(c.decay, std::hypot(x - c.point.x(), y - c.point.y()) / c.side);
                const QRgb p = pixelAt(out, i, j);
                const int alpha = int(std::floor(sample[3] * 255 + 0.5));
                ASSERT_NEAR(qAlpha(p), alpha, 1) << "pixel " << i << "," << j << " side " << c.side;
                const int channels[3] = {qRed(p), qGreen(p), qBlue(p)};
                for (int k = 0; k < 3; ++k) {
                    const double straight = sample[3] > 0 ? sample[size_t(k)] * fade / sample[3] : 0;
                    const int expected = std::min(alpha, int(std::floor(encode(straight) * sample[3] * 255 + 0.5)));
                    ASSERT_NEAR(channels[k], expected, 1)
                        << "pixel " << i << "," << j << " side " << c.side << " decay " << c.decay;
                }
            }
    }
}

TEST(KaleidoscopePaths, ATriangleOutsideThePictureGivesATransparentPicture)
{
    const QImage out = applyImageFilter("CITriangleKaleidoscope", Picture(smoothPhoto(40, 30)),
                                        {{"inputPoint", QPointF(-300, 500)}, {"inputSize", 50.0}})
                           .bitmap();
    ASSERT_EQ(out.size(), QSize(40, 30));
    EXPECT_TRUE(imagesEqual(out, vimora::test::filledRaster(40, 30, 0)));
}
