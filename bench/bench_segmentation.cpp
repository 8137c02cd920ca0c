// The smart cut on a 2000 x 1500 photo: the first pass from the tap (the reduced copy, GrabCut,
// the edge refined at full size) and one touch-up stroke.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include <QImage>

#include "imaging/subject_cut.h"

using namespace vimora;

namespace {

/// A textured subject (a disc with a lobe) on a textured background, photo-like in grain.
const QImage &photo()
{
    static const QImage image = [] {
        QImage out(2000, 1500, QImage::Format_ARGB32_Premultiplied);
        std::mt19937 grain(5);
        std::uniform_int_distribution<int> noise(-25, 25);
        for (int y = 0; y < out.height(); ++y) {
            auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
            for (int x = 0; x < out.width(); ++x) {
                const bool subject = std::hypot(x - 1000, y - 750) < 330 || std::hypot(x - 1250, y - 520) < 120;
                const double wave = 20 * std::sin(x * 0.013) * std::cos(y * 0.021);
                const int r = subject ? 190 : 70, g = subject ? 80 : 140, b = subject ? 60 : 110;
                auto c = [&](int v) { return std::clamp(int(v + wave) + noise(grain), 0, 255); };
                row[x] = qRgb(c(r), c(g), c(b));
            }
        }
        return out;
    }();
    return image;
}

const QRect kRect(600, 330, 820, 820);

void BM_SmartCutFirstPass(benchmark::State &state)
{
    photo(); // made before the clock runs
    for (auto _ : state) {
        SubjectCut cut = SubjectCut::find(photo(), kRect);
        benchmark::DoNotOptimize(cut);
    }
}
BENCHMARK(BM_SmartCutFirstPass)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SmartCutPieceAndHole(benchmark::State &state)
{
    const SubjectCut cut = SubjectCut::find(photo(), kRect);
    const Picture whole(photo());
    for (auto _ : state) {
        Picture piece = shapedPiece(photo(), cut);
        Picture hole = shapedHole(whole, cut);
        benchmark::DoNotOptimize(piece);
        benchmark::DoNotOptimize(hole);
    }
}
BENCHMARK(BM_SmartCutPieceAndHole)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SmartCutTouchUpStroke(benchmark::State &state)
{
    const SubjectCut cut = SubjectCut::find(photo(), kRect);
    SubjectStroke stroke;
    stroke.keep = false;
    stroke.radius = 20;
    stroke.points = {QPointF(1250, 420), QPointF(1280, 480), QPointF(1300, 560)};
    for (auto _ : state) {
        SubjectCut touched = cut.touchedUp(stroke);
        benchmark::DoNotOptimize(touched);
    }
}
BENCHMARK(BM_SmartCutTouchUpStroke)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
