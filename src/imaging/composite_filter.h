#pragma once

// Two-picture blends for the editor's styles: the first argument is always the background, the
// second the picture laid on it (bottom-left aligned when the sizes differ; see blend.h for the
// formulas and extents). Every method returns a new picture at scale 1, upright, and no picture
// when the laid picture is none.

#include "imaging/blend.h"
#include "imaging/picture.h"

namespace vimora {

class CompositeFilter
{
public:
    Picture blend(BlendMode mode, const Picture &background, const Picture &image) const;

    Picture filterColorBlendMode(const Picture &background, const Picture &image) const;
    Picture filterColorBurnBlendMode(const Picture &background, const Picture &image) const;
    Picture filterColorDodgeBlendMode(const Picture &background, const Picture &image) const;
    Picture filterDarkenBlendMode(const Picture &background, const Picture &image) const;
    Picture filterDifferenceBlendMode(const Picture &background, const Picture &image) const;
    Picture filterExclusionBlendMode(const Picture &background, const Picture &image) const;
    Picture filterHardLightBlendMode(const Picture &background, const Picture &image) const;
    Picture filterHueBlendMode(const Picture &background, const Picture &image) const;
    Picture filterLightenBlendMode(const Picture &background, const Picture &image) const;
    Picture filterLuminosityBlendMode(const Picture &background, const Picture &image) const;
    Picture filterMaximumCompositing(const Picture &background, const Picture &image) const;
    Picture filterMinimumCompositing(const Picture &background, const Picture &image) const;
    Picture filterMultiplyBlendMode(const Picture &background, const Picture &image) const;
    Picture filterMultiplyCompositing(const Picture &background, const Picture &image) const;
    Picture filterOverlayBlendMode(const Picture &background, const Picture &image) const;
    Picture filterSaturationBlendMode(const Picture &background, const Picture &image) const;
    Picture filterScreenBlendMode(const Picture &background, const Picture &image) const;
    Picture filterSoftLightBlendMode(const Picture &background, const Picture &image) const;
    Picture filterAdditionCompositing(const Picture &background, const Picture &image) const;
    /// Cross-fade from image (time 0) to tarImage (time 1), as Filter's.
    Picture filterDissolveTransition(float time, const Picture &tarImage, const Picture &image) const;
};

} // namespace vimora
