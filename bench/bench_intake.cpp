// The photo intake from the picker's answer to the working copy and thumbnail written for the
// editor, on large camera JPEGs: the full decode and round trip it did before, and the decode
// at a DCT scale it does now. The photos are $VIMORA_INTAKE_PHOTOS/photo_8000x6000.jpg and
// photo_4000x3000.jpg (default /tmp/intake_photos; see README.md for how to make them).

#include <optional>

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "app/intake_pictures.h"
#include "bench_data.h"
#include "imaging/codec.h"
#include "platform/photo_picker.h"

using namespace vimora;

namespace {

constexpr double kTabletSide = 2000;

QString photoPath(int megapixels)
{
    const QString dir = qEnvironmentVariable("VIMORA_INTAKE_PHOTOS", QStringLiteral("/tmp/intake_photos"));
    return dir + (megapixels == 48 ? "/photo_8000x6000.jpg" : "/photo_4000x3000.jpg");
}

// Both copies written as the intake writes them (JPEG quality 1).
void store(const QTemporaryDir &dir, const Picture &working)
{
    writeFileAtomically(dir.filePath("origin.jpg"), encodeJpeg(working, 1.0));
    writeFileAtomically(dir.filePath("thumb.jpg"), encodeJpeg(intakeThumbnail(working), 1.0));
}

struct Photo
{
    QString path;
    QSize size;
};

// The benchmark's photo, or none (and the benchmark skipped) when it has not been made.
std::optional<Photo> photoFor(benchmark::State &state)
{
    bench::offscreenApplication("bench_intake");
    const QString path = photoPath(int(state.range(0)));
    const QSize size = readPickedPhoto(path, true).size;
    if (size.isEmpty()) {
        state.SkipWithError("photo missing");
        return std::nullopt;
    }
    return Photo{path, size};
}

void BM_IntakeFullDecode(benchmark::State &state)
{
    const std::optional<Photo> photo = photoFor(state);
    if (!photo)
        return;
    QTemporaryDir dir;
    for (auto _ : state) {
        const PhotoPicker::Result picked = readPickedPhoto(photo->path);
        store(dir, intakeWorkingCopy(intakeRoundTrip(picked.photo), kTabletSide));
    }
}
BENCHMARK(BM_IntakeFullDecode)->Arg(48)->Arg(12)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_IntakeScaledDecode(benchmark::State &state)
{
    const std::optional<Photo> photo = photoFor(state);
    if (!photo)
        return;
    QTemporaryDir dir;
    for (auto _ : state) {
        const PhotoPicker::Result picked = readPickedPhoto(photo->path, true);
        store(dir, intakeWorkingCopyOfFile(photo->path, picked.size, kTabletSide).working);
    }
}
BENCHMARK(BM_IntakeScaledDecode)->Arg(48)->Arg(12)->Unit(benchmark::kMillisecond)->UseRealTime();

// The parts: the decode alone at its DCT scale, and the copies' encode and write.
void BM_ScaledDecodeOnly(benchmark::State &state)
{
    const std::optional<Photo> photo = photoFor(state);
    if (!photo)
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(intakeWorkingCopyOfFile(photo->path, photo->size, kTabletSide));
}
BENCHMARK(BM_ScaledDecodeOnly)->Arg(48)->Arg(12)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
