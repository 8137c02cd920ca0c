#pragma once

// Shared by the files that define the image service's filter families.

#include <cstdint>
#include <vector>

#include "imaging/image_service.h"

namespace vimora::service {

std::vector<FilterEntry> colourFilters();
std::vector<FilterEntry> stylizeFilters();
std::vector<FilterEntry> warpFilters();
std::vector<FilterEntry> compositingFilters();
std::vector<FilterEntry> adjustmentFilters();

inline ParamInfo pictureParam(std::string_view key, std::string_view description)
{
    return {key, ParamKind::Image, {}, 0, 0, description};
}
inline ParamInfo inputPicture() { return pictureParam("inputImage", "the picture to filter"); }
inline ParamInfo numberParam(std::string_view key, double fallback, double minimum, double maximum,
                             std::string_view description)
{
    return {key, ParamKind::Number, {fallback, 0, 0, 0}, minimum, maximum, description};
}
inline ParamInfo pointParam(std::string_view key, double x, double y, std::string_view description)
{
    return {key, ParamKind::Point, {x, y, 0, 0}, 0, 0, description};
}

inline Extent inputExtentOf(const FilterArgs &args) { return args.inputExtent(); }

/// A Raster of the region holding the input's pixels where they overlap it, transparent elsewhere
/// (the input itself, shared, when the region is its own extent).
QImage inputOverRegion(const QImage &input, kernels::Region region);

/// A table of the output byte for every (alpha, colour) byte pair of a per-channel rule on
/// straight values, alpha unchanged; index FilterContext::pixelIndex(alpha, colour).
template <typename Fn>
std::vector<uint8_t> channelTable(kernels::Space space, Fn &&fn);

/// Applies a channel table to every colour sample of the input over a region.
QImage applyChannelTable(const QImage &input, kernels::Region region, const std::vector<uint8_t> &table);

template <typename Fn>
std::vector<uint8_t> channelTable(kernels::Space space, Fn &&fn)
{
    const FilterContext &context = ZELGetCIContext();
    const float *read = space == kernels::Space::Linear ? context.linearStraight() : context.encodedStraight();
    std::vector<uint8_t> table(256 * 256, 0);
    parallelChunks(
        256,
        [&](int begin, int end) {
            for (int a = std::max(begin, 1); a < end; ++a)
                for (int c = 0; c < 256; ++c) {
                    const int i = FilterContext::pixelIndex(a, c);
                    const float u = fn(read[i]);
                    const float e = space == kernels::Space::Linear ? context.encodeFast(u) : std::clamp(u, 0.0f, 1.0f);
                    table[size_t(i)] = uint8_t(std::min(std::floor(e * float(a) + 0.5f), float(a)));
                }
        },
        16);
    return table;
}

} // namespace vimora::service
