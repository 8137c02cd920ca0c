// The text overlay: rendering and placing a layer, a frame full of layers with handles, and
// scrolling the word-art catalogue.

#include <memory>

#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "bench_data.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "platform/settings.h"
#include "text/word_table.h"
#include "ui/headless_host.h"
#include "screenkit/screen_views.h"

namespace vimora::bench {
namespace {

/// A tablet screen with a photo-sized picture view and the overlay, tips declined.
struct TextScreen
{
    TextScreen()
    {
        offscreenApplication("bench_text");
        AppHome::setRoot(home.path());
        Device::setProfile(DeviceProfile::Tablet);
        Device::setOrientation(InterfaceOrientation::Portrait);
        host.setRootView(views->rootView);
        views->cutImgView->setHidden(false);
        views->cutImgView->setImage(benchPhoto());
        views->cutImgView->setContentMode(ui::ContentMode::ScaleAspectFit);
        views->selectTopView->setFrame(QRectF(0, 959, 768, 65));
        Settings::shared().setString(QStringLiteral("Never2"), QStringLiteral("never"));
        table = std::make_unique<WordTable>(WordTableViews::fromScreen(*views));
        table->awakeFromNib();
    }
    void makeLayer(const QString &text)
    {
        table->noteViewOpen();
        table->entry().noteTextView().setText(text);
        table->inputTextDone();
        table->colorChoose();
    }
    QTemporaryDir home;
    ui::HeadlessHost host{QSizeF(768, 1024)};
    std::shared_ptr<ScreenViews> views = ScreenViews::create(QSizeF(768, 1024));
    std::unique_ptr<WordTable> table;
};

const QString kFortyCharacters = QStringLiteral("Forty characters of text on one line ok");

void BM_RenderAndPlaceFortyCharacters(benchmark::State &state)
{
    TextScreen screen;
    for (auto _ : state) {
        screen.table->noteViewOpen();
        screen.table->entry().noteTextView().setText(kFortyCharacters);
        screen.table->inputTextDone();
        benchmark::DoNotOptimize(screen.table->tView());
        state.PauseTiming();
        screen.table->clearAll();
        screen.table->colorChoose();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RenderAndPlaceFortyCharacters)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RenderTenThousandCharacters(benchmark::State &state)
{
    TextScreen screen;
    const QString page(10000, QLatin1Char('w'));
    for (auto _ : state) {
        state.PauseTiming(); // typing a page is not the render
        screen.table->noteViewOpen();
        screen.table->entry().noteTextView().setText(page);
        benchmark::DoNotOptimize(screen.table->entry().noteTextView().contentSize());
        state.ResumeTiming();
        benchmark::DoNotOptimize(screen.table->screenShotTextView());
    }
}
BENCHMARK(BM_RenderTenThousandCharacters)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FrameWithTwentyLayersAndHandles(benchmark::State &state)
{
    TextScreen screen;
    for (int i = 0; i < 20; ++i) {
        screen.makeLayer(QStringLiteral("Layer number %1").arg(i));
        screen.table->tView()->setCenter(QPointF(200 + (i % 4) * 120, 100 + (i / 4) * 160));
    }
    screen.table->TransformExcute(1); // the last layer in transform mode: its handles and tools
    screen.host.advance(2);
    QImage frame(768, 1024, QImage::Format_ARGB32_Premultiplied);
    auto draw = [&] {
        QPainter p(&frame);
        p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
        screen.host.render(p);
    };
    draw(); // the first frame builds the cached small copies
    for (auto _ : state) {
        draw();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FrameWithTwentyLayersAndHandles)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CatalogueScrollStep(benchmark::State &state)
{
    TextScreen screen;
    screen.table->showWordView();
    ui::TableView &table = *screen.table->catalogue().wordTable();
    table.reloadData();
    const double end = std::max(0.0, table.contentSize().height() - table.bounds().height());
    double y = 0, step = 7;
    for (auto _ : state) {
        y += step;
        if (y > end || y < 0)
            step = -step, y += 2 * step;
        table.setContentOffset(QPointF(0, y));
        benchmark::ClobberMemory();
    }
    state.counters["thumbnails"] = screen.table->catalogue().thumbnailsDecoded();
    state.counters["cells"] = double(table.visibleCells().size());
}
BENCHMARK(BM_CatalogueScrollStep)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace vimora::bench

BENCHMARK_MAIN();
