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

inline float nearestIntegerDistance(float x) { return std::abs(x - std::round(x)); }

/// Paper (1) or ink (0) of every pixel from its spot value (the screen's height there) and the
/// darkness of its colour; written without branches so that it vectorises.
VIMORA_VECTOR_LOOP(void, inkRow, (float *r, float *g, float *b, const float *spot, float h, bool rootOfLevel, int n),
                   (r, g, b, spot, h, rootOfLevel, n))
{
    for (int i = 0; i < n; ++i) {
        const float level = std::clamp(0.2125f * r[i] + 0.7154f * g[i] + 0.0721f * b[i], 0.0f, 1.0f);
        const float threshold = rootOfLevel ? std::sqrt(level) : level;
        // The soft edge narrows near black and white so that they stay pure; being
        // symmetric about the threshold it keeps the white share of each period.
        const float edge = std::min({h, threshold, 1.0f - threshold});
        const float hard = threshold >= 1.0f || spot[i] < threshold ? 1.0f : 0.0f;
        const float s = std::clamp((threshold - spot[i] + edge) / (2.0f * edge), 0.0f, 1.0f);
        const float paper = edge <= 0.0f ? hard : s * s * (3.0f - 2.0f * s);
        r[i] = g[i] = b[i] = paper;
    }
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
    constexpr float twoPi = 2.0f * std::numbers::pi_v<float>;

    return kernels::mapStraight(args.input(), region, Space::Linear, [&](PixelRow &row) {
        thread_local std::vector<float> spots, seenArgument, seenCosine;
        spots.resize(size_t(row.count));
        if (seenArgument.size() < size_t(row.count)) {
            seenArgument.resize(size_t(row.count), std::numeric_limits<float>::quiet_NaN());
            seenCosine.resize(size_t(row.count));
        }
        float *spot = spots.data();
        // An unturned screen repeats its column cosines on every row and its row cosine along
        // the row: each is reused when its argument is the one already seen, bit for bit.
        float lastArgument = std::numeric_limits<float>::quiet_NaN(), lastCosine = 0;
        auto columnCosine = [&](int i, float argument) {
            if (argument != seenArgument[size_t(i)]) {
                seenArgument[size_t(i)] = argument;
                seenCosine[size_t(i)] = std::cos(argument);
            }
            return seenCosine[size_t(i)];
        };
        auto rowCosine = [&](float argument) {
            if (argument != lastArgument) {
                lastArgument = argument;
                lastCosine = std::cos(argument);
            }
            return lastCosine;
        };
        const float dy = row.y - cy;
        for (int i = 0; i < row.count; ++i) {
            const float dx = row.x0 + float(i) - cx;
            // Screen coordinates: the offset turned by -angle, in periods.
            const float u = (dx * cosA + dy * sinA) * invWidth;
            const float v = (-dx * sinA + dy * cosA) * invWidth;
            if constexpr (kind == Screen::Line)
                spot[i] = 1.0f - 2.0f * nearestIntegerDistance(v);
            else if constexpr (kind == Screen::Hatched)
                spot[i] = 1.0f - 2.0f * std::min(nearestIntegerDistance(u), nearestIntegerDistance(v));
            else if constexpr (kind == Screen::Dot)
                spot[i] = 0.5f + 0.25f * (columnCosine(i, twoPi * u) + rowCosine(twoPi * v));
            else
                spot[i] = 1.0f - 2.0f * nearestIntegerDistance(std::sqrt(dx * dx + dy * dy) * invWidth);
        }
        inkRow(row.r, row.g, row.b, spot, h, kind == Screen::Hatched, row.count);
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
