#pragma once

// Two-picture blend and compositing modes of the image service. For every mode:
// - The picture laid on top is the source S ("inputImage"), the first argument of the catalogue
//   methods the backdrop B ("inputBackgroundImage"). Both keep their own extents, so pictures of
//   different sizes are aligned at their bottom-left corners; the result covers the union of the
//   two (the intersection for minimum and multiply compositing).
// - Blend modes mix straight linear colours and combine coverage once, as the PDF and W3C
//   compositing rules do: co = (1 - ab) cs + (1 - as) cb + as ab Bmix(Cb, Cs), ao = as + ab - as ab.
// - Compositing modes combine the premultiplied components directly, alpha included.

#include <string_view>

#include "imaging/picture.h"

namespace vimora {

enum class BlendMode {
    Multiply,
    Screen,
    Overlay,
    Darken,
    Lighten,
    ColorDodge,
    ColorBurn,
    HardLight,
    SoftLight,
    Difference,
    Exclusion,
    Hue,
    Saturation,
    Color,
    Luminosity,
    // Component-wise compositing:
    Addition,
    Maximum,
    Minimum,
    MultiplyCompositing,
};

inline constexpr int kBlendModeCount = int(BlendMode::MultiplyCompositing) + 1;

/// The service filter name of a mode ("CIOverlayBlendMode").
std::string_view blendFilterName(BlendMode mode);

/// The picture blended over the background in the given mode. No picture when the picture is
/// none; a missing background counts as transparent.
Picture blended(BlendMode mode, const Picture &background, const Picture &image);

/// Cross-fade from the picture (time 0) to the target (time 1) in premultiplied linear light,
/// bottom-left aligned, over the union of both; time is clamped to 0..1.
Picture dissolved(double time, const Picture &target, const Picture &image);

} // namespace vimora
