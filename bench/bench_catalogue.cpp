// Every filter of the image service, the catalogue's byte effects and the blend modes on the
// 2000 x 1500 bench photo. Filters run with the editor's parameters where it uses them, else
// with their defaults centred on the photo. Run with --benchmark_repetitions=3 and compare
// medians; the peers' equivalents are named in README.md.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>
#include <string>

#include "bench_run.h"
#include "imaging/blend.h"
#include "imaging/filter.h"
#include "imaging/image_service.h"
#include "imaging/kernels.h"

using namespace vimora;

namespace {

const Picture &photo()
{
    return bench::sharedBenchPhoto();
}

const Picture &overlayPhoto()
{
    static const Picture picture = bench::benchPhoto("overlay_2000x1500.jpg");
    return picture;
}

/// Parameters that make each filter do real work on the whole photo.
void configure(ImageFilter &filter)
{
    const double w = photo().pixelWidth(), h = photo().pixelHeight();
    const QPointF centre(w / 2, h / 2);
    const std::string name(filter.entry()->name);
    for (const char *key : {"inputCenter", "inputPoint"})
        if (filter.entry()->param(key))
            filter.setValue(key, centre);
    if (filter.entry()->param("inputRadius") && name != "CIBloom" && name != "CIVignette"
        && name != "CIHighlightShadowAdjust")
        filter.setValue("inputRadius", std::min(w, h) / 2); // the editor's bump radius
    if (filter.entry()->param("inputBackgroundImage"))
        filter.setValue("inputBackgroundImage", overlayPhoto());
    if (filter.entry()->param("inputTargetImage"))
        filter.setValue("inputTargetImage", overlayPhoto());

    if (name == "CIExposureAdjust")
        filter.setValue("inputEV", 1.0);
    else if (name == "CIGammaAdjust")
        filter.setValue("inputPower", 1.1);
    else if (name == "CIColorControls")
        filter.setValue("inputSaturation", 2.0);
    else if (name == "CIHueAdjust")
        filter.setValue("inputAngle", std::numbers::pi / 6);
    else if (name == "CIVibrance")
        filter.setValue("inputAmount", 0.5);
    else if (name == "CIVignette")
        filter.setValue("inputIntensity", 1.0);
    else if (name == "CIBloom")
        filter.setValue("inputRadius", 3.0); // compare with a sigma 3 Gaussian blur
    else if (name == "CIAffineTransform")
        filter.setValue("inputTransform", QTransform().rotate(45));
    else if (name == "CIPerspectiveTransform") {
        filter.setValue("inputTopLeft", QPointF(100, h));
        filter.setValue("inputTopRight", QPointF(w - 100, h - 50));
        filter.setValue("inputBottomRight", QPointF(w, 0));
        filter.setValue("inputBottomLeft", QPointF(0, 80));
    } else if (name == "CICrop")
        filter.setValue("inputRectangle", QRectF(200, 100, w - 400, h - 200));
    else if (name == "CIDissolveTransition")
        filter.setValue("inputTime", 0.5);
    else if (name == "CIToneCurve")
        filter.setValue("inputPoint1", QPointF(0.25, 0.35));
    else if (name == "CIHighlightShadowAdjust")
        filter.setValue("inputShadowAmount", 0.5);
}

void runFilter(benchmark::State &state, const std::string &name)
{
    ImageFilter filter(name);
    filter.setValue("inputImage", photo());
    configure(filter);
    for (auto _ : state) {
        Picture out = filter.renderForWrapper();
        benchmark::DoNotOptimize(out);
    }
}

const Filter kFilter;

// The editor's steps as it runs them.
VIMORA_BENCH(EditorHue, kFilter.filterHue(0.5f, p));
VIMORA_BENCH(EditorExposureThenSaturation, kFilter.filterColorControls(2.0f, 0.0f, 1.0f, kFilter.filterExp(1.0f, p)));
VIMORA_BENCH(EditorBump, kFilter.filterBumpDistortion(0.5f, float(p.pixelWidth()) / 2, float(p.pixelHeight()) / 2,
                                                      float(std::min(p.pixelWidth(), p.pixelHeight())) / 2, p));
VIMORA_BENCH(EditorShatterAffine, kFilter.filterAffineTransform(QTransform(1, 0.3, 0.2, 1, 0, 0), p));
VIMORA_BENCH(CompositorVibrance, kFilter.filterVibrance(0.5f, p));
VIMORA_BENCH(StyleOverlay, blended(BlendMode::Overlay, overlayPhoto(), p));
VIMORA_BENCH(StyleDarken, blended(BlendMode::Darken, overlayPhoto(), p));
VIMORA_BENCH(StyleHardLight, blended(BlendMode::HardLight, overlayPhoto(), p));

// Kernels alone, to set against the peers' equivalents.
VIMORA_BENCH(KernelGaussianBlurSigma3,
             Picture(kernels::blurThen16(p.bitmap(), kernels::regionOf(p.bitmap()), 3.0,
                                         [](kernels::PixelRow16 &px, const kernels::PixelRow16 &b) { px = b; })));
// The same blur handed to a float combine, as the filters with float rules take it.
VIMORA_BENCH(KernelGaussianBlurSigma3Float,
             Picture(kernels::blurThen(p.bitmap(), kernels::regionOf(p.bitmap()), 3.0,
                                       [](kernels::PixelRow &px, const kernels::PixelRow &b) {
                                           std::copy_n(b.r, px.count, px.r);
                                           std::copy_n(b.g, px.count, px.g);
                                           std::copy_n(b.b, px.count, px.b);
                                           std::copy_n(b.a, px.count, px.a);
                                       })));
VIMORA_BENCH(CopyOfThePhoto, Picture(p.bitmap().copy()));
VIMORA_BENCH(KernelIdentityRoundTrip,
             Picture(kernels::mapStraight(p.bitmap(), kernels::regionOf(p.bitmap()), kernels::Space::Linear,
                                          [](kernels::PixelRow &) {})));

// Byte effects.
VIMORA_BENCH(DoImageStuff, kFilter.doImageStuff(0.5f, p));
VIMORA_BENCH(ImageProcess, kFilter.imageProcess(p));
VIMORA_BENCH(Contrast, kFilter.contrast(2, p));
VIMORA_BENCH(Contrast2, kFilter.contrast2(1, p));
VIMORA_BENCH(Contrast9, kFilter.contrast9(p, 150));
VIMORA_BENCH(Contrast10, kFilter.contrast10(p, 0));
VIMORA_BENCH(FixImage, kFilter.fixImage(p));

VIMORA_BENCH(AutoEnhance, autoAdjusted(p, AutoAdjustOptions{true, false}));

} // namespace

int main(int argc, char **argv)
{
    // Every filter of the service, walked from its own table.
    for (const FilterEntry &entry : imageServiceCatalogue()) {
        const std::string name(entry.name);
        benchmark::RegisterBenchmark(("Service/" + name).c_str(),
                                     [name](benchmark::State &state) { runFilter(state, name); })
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const bench::CompetingLoad load;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
