#pragma once

// Convolution filters: a small weight matrix (kernel) run over each colour channel.
//
// Rules for every function here:
// - A null picture gives a null picture; a bad argument (kernel too short for its size,
//   kernel size or spread out of range) gives a null picture too.
// - The picture is worked on as shown (orientation applied) at its pixel size; the result
//   has scale 1 and is upright.
// - Colour channels are filtered as stored (premultiplied); alpha is copied unchanged.
// - Kernel entry (p, q) of a P x Q kernel weighs the input pixel p - (P - 1) / 2 rows below and
//   q - (Q - 1) / 2 columns right of the output pixel: the kernel is applied as stored, not
//   mirrored. Sums are single-precision floats.
// - Outputs whose kernel window would leave the picture get colour 0 (alpha kept): a black
//   frame (P - 1) / 2 rows deep at top and bottom, (Q - 1) / 2 columns at left and right.
// - Each value is truncated toward zero into a byte, after adding 1/512 so that the rounding
//   error of a single-precision sum cannot drop it a level (flat areas keep their value under
//   normalised kernels). Values outside 0..255 saturate whether or not clipping is asked for.

#include <array>
#include <span>

#include "imaging/picture.h"

namespace vimora {

/// Kernel size codes.
inline constexpr int kKernel3x3 = 0;
inline constexpr int kKernel5x5 = 1;
inline constexpr int kKernelRowsCols = 2;

// Kernels, row by row, top row first.
inline constexpr std::array<float, 9> kGaussian3x3Kernel = {1 / 16.f, 1 / 8.f, 1 / 16.f, 1 / 8.f, 1 / 4.f,
                                                            1 / 8.f, 1 / 16.f, 1 / 8.f, 1 / 16.f};
inline constexpr std::array<float, 25> kGaussian5x5Kernel = {
    1 / 256.f,  4 / 256.f,  6 / 256.f,  4 / 256.f,  1 / 256.f,  4 / 256.f, 16 / 256.f, 24 / 256.f, 16 / 256.f,
    4 / 256.f,  6 / 256.f,  24 / 256.f, 36 / 256.f, 24 / 256.f, 6 / 256.f, 4 / 256.f,  16 / 256.f, 24 / 256.f,
    16 / 256.f, 4 / 256.f,  1 / 256.f,  4 / 256.f,  6 / 256.f,  4 / 256.f, 1 / 256.f};
inline constexpr std::array<float, 9> kBoxBlur3x3Kernel = {0.111111112f, 0.111111112f, 0.111111112f,
                                                           0.111111112f, 0.111111112f, 0.111111112f,
                                                           0.111111112f, 0.111111112f, 0.111111112f};
inline constexpr std::array<float, 9> kSharpen3x3Kernel = {0, -0.25f, 0, -0.25f, 2, -0.25f, 0, -0.25f, 0};
inline constexpr std::array<float, 9> kEmboss3x3Kernel = {-2, -1, 0, -1, 1, 1, 0, 1, 2};
/// Stored with five-digit literals (2/9, 5/18, 1/18, 4/9, 5/9 rounded) and normalised only on a
/// copy at the time of use, so its weights come out as the sum of these literals dictates.
inline constexpr std::array<float, 25> kDiagonalMotionBlur5x5Kernel = {
    0.22222f, 0.27778f, 0.22222f, 0.05556f, 0.0f,     0.27778f, 0.44444f, 0.44444f, 0.22222f,
    0.05556f, 0.22222f, 0.44444f, 0.55556f, 0.44444f, 0.22222f, 0.05556f, 0.22222f, 0.44444f,
    0.44444f, 0.27778f, 0.0f,     0.05556f, 0.22222f, 0.27778f, 0.22222f};

/// The general operation. sizeCode kKernel3x3 or kKernel5x5 fix the kernel size;
/// kKernelRowsCols uses matrixRows x matrixCols. clipValues clamps to 0..255 before truncation.
Picture imageByApplyingMatrix(const Picture &picture, std::span<const float> kernel, int sizeCode, int matrixRows,
                              int matrixCols, bool clipValues);
/// sizeCode kKernel3x3 or kKernel5x5, no clipping.
Picture imageByApplyingMatrix(const Picture &picture, std::span<const float> kernel, int sizeCode);
/// sizeCode kKernel3x3 or kKernel5x5.
Picture imageByApplyingMatrix(const Picture &picture, std::span<const float> kernel, int sizeCode, bool clipValues);

Picture imageByApplyingGaussianBlur3x3(const Picture &picture);
Picture imageByApplyingGaussianBlur5x5(const Picture &picture);
Picture imageByApplyingBoxBlur3x3(const Picture &picture);
/// Clipped.
Picture imageByApplyingSharpen3x3(const Picture &picture);
/// Clipped. Negative weights lie up and left, positive ones down and right.
Picture imageByApplyingEmboss3x3(const Picture &picture);
/// Clipped; the stored kernel normalised by its own sum.
Picture imageByApplyingDiagonalMotionBlur5x5(const Picture &picture);

/// One n x n Gaussian pass (n from 1 to kMaxOnePassGaussianSize; odd sizes are centred),
/// weights normalised by their sum. A spread that is not positive gives a null picture.
Picture imageByApplyingOnePassGaussianBlurOfSize(const Picture &picture, int size, float sigmaSquared);
/// A horizontal 1 x n pass, truncated to bytes, then a vertical n x 1 pass over that result
/// (n from 1 to kMaxGaussianSize).
Picture imageByApplyingGaussianBlurOfSize(const Picture &picture, int size, float sigmaSquared);

inline constexpr int kMaxOnePassGaussianSize = 255;
inline constexpr int kMaxGaussianSize = 1023;

/// exp(-(x^2 + y^2) / (2 sigma^2)) / sqrt(2 pi sigma^2): the exponent in single precision,
/// e raised to it and the factor in double precision, the product rounded to single.
float gausValueAt(float x, float y, float sigmaSq);
/// exp(-x^2 / (2 sigma^2)) / sqrt(2 pi sigma^2), with the same precision rules.
float gaussianValueFor(float x, float sigmaSq);

/// Divides every element in place by the single-precision sum of all elements, summed in index
/// order. Does nothing for a count of 0 or less.
void normaliseMatrix(float *matrix, int count);

} // namespace vimora
