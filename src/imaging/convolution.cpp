#include "imaging/convolution.h"

#include <cmath>
#include <vector>

#include "imaging/convolution_engine.h"
#include "imaging/pixel_support.h"

namespace vimora {

namespace {

using detail::IntegerKernel;

Picture finished(const QImage &raster)
{
    return raster.isNull() ? Picture() : Picture(raster);
}

/// Kernels whose weights are integers over a power of two run on the integer engine: their
/// single-precision products and sums are exact, so the integer arithmetic gives the same
/// bytes several times faster. The box's nine weights of 0.111111112 sum to just above 1, so
/// its exact sum of S samples truncates to S / 9, which the engine gives.
Picture integerFilter(const Picture &picture, IntegerKernel kernel)
{
    const QImage src = detail::uprightPixels(picture);
    if (src.isNull())
        return {};
    return finished(detail::convolveInteger(src, kernel, {}));
}

} // namespace

Picture imageByApplyingMatrix(const Picture &picture, std::span<const float> kernel, int sizeCode, int matrixRows,
                              int matrixCols, bool clipValues)
{
    // Values outside 0..255 saturate either way (see the header), so clipping changes nothing
    // in the bytes; it stays in the interface for its callers.
    (void)clipValues;
    int rows = 0, cols = 0;
    switch (sizeCode) {
    case kKernel3x3:
        rows = cols = 3;
        break;
    case kKernel5x5:
        rows = cols = 5;
        break;
    case kKernelRowsCols:
        rows = matrixRows;
        cols = matrixCols;
        break;
    default:
        return {};
    }
    if (picture.isNull() || rows <= 0 || cols <= 0 || rows > kMaxGaussianSize || cols > kMaxGaussianSize
        || kernel.size() < size_t(rows) * size_t(cols))
        return {};
    const QImage src = detail::uprightPixels(picture);
    return finished(detail::convolveFloat(src, kernel.first(size_t(rows) * size_t(cols)), rows, cols));
}

Picture imageByApplyingMatrix(const Picture &picture, std::span<const float> kernel, int sizeCode)
{
    return imageByApplyingMatrix(picture, kernel, sizeCode, -1, -1, false);
}

Picture imageByApplyingMatrix(const Picture &picture, std::span<const float> kernel, int sizeCode, bool clipValues)
{
    if (sizeCode != kKernel3x3 && sizeCode != kKernel5x5)
        return {};
    return imageByApplyingMatrix(picture, kernel, sizeCode, -1, -1, clipValues);
}

Picture imageByApplyingGaussianBlur3x3(const Picture &picture)
{
    return integerFilter(picture, IntegerKernel::Gaussian3x3);
}

Picture imageByApplyingGaussianBlur5x5(const Picture &picture)
{
    return integerFilter(picture, IntegerKernel::Gaussian5x5);
}

Picture imageByApplyingBoxBlur3x3(const Picture &picture)
{
    return integerFilter(picture, IntegerKernel::Box3x3);
}

Picture imageByApplyingSharpen3x3(const Picture &picture)
{
    // 0 -1/4 0 ; -1/4 2 -1/4 ; 0 -1/4 0 = (8 x centre - the four side neighbours) / 4, exactly.
    return integerFilter(picture, IntegerKernel::SharpenCross);
}

Picture imageByApplyingEmboss3x3(const Picture &picture)
{
    return integerFilter(picture, IntegerKernel::Emboss7);
}

Picture imageByApplyingDiagonalMotionBlur5x5(const Picture &picture)
{
    std::array<float, 25> kernel = kDiagonalMotionBlur5x5Kernel;
    normaliseMatrix(kernel.data(), int(kernel.size()));
    return imageByApplyingMatrix(picture, kernel, kKernel5x5, true);
}

float gausValueAt(float x, float y, float sigmaSq)
{
    const float exponent = (x * x + y * y) / (sigmaSq * -2.0f);
    const double factor = 1.0 / std::sqrt(double(sigmaSq) * 2.0 * M_PI);
    return float(double(float(std::exp(double(exponent)))) * factor);
}

float gaussianValueFor(float x, float sigmaSq)
{
    const float exponent = (x * x) / (sigmaSq * -2.0f);
    const double factor = 1.0 / std::sqrt(double(sigmaSq) * 2.0 * M_PI);
    return float(double(float(std::exp(double(exponent)))) * factor);
}

void normaliseMatrix(float *matrix, int count)
{
    if (!matrix || count <= 0)
        return;
    float sum = 0.0f;
    for (int i = 0; i < count; ++i)
        sum += matrix[i];
    for (int i = 0; i < count; ++i)
        matrix[i] /= sum;
}

namespace {

bool validGaussian(int size, float sigmaSquared, int maxSize)
{
    return size >= 1 && size <= maxSize && std::isfinite(sigmaSquared) && sigmaSquared > 0.0f;
}

} // namespace

Picture imageByApplyingOnePassGaussianBlurOfSize(const Picture &picture, int size, float sigmaSquared)
{
    if (picture.isNull() || !validGaussian(size, sigmaSquared, kMaxOnePassGaussianSize))
        return {};
    const int c = int(size * 0.5);
    std::vector<float> kernel(size_t(size) * size_t(size));
    float sum = 0.0f;
    for (int i = 0; i < size; ++i)
        for (int j = 0; j < size; ++j) {
            const float v = gausValueAt(float(i - c), float(j - c), sigmaSquared);
            kernel[size_t(i) * size_t(size) + size_t(j)] = v;
            sum += v;
        }
    for (float &v : kernel)
        v /= sum;
    return imageByApplyingMatrix(picture, kernel, kKernelRowsCols, size, size, false);
}

Picture imageByApplyingGaussianBlurOfSize(const Picture &picture, int size, float sigmaSquared)
{
    if (picture.isNull() || !validGaussian(size, sigmaSquared, kMaxGaussianSize))
        return {};
    const int c = int(size * 0.5);
    std::vector<float> taps(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i)
        taps[size_t(i)] = gaussianValueFor(float(i - c), sigmaSquared);
    normaliseMatrix(taps.data(), size);
    const QImage src = detail::uprightPixels(picture);
    return finished(detail::convolveFloatTwoPass(src, taps));
}

} // namespace vimora
