// Every pixel filter and geometry operation on the 2000 x 1500 bench photo. The peers'
// equivalents are named in README.md; run with --benchmark_repetitions=3 and compare medians.
#include <benchmark/benchmark.h>

#include <QCoreApplication>

#include "bench_run.h"
#include "imaging/convolution.h"
#include "imaging/geometry.h"
#include "imaging/tone.h"

using namespace vimora;

namespace {

// Reference: one copy of the picture into a fresh buffer.
VIMORA_BENCH(CopyReference, Picture(p.bitmap().copy()));

// Point filters.
VIMORA_BENCH(Brighten, brightenWithValue(p, 40.0f));
VIMORA_BENCH(Contrast, contrastAdjustmentWithValue(p, 60.0f));
VIMORA_BENCH(Gamma, gammaCorrectionWithValue(p, 1.1f));
VIMORA_BENCH(Invert, invert(p));
VIMORA_BENCH(Opacity, opacity(p, 0.6f));
VIMORA_BENCH(Sepia, sepia(p));
VIMORA_BENCH(Grayscale, grayscale(p));

// 3 x 3 neighbourhoods.
VIMORA_BENCH(Sharpen3x3, imageByApplyingSharpen3x3(p));
VIMORA_BENCH(Emboss3x3, imageByApplyingEmboss3x3(p));
VIMORA_BENCH(GaussianBlur3x3, imageByApplyingGaussianBlur3x3(p));
VIMORA_BENCH(BoxBlur3x3, imageByApplyingBoxBlur3x3(p));
VIMORA_BENCH(Matrix3x3General, imageByApplyingMatrix(p, kSharpen3x3Kernel, kKernel3x3, true));
VIMORA_BENCH(EdgeDetectionWithBias, edgeDetectionWithBias(p, 1));
VIMORA_BENCH(EmbossWithBias, embossWithBias(p, 1));
VIMORA_BENCH(SharpenWithBias, sharpenWithBias(p, 1));
VIMORA_BENCH(UnsharpenWithBias, unsharpenWithBias(p, 1));

// 5 x 5 and Gaussian passes.
VIMORA_BENCH(GaussianBlur5x5, imageByApplyingGaussianBlur5x5(p));
VIMORA_BENCH(GaussianBlurWithBias, gaussianBlurWithBias(p, 1));
VIMORA_BENCH(Matrix5x5General, imageByApplyingMatrix(p, kGaussian5x5Kernel, kKernel5x5));
VIMORA_BENCH(DiagonalMotionBlur5x5, imageByApplyingDiagonalMotionBlur5x5(p));
VIMORA_BENCH(OnePassGaussian5, imageByApplyingOnePassGaussianBlurOfSize(p, 5, 1.0f));
VIMORA_BENCH(TwoPassGaussian19Sigma3, imageByApplyingGaussianBlurOfSize(p, 19, 9.0f));

// Geometry.
VIMORA_BENCH(CropCentre1280x960, cropToSize(p, QSizeF(1280, 960), kCropCentre));
VIMORA_BENCH(ScaleByFactor064, scaleByFactor(p, 0.64f));
VIMORA_BENCH(ScaleToFit1280, scaleToFitSize(p, QSizeF(1280, 1280)));
VIMORA_BENCH(ScaleToFitUp3000, scaleToFitSize(p, QSizeF(3000, 3000)));
VIMORA_BENCH(RotateInDegrees45, rotateInDegrees(p, 45.0f));
VIMORA_BENCH(RotateInDegrees90, rotateInDegrees(p, 90.0f));
VIMORA_BENCH(RotateImagePixelsInDegrees45, rotateImagePixelsInDegrees(p, 45.0f));
VIMORA_BENCH(VerticalFlip, verticalFlip(p));
VIMORA_BENCH(HorizontalFlip, horizontalFlip(p));
VIMORA_BENCH(Reflection300, reflectedImageWithHeight(p, 300, 0.5f, 0.0f));

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    const bench::CompetingLoad load;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
