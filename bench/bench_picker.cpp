// The multi-photo picker on a tablet screen over an album of 1000 generated 1600 x 1200
// JPEG photos: the grid on screen with its placeholders, the first screen of thumbnails
// with an empty and with a warm disk cache, and one frame drawn while scrolling as the
// thumbnails arrive. The photos are made once into $VIMORA_BENCH_PHOTOS (default
// /tmp/vimora-bench-picker) and reused.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include "bench_data.h"
#include "picker/qv_image_picker_controller.h"
#include "picker/qv_ipc_albums_controller.h"
#include "picker/qv_ipc_assets_controller.h"
#include "picker/qv_ipc_grid_cell.h"
#include "picker/thumbnail_cache.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "ui/headless_host.h"

using namespace vimora;
using namespace vimora::picker;

namespace {

constexpr int kPhotos = 1000;

QGuiApplication &app()
{
    return bench::offscreenApplication("bench_picker");
}

QString photoFolder()
{
    const QString env = qEnvironmentVariable("VIMORA_BENCH_PHOTOS");
    const QString root = env.isEmpty() ? QStringLiteral("/tmp/vimora-bench-picker") : env;
    const QString album = root + QStringLiteral("/Thousand");
    if (QDir(album).entryList(QDir::Files).size() >= kPhotos)
        return root;
    QDir().mkpath(album);
    QRandomGenerator random(7);
    for (int i = 0; i < kPhotos; ++i) {
        QImage photo(1600, 1200, QImage::Format_RGB32);
        QPainter p(&photo);
        QLinearGradient gradient(0, 0, 1600, 1200);
        gradient.setColorAt(0, QColor::fromHsv(int(random.bounded(360)), 180, 230));
        gradient.setColorAt(1, QColor::fromHsv(int(random.bounded(360)), 200, 90));
        p.fillRect(photo.rect(), gradient);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(random.bounded(1600), random.bounded(1200)), 200, 200);
        p.end();
        photo.save(QStringLiteral("%1/photo%2.jpg").arg(album).arg(i, 4, 10, QLatin1Char('0')), "JPEG", 90);
    }
    return root;
}

struct PickerScreen
{
    ui::HeadlessHost host{QSizeF(768, 1024)};
    std::shared_ptr<QvImagePickerController> picker;

    PickerScreen()
    {
        Device::setProfile(DeviceProfile::Tablet);
        host.setRootView(std::make_shared<ui::View>(QRectF(0, 0, 768, 1024)));
        picker = std::make_shared<QvImagePickerController>(nullptr);
        picker->setLibrary(photoFolder(), {});
        picker->setFrame(QRectF(0, 0, 768, 1024));
        host.rootView()->addSubview(picker);
        picker->albumsController().view();
        spin([&] { return !picker->albumsController().isLoading() && !picker->albumsController().assetGroups().empty(); });
    }

    void spin(const std::function<bool()> &done)
    {
        while (!done()) {
            QCoreApplication::processEvents();
            host.runPending();
            if (!done())
                QThread::usleep(200);
        }
    }

    std::shared_ptr<QvIPCAssetsController> openThousand()
    {
        const auto &groups = picker->albumsController().assetGroups();
        for (std::size_t i = 0; i < groups.size(); ++i) {
            if (groups[i].album.name == QLatin1String("Thousand"))
                return picker->albumsController().openAlbum(int(i));
        }
        return nullptr;
    }

    bool visibleThumbnailsIn(const QvIPCAssetsController &grid)
    {
        const auto cells = grid.tableView()->visibleCells();
        if (cells.empty())
            return false;
        for (const auto &cell : cells) {
            for (const auto &item : std::static_pointer_cast<QvIPCGridCell>(cell)->items()) {
                if (!item->hasThumbnail())
                    return false;
            }
        }
        return true;
    }

    void close()
    {
        picker->popToRootScreen(false);
        host.runPending();
    }
};

PickerScreen &screen()
{
    app();
    static QTemporaryDir home;
    static bool set = (AppHome::setRoot(home.path()), true);
    (void)set;
    static PickerScreen s;
    return s;
}

void clearDiskCache()
{
    QDir(AppHome::root() + QStringLiteral("/Thumbnails")).removeRecursively();
}

