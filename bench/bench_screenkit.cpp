// A colour pick as the user makes it: the palette read under the finger and a text layer of
// a 40-character line rendered at 90 points (about 1800 x 200 pixels) recoloured to it.

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFont>
#include <QPainter>

#include "bench_data.h"
#include "platform/resources.h"
#include "ui/image_view.h"
#include "screenkit/color_picker_view_controller.h"

using namespace vimora;

namespace {

Picture textLayer()
{
    QImage image(1800, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::TextAntialiasing);
    QFont font;
    font.setPixelSize(90);
    p.setFont(font);
    p.setPen(Qt::red);
    p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("A line of forty characters for the pick"));
    return Picture(image);
}

void BM_PickRecolouringATextLayer(benchmark::State &state)
{
    bench::offscreenApplication("bench_screenkit");
    // The palette artwork is built beside the application's binary.
    if (qEnvironmentVariableIsEmpty("VIMORA_RESOURCES"))
        Resources::setDirectory(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/resources"));
    auto layers = std::make_shared<ui::View>(QRectF(0, 0, 768, 1024));
    auto layer = std::make_shared<ui::ImageView>(textLayer());
    layer->setTag(kFirstTextLayerTag);
    layers->addSubview(layer);
    ColorPickerViewController picker;
    picker.buildColorPickerViewBig(QRectF(15, 55, 250, 250));
    picker.setCutImgView(layers);
    picker.giveNum(kFirstTextLayerTag);
    int step = 0;
    for (auto _ : state) {
        // A different spot each time, as a finger moving over the palette.
        ++step;
        picker.pickAt(QPointF(20 + step % 200, 40 + step % 150));
        benchmark::DoNotOptimize(layer->image());
    }
}
BENCHMARK(BM_PickRecolouringATextLayer)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
