#include "compositor/background_effects.h"

#include <algorithm>

#include <QPainter>

#include "imaging/pixel_cut.h"
#include "imaging/convolution.h"
#include "imaging/parallel.h"
#include "imaging/tone.h"
#include "platform/log.h"
#include "store/working_files.h"
#include "screenkit/reflection_view.h"

namespace vimora {

namespace {
using namespace effect_tag;

constexpr double kBrightMinusGamma = 1.1;
constexpr double kBrightPlusGamma = 0.9;
constexpr int kPrintMixContrast = 200;
constexpr int kPrintContrast = 10;
constexpr float kVibrance = 0.5f;
constexpr double kOverlayEnlargement = 1.2;
constexpr double kSecondCopyOpacity = 0.5;

WorkingFiles &files()
{
    return WorkingFiles::shared();
}
} // namespace

namespace {
bool isPlainBitmap(const Picture &p)
{
    return p.scale() == 1.0 && p.orientation() == Orientation::Up;
}

/// Rows [top, bottom) of a plain picture (none when the picture has no such rows).
Picture rows(const Picture &p, int top, int bottom)
{
    bottom = std::min(bottom, p.pixelHeight());
    if (p.isNull() || top >= bottom)
        return {};
    return Picture(p.bitmap().copy(0, top, p.pixelWidth(), bottom - top));
}
} // namespace

Picture printMix(const Picture &background, const Picture &base, const Filter &filter)
{
    const auto mix = [&filter](const Picture &bg, const Picture &b) {
        return addImage(bg, b.isNull() ? Picture() : filter.imageProcess(filter.contrast9(b, kPrintMixContrast)));
    };
    const int height = background.pixelHeight();
    if (!isPlainBitmap(background) || !isPlainBitmap(base) || height < 2)
        return mix(background, base);
    const int middle = height / 2;
    // The two halves at once: mix's filters are too short to split well on their own.
    Picture halves[2];
    parallelRows(
        2,
        [&](int first, int end) {
            for (int half = first; half < end; ++half)
                halves[half] = half == 0 ? mix(rows(background, 0, middle), rows(base, 0, middle))
                                         : mix(rows(background, middle, height), rows(base, middle, height));
        },
        1);
    const Picture &upper = halves[0], &lower = halves[1];
    if (upper.isNull() || lower.isNull())
        return mix(background, base);
    QImage out(background.pixelWidth(), height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&out);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, upper.bitmap());
    painter.drawImage(0, middle, lower.bitmap());
    painter.end();
    return Picture(out);
}

AdjustMode adjustModeForTag(int tag)
{
    if (tag == int(AdjustMode::Background))
        return AdjustMode::Background;
    if (tag == int(AdjustMode::PictureLayers))
        return AdjustMode::PictureLayers;
    return AdjustMode::None;
}

BackgroundEffects::BackgroundEffects(CompositorLayers &layers, std::function<void(const QString &)> tell)
    : m_layers(layers)
    , m_tell(std::move(tell))
    , m_runner([this](const QString &reason) {
        if (m_tell)
            m_tell(QStringLiteral("This effect could not be made: %1").arg(reason));
    })
{
}

void BackgroundEffects::reset()
{
    ++m_generation;
    m_runner.clearPending();
    m_is3d = 1;
    m_messInt = 0;
    m_overlayShown = false;
    m_undoLayout.clear();
}

void BackgroundEffects::run(ui::ImageView &layer, Read read, Save save)
{
    // read runs on the UI thread when the effect's turn comes, so it takes the pictures the
    // effect before it left; what it returns runs on a worker.
    const int generation = m_generation;
    m_runner.postPrepared([this, &layer, read = std::move(read), save = std::move(save), generation]() -> ui::JobRunner::Work {
        if (generation != m_generation)
            return {};
        Make make = read();
        if (!make)
            return {};
        return [this, &layer, make = std::move(make), save, generation]() -> ui::JobRunner::Apply {
            Picture result = make();
            return [this, &layer, result = std::move(result), save, generation] {
                // A new background or leaving the compositor makes a late result meaningless.
                if (generation != m_generation)
                    return;
                if (result.isNull()) {
                    // Showing nothing would only lose what the user sees: keep it.
                    logLine(QStringLiteral("effect: no picture to work on"));
                    if (m_tell)
                        m_tell(QStringLiteral("This effect has no picture to work on yet."));
                    return;
                }
                layer.setImage(result);
                if (save)
                    save(result);
            };
        };
    });
}

void BackgroundEffects::filterSelect(int tag, double contrast, double opacity)
{
    m_is3d = tag;
    if (m_mode == AdjustMode::Background)
        backgroundMode(tag, contrast);
    else if (m_mode == AdjustMode::PictureLayers)
        pictureLayersMode(tag, contrast, opacity);
}