// The grid is on screen, placeholders in place, its photos enumerated.
void BM_OpenAlbumGrid(benchmark::State &state)
{
    PickerScreen &s = screen();
    for (auto _ : state) {
        auto grid = s.openThousand();
        grid->view();
        s.spin([&] { return grid->isLoaded(); });
        benchmark::DoNotOptimize(s.host.render());
        state.PauseTiming();
        ThumbnailCache::shared().cancelPending();
        ThumbnailCache::shared().waitForDone();
        s.close();
        state.ResumeTiming();
    }
}

// The first screen of thumbnails all in; cold: no disk cache, warm: disk cache present.
void firstScreen(benchmark::State &state, bool warm)
{
    PickerScreen &s = screen();
    if (warm) {
        auto grid = s.openThousand();
        grid->view();
        s.spin([&] { return grid->isLoaded() && s.visibleThumbnailsIn(*grid); });
        s.close();
    }
    for (auto _ : state) {
        state.PauseTiming();
        ThumbnailCache::shared().waitForDone();
        ThumbnailCache::shared().clearMemory();
        if (!warm)
            clearDiskCache();
        state.ResumeTiming();
        auto grid = s.openThousand();
        grid->view();
        s.spin([&] { return grid->isLoaded() && s.visibleThumbnailsIn(*grid); });
        benchmark::DoNotOptimize(s.host.render());
        state.PauseTiming();
        s.close();
        state.ResumeTiming();
    }
}
void BM_FirstScreenCold(benchmark::State &state) { firstScreen(state, false); }
void BM_FirstScreenWarm(benchmark::State &state) { firstScreen(state, true); }

// One frame while scrolling with thumbnails still loading: move by a finger's step, lay
// out the rows that came into view, draw.
void BM_ScrollFrameWhileLoading(benchmark::State &state)
{
    PickerScreen &s = screen();
    ThumbnailCache::shared().waitForDone();
    ThumbnailCache::shared().clearMemory();
    clearDiskCache();
    auto grid = s.openThousand();
    grid->view();
    s.spin([&] { return grid->isLoaded(); });
    auto table = grid->tableView();
    double y = table->contentOffset().y();
    for (auto _ : state) {
        y -= 24;
        if (y < 0)
            y = table->maximumContentOffset().y();
        table->setContentOffset(QPointF(0, y));
        QCoreApplication::processEvents();
        s.host.runPending();
        benchmark::DoNotOptimize(s.host.render());
    }
    ThumbnailCache::shared().cancelPending();
    ThumbnailCache::shared().waitForDone();
    s.close();
}

} // namespace

BENCHMARK(BM_OpenAlbumGrid)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_FirstScreenCold)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_FirstScreenWarm)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
BENCHMARK(BM_ScrollFrameWhileLoading)->Unit(benchmark::kMillisecond)->UseRealTime();


namespace {
// The album's photos read from the folder (the worker's share of opening the grid).
void BM_EnumerateAlbum(benchmark::State &state)
{
    const QString folder = photoFolder() + QStringLiteral("/Thousand");
    for (auto _ : state)
        benchmark::DoNotOptimize(albumPhotos(folder));
}
// The same after an earlier listing of the album (what opening it again does).
void BM_EnumerateAlbumListedBefore(benchmark::State &state)
{
    screen(); // the cache lives in the application home
    const QString folder = photoFolder() + QStringLiteral("/Thousand");
    ThumbnailCache &cache = ThumbnailCache::shared();
    cache.rememberAlbum(folder, albumPhotos(folder));
    for (auto _ : state)
        benchmark::DoNotOptimize(albumPhotos(folder, cache.knownPictures(folder)));
}
// A grid item per photo (the main thread's share).
void BM_MakeGridItems(benchmark::State &state)
{
    app();
    const auto photos = albumPhotos(photoFolder() + QStringLiteral("/Thousand"));
    for (auto _ : state) {
        std::vector<QvIPCGridItemPtr> items;
        for (const auto &photo : photos)
            items.push_back(std::make_shared<QvIPCGridItem>(photo));
        benchmark::DoNotOptimize(items);
    }
}
} // namespace
BENCHMARK(BM_EnumerateAlbum)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnumerateAlbumListedBefore)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MakeGridItems)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
