// Edge feathering on a 1280 x 960 cut-out (the real photo scaled; the fade also on wider ones): one fade (the mask fitted to
// the picture, the "s1.png" slot round trip and the masking), and one toggle press as the user
// sees it (the fade plus the five buttons laid again on the drawing layer).

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "bench_data.h"
#include "editor/edge_feathering.h"
#include "platform/app_home.h"
#include "platform/resources.h"
#include "store/working_files.h"
#include "screenkit/screen_views.h"

using namespace vimora;

namespace {

Picture cutOut(int height = 960)
{
    bench::offscreenApplication("bench_editor");
    return Picture(bench::benchPhoto().bitmap().scaled(1280, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
}

void useBundle()
{
    bench::offscreenApplication("bench_editor");
    if (qEnvironmentVariableIsEmpty("VIMORA_RESOURCES"))
        Resources::setDirectory(QStringLiteral(VIMORA_BENCH_RESOURCES));
}

void BM_FeatheredPicture(benchmark::State &state)
{
    useBundle();
    const Picture picture = cutOut(int(state.range(0)));
    const Picture mask = Resources::imageNamed(QStringLiteral("mask10x.jpg"));
    for (auto _ : state)
        benchmark::DoNotOptimize(featheredPicture(picture, mask));
    WorkingFiles::shared().flush();
}
BENCHMARK(BM_FeatheredPicture)->Arg(960)->Arg(720)->Arg(400)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FeatherTogglePress(benchmark::State &state)
{
    useBundle();
    const Picture picture = cutOut();
    const auto views = ScreenViews::create(QSizeF(768, 1024));
    auto preview = std::make_shared<ui::ImageView>(QRectF(25, 10, 550, 412));
    auto layer = std::make_shared<ui::ImageView>(QRectF(0, 0, 550, 412));
    layer->setImage(picture);
    preview->addSubview(layer);
    views->descripImg2->addSubview(preview);
    EdgeFeathering feathering(*views);
    feathering.attach(*layer, *preview, picture);
    feathering.gradientSelect();
    // The top toggle alternates between both vertical edges and the bottom alone: a fade every press.
    for (auto _ : state)
        feathering.gradientMe(int(FeatherButton::Top));
    WorkingFiles::shared().flush();
}
BENCHMARK(BM_FeatherTogglePress)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home;
    AppHome::setRoot(home.path());
    AppHome::ensureFolders();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
