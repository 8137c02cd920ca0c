// The compositor on a tablet with the real 2000 x 1500 photo as its background:
// - an on-release effect as the user sees it: the handler (the UI thread's share), and the
//   time until the result is shown (the worker's pixel work and the apply);
// - a "High" level save of a 2048 x 1536 background in a 1024 x 768 frame: the UI thread's
//   share (the capture at four times the frame), the encode and write left to the writer.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "bench_data.h"
#include "compositor/back_photo.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "store/album_writer.h"
#include "store/working_files.h"
#include "ui/headless_host.h"

using namespace vimora;

namespace {

struct Screen
{
    Screen()
    {
        bench::offscreenApplication("bench_compositor");
        if (qEnvironmentVariableIsEmpty("VIMORA_RESOURCES"))
            Resources::setDirectory(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/resources"));
        AppHome::setRoot(home.path());
        Device::setProfile(DeviceProfile::Tablet);
        host = std::make_unique<ui::HeadlessHost>(Device::screenSize());
        views = ScreenViews::create(Device::screenSize());
        host->setRootView(views->rootView);
        back = std::make_unique<BackPhoto>(views);
        back->awakeFromNib();
        writer = std::make_unique<AlbumWriter>(library.path());
        back->setAlbumWriter(writer.get());
        back->openBackView(QStringLiteral("w"), 0.75f);
    }
    void settle()
    {
        back->effects().waitForIdle([this] { host->runPending(); });
    }

    QTemporaryDir home;
    QTemporaryDir library;
    std::unique_ptr<ui::HeadlessHost> host;
    std::shared_ptr<ScreenViews> views;
    std::unique_ptr<BackPhoto> back;
    std::unique_ptr<AlbumWriter> writer;
};

void useBackground(Screen &s, const Picture &photo)
{
    s.views->backImgView->setImage(photo);
    WorkingFiles::shared().simple2Save(photo);
    WorkingFiles::shared().originSave(photo);
}

// The adjust panel's controls on the background: 1 contrast, 2/3 gamma, 4 reset, 5 blur,
// 6 print mix, 7 sepia, 8 edges, 9 the editor's photo, 10 sharpen, 11 vibrance. untilShown:
// whether the timing runs until the result is shown or stops when the handler returns.
void runEffect(benchmark::State &state, bool untilShown)
{
    Screen s;
    const Picture photo = bench::benchPhoto();
    useBackground(s, photo);
    s.back->guideToScale(100);
    const int tag = int(state.range(0));
    for (auto _ : state) {
        s.back->filterSelect(tag);
        if (untilShown)
            s.settle();
        state.PauseTiming();
        s.settle();
        useBackground(s, photo);
        state.ResumeTiming();
    }
}

void BM_EffectHandler(benchmark::State &state)
{
    runEffect(state, false);
}
BENCHMARK(BM_EffectHandler)->DenseRange(1, 11)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_EffectUntilShown(benchmark::State &state)
{
    runEffect(state, true);
}
BENCHMARK(BM_EffectUntilShown)->DenseRange(1, 11)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HighLevelSaveUiThread(benchmark::State &state)
{
    Screen s;
    const Picture photo = bench::benchPhoto("photo_2000x1500.jpg", 2048, 1536);
    s.views->backImgView->setFrame(QRectF(0, 0, 1024, 768));
    s.views->backImgView->setImage(photo.size() == QSizeF(2048, 1536) ? photo : Picture(photo.uprightBitmap().scaled(2048, 1536)));
    for (auto _ : state) {
        benchmark::DoNotOptimize(s.back->effectLevel(QStringLiteral("High")));
        state.PauseTiming();
        s.writer->waitForWrites();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["saved_width"] = s.back->levelSave().lastSavedSize().width();
}
BENCHMARK(BM_HighLevelSaveUiThread)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

BENCHMARK_MAIN();
