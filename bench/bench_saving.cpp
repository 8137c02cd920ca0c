// Saving a 2000 x 1500 composition: the capture the UI thread does (the photo view with a
// piece and two text labels, at full and half size), and the album writer's encode and
// atomic write that follow off the UI thread.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "bench_data.h"
#include "editor/crop.h"
#include "editor/photo_capture.h"
#include "editor/view_tags.h"
#include "store/album_writer.h"
#include "ui/image_view.h"
#include "ui/label.h"

using namespace vimora;

namespace {

// The editor layer of a tablet: the photo shown 650 x 487.5, a 600 x 600 piece on it and
// two text labels, one on the photo view and one beside it in the layer.
struct Composition
{
    std::shared_ptr<ui::View> layer = std::make_shared<ui::View>(QRectF(0, 0, 768, 1024));
    std::shared_ptr<ui::ImageView> photoView = std::make_shared<ui::ImageView>(QRectF(59, 268, 650, 487.5));
    Picture photo = bench::benchPhoto();

    Composition()
    {
        bench::offscreenApplication("bench_saving");
        photoView->setImage(photo);
        photoView->setContentMode(ui::ContentMode::ScaleAspectFill);
        photoView->setClipsToBounds(true);
        photoView->setBorderWidth(2);
        layer->addSubview(photoView);
        auto piece = std::make_shared<ui::ImageView>(QRectF(100, 100, 195, 195));
        piece->setImage(cutImage(600, 600, 300, 300, photo));
        photoView->addSubview(piece);
        auto onPhoto = std::make_shared<ui::Label>(QRectF(40, 40, 300, 60), QStringLiteral("Summer"));
        onPhoto->setTag(kFirstTextLabelTag);
        photoView->addSubview(onPhoto);
        auto beside = std::make_shared<ui::Label>(QRectF(300, 600, 200, 40), QStringLiteral("2026"));
        beside->setTag(kFirstTextLabelTag + 1);
        layer->addSubview(beside);
    }
};

void BM_HighCapture(benchmark::State &state)
{
    Composition c;
    for (auto _ : state)
        benchmark::DoNotOptimize(capturePhotoView(*c.photoView, *c.layer, QSize(2000, 1500)));
}
BENCHMARK(BM_HighCapture)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The first capture after the screen was drawn: no copy of the photo at the capture's scale yet.
void BM_HighCaptureFirstTime(benchmark::State &state)
{
    Composition c;
    for (auto _ : state) {
        state.PauseTiming();
        c.photoView->setImage(Picture(c.photo.bitmap().copy()));
        state.ResumeTiming();
        benchmark::DoNotOptimize(capturePhotoView(*c.photoView, *c.layer, QSize(2000, 1500)));
    }
}
BENCHMARK(BM_HighCaptureFirstTime)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_MediumCapture(benchmark::State &state)
{
    Composition c;
    for (auto _ : state)
        benchmark::DoNotOptimize(capturePhotoView(*c.photoView, *c.layer, QSize(1000, 750)));
}
BENCHMARK(BM_MediumCapture)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// What the UI thread pays to hand the picture over: the request returns at once.
void BM_AlbumSaveAsTheCallerSeesIt(benchmark::State &state)
{
    Composition c;
    const Picture picture = capturePhotoView(*c.photoView, *c.layer, QSize(2000, 1500));
    QTemporaryDir library;
    AlbumWriter writer(library.path());
    for (auto _ : state) {
        writer.saveImage(picture, QStringLiteral("Quorlan"), {});
        state.PauseTiming();
        writer.waitForWrites();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AlbumSaveAsTheCallerSeesIt)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// The writer's own work: PNG encode (zlib level 3), atomic write, album link.
void BM_AlbumEncodeAndWrite(benchmark::State &state)
{
    Composition c;
    const Picture picture = capturePhotoView(*c.photoView, *c.layer, QSize(2000, 1500));
    QTemporaryDir library;
    AlbumWriter writer(library.path());
    for (auto _ : state) {
        writer.saveImage(picture, QStringLiteral("Quorlan"), {});
        writer.waitForWrites();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_AlbumEncodeAndWrite)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The encoder alone at zlib levels 1, 3 (the album's) and 6 (the usual default); the
// counter is the file's size.
void BM_PngEncodeLevel(benchmark::State &state)
{
    Composition c;
    const Picture picture = capturePhotoView(*c.photoView, *c.layer, QSize(2000, 1500));
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = encodePng(picture, int(state.range(0))).size();
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_PngEncodeLevel)->Arg(1)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
