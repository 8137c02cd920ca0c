#pragma once

// The row engines behind the convolution filters (internal). Each runs row-parallel over
// bands of output rows; a band keeps the few input rows its window needs in a small ring,
// so nothing picture-sized is allocated besides the result. Rasters are walked as
// interleaved bytes, four per pixel, neighbours four bytes apart.

#include <span>

#include <QImage>

namespace vimora::detail {

/// What happens to pixels whose kernel window would leave the picture.
enum class BorderRule {
    ZeroColour, ///< colour 0, alpha kept
    CopySource, ///< the source pixel unchanged
};

/// The integer kernels, each with its own fused row code. Every output sample is the kernel's
/// value, truncated toward zero and clamped to 0..255:
enum class IntegerKernel {
    Gaussian3x3,   ///< (1 2 1 outer 1 2 1) / 16
    Gaussian5x5,   ///< ((1 4 6 4 1 outer 1 4 6 4 1) + bias) / 256
    Box3x3,        ///< (3 x 3 box sum) / 9
    EdgeDetection, ///< 8 x centre - its eight neighbours
    Sharpen9,      ///< 9 x centre - its eight neighbours + bias
    Unsharpen17,   ///< (17 x centre - its eight neighbours + bias) / 9
    SharpenCross,  ///< (8 x centre - the four side neighbours) / 4
    Emboss7,       ///< -2 -1 0 ; -1 1 1 ; 0 1 2
    Emboss3,       ///< -2 0 0 ; 0 1 0 ; 0 0 2, + bias
};

struct IntegerOptions
{
    int bias = 0; ///< for the kernels that take one
    BorderRule border = BorderRule::ZeroColour;
    bool filterAlpha = false; ///< false: alpha copied from the source
};

/// Applies an integer kernel; null when the result cannot be allocated.
QImage convolveInteger(const QImage &src, IntegerKernel kernel, const IntegerOptions &options);

/// The general float operation: kernel rows x cols applied to the colour channels,
/// single-precision sums in row-major kernel order, frame of colour 0, alpha copied, values
/// saturated and truncated (with a tolerance of 1/512 for the sums' rounding error).
QImage convolveFloat(const QImage &src, std::span<const float> kernel, int rows, int cols);

/// taps applied as a 1 x n kernel, truncated to bytes, then as an n x 1 kernel over that.
QImage convolveFloatTwoPass(const QImage &src, std::span<const float> taps);

} // namespace vimora::detail
