// Halftone screens of the image service: a gray picture whose ink coverage follows the
// darkness of the input, alpha unchanged.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "imaging/image_service_families.h"

namespace vimora::service {

namespace {

using kernels::PixelRow;
using kernels::Region;
using kernels::Space;

enum class Screen { Dot, Circular, Hatched, Line };

inline float nearestIntegerDistance(float x) { return std::abs(x - std::round(x)); }

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
        const float dy = row.y - cy;
        for (int i = 0; i < row.count; ++i) {
            const float dx = row.x0 + float(i) - cx;
            // Screen coordinates: the offset turned by -angle, in periods.
            const float u = (dx * cosA + dy * sinA) * invWidth;
            const float v = (-dx * sinA + dy * cosA) * invWidth;
            const float level = std::clamp(0.2125f * row.r[i] + 0.7154f * row.g[i] + 0.0721f * row.b[i], 0.0f, 1.0f);
            float spot, threshold = level;
            if constexpr (kind == Screen::Line) {
                spot = 1.0f - 2.0f * nearestIntegerDistance(v);
            } else if constexpr (kind == Screen::Hatched) {
                spot = 1.0f - 2.0f * std::min(nearestIntegerDistance(u), nearestIntegerDistance(v));
                threshold = std::sqrt(level);
            } else if constexpr (kind == Screen::Dot) {
                spot = 0.5f + 0.25f * (std::cos(twoPi * u) + std::cos(twoPi * v));
            } else {
                spot = 1.0f - 2.0f * nearestIntegerDistance(std::sqrt(dx * dx + dy * dy) * invWidth);
            }
            // The soft edge narrows near black and white so that they stay pure; being
            // symmetric about the threshold it keeps the white share of each period.
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
