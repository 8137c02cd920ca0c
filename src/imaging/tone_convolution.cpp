// The neighbourhood members of the tone family: edge detection and the integer convolutions
// with bias, on the integer row engine. The engine's kernels are these tables' (tests check
// them against a plain four-loop convolution with the tables).
#include "imaging/tone.h"

#include "imaging/convolution_engine.h"
#include "imaging/pixel_support.h"

namespace vimora {

namespace {

using detail::BorderRule;
using detail::IntegerKernel;

Picture integerFilter(const Picture &picture, IntegerKernel kernel, const detail::IntegerOptions &options)
{
    if (picture.isNull())
        return {};
    const QImage src = detail::uprightAtPoints(picture);
    if (src.isNull())
        return {};
    const QImage out = detail::convolveInteger(src, kernel, options);
    return out.isNull() ? Picture() : Picture(out);
}

/// All four channels, border pixels copied from the source.
detail::IntegerOptions withBias(int bias)
{
    return {bias, BorderRule::CopySource, true};
}

} // namespace

Picture edgeDetectionWithBias(const Picture &picture, int bias)
{
    (void)bias; // accepted for its callers; the edge filter has no bias
    // The float kernel has integer weights, so its float sums are exact integers.
    return integerFilter(picture, IntegerKernel::EdgeDetection, {0, BorderRule::ZeroColour, false});
}

Picture embossWithBias(const Picture &picture, int bias)
{
    return integerFilter(picture, IntegerKernel::Emboss3, withBias(bias));
}

Picture sharpenWithBias(const Picture &picture, int bias)
{
    return integerFilter(picture, IntegerKernel::Sharpen9, withBias(bias));
}

Picture unsharpenWithBias(const Picture &picture, int bias)
{
    return integerFilter(picture, IntegerKernel::Unsharpen17, withBias(bias));
}

Picture gaussianBlurWithBias(const Picture &picture, int bias)
{
    return integerFilter(picture, IntegerKernel::Gaussian5x5, withBias(bias));
}

} // namespace vimora
