#pragma once

// Tone and colour filters: point filters over the colour samples, grayscale, opacity, sepia,
// edge detection and the integer convolutions with bias.
//
// Rules for every function here:
// - A null picture gives a null picture.
// - Samples are used as stored (premultiplied); nothing is divided by alpha, so a filter may
//   leave colour samples above their alpha (invert does), as the later filters expect.
// - Float arithmetic is single precision; a value is clamped to 0..255 and truncated toward
//   zero into its byte.
// - Filters whose result keeps the source's scale and orientation (brighten, contrast,
//   grayscale) work on the bitmap as stored. All others work on the picture as shown, at its
//   size in points, and return it upright at scale 1.
// - Alpha is kept unless a function says otherwise.

#include <array>
#include <cstdint>

#include "imaging/picture.h"

namespace vimora {

// Integer kernels of the convolutions with bias, row by row, and their divisors.
inline constexpr std::array<int16_t, 9> kEmbossKernel = {-2, 0, 0, 0, 1, 0, 0, 0, 2};
inline constexpr int kEmbossDivisor = 1;
inline constexpr std::array<int16_t, 9> kSharpenKernel = {-1, -1, -1, -1, 9, -1, -1, -1, -1};
inline constexpr int kSharpenDivisor = 1;
inline constexpr std::array<int16_t, 9> kUnsharpenKernel = {-1, -1, -1, -1, 17, -1, -1, -1, -1};
inline constexpr int kUnsharpenDivisor = 9;
inline constexpr std::array<int16_t, 25> s_gaussianblur_kernel_5x5 = {1, 4,  6,  4,  1, 4,  16, 24, 16, 4, 6, 24, 36,
                                                                      24, 6, 4, 16, 24, 16, 4, 1, 4,  6,  4,  1};
inline constexpr int kGaussianBlurDivisor = 256;
/// Edge detection runs this float kernel on the colour channels.
inline constexpr std::array<float, 9> kEdgeDetectionKernel = {-1, -1, -1, -1, 8, -1, -1, -1, -1};

// Sepia matrix: new channel = red x its first factor + green x its second + blue x its third.
inline constexpr float sepiaFactorRedRed = 0.393f;
inline constexpr float sepiaFactorRedGreen = 0.769f;
inline constexpr float sepiaFactorRedBlue = 0.189f;
inline constexpr float sepiaFactorGreenRed = 0.349f;
inline constexpr float sepiaFactorGreenGreen = 0.686f;
inline constexpr float sepiaFactorGreenBlue = 0.168f;
inline constexpr float sepiaFactorBlueRed = 0.272f;
inline constexpr float sepiaFactorBlueGreen = 0.534f;
inline constexpr float sepiaFactorBlueBlue = 0.131f;

/// x + value. Keeps scale and orientation.
Picture brightenWithValue(const Picture &picture, float value);
/// (x - 128) x F + 128 with F = ((C + 255) x 259) / ((259 - C) x 255). C is about -255..255;
/// at C = 259 (F infinite) samples go to 0 or 255 and 128 stays. Keeps scale and orientation.
Picture contrastAdjustmentWithValue(const Picture &picture, float value);
/// 255 x (x / 255) ^ gamma.
Picture gammaCorrectionWithValue(const Picture &picture, float gamma);
/// Opaque gray: the stored colour composited over black and weighted 0.299 / 0.587 / 0.114
/// (77 / 150 / 29 over 256, rounded), so transparent areas turn black and colour samples above
/// their alpha add light. Keeps scale and orientation.
Picture grayscale(const Picture &picture);
/// 255 - x on the colour samples: a transparent pixel becomes colour 255 over alpha 0.
Picture invert(const Picture &picture);
/// Every sample, alpha included, times value (clamped to 0..1), rounded to nearest.
Picture opacity(const Picture &picture, float value);
/// Sepia tone through the image service ("CISepiaTone", intensity 1, over its extent).
Picture sepia(const Picture &picture);
/// The sepia matrix on the stored samples, all three new channels from the samples as read:
/// the path sepia takes when the image service yields nothing.
Picture sepiaMatrix(const Picture &picture);
/// The edge kernel on the colour channels; the outermost ring gets colour 0 and keeps its
/// alpha. The bias has no effect.
Picture edgeDetectionWithBias(const Picture &picture, int bias);

// Integer convolutions of all four channels, alpha included: (sum of weight x sample + bias) /
// divisor, truncated toward zero and clamped to 0..255, with entry (0, 0) on the upper-left
// neighbour. Pixels whose window would leave the picture (one ring for 3 x 3, two for 5 x 5)
// are copied from the source unchanged.
Picture embossWithBias(const Picture &picture, int bias);
Picture sharpenWithBias(const Picture &picture, int bias);
Picture unsharpenWithBias(const Picture &picture, int bias);
Picture gaussianBlurWithBias(const Picture &picture, int bias);

/// The automatic adjustment with red-eye correction switched off.
Picture autoEnhance(const Picture &picture);
/// The automatic adjustment with enhancement switched off.
Picture redEyeCorrection(const Picture &picture);

/// The automatic adjustment itself, defined by the filter catalogue (image_service_auto.cpp).
/// redEye true corrects red eyes only; false enhances only.
Picture autoAdjust(const Picture &picture, bool redEye);

} // namespace vimora
