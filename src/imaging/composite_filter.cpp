#include "imaging/composite_filter.h"

namespace vimora {

Picture CompositeFilter::blend(BlendMode mode, const Picture &background, const Picture &image) const
{
    return blended(mode, background, image);
}

Picture CompositeFilter::filterColorBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Color, background, image);
}

Picture CompositeFilter::filterColorBurnBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::ColorBurn, background, image);
}

Picture CompositeFilter::filterColorDodgeBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::ColorDodge, background, image);
}

Picture CompositeFilter::filterDarkenBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Darken, background, image);
}

Picture CompositeFilter::filterDifferenceBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Difference, background, image);
}

Picture CompositeFilter::filterExclusionBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Exclusion, background, image);
}

Picture CompositeFilter::filterHardLightBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::HardLight, background, image);
}

Picture CompositeFilter::filterHueBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Hue, background, image);
}

Picture CompositeFilter::filterLightenBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Lighten, background, image);
}

Picture CompositeFilter::filterLuminosityBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Luminosity, background, image);
}

Picture CompositeFilter::filterMaximumCompositing(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Maximum, background, image);
}

Picture CompositeFilter::filterMinimumCompositing(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Minimum, background, image);
}

Picture CompositeFilter::filterMultiplyBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Multiply, background, image);
}

Picture CompositeFilter::filterMultiplyCompositing(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::MultiplyCompositing, background, image);
}

Picture CompositeFilter::filterOverlayBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Overlay, background, image);
}

Picture CompositeFilter::filterSaturationBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Saturation, background, image);
}

Picture CompositeFilter::filterScreenBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Screen, background, image);
}

Picture CompositeFilter::filterSoftLightBlendMode(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::SoftLight, background, image);
}

Picture CompositeFilter::filterAdditionCompositing(const Picture &background, const Picture &image) const
{
    return blended(BlendMode::Addition, background, image);
}

Picture CompositeFilter::filterDissolveTransition(float time, const Picture &tarImage, const Picture &image) const
{
    return dissolved(time, tarImage, image);
}

} // namespace vimora
