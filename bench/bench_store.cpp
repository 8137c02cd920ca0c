// Working-file round trips and the pixel helpers of the picture layer at 2000 x 1500.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include "bench_data.h"
#include "imaging/color_image.h"
#include "imaging/mask_image.h"
#include "imaging/raster.h"
#include "platform/app_home.h"
#include "store/working_files.h"

using namespace vimora;

namespace {

QTemporaryDir &home()
{
    static QTemporaryDir dir;
    static bool once = (AppHome::setRoot(dir.path()), true);
    (void)once;
    return dir;
}

void BM_SlotSaveAsCallerSees(benchmark::State &state)
{
    home();
    const Picture photo = bench::benchPhoto();
    auto &files = WorkingFiles::shared();
    for (auto _ : state)
        files.simpleSave(photo);
    files.flush(); // after the timed loop: the writer's time is not the caller's
}
BENCHMARK(BM_SlotSaveAsCallerSees)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SlotLoadAfterSave(benchmark::State &state)
{
    home();
    const Picture photo = bench::benchPhoto();
    auto &files = WorkingFiles::shared();
    files.simpleSave(photo);
    for (auto _ : state)
        benchmark::DoNotOptimize(files.simpleLoad());
    files.flush();
}
BENCHMARK(BM_SlotLoadAfterSave)->Unit(benchmark::kMicrosecond);

void BM_SlotLoadFromEarlierRun(benchmark::State &state)
{
    home();
    auto &files = WorkingFiles::shared();
    files.simple2Save(bench::benchPhoto());
    files.forget(); // as after a restart: nothing remembered, the file is decoded
    for (auto _ : state) {
        benchmark::DoNotOptimize(files.simple2Load());
        state.PauseTiming();
        files.forget();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_SlotLoadFromEarlierRun)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SlotWriteToDisk(benchmark::State &state)
{
    home();
    const Picture photo = bench::benchPhoto();
    auto &files = WorkingFiles::shared();
    for (auto _ : state) {
        files.simple3Save(photo);
        files.flush();
    }
}
BENCHMARK(BM_SlotWriteToDisk)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_GetPixelColor(benchmark::State &state)
{
    const Picture photo = bench::benchPhoto();
    ColorImage colors;
    double x = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(colors.getPixelColorAtLocation(QPointF(x, 700.4), photo));
        x = x < 1990 ? x + 7.3 : 0;
    }
}
BENCHMARK(BM_GetPixelColor)->Unit(benchmark::kNanosecond);

void BM_ChangeColor(benchmark::State &state)
{
    const Picture photo = bench::benchPhoto();
    ColorImage colors;
    for (auto _ : state)
        benchmark::DoNotOptimize(colors.changeColor(photo, 0.2, 0.4, 0.9, 1.0));
}
BENCHMARK(BM_ChangeColor)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MaskWithImage(benchmark::State &state)
{
    const Picture photo = bench::benchPhoto();
    QImage gray = ZELCreateGradientImage(2000, 1500, 0.0f, 1.0f);
    const Picture mask(gray.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    for (auto _ : state)
        benchmark::DoNotOptimize(maskWithImage(photo, mask));
}
BENCHMARK(BM_MaskWithImage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
