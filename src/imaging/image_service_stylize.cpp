// Halftone screens of the image service: a gray picture whose ink coverage follows the
// darkness of the input, alpha unchanged.

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "imaging/image_service_families.h"
#include "imaging/simd.h"

namespace vimora::service {

namespace {

using kernels::PixelRow;
using kernels::Region;
using kernels::Space;

enum class Screen { Dot, Circular, Hatched, Line };

// Written with plain selects: the standard clamp and min return references, which keeps the
// compiler from vectorising some of these loops.
inline float smaller(float a, float b) { return b < a ? b : a; }
inline float clampUnit(float v) { return v < 0.0f ? 0.0f : (1.0f < v ? 1.0f : v); }

/// |x - round(x)|, exactly, in a form that vectorises without a rounding instruction: adding and
/// taking away 2^23 rounds |x| to a nearest integer (a tie may go either way: the distance is
/// 0.5 both ways), and the difference is exact. Floats of 2^23 and more are whole numbers.
inline float nearestIntegerDistance(float x)
{
    const float magnitude = std::min(8388608.0f, std::abs(x)); // NaN reads as whole
    return std::abs(magnitude - ((magnitude + 8388608.0f) - 8388608.0f));
}

/// Paper (1) or ink (0) of every pixel from its spot value (the screen's height there) and the
/// darkness of its colour; without branches, in two loops the compiler vectorises (one does not).
VIMORA_VECTOR_LOOP(void, inkRow,
                   (float *__restrict r, float *__restrict g, float *__restrict b, const float *__restrict spot,
                    float h, bool rootOfLevel, int n),
                   (r, g, b, spot, h, rootOfLevel, n))
{
    // r holds each pixel's threshold between the two loops.
    for (int i = 0; i < n; ++i) {
        const float level = clampUnit(0.2125f * r[i] + 0.7154f * g[i] + 0.0721f * b[i]);
        r[i] = rootOfLevel ? std::sqrt(level) : level;
    }
    for (int i = 0; i < n; ++i) {
        const float t = r[i];
        // The soft edge narrows near black and white so that they stay pure; being
        // symmetric about the threshold it keeps the white share of each period.
        const float edge = smaller(smaller(h, t), 1.0f - t);
        const float hard = spot[i] < t || t >= 1.0f ? 1.0f : 0.0f;
        const float s = clampUnit((t - spot[i] + edge) / (2.0f * edge));
        const float paper = edge <= 0.0f ? hard : s * s * (3.0f - 2.0f * s);
        r[i] = paper;
        g[i] = paper;
        b[i] = paper;
    }
}

/// Spot values of a row of n pixels for the screens that need no cosine: x0 is the image x of the
/// first pixel centre, (cx, cy) the screen's centre, y the row's image y.
VIMORA_VECTOR_LOOP_TEMPLATE((Screen kind), (kind), void, spotRow,
                            (float *__restrict spot, int n, float x0, float y, float cx, float cy, float cosA, float sinA,
                             float invWidth),
                            (spot, n, x0, y, cx, cy, cosA, sinA, invWidth))
{
    const float dy = y - cy;
    for (int i = 0; i < n; ++i) {
        const float dx = x0 + float(i) - cx;
        // Screen coordinates: the offset turned by -angle, in periods.
        const float u = (dx * cosA + dy * sinA) * invWidth;
        const float v = (-dx * sinA + dy * cosA) * invWidth;
        if constexpr (kind == Screen::Line)
            spot[i] = 1.0f - 2.0f * nearestIntegerDistance(v);
        else if constexpr (kind == Screen::Hatched)
            spot[i] = 1.0f - 2.0f * std::min(nearestIntegerDistance(u), nearestIntegerDistance(v));
        else
            spot[i] = 1.0f - 2.0f * nearestIntegerDistance(std::sqrt(dx * dx + dy * dy) * invWidth);
    }
}

/// spot = 0.5 + (across + along) / 4.
VIMORA_VECTOR_LOOP(void, sumSpots,
                   (float *__restrict spot, const float *__restrict across, const float *__restrict along, int n),
                   (spot, across, along, n))
{
    for (int i = 0; i < n; ++i)
        spot[i] = 0.5f + 0.25f * (across[i] + along[i]);
}

/// The dot screen's cosine arguments, across and along the screen, of a row of n pixels.
VIMORA_VECTOR_LOOP(void, dotArguments,
                   (float *__restrict across, float *__restrict along, int n, float x0, float y, float cx, float cy,
                    float cosA, float sinA, float invWidth),
                   (across, along, n, x0, y, cx, cy, cosA, sinA, invWidth))
{
    constexpr float twoPi = 2.0f * std::numbers::pi_v<float>;
    const float dy = y - cy;
    for (int i = 0; i < n; ++i) {
        const float dx = x0 + float(i) - cx;
        across[i] = twoPi * ((dx * cosA + dy * sinA) * invWidth);
        along[i] = twoPi * ((-dx * sinA + dy * cosA) * invWidth);
    }
}

/// Spot values of the dot screen, the sum of a cosine across and one along the screen. An unturned
/// screen repeats its column cosines on every row and its row cosine along the row: each is
/// reused when its argument is the one already seen, bit for bit.
void dotSpotRow(float *spot, const PixelRow &row, float cx, float cy, float cosA, float sinA, float invWidth)
{
    const size_t n = size_t(row.count);
    thread_local std::vector<float> across, along, seenAcross, acrossCosine, alongCosine;
    across.resize(n);
    along.resize(n);
    alongCosine.resize(n);
    if (seenAcross.size() < n) {
        seenAcross.resize(n, std::numeric_limits<float>::quiet_NaN());
        acrossCosine.resize(n);
    }
    dotArguments(across.data(), along.data(), row.count, row.x0, row.y, cx, cy, cosA, sinA, invWidth);
    float lastAlong = std::numeric_limits<float>::quiet_NaN(), lastCosine = 0;
    for (size_t i = 0; i < n; ++i) {
        if (across[i] != seenAcross[i]) {
            seenAcross[i] = across[i];
            acrossCosine[i] = std::cos(across[i]);
        }
        if (along[i] != lastAlong) {
            lastAlong = along[i];
            lastCosine = std::cos(along[i]);
        }
        alongCosine[i] = lastCosine;
    }
    sumSpots(spot, acrossCosine.data(), alongCosine.data(), row.count);
}

template <Screen kind>
QImage renderScreen(const FilterArgs &args, Region region)
{
    const QPointF centre = args.point("inputCenter");
    const float cx = float(centre.x()), cy = float(centre.y());
    const double angle = kind == Screen::Circular ? 0.0 : args.number("inputAngle");
    const float cosA = float(std::cos(angle)), sinA = float(std::sin(angle));
    const float invWidth = 1.0f / float(std::max(1e-3, args.number("inputWidth")));
    const float h = 0.5f * (1.0f - std::clamp(float(args.number("inputSharpness")), 0.0f, 1.0f));

    return kernels::mapStraight(args.input(), region, Space::Linear, [&](PixelRow &row) {
        thread_local std::vector<float> spots;
        spots.resize(size_t(row.count));
        if constexpr (kind == Screen::Dot)
            dotSpotRow(spots.data(), row, cx, cy, cosA, sinA, invWidth);
        else
            spotRow<kind>(spots.data(), row.count, row.x0, row.y, cx, cy, cosA, sinA, invWidth);
        inkRow(row.r, row.g, row.b, spots.data(), h, kind == Screen::Hatched, row.count);
    });
}

std::vector<ParamInfo> screenParams(bool withAngle)
{
    std::vector<ParamInfo> params{inputPicture(), pointParam("inputCenter", 150, 150, "origin of the screen")};
    if (withAngle)
        params.push_back(numberParam("inputAngle", 0, -std::numbers::pi, std::numbers::pi, "screen angle, radians"));
    params.push_back(numberParam("inputWidth", 6, 1, 50, "period in pixels"));
    params.push_back(numberParam("inputSharpness", 0.7, 0, 1, "1 hard edges, 0 soft"));
    return params;
}

} // namespace

std::vector<FilterEntry> stylizeFilters()
{
    return {
        {"CIDotScreen", "halftone of ink dots", screenParams(true), WorkingSpace::Linear, RenderRule::OutputExtent,
         inputExtentOf, renderScreen<Screen::Dot>},
        {"CICircularScreen", "halftone of rings around a centre", screenParams(false), WorkingSpace::Linear,
         RenderRule::OutputExtent, inputExtentOf, renderScreen<Screen::Circular>},
        {"CIHatchedScreen", "halftone of crossing lines", screenParams(true), WorkingSpace::Linear,
         RenderRule::OutputExtent, inputExtentOf, renderScreen<Screen::Hatched>},
        {"CILineScreen", "halftone of parallel lines", screenParams(true), WorkingSpace::Linear,
         RenderRule::OutputExtent, inputExtentOf, renderScreen<Screen::Line>},
    };
}

} // namespace vimora::service
