// The view toolkit on an editor-like tablet screen: a 650 x 488 aspect-fill view of a
// 1280 x 960 photo, 81 transformed piece views over it (a 9 x 9 grid, each scaled and
// turned) and a panel of a dozen controls with their labels. Frames are drawn the way the
// window host draws them; hit tests and touch dispatch go through the headless host.

#include <cmath>
#include <random>

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

#include "bench_data.h"
#include "imaging/raster.h"
#include "ui/button.h"
#include "ui/headless_host.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/slider.h"
#include "ui/switch.h"

using namespace vimora;
using namespace vimora::ui;

namespace {

QGuiApplication &app()
{
    return bench::offscreenApplication("bench_ui");
}

Picture smallPicture(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(color);
    p.setPen(QPen(color.darker(150), 2));
    p.drawRoundedRect(QRectF(1, 1, w - 2, h - 2), h / 2.0 - 1, h / 2.0 - 1);
    return Picture(image, 2.0);
}

// The screen, held by a headless host of the given render scale.
struct EditorScreen
{
    HeadlessHost host;
    ViewPtr root = std::make_shared<View>();
    std::shared_ptr<ImageView> photoView;
    std::shared_ptr<ImageView> container;
    std::shared_ptr<ImageView> panel;

    explicit EditorScreen(double scale, bool shadows)
        : host(QSizeF(768, 1024), scale)
    {
        app();
        host.setRootView(root); // clear, over the window's black
        const QImage photo = bench::benchPhoto().bitmap().scaled(1280, 960, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);

        photoView = std::make_shared<ImageView>(QRectF(0, 0, 650, 488));
        photoView->setCenter(QPointF(384, 512 - 50 - 150));
        photoView->setImage(Picture(photo));
        photoView->setContentMode(ContentMode::ScaleAspectFill);
        photoView->setClipsToBounds(true);
        photoView->setBorderWidth(2);
        photoView->setBorderColor(Qt::white);
        photoView->setUserInteractionEnabled(true);
        root->addSubview(photoView);

        // The piece container over the photo with its 81 pieces.
        container = std::make_shared<ImageView>(QRectF(0, 0, 650, 488));
        container->setUserInteractionEnabled(true);
        photoView->addSubview(container);
        const int cw = photo.width() / 9, ch = photo.height() / 9;
        for (int r = 0; r < 9; ++r)
            for (int c = 0; c < 9; ++c) {
                auto piece = std::make_shared<ImageView>(QRectF(c * 650.0 / 9, r * 488.0 / 9, 650.0 / 9, 488.0 / 9));
                piece->setImage(Picture(photo.copy(c * cw, r * ch, cw, ch)));
                piece->setContentMode(ContentMode::ScaleAspectFit);
                piece->setAutoresizingMask(63);
                piece->setTag(1000 + r * 9 + c);
                piece->setUserInteractionEnabled(true);
                const double s = 1.0 + 0.05 * ((r * 9 + c) % 5);
                piece->setTransform(rotated(AffineTransform::makeScale(s, s), ((r + 2 * c) % 7 - 3) * 0.05));
                if (shadows) {
                    QPainterPath path;
                    path.addRect(piece->bounds());
                    piece->setShadowPath(path);
                    piece->setShadowOffset(QPointF(-5, -5));
                    piece->setShadowOpacity(0.5);
                }
                container->addSubview(piece);
            }

        // The adjust panel: four sliders, two switches, six buttons and their labels.
        panel = std::make_shared<ImageView>(QRectF(224, 660, 320, 300));
        panel->setBorderWidth(2);
        panel->setBorderColor(Qt::white);
        panel->setBackgroundColor(QColor(0, 0, 0, 160));
        panel->setUserInteractionEnabled(true);
        root->addSubview(panel);
        const Picture track = smallPicture(40, 10, QColor(70, 140, 230));
        const Picture thumb = smallPicture(28, 28, QColor(240, 240, 240));
        const char *names[] = {"Alpha", "Hue", "Exposure", "Saturation"};
        for (int i = 0; i < 4; ++i) {
            const double x = i % 2 ? 10 : 160, y = 30 + (i / 2) * 50;
            auto slider = std::make_shared<Slider>(QRectF(x, y, 150, 40));
            slider->setMinimumTrackImage(StretchableImage::stretchable(track, 10, 0));
            slider->setThumbImage(thumb);
            slider->setValue(0.3 + 0.1 * i);
            panel->addSubview(slider);
            auto label = std::make_shared<Label>(QRectF(x + 60, y + 20, 100, 50), QString::fromLatin1(names[i]));
            label->setBackgroundColor(Qt::transparent);
            label->setTextColor(Qt::white);
            label->setShadowColor(Qt::black);
            label->setShadowOffset(QPointF(2, 2));
            panel->addSubview(label);
        }
        for (int i = 0; i < 2; ++i) {
            auto sw = std::make_shared<Switch>(QRectF(5, 140 + i * 40, 79, 27));
            sw->setOn(i == 0);
            panel->addSubview(sw);
        }
        const Picture background = smallPicture(80, 50, QColor(60, 60, 70));
        const char *titles[] = {"Style1", "Style2", "Style3", "Style4", "Blur", "Sharpen+"};
        for (int i = 0; i < 6; ++i) {
            auto button = std::make_shared<Button>(QRectF(100 + (i % 2) * 110, 130 + (i / 2) * 55, 100, 50));
            button->setBackgroundImage(StretchableImage::resizable(background, EdgeInsets{0, 20, 0, 20}));
            button->setTitle(QString::fromLatin1(titles[i]));
            button->setTitleShadowColor(Qt::black);
            button->setTitleShadowOffset(QPointF(2, 2));
            panel->addSubview(button);
        }
    }
};

// turning: one piece turns a little every frame, as under a two-finger turn.
void renderFrames(benchmark::State &state, double scale, bool shadows, bool turning = false)
{
    EditorScreen screen(scale, shadows);
    View *const turned = screen.container->subviewAt(40);
    double angle = 0;
    QImage frame = makeRaster(int(768 * scale), int(1024 * scale));
    auto draw = [&]() {
        QPainter p(&frame);
        p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
        p.scale(scale, scale);
        screen.host.render(p); // the window view is opaque: the frame needs no clearing
    };
    draw(); // the first frame builds the cached small copies of the photo and pieces
    for (auto _ : state) {
        if (turning)
            turned->setTransform(AffineTransform::makeRotation(angle += 0.01));
        draw();
        benchmark::ClobberMemory();
    }
}

void BM_FrameRender(benchmark::State &state)
{
    renderFrames(state, 1.0, false);
}
BENCHMARK(BM_FrameRender)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FrameRenderWithPieceShadows(benchmark::State &state)
{
    renderFrames(state, 1.0, true);
}
BENCHMARK(BM_FrameRenderWithPieceShadows)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FrameRenderHighDensity(benchmark::State &state)
{
    renderFrames(state, 2.0, false);
}
BENCHMARK(BM_FrameRenderHighDensity)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FrameRenderHighDensityWhileAPieceTurns(benchmark::State &state)
{
    renderFrames(state, 2.0, false, true);
}
BENCHMARK(BM_FrameRenderHighDensityWhileAPieceTurns)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();

void BM_FirstFrameWithColdCaches(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto screen = std::make_unique<EditorScreen>(1.0, false);
        QImage frame = makeRaster(768, 1024);
        state.ResumeTiming();
        QPainter p(&frame);
        p.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
        screen->host.render(p);
        p.end();
        state.PauseTiming();
        screen.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstFrameWithColdCaches)->Unit(benchmark::kMillisecond)->Iterations(10)->MeasureProcessCPUTime()->UseRealTime();

void BM_HitTest(benchmark::State &state)
{
    EditorScreen screen(1.0, false);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> x(0, 768), y(0, 1024);
    std::vector<QPointF> points(1024);
    for (QPointF &p : points)
        p = QPointF(x(random), y(random));
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(screen.host.hitTest(points[i++ & 1023]));
    }
}
BENCHMARK(BM_HitTest)->Unit(benchmark::kMicrosecond);

void BM_TouchDownAndUpOnAPiece(benchmark::State &state)
{
    EditorScreen screen(1.0, false);
    const QPointF onPiece = screen.container->subviewAt(40)->convertPointTo(QPointF(10, 10), nullptr);
    for (auto _ : state) {
        screen.host.sendTouches({TouchInput(0, TouchPhase::Began, onPiece)});
        screen.host.sendTouches({TouchInput(0, TouchPhase::Ended, onPiece)});
    }
}
BENCHMARK(BM_TouchDownAndUpOnAPiece)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
