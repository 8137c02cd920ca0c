#include "compositor/background_effects.h"

#include <algorithm>

#include <QPainter>

#include "imaging/pixel_cut.h"
#include "imaging/convolution.h"
#include "imaging/parallel.h"
#include "imaging/tone.h"
#include "platform/log.h"
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
    m_undo.clear();
    m_redo.clear();
}

void BackgroundEffects::tell(const QString &message) const
{
    if (m_tell)
        m_tell(message);
}

QString BackgroundEffects::pictureLayersUnavailable() const
{
    return m_layers.hasTopPicture() ? QString() : QStringLiteral("Add a layer first: More → Cut-out lays your cut-out here.");
}

BackgroundEffects::Snapshot BackgroundEffects::snapshot() const
{
    Snapshot s;
    s.background = m_layers.background().image();
    s.base = m_pictures.get(CompositorPictures::Kind::Base);
    s.top = m_layers.top().image();
    s.copy = m_layers.secondCopy().image();
    s.overlay = m_layers.overlay().image();
    s.reflection = m_layers.reflectionPtr();
    s.layout = m_layers.layout();
    s.overlayShown = m_overlayShown;
    s.messInt = m_messInt;
    return s;
}

void BackgroundEffects::restoreSnapshot(const Snapshot &s)
{
    m_layers.background().setImage(s.background);
    // Unchanged most steps: the same shared pixels need no new write.
    if (s.base.bitmap().cacheKey() != m_pictures.get(CompositorPictures::Kind::Base).bitmap().cacheKey())
        m_pictures.set(CompositorPictures::Kind::Base, s.base);
    m_layers.top().setImage(s.top);
    m_layers.secondCopy().setImage(s.copy);
    m_layers.overlay().setImage(s.overlay);
    m_layers.setReflection(s.reflection);
    m_layers.restore(s.layout);
    m_overlayShown = s.overlayShown;
    m_messInt = s.messInt;
}

void BackgroundEffects::push(std::deque<Snapshot> &history, Snapshot s)
{
    history.push_back(std::move(s));
    while (int(history.size()) > kHistoryDepth)
        history.pop_front();
}

void BackgroundEffects::rememberLayout()
{
    Snapshot s = snapshot();
    s.step = ++m_step;
    push(m_undo, std::move(s));
    m_redo.clear();
}

void BackgroundEffects::afterPending(std::function<void()> action)
{
    const int generation = m_generation;
    m_runner.postPrepared([this, action = std::move(action), generation]() -> ui::JobRunner::Work {
        if (generation == m_generation)
            action();
        return {};
    });
}

