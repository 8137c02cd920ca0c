// Colour filters of the image service: per-pixel rules on working values, alpha unchanged
// unless a filter says otherwise; transparent pixels stay transparent.

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "imaging/image_service_families.h"
#include "imaging/simd.h"

namespace vimora::service {

namespace {

using kernels::PixelRow;
using kernels::PixelRow16;
using kernels::Region;
using kernels::Space;

// Rec. 709 luminance weights, used wherever a filter needs a luminance.
constexpr float kLumR = 0.2125f, kLumG = 0.7154f, kLumB = 0.0721f;

inline float luminance(float r, float g, float b) { return kLumR * r + kLumG * g + kLumB * b; }

inline float smoothstep(float t)
{
    t = std::clamp(t, 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

QImage renderExposure(const FilterArgs &args, Region region)
{
    // 2^EV on linear light; premultiplied and straight give the same result.
    const float factor = float(std::exp2(args.number("inputEV")));
    return applyChannelTable(args.input(), region, channelTable(Space::Linear, [&](float u) { return u * factor; }));
}

QImage renderGamma(const FilterArgs &args, Region region)
{
    const float power = float(args.number("inputPower"));
    return applyChannelTable(args.input(), region, channelTable(Space::Linear, [&](float u) {
                                 return u > 0.0f ? std::pow(u, power) : 0.0f;
                             }));
}

QImage renderColorControls(const FilterArgs &args, Region region)
{
    const float saturation = float(args.number("inputSaturation"));
    const float brightness = float(args.number("inputBrightness"));
    const float contrast = float(args.number("inputContrast"));
    return kernels::mapStraight(args.input(), region, Space::Encoded, [&](PixelRow &row) {
        kernels::eachPixel(row, [&](float &r, float &g, float &b) {
            const float y = luminance(r, g, b);
            r = ((y + (r - y) * saturation + brightness) - 0.5f) * contrast + 0.5f;
            g = ((y + (g - y) * saturation + brightness) - 0.5f) * contrast + 0.5f;
            b = ((y + (b - y) * saturation + brightness) - 0.5f) * contrast + 0.5f;
        });
    });
}

QImage renderHue(const FilterArgs &args, Region region)
{
    // Rotation of the colour cube about its gray axis; linear, so straight values serve.
    const double angle = args.number("inputAngle");
    const double c = std::cos(angle), s = std::sin(angle);
    const float k = float((1 - c) / 3), q = float(s / std::numbers::sqrt3), ck = float(c) + k;
    const float kmq = k - q, kpq = k + q;
    return kernels::mapStraight(args.input(), region, Space::Linear, [&](PixelRow &row) {
        kernels::eachPixel(row, [&](float &r, float &g, float &b) {
            const float r0 = r, g0 = g, b0 = b;
            r = ck * r0 + kmq * g0 + kpq * b0;
            g = kpq * r0 + ck * g0 + kmq * b0;
            b = kmq * r0 + kpq * g0 + ck * b0;
        });
    });
}

QImage renderVibrance(const FilterArgs &args, Region region)
{
    const float amount = float(args.number("inputAmount"));
    return kernels::mapStraight(args.input(), region, Space::Linear, [&](PixelRow &row) {
        kernels::eachPixel(row, [&](float &r, float &g, float &b) {
            const float mx = std::max({r, g, b}), mn = std::min({r, g, b});
            const float sat = mx - mn;
            const float y = luminance(r, g, b);
            float k;
            if (amount >= 0.0f) {
                k = 1.0f + amount * (1.0f - sat);
                // Red-to-yellow hues are where skin lies: half the boost.
                const bool skin = r == mx && g >= b;
                k = skin ? 1.0f + (k - 1.0f) * 0.5f : k;
            } else {
                k = std::max(0.0f, 1.0f + amount * (1.0f + sat));
            }
            r = y + k * (r - y);
            g = y + k * (g - y);
            b = y + k * (b - y);
        });
    });
}

QImage renderSepia(const FilterArgs &args, Region region)
{
    const float t = float(args.number("inputIntensity"));
    return kernels::mapStraight(args.input(), region, Space::Linear, [&](PixelRow &row) {
        kernels::eachPixel(row, [&](float &r, float &g, float &b) {
            const float sr = 0.393f * r + 0.769f * g + 0.189f * b;
            const float sg = 0.349f * r + 0.686f * g + 0.168f * b;
            const float sb = 0.272f * r + 0.534f * g + 0.131f * b;
            r += (sr - r) * t;
            g += (sg - g) * t;
            b += (sb - b) * t;
        });
    });
}

QImage renderPosterize(const FilterArgs &args, Region region)
{
    // n evenly spaced levels including 0 and 1.
    const float steps = float(std::max(2.0, args.number("inputLevels")) - 1.0);
    return applyChannelTable(args.input(), region, channelTable(Space::Encoded, [&](float e) {
                                 return std::floor(e * steps + 0.5f) / steps;
                             }));
}

QImage renderMaskToAlpha(const FilterArgs &args, Region region)
{
    // White with alpha m: its colour bytes equal its alpha byte, no encoding needed.
    return kernels::forEachRegionRow(args.input(), region, Space::Linear, true, [](PixelRow &row, QRgb *out) {
        for (int i = 0; i < row.count; ++i) {
            const float m = FilterContext::unitClamped(luminance(row.r[i], row.g[i], row.b[i]));
            out[i] = uint32_t(std::floor(m * 255.0f + 0.5f)) * 0x01010101u;
        }
    });
}

QImage renderVignette(const FilterArgs &args, Region region)
{
    const Extent input = args.inputExtent();
    const float cx = float(input.width / 2), cy = float(input.height / 2);
    const float halfDiagonal = float(std::hypot(input.width, input.height) / 2);
    const float radius = float(std::max(args.number("inputRadius"), 1e-6));
    const float intensity = float(args.number("inputIntensity"));
    const float scale = 1.0f / (halfDiagonal * radius);
    return kernels::mapStraight(args.input(), region, Space::Linear, [&](PixelRow &row) {
        const float dy = row.y - cy;
        for (int i = 0; i < row.count; ++i) {
            const float dx = row.x0 + float(i) - cx;
            const float f = 1.0f - intensity * smoothstep(std::sqrt(dx * dx + dy * dy) * scale);
            row.r[i] *= f;
            row.g[i] *= f;
            row.b[i] *= f;
        }
    });
}

/// Rows of a 3 x 3 neighbourhood for the noise reduction: plane[c][k] is row k - 1 of plane c
/// (0 r, 1 g, 2 b, 3 a, 4 luminance), read from column -1 to n.
struct NeighbourRows
{
    const float *plane[5][3];
};

/// The noise reduction of one row. Each pixel gathers its nine neighbours in registers, in the
/// same order for every sum (row by row, left to right), so the result does not depend on the
/// vector width.
VIMORA_VECTOR_LOOP(void, reduceNoiseRow,
                   (const NeighbourRows &rows, float *__restrict outR, float *__restrict outG,
                    float *__restrict outB, float *__restrict outA, int n, float level, float sharpness),
                   (rows, outR, outG, outB, outA, n, level, sharpness))
{
    const float *__restrict lum0 = rows.plane[4][0], *__restrict lum1 = rows.plane[4][1],
                            *__restrict lum2 = rows.plane[4][2];
    const float *__restrict r0 = rows.plane[0][0], *__restrict r1 = rows.plane[0][1], *__restrict r2 = rows.plane[0][2];
    const float *__restrict g0 = rows.plane[1][0], *__restrict g1 = rows.plane[1][1], *__restrict g2 = rows.plane[1][2];
    const float *__restrict b0 = rows.plane[2][0], *__restrict b1 = rows.plane[2][1], *__restrict b2 = rows.plane[2][2];
    const float *__restrict a0 = rows.plane[3][0], *__restrict a1 = rows.plane[3][1], *__restrict a2 = rows.plane[3][2];
    for (int x = 0; x < n; ++x) {
        const float centre = lum1[x];
        float edge = 0, close = 0;
        float sumR = 0, sumG = 0, sumB = 0, sumA = 0, meanR = 0, meanG = 0, meanB = 0, meanA = 0;
        auto neighbour = [&](const float *lum, const float *r, const float *g, const float *b, const float *a, int i)
                             __attribute__((always_inline)) {
            const float step = std::abs(lum[i] - centre);
            const bool inside = step <= level;
            edge = edge < step ? step : edge;
            close += inside ? 1.0f : 0.0f;
            sumR += inside ? r[i] : 0.0f;
            meanR += r[i];
            sumG += inside ? g[i] : 0.0f;
            meanG += g[i];
            sumB += inside ? b[i] : 0.0f;
            meanB += b[i];
            sumA += inside ? a[i] : 0.0f;
            meanA += a[i];
        };
        neighbour(lum0, r0, g0, b0, a0, x - 1);
        neighbour(lum0, r0, g0, b0, a0, x);
        neighbour(lum0, r0, g0, b0, a0, x + 1);
        neighbour(lum1, r1, g1, b1, a1, x - 1);
        neighbour(lum1, r1, g1, b1, a1, x);
        neighbour(lum1, r1, g1, b1, a1, x + 1);
        neighbour(lum2, r2, g2, b2, a2, x - 1);
        neighbour(lum2, r2, g2, b2, a2, x);
        neighbour(lum2, r2, g2, b2, a2, x + 1);
        const bool flat = edge <= level;
        outR[x] = flat ? sumR / close : r1[x] + sharpness * (r1[x] - meanR / 9.0f);
        outG[x] = flat ? sumG / close : g1[x] + sharpness * (g1[x] - meanG / 9.0f);
        outB[x] = flat ? sumB / close : b1[x] + sharpness * (b1[x] - meanB / 9.0f);
        outA[x] = flat ? sumA / close : a1[x] + sharpness * (a1[x] - meanA / 9.0f);
    }
}

QImage renderNoiseReduction(const FilterArgs &args, Region region)
{
    // Flat neighbourhoods (every luminance step within the noise level) are smoothed over the
    // pixels close to the centre; at edges the pixel is sharpened against the 3 x 3 mean.
    const float level = float(args.number("inputNoiseLevel"));
    const float sharpness = float(args.number("inputSharpness"));
    const QImage reduced = kernels::neighbourhood(args.input(), 1, [&](const kernels::Window &w, PixelRow &out) {
        NeighbourRows rows;
        for (int c = 0; c < 5; ++c)
            for (int dy = -1; dy <= 1; ++dy)
                rows.plane[c][dy + 1] = w.plane(c, dy);
        reduceNoiseRow(rows, out.r, out.g, out.b, out.a, w.count(), level, sharpness);
    });
    return inputOverRegion(reduced, region);
}

/// The screen v + kb - v kb / 65535 of 16-bit values, kb = the blur scaled by k / 65536, each
/// product rounded to nearest (the / 65535 by the exact shift form for products below 2^32).
VIMORA_VECTOR_LOOP(void, screen16, (uint16_t *value, const uint16_t *blur, uint32_t k, int count),
                   (value, blur, k, count))
{
    for (int i = 0; i < count; ++i) {
        const uint32_t v = value[i];
        const uint32_t kb = (k * blur[i] + 0x8000u) >> 16;
        const uint32_t m = v * kb + 0x8000u;
        value[i] = uint16_t(v + kb - ((m + (m >> 16)) >> 16));
    }
}

QImage renderBloom(const FilterArgs &args, Region region)
{
    // Screen of the input with its blur scaled by the intensity, on every component; in 16-bit
    // integers where the blur's taps are exact.
    const float k = float(args.number("inputIntensity"));
    const double sigma = std::max(0.0, args.number("inputRadius"));
    if (!kernels::blurTaps(sigma).empty() && k >= 0.0f && k <= 1.0f) {
        const uint32_t k16 = uint32_t(std::lround(double(k) * 65536.0));
        return kernels::blurThen16(args.input(), region, sigma, [&](PixelRow16 &p, const PixelRow16 &blurred) {
            screen16(p.r, blurred.r, k16, p.count);
            screen16(p.g, blurred.g, k16, p.count);
            screen16(p.b, blurred.b, k16, p.count);
            screen16(p.a, blurred.a, k16, p.count);
        });
    }
    return kernels::blurThen(args.input(), region, sigma, [&](PixelRow &p, const PixelRow &blurred) {
        float *planes[4] = {p.r, p.g, p.b, p.a};
        const float *blur[4] = {blurred.r, blurred.g, blurred.b, blurred.a};
        for (int c = 0; c < 4; ++c) {
            float *__restrict v = planes[c];
            const float *__restrict bl = blur[c];
            for (int i = 0; i < p.count; ++i) {
                const float kb = k * bl[i];
                v[i] = v[i] + kb - v[i] * kb;
            }
        }
    });
}

Extent bloomExtent(const FilterArgs &args)
{
    return args.inputExtent().grown(kernels::blurReach(std::max(0.0, args.number("inputRadius"))));
}

} // namespace

std::vector<FilterEntry> colourFilters()
{
    constexpr double pi = std::numbers::pi;
    return {
        {"CIExposureAdjust",
         "brightens or darkens by photographic stops",
         {inputPicture(), numberParam("inputEV", 0, -10, 10, "exposure in stops")},
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderExposure},
        {"CIGammaAdjust",
         "changes mid-tone brightness by a power law",
         {inputPicture(), numberParam("inputPower", 1, 0.25, 4, "exponent; larger is darker")},
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderGamma},
        {"CIColorControls",
         "saturation, brightness and contrast",
         {inputPicture(), numberParam("inputSaturation", 1, 0, 2, "0 gray, 1 unchanged, above 1 stronger"),
          numberParam("inputBrightness", 0, -1, 1, "added to every channel"),
          numberParam("inputContrast", 1, 0.25, 4, "scale about mid gray")},
         WorkingSpace::Encoded, RenderRule::OutputExtent, inputExtentOf, renderColorControls},
        {"CIHueAdjust",
         "rotates every hue by an angle",
         {inputPicture(), numberParam("inputAngle", 0, -pi, pi, "radians")},
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderHue},
        {"CIVibrance",
         "raises saturation mostly in weak colours, sparing skin tones",
         {inputPicture(), numberParam("inputAmount", 0, -1, 1, "negative desaturates")},
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderVibrance},
        {"CISepiaTone",
         "maps colours to shades of brown",
         {inputPicture(), numberParam("inputIntensity", 1, 0, 1, "0 unchanged, 1 full sepia")},
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderSepia},
        {"CIColorPosterize",
         "reduces every channel to evenly spaced levels",
         {inputPicture(), numberParam("inputLevels", 6, 2, 30, "levels per channel (at least 2)")},
         WorkingSpace::Encoded, RenderRule::OutputExtent, inputExtentOf, renderPosterize},
        {"CIMaskToAlpha",
         "turns a gray picture into white whose alpha is the gray level",
         {inputPicture()},
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderMaskToAlpha},
        {"CIVignette",
         "darkens (or with negative intensity brightens) towards the edges",
         {inputPicture(), numberParam("inputRadius", 1, 0, 2, "reach, in half diagonals"),
          numberParam("inputIntensity", 0, -1, 1, "strength")},
         WorkingSpace::Linear, RenderRule::OutputExtent, inputExtentOf, renderVignette},
        {"CINoiseReduction",
         "smooths small luminance differences and sharpens larger ones",
         {inputPicture(), numberParam("inputNoiseLevel", 0.02, 0, 0.1, "largest luminance step counted as noise"),
          numberParam("inputSharpness", 0.4, 0, 2, "sharpening at edges")},
         WorkingSpace::Linear, RenderRule::InputExtent, inputExtentOf, renderNoiseReduction},
        {"CIBloom",
         "softens edges and adds a glow that spreads past the picture",
         {inputPicture(), numberParam("inputRadius", 10, 0, 100, "blur radius (sigma) in pixels"),
          numberParam("inputIntensity", 0.5, 0, 1, "glow strength")},
         WorkingSpace::Linear, RenderRule::OutputExtent, bloomExtent, renderBloom},
    };
}

} // namespace vimora::service
