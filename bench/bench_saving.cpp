// Saving a 2000 x 1500 composition: the capture the UI thread does (the photo view with a
// piece and two text labels, at full and half size), and the album writer's encode and
// atomic write that follow off the UI thread.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include "bench_data.h"
#include "imaging/pixel_cut.h"
#include "editor/photo_capture.h"
#include "editor/view_tags.h"
#include "store/album_writer.h"
#include "store/mail.h"
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

// The capture at the photo's pixels ("High") and at half ("Medium"), the copies of the
// pictures at that scale warm from the run before.
void BM_Capture(benchmark::State &state)
{
    Composition c;
    const QSize pixels(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(capturePhotoView(*c.photoView, *c.layer, pixels));
}
BENCHMARK(BM_Capture)->Args({2000, 1500})->Args({1000, 750})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

// The first "High" capture after the screen was drawn: no copy of the photo at its scale yet.
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

// The album save of a "High" capture. With Arg 0 only what the UI thread pays (the request
// returns at once); with Arg 1 the writer's own work too: PNG encode (zlib level 3), atomic
// write, album link.
void BM_AlbumSave(benchmark::State &state)
{
    const bool untilWritten = state.range(0) != 0;
    Composition c;
    const Picture picture = capturePhotoView(*c.photoView, *c.layer, QSize(2000, 1500));
    QTemporaryDir library;
    AlbumWriter writer(library.path());
    for (auto _ : state) {
        writer.saveImage(picture, QStringLiteral("Quorlan"), {});
        if (!untilWritten)
            state.PauseTiming();
        writer.waitForWrites();
        QCoreApplication::processEvents();
        if (!untilWritten)
            state.ResumeTiming();
    }
}
BENCHMARK(BM_AlbumSave)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

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

// The strip encoder the album and the e-mail use, at the same levels.
void BM_PngStripsLevel(benchmark::State &state)
{
    Composition c;
    const Picture picture = capturePhotoView(*c.photoView, *c.layer, QSize(2000, 1500));
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = encodePngStrips(picture, int(state.range(0))).size();
    state.counters["MB"] = double(bytes) / 1e6;
}
BENCHMARK(BM_PngStripsLevel)->Arg(1)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// "High" from the touch to "Saved": the capture on the UI thread, then the writer's encode,
// atomic write and album link until its completion is delivered.
void BM_HighUntilSaved(benchmark::State &state)
{
    Composition c;
    QTemporaryDir library;
    AlbumWriter writer(library.path());
    for (auto _ : state) {
        bool saved = false;
        writer.saveImage(capturePhotoView(*c.photoView, *c.layer, QSize(2000, 1500)), QStringLiteral("Quorlan"),
                         [&saved](const AlbumSaveResult &) { saved = true; });
        while (!saved) {
            writer.waitForWrites();
            QCoreApplication::processEvents();
        }
    }
}
BENCHMARK(BM_HighUntilSaved)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The e-mail when no mail program takes it ("false" stands for one that fails at once): the
// encode, the attachment, the hand-over and the draft in Documents, until the answer arrives.
void BM_MailDraft(benchmark::State &state)
{
    Composition c;
    const Picture picture = capturePhotoView(*c.photoView, *c.layer, QSize(2000, 1500));
    QTemporaryDir home;
    MailComposer mail(QStringLiteral("false"), home.filePath("Documents"), home.filePath("Outbox"));
    for (auto _ : state) {
        bool answered = false;
        mail.emailMe(picture, [&answered](const MailResult &) { answered = true; });
        while (!answered) {
            mail.waitForHandOvers();
            QCoreApplication::processEvents();
        }
    }
}
BENCHMARK(BM_MailDraft)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