void BackgroundEffects::backgroundMode(int tag, double contrast)
{
    ui::ImageView &bg = m_layers.background();
    const Save saveBase = [](const Picture &p) { files().simple2Save(p); };
    // The background as it is when the effect's turn comes, through op.
    const auto onBackground = [&bg](auto op) -> Read {
        return [&bg, op]() -> Make { return [p = bg.image(), op] { return op(p); }; };
    };
    // A working-file slot as it is when the effect's turn comes, through op.
    const auto onSlot = [](WorkingFiles::Slot slot, auto op) -> Read {
        return [slot, op]() -> Make { return [p = files().load(slot), op] { return op(p); }; };
    };
    const Filter &filter = m_filter;
    using Slot = WorkingFiles::Slot;
    switch (tag) {
    case kContrastSlider: {
        const float value = float(contrast);
        run(bg, onSlot(Slot::Word, [value](const Picture &p) { return contrastAdjustmentWithValue(p, value); }), saveBase);
        break;
    }
    case kBrightMinus:
    case kBrightPlus: {
        const float gamma = float(tag == kBrightMinus ? kBrightMinusGamma : kBrightPlusGamma);
        run(bg, onBackground([gamma](const Picture &p) { return gammaCorrectionWithValue(p, gamma); }));
        break;
    }
    case kHard:
        run(bg, onSlot(Slot::Word, [](const Picture &p) { return p; }));
        break;
    case kSoft:
        run(bg, onBackground([](const Picture &p) { return gaussianBlurWithBias(p, 1); }));
        break;
    case kPrintMix:
        run(bg,
            [&bg, &filter]() -> Make {
                return [p = bg.image(), base = files().simple2Load(), &filter] { return printMix(p, base, filter); };
            },
            saveBase);
        break;
    case kSepia:
        run(bg, onBackground([](const Picture &p) { return sepia(p); }), saveBase);
        break;
    case kEdges:
        run(bg, onBackground([](const Picture &p) { return edgeDetectionWithBias(p, 1); }), saveBase);
        break;
    case kUndo:
        run(bg, onSlot(Slot::Origin, [](const Picture &p) { return p; }), saveBase);
        break;
    case kSharpen:
        run(bg, onSlot(Slot::Word, [](const Picture &p) { return sharpenWithBias(p, 1); }), saveBase);
        break;
    case kColorPlus:
        run(bg, onBackground([&filter](const Picture &p) { return filter.filterVibrance(kVibrance, p); }));
        break;
    default:
        break;
    }
}

void BackgroundEffects::pictureLayersMode(int tag, double contrast, double opacity)
{
    ui::ImageView &bg = m_layers.background();
    ui::ImageView &top = m_layers.top();
    ui::ImageView &copy = m_layers.secondCopy();
    using Slot = WorkingFiles::Slot;
    const auto on = [](ui::ImageView &layer, auto op) -> Read {
        return [&layer, op]() -> Make { return [p = layer.image(), op] { return op(p); }; };
    };
    const auto onSlot = [](Slot slot, auto op) -> Read {
        return [slot, op]() -> Make { return [p = files().load(slot), op] { return op(p); }; };
    };
    const Save saveAdjust = [](const Picture &p) { files().simple3Save(p); };
    const auto same = [](const Picture &p) { return p; };
    switch (tag) {
    case kContrastSlider: {
        const float value = float(contrast);
        run(bg, onSlot(Slot::Word, [value](const Picture &p) { return contrastAdjustmentWithValue(grayscale(p), value); }));
        break;
    }
    case kBrightMinus:
    case kBrightPlus: {
        const float gamma = float(tag == kBrightMinus ? kBrightMinusGamma : kBrightPlusGamma);
        run(bg, on(bg, [gamma](const Picture &p) { return gammaCorrectionWithValue(p, gamma); }));
        break;
    }
    case kHard:
        run(top, on(top, [](const Picture &p) { return sharpenWithBias(gaussianBlurWithBias(p, 1), 1); }), saveAdjust);
        break;
    case kSoft:
        run(top, on(top, [](const Picture &p) { return gaussianBlurWithBias(p, 1); }));
        run(copy, on(copy, [](const Picture &p) { return gaussianBlurWithBias(p, 1); }));
        break;
    case kPrintMix:
        rememberLayout();
        m_layers.overlay().setHidden(false);
        m_layers.compositorView().bringSubviewToFront(&m_layers.overlay());
        break;
    case kSepia:
        rememberLayout();
        copy.setHidden(false);
        m_layers.compositorView().bringSubviewToFront(&copy);
        top.setHidden(true);
        copy.setAlpha(kSecondCopyOpacity);
        break;
    case kEdges:
        run(bg, on(bg, [](const Picture &p) { return edgeDetectionWithBias(p, 1); }));
        break;
    case kUndo:
        rememberLayout();
        top.setAlpha(1.0);
        run(top, onSlot(Slot::Tem, same), saveAdjust);
        run(bg, onSlot(Slot::Origin, [](const Picture &p) { return grayscale(p); }));
        break;
    case kSharpen:
        run(top, onSlot(Slot::Adjust, [](const Picture &p) { return sharpenWithBias(p, 1); }), saveAdjust);
        run(bg, onSlot(Slot::Origin, same));
        break;
    case kColorPlus:
        run(top, onSlot(Slot::Adjust, [](const Picture &p) { return embossWithBias(p, 1); }), saveAdjust);
        break;
    case kOpacitySlider:
        rememberLayout();
        top.setAlpha(opacity);
        copy.setAlpha(opacity);
        break;
    default:
        break;
    }
}

