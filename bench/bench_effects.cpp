// The effect flows of the editor on a tablet on the headless host, with the real photo
// (2000 x 1500) as the job's photo and a 1280 x 960 pixel cut-out. "Handler" rows run the
// editor's own operation from the control's action until its result is on the views (the
// picture work on the effect runner and back); "picture work" rows run only the imaging
// underneath.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "bench_data.h"
#include "editor/adjust_panel.h"
#include "editor/cut_image.h"
#include "editor/piece_grid.h"
#include "editor/view_snapshot.h"
#include "editor/view_tags.h"
#include "imaging/composite_filter.h"
#include "imaging/filter.h"
#include "imaging/geometry.h"
#include "imaging/pixel_cut.h"
#include "imaging/tone.h"
#include "platform/app_home.h"
#include "platform/device.h"
#include "store/working_files.h"
#include "ui/button.h"
#include "ui/headless_host.h"
#include "ui/slider.h"

using namespace vimora;

namespace {

constexpr QSize kCutPixels(1280, 960);

/// A tablet editor with the real photo cut to a 1280 x 960 piece, on the toolbar.
struct EffectScreen
{
    QTemporaryDir home;
    ui::HeadlessHost host{QSizeF(768, 1024)};
    std::shared_ptr<ScreenViews> views;
    std::unique_ptr<CutImage> editor;

    EffectScreen()
    {
        bench::offscreenApplication("bench_effects");
        if (qEnvironmentVariableIsEmpty("VIMORA_RESOURCES"))
            qputenv("VIMORA_RESOURCES", VIMORA_BENCH_RESOURCES);
        AppHome::setRoot(home.path());
        Device::setProfile(DeviceProfile::Tablet);
        views = ScreenViews::create(QSizeF(768, 1024));
        host.setRootView(views->rootView);
        WorkingFiles::shared().forget();
        writeFileAtomically(QDir(AppHome::tempDir()).filePath(QStringLiteral("D1001.jpg")), encodePng(bench::benchPhoto()));
        editor = std::make_unique<CutImage>(views);
        editor->awakeFromNib();
        editor->getNumOfArray({QStringLiteral("D1001.jpg")}, {});
        cut();
    }
    ~EffectScreen()
    {
        editor.reset();
        WorkingFiles::shared().flush();
        WorkingFiles::shared().forget();
    }