void BackgroundEffects::beginStep()
{
    // The step's "before" is what the effects asked for earlier leave, so it is taken when
    // its turn comes.
    afterPending([this] { rememberLayout(); });
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
        const int step = m_step;
        return [this, &layer, make = std::move(make), save, generation, step]() -> ui::JobRunner::Apply {
            Picture result = make();
            return [this, &layer, result = std::move(result), save, generation, step] {
                // A new background or leaving the compositor makes a late result meaningless.
                if (generation != m_generation)
                    return;
                if (result.isNull()) {
                    // Showing nothing would only lose what the user sees: keep it, and
                    // drop the step that changed nothing.
                    logLine(QStringLiteral("effect: no picture to work on"));
                    if (!m_undo.empty() && m_undo.back().step == step && m_appliedStep != step)
                        m_undo.pop_back();
                    tell(QStringLiteral("This effect has no picture to work on yet."));
                    return;
                }
                m_appliedStep = step;
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
    if (tag == kUndo) {
        undoAction();
        return;
    }
    if (m_mode == AdjustMode::Background)
        backgroundMode(tag, contrast);
    else if (m_mode == AdjustMode::PictureLayers)
        pictureLayersMode(tag, contrast, opacity);
}

void BackgroundEffects::backgroundMode(int tag, double contrast)
{
    using Kind = CompositorPictures::Kind;
    ui::ImageView &bg = m_layers.background();
    const Save saveBase = [this](const Picture &p) { m_pictures.set(Kind::Base, p); };
    // The background as it is when the effect's turn comes, through op.
    const auto onBackground = [&bg](auto op) -> Read {
        return [&bg, op]() -> Make { return [p = bg.image(), op] { return op(p); }; };
    };
    // The base as it is when the effect's turn comes, through op.
    const auto onBase = [this](auto op) -> Read {
        return [this, op]() -> Make { return [p = m_pictures.get(Kind::Base), op] { return op(p); }; };
    };
    const Filter &filter = m_filter;
    switch (tag) {
    case kContrastSlider: {
        const float value = float(contrast);
        beginStep();
        run(bg, onBase([value](const Picture &p) { return contrastAdjustmentWithValue(p, value); }), saveBase);
        break;
    }
    case kBrightMinus:
    case kBrightPlus: {
        const float gamma = float(tag == kBrightMinus ? kBrightMinusGamma : kBrightPlusGamma);
        beginStep();
        run(bg, onBackground([gamma](const Picture &p) { return gammaCorrectionWithValue(p, gamma); }));
        break;
    }
    case kHard:
        beginStep();
        run(bg, onBase([](const Picture &p) { return p; }));
        break;
    case kSoft:
        beginStep();
        run(bg, onBackground([](const Picture &p) { return gaussianBlurWithBias(p, 1); }));
        break;
    case kPrintMix:
        beginStep();
        run(bg,
            [this, &bg, &filter]() -> Make {
                return [p = bg.image(), base = m_pictures.get(Kind::Base), &filter] { return printMix(p, base, filter); };
            },
            saveBase);
        break;
    case kSepia:
        beginStep();
        run(bg, onBackground([](const Picture &p) { return sepia(p); }), saveBase);
        break;
    case kEdges:
        beginStep();
        run(bg, onBackground([](const Picture &p) { return edgeDetectionWithBias(p, 1); }), saveBase);
        break;
    case kSharpen:
        beginStep();
        run(bg, onBase([](const Picture &p) { return sharpenWithBias(p, 1); }), saveBase);
        break;
    case kColorPlus:
        beginStep();
        run(bg, onBackground([&filter](const Picture &p) { return filter.filterVibrance(kVibrance, p); }));
        break;
    default:
        break;
    }
}

void BackgroundEffects::pictureLayersMode(int tag, double contrast, double opacity)
{
    using Kind = CompositorPictures::Kind;
    ui::ImageView &bg = m_layers.background();
    ui::ImageView &top = m_layers.top();
    ui::ImageView &copy = m_layers.secondCopy();
    const auto on = [](ui::ImageView &layer, auto op) -> Read {
        return [&layer, op]() -> Make { return [p = layer.image(), op] { return op(p); }; };
    };
    const bool touchesLayers = tag != kBrightMinus && tag != kBrightPlus && tag != kEdges && tag != kContrastSlider;
    if (touchesLayers && !pictureLayersUnavailable().isEmpty()) {
        tell(pictureLayersUnavailable());
        return;
    }
    switch (tag) {
    case kContrastSlider: {
        const float value = float(contrast);
        beginStep();
        run(bg, [this, value]() -> Make {
            return [p = m_pictures.get(Kind::Base), value] { return contrastAdjustmentWithValue(grayscale(p), value); };
        });
        break;
    }
    case kBrightMinus:
    case kBrightPlus: {
        const float gamma = float(tag == kBrightMinus ? kBrightMinusGamma : kBrightPlusGamma);
        beginStep();
        run(bg, on(bg, [gamma](const Picture &p) { return gammaCorrectionWithValue(p, gamma); }));
        break;
    }
    case kHard:
        beginStep();
        run(top, on(top, [](const Picture &p) { return sharpenWithBias(gaussianBlurWithBias(p, 1), 1); }));
        break;
    case kSoft:
        beginStep();
        run(top, on(top, [](const Picture &p) { return gaussianBlurWithBias(p, 1); }));
        run(copy, on(copy, [](const Picture &p) { return gaussianBlurWithBias(p, 1); }));
        break;
    case kPrintMix:
        rememberLayout();
        m_layers.overlay().setHidden(false);
        m_layers.compositorView().bringSubviewToFront(&m_layers.overlay());
        m_overlayShown = true;
        break;
    case kSepia:
        rememberLayout();
        copy.setHidden(false);
        m_layers.compositorView().bringSubviewToFront(&copy);
        top.setHidden(true);
        copy.setAlpha(kSecondCopyOpacity);
        break;
    case kEdges:
        beginStep();
        run(bg, on(bg, [](const Picture &p) { return edgeDetectionWithBias(p, 1); }));
        break;
    case kSharpen:
        beginStep();
        run(top, on(top, [](const Picture &p) { return sharpenWithBias(p, 1); }));
        break;
    case kColorPlus:
        beginStep();
        run(top, on(top, [](const Picture &p) { return embossWithBias(p, 1); }));
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
        tell(QStringLiteral("Lay a cut-out over the background before flattening it."));
        return;
    }
    beginStep();
    const Filter &filter = m_filter;
    afterPending([this, &filter, &copy, &overlay] {
        const Picture copyPicture = copy.image();
        const Picture over = overlay.image();
        overlay.setImage({});
        overlay.setHidden(true);
        m_overlayShown = false;
        copy.setHidden(true);
        copy.setImage({});
        run(m_layers.background(),
            [copyPicture, over, &filter]() -> Make {
                return [copyPicture, over, &filter] {
                    return filter.imageProcess(filter.contrast(kPrintContrast, filter.fixImage(addImage(copyPicture, over))));
                };
            },
            [this](const Picture &p) { m_pictures.set(CompositorPictures::Kind::Base, p); });
    });
}

void BackgroundEffects::moreEmboss()
{
    // On the copy while it shows (after Half), else on the top picture.
    ui::ImageView &layer = m_layers.secondCopy().isHidden() ? m_layers.top() : m_layers.secondCopy();
    if (layer.image().isNull()) {
        tell(pictureLayersUnavailable());
        return;
    }
    beginStep();
    run(layer, [&layer]() -> Make { return [p = layer.image()] { return imageByApplyingEmboss3x3(p); }; });
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
    ui::ImageView &overlay = m_layers.overlay();
    if (overlay.image().isNull()) {
        tell(pictureLayersUnavailable().isEmpty() ? QStringLiteral("There is no shadow to enlarge.") : pictureLayersUnavailable());
        return;
    }
    rememberLayout();
    // An enlarged shadow nobody sees would change nothing: it shows.
    if (overlay.isHidden()) {
        m_layers.compositorView().bringSubviewToFront(&overlay);
        overlay.setHidden(false);
        m_overlayShown = true;
    }
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
    if (m_layers.overlay().image().isNull()) {
        tell(pictureLayersUnavailable().isEmpty() ? QStringLiteral("There is no shadow to show.") : pictureLayersUnavailable());
        return;
    }
    if (m_overlayShown)
        darkDecrease();
    else
        darkPlus();
}

void BackgroundEffects::messIt()
{
    afterPending([this] {
        m_messInt = 1;
        if (stepAcross(m_undo, m_redo))
            m_messInt = 1;
    });
}

bool BackgroundEffects::stepAcross(std::deque<Snapshot> &from, std::deque<Snapshot> &to)
{
    if (from.empty())
        return false;
    Snapshot target = std::move(from.back());
    from.pop_back();
    // What is on screen now goes the other way, under the step that is being crossed.
    Snapshot now = snapshot();
    now.step = target.step;
    push(to, std::move(now));
    restoreSnapshot(target);
    return true;
}

void BackgroundEffects::undoAction()
{
    afterPending([this] {
        if (!stepAcross(m_undo, m_redo))
            tell(QStringLiteral("There is nothing to undo."));
    });
}

void BackgroundEffects::redoAction()
{
    afterPending([this] {
        if (!stepAcross(m_redo, m_undo))
            tell(QStringLiteral("There is nothing to redo."));
    });
}

} // namespace vimora