void BackgroundEffects::printmaking()
{
    ui::ImageView &copy = m_layers.secondCopy();
    ui::ImageView &overlay = m_layers.overlay();
    if (copy.image().isNull()) {
        // Flattening nothing would blank the background: keep it and say why.
        if (m_tell)
            m_tell(QStringLiteral("Lay a cut-out over the background before flattening it."));
        return;
    }
    rememberLayout();
    const Filter &filter = m_filter;
    const Picture copyPicture = copy.image();
    files().simple2Save(copyPicture);
    run(m_layers.background(),
        [copyPicture, over = overlay.image(), &filter]() -> Make {
            return [copyPicture, over, &filter] {
                return filter.imageProcess(filter.contrast(kPrintContrast, filter.fixImage(addImage(copyPicture, over))));
            };
        },
        [](const Picture &p) { files().simpleSave(p); });
    overlay.setImage({});
    overlay.setHidden(true);
    m_overlayShown = false;
    copy.setHidden(true);
    copy.setImage({});
}

void BackgroundEffects::moreEmboss()
{
    ui::ImageView &copy = m_layers.secondCopy();
    run(copy, [&copy]() -> Make { return [p = copy.image()] { return imageByApplyingEmboss3x3(p); }; });
}

void BackgroundEffects::reflectiMe()
{
    if (m_messInt != 0) {
        rememberLayout();
        m_layers.removeReflection();
        m_messInt = 0;
        return;
    }
    ui::ImageView &top = m_layers.top();
    const Picture picture = top.image();
    if (picture.isNull()) {
        if (m_tell)
            m_tell(QStringLiteral("Lay a cut-out over the background to reflect it."));
        return;
    }
    rememberLayout();
    m_messInt = 1;
    // Right under the top picture, wherever it was moved: half its height, its width.
    const QRectF frame = top.frame();
    auto reflection = std::make_shared<ReflectionView>(QRectF(frame.left(), frame.bottom(), frame.width(), frame.height() / 2));
    const QSizeF size = picture.size();
    reflection->setImage(cutImage(size.width(), std::max(1.0, size.height() / 2), 0, 0, picture));
    m_layers.setReflection(reflection);
}

void BackgroundEffects::scaleDrawImg()
{
    logLine(QStringLiteral("殘影放大"));
    rememberLayout();
    ui::ImageView &overlay = m_layers.overlay();
    overlay.setTransform(ui::scaled(overlay.transform(), kOverlayEnlargement, kOverlayEnlargement));
    const QSizeF copy = m_layers.secondCopy().frame().size();
    overlay.setCenter(QPointF(copy.width() / 2, copy.height() / 2));
}

void BackgroundEffects::darkPlus()
{
    rememberLayout();
    ui::ImageView &overlay = m_layers.overlay();
    m_layers.compositorView().bringSubviewToFront(&overlay);
    overlay.setHidden(false);
    m_overlayShown = true;
}

void BackgroundEffects::darkDecrease()
{
    rememberLayout();
    ui::ImageView &overlay = m_layers.overlay();
    m_layers.compositorView().sendSubviewToBack(&overlay);
    overlay.setHidden(true);
    m_overlayShown = false;
}

void BackgroundEffects::pressOverlayToggle()
{
    if (m_overlayShown)
        darkDecrease();
    else
        darkPlus();
}

void BackgroundEffects::messIt()
{
    undoAction();
    m_messInt = 1;
}

void BackgroundEffects::rememberLayout()
{
    m_undoLayout = m_layers.layout();
}

void BackgroundEffects::undoAction()
{
    if (m_undoLayout.empty())
        return;
    const CompositorLayers::Layout layout = std::exchange(m_undoLayout, {});
    const bool reflected = m_layers.reflection() != nullptr;
    m_layers.restore(layout);
    m_overlayShown = !m_layers.overlay().isHidden();
    if (reflected && !m_layers.reflection())
        m_messInt = 0;
}

} // namespace vimora