    /// A rectangle of 1280 x 960 photo pixels, cut.
    void cut()
    {
        ui::View *photo = views->cutImgView->viewWithTag(kPhotoViewTag);
        ui::View *rectangle = views->cutImgView->viewWithTag(kCropRectangleTag);
        if (!photo || !rectangle)
            return;
        const double s = 2000.0 / photo->bounds().width();
        rectangle->setFrame(QRectF(60, 40, kCutPixels.width() / s, kCutPixels.height() / s));
        editor->showResult();
    }
    void settle()
    {
        editor->waitForEffects();
        host.runPending();
    }
    ui::Control *control(int tag) const { return editor->adjustPanel().control(tag); }
    /// The step-two panel on the piece: Scale and Rotation moved, then Next.
    void toStepTwo()
    {
        editor->cutImageZ(kWorkOnPieceTag);
        setSlider(kPieceScaleTag, 0.4);
        setSlider(kPieceRotationTag, 20);
        editor->singleBtn();
        settle();
    }
    void setSlider(int tag, double value)
    {
        if (auto *slider = dynamic_cast<ui::Slider *>(control(tag))) {
            slider->setValue(value);
            slider->sendActions(ui::ControlEventValueChanged);
            settle();
        }
    }
};

EffectScreen &screen()
{
    static EffectScreen s;
    return s;
}

Picture cutOut()
{
    return cutImage(kCutPixels.width(), kCutPixels.height(), 300, 200, bench::benchPhoto());
}

// --- Shattering ---

void BM_Shattering(benchmark::State &state)
{
    bench::offscreenApplication("bench_effects");
    const Picture picture = cutOut();
    ui::ImageView container(QRectF(0, 0, 416, 312));
    container.setTag(kPieceTag);
    for (auto _ : state) {
        container.setImage(picture);
        shattering(container);
    }
}
BENCHMARK(BM_Shattering)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ShatterCropsOnly(benchmark::State &state)
{
    const Picture picture = cutOut();
    for (auto _ : state)
        benchmark::DoNotOptimize(shatterCrops(picture));
}
BENCHMARK(BM_ShatterCropsOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- Next on the piece: flattening at the photo's resolution ---

void BM_NextOnThePiece(benchmark::State &state)
{
    EffectScreen &s = screen();
    s.editor->cutImageZ(kWorkOnPieceTag);
    s.setSlider(kPieceScaleTag, 0.4);
    s.setSlider(kPieceRotationTag, 20);
    for (auto _ : state) {
        s.editor->singleBtn();
        s.settle();
        state.PauseTiming();
        s.editor->shatteringPanel(kPieceStepOnePanel);
        s.setSlider(kPieceScaleTag, 0.4);
        s.setSlider(kPieceRotationTag, 20);
        state.ResumeTiming();
    }
    s.editor->combineImg();
}
BENCHMARK(BM_NextOnThePiece)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FlattenPicturesOnly(benchmark::State &state)
{
    const Picture picture = cutOut();
    const ui::AffineTransform turn = ui::concat(ui::AffineTransform::makeScale(1.4, 1.4), ui::AffineTransform::makeRotation(0.35));
    for (auto _ : state)
        benchmark::DoNotOptimize(renderSnapshot(gridSnapshot(shatterCrops(picture), QSizeF(kCutPixels), turn), kCutPixels));
}
BENCHMARK(BM_FlattenPicturesOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- On-release controls of step two, on the 1280 x 960 flattened picture ---

enum class Fires { Filter, Image };

void runControl(benchmark::State &state, int tag, double value, Fires fires)
{
    EffectScreen &s = screen();
    s.toStepTwo();
    // Distortion and Rotation live on the whole photo's panel: the same handler, fired by a
    // stand-in slider, works here on the larger picture.
    ui::Slider standIn;
    standIn.setTag(tag);
    standIn.setMinimumValue(-90);
    standIn.setMaximumValue(90);
    standIn.setValue(value);
    ui::Control *sender = s.control(tag);
    if (auto *slider = dynamic_cast<ui::Slider *>(sender))
        slider->setValue(value);
    if (!sender)
        sender = &standIn;
    const Picture flattened = WorkingFiles::shared().simple2Load();
    for (auto _ : state) {
        if (fires == Fires::Filter)
            s.editor->filterSelect(*sender);
        else
            s.editor->imageEffect(*sender);
        s.settle();
        // Cumulative controls start each round from the flattened picture.
        state.PauseTiming();
        if (ui::ImageView *piece = dynamic_cast<ui::ImageView *>(s.views->cutImgView->viewWithTag(kPieceTag)))
            piece->setImage(flattened);
        state.ResumeTiming();
    }
    s.editor->combineImg();
}

void BM_Hue(benchmark::State &state) { runControl(state, kHueTag, 1.0, Fires::Filter); }
void BM_ExposureAndSaturation(benchmark::State &state) { runControl(state, kExposureTag, 0.6, Fires::Filter); }
void BM_Blur(benchmark::State &state) { runControl(state, kBlurTag, 0, Fires::Filter); }
void BM_SharpenPlus(benchmark::State &state) { runControl(state, kSharpenTag, 0, Fires::Filter); }
void BM_Style1Overlay(benchmark::State &state) { runControl(state, kStyle1Tag, 0, Fires::Image); }
void BM_Style2Darken(benchmark::State &state) { runControl(state, kStyle2Tag, 0, Fires::Image); }
void BM_Style3HardLight(benchmark::State &state) { runControl(state, kStyle3Tag, 0, Fires::Image); }
void BM_Style4Undo(benchmark::State &state) { runControl(state, kStyle4Tag, 0, Fires::Image); }
void BM_Distortion(benchmark::State &state) { runControl(state, kDistortionTag, 0.7, Fires::Image); }
void BM_Rotation(benchmark::State &state) { runControl(state, kFlatRotationTag, -35, Fires::Image); }
BENCHMARK(BM_Hue)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExposureAndSaturation)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Blur)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_SharpenPlus)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Style1Overlay)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Style2Darken)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Style3HardLight)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Style4Undo)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Distortion)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Rotation)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same pictures through the filters alone.
void BM_FilterOnly(benchmark::State &state)
{
    const Picture w = cutOut();
    const Filter filter;
    const CompositeFilter blend;
    for (auto _ : state) {
        switch (state.range(0)) {
        case kHueTag:
            benchmark::DoNotOptimize(filter.filterHue(1.0f, w));
            break;
        case kExposureTag:
            benchmark::DoNotOptimize(filter.filterColorControls(1, 0, 1, filter.filterExp(0.6f, w)));
            break;
        case kBlurTag:
            benchmark::DoNotOptimize(gaussianBlurWithBias(w, 1));
            break;
        case kSharpenTag:
            benchmark::DoNotOptimize(sharpenWithBias(gaussianBlurWithBias(w, 1), 1));
            break;
        case kStyle1Tag:
            benchmark::DoNotOptimize(blend.filterOverlayBlendMode(w, w));
            break;
        case kStyle2Tag:
            benchmark::DoNotOptimize(blend.filterDarkenBlendMode(w, w));
            break;
        case kStyle3Tag:
            benchmark::DoNotOptimize(blend.filterHardLightBlendMode(w, w));
            break;
        case kDistortionTag:
            benchmark::DoNotOptimize(filter.filterBumpDistortion(0.7f, 640, 480, 480, w));
            break;
        case kFlatRotationTag:
            benchmark::DoNotOptimize(rotateInDegrees(w, -35));
            break;
        default:
            break;
        }
    }
}
BENCHMARK(BM_FilterOnly)
    ->ArgName("tag")
    ->Args({kHueTag})
    ->Args({kExposureTag})
    ->Args({kBlurTag})
    ->Args({kSharpenTag})
    ->Args({kStyle1Tag})
    ->Args({kStyle2Tag})
    ->Args({kStyle3Tag})
    ->Args({kDistortionTag})
    ->Args({kFlatRotationTag})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// --- The merge (Text): the photo view with the piece at the photo's 2000 x 1500 ---

void BM_Merge(benchmark::State &state)
{
    EffectScreen &s = screen();
    for (auto _ : state) {
        s.editor->closeShatterPanel();
        s.settle();
        state.PauseTiming();
        s.cut();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_MergePictureOnly(benchmark::State &state)
{
    EffectScreen &s = screen();
    ui::View *photo = s.views->cutImgView->viewWithTag(kPhotoViewTag);
    const ViewSnapshot snapshot = snapshotOf(*photo);
    const double sx = 2000.0 / photo->bounds().width();
    for (auto _ : state)
        benchmark::DoNotOptimize(renderSnapshot(snapshot, QSize(2000, 1500), sx, sx));
}
BENCHMARK(BM_MergePictureOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

// --- A frame while the 81 pieces are scaled and turned (view properties only) ---

void BM_FrameWith81TurnedPieces(benchmark::State &state)
{
    EffectScreen &s = screen();
    s.editor->cutImageZ(kWorkOnPieceTag);
    double angle = 0;
    for (auto _ : state) {
        s.setSlider(kPieceRotationTag, angle);
        s.setSlider(kPieceScaleTag, 0.5);
        angle = angle > 50 ? -50 : angle + 7;
        benchmark::DoNotOptimize(s.host.render());
    }
    s.editor->combineImg();
}
BENCHMARK(BM_FrameWith81TurnedPieces)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
