// The direct manipulation of the text box and the layers, and the transform
// commands.

#include "imaging/filter.h"
#include "imaging/geometry.h"
#include "platform/log.h"
#include "text/text_controls.h"
#include "text/text_layout.h"
#include "text/word_table.h"
#include "ui/long_press_recognizer.h"
#include "ui/pinch_recognizer.h"
#include "ui/tap_recognizer.h"

namespace vimora {

namespace {
constexpr double kTransformDoneSide = 50;

bool isOver(const ui::GestureRecognizer &g)
{
    return g.state() == ui::GestureRecognizer::State::Ended || g.state() == ui::GestureRecognizer::State::Cancelled;
}
} // namespace

void WordTable::handleMove(ui::PanRecognizer &pan)
{
    ui::View *view = pan.view();
    if (!view)
        return;
    m_entry.noteTextView().resignFirstResponder();
    m_drag.follow(pan);
    m_views.descripImg2->setHidden(true);
    if (m_handles.isShown() && (view == &m_entry.noteTextView() || view == tView())) {
        m_handles.setCornersFromView(*view);
        m_handles.placeHandles();
    }
    if (isOver(pan))
        layersChanged();
}

void WordTable::handleMoveTView(ui::PanRecognizer &pan)
{
    ui::View *view = pan.view();
    if (!view)
        return;
    m_drag.follow(pan);
    m_views.descripImg2->setHidden(true);
    if (m_transformBegin) {
        m_handles.setCornersFromView(*view);
        m_handles.placeHandles();
    }
    if (isOver(pan))
        layersChanged();
}

void WordTable::handleCorner(text::Corner corner, ui::PanRecognizer &pan)
{
    ui::View *handle = pan.view();
    if (!handle)
        return;
    m_entry.noteTextView().resignFirstResponder();
    const QPointF centre = m_drag.centreFor(pan);
    handle->setCenter(centre);
    m_views.descripImg2->setHidden(true);
    // The text box keeps a usable size; a layer may be stretched through itself
    // (mirrored).
    if (!m_textInputDone)
        m_handles.resizeTarget(m_entry.noteTextView(), corner, centre, text::kMinTextBoxSide);
    else if (ui::ImageView *layer = tView())
        m_handles.resizeTarget(*layer, corner, centre, std::nullopt);
    if (isOver(pan))
        layersChanged();
}

void WordTable::handleScale(ui::PinchRecognizer &pinch)
{
    ui::View *view = pinch.view();
    if (!view)
        return;
    if (ui::View *parent = view->superview())
        parent->bringSubviewToFront(view);
    const std::optional<double> step = m_pinch.step(pinch);
    if (!step) {
        layersChanged();
        return;
    }
    PinchScaler::scaleView(*view, *step);
    m_views.descripImg2->setHidden(true);
    if (m_transformBegin) {
        m_handles.setCornersFromView(*view);
        m_handles.placeHandles();
    }
}

void WordTable::handleLongPress(ui::LongPressRecognizer &press)
{
    ui::View *view = press.view();
    if (!view || press.state() != ui::GestureRecognizer::State::Began)
        return;
    logLine(QStringLiteral("longPress"));
    withdrawDeleteQuestion();
    m_pressedLayer = view->sharedFromThis();
    m_deleteQuestion = std::make_shared<ui::AlertView>(QStringLiteral("Delete this layer?"),
        QStringLiteral("It cannot be brought back."), static_cast<ui::AlertViewDelegate *>(this), QStringLiteral("Cancel"),
        QStringList{QStringLiteral("Delete")});
    m_deleteQuestion->show();
}

void WordTable::alertViewClickedButtonAtIndex(ui::AlertView &alert, int buttonIndex)
{
    const std::shared_ptr<ui::View> view = m_pressedLayer.lock();
    m_pressedLayer.reset();
    m_deleteQuestion.reset();
    if (buttonIndex == alert.cancelButtonIndex() || !view || !view->superview())
        return;
    if (m_transformBegin && view.get() == tView())
        finishTransform();
    view->removeFromSuperview();
    layersChanged();
}

namespace {
/// The selected layer while it lies on one of the screen's layer holders.
ui::View *selectedOnScreen(ui::View *layer, const WordTableViews &views)
{
    if (!layer || layer->isHidden())
        return nullptr;
    const ui::View *holder = layer->superview();
    return holder && (holder == views.cutImgView.get() || holder == views.backImgView.get()) ? layer : nullptr;
}
} // namespace

bool WordTable::deleteSelectedLayer()
{
    ui::View *layer = selectedOnScreen(tView(), m_views);
    if (!layer)
        return false;
    withdrawDeleteQuestion();
    if (m_transformBegin)
        finishTransform();
    if (m_panel.isShown())
        diapearColorSelectView();
    m_handles.remove();
    layer->removeFromSuperview();
    layersChanged();
    return true;
}

bool WordTable::nudgeSelectedLayer(QPointF offset)
{
    ui::View *layer = selectedOnScreen(tView(), m_views);
    if (!layer || m_transformBegin)
        return false;
    layer->setCenter(layer->center() + offset);
    layersChanged();
    return true;
}

void WordTable::withdrawDeleteQuestion()
{
    m_pressedLayer.reset();
    if (const auto alert = std::exchange(m_deleteQuestion, nullptr)) {
        alert->setDelegate(nullptr);
        alert->dismissWithClickedButtonIndex(alert->cancelButtonIndex(), false);
    }
}

void WordTable::handleSingleTap(ui::TapRecognizer &tap)
{
    auto *view = dynamic_cast<ui::ImageView *>(tap.view());
    if (!view)
        return;
    m_layers.select(*view);
    m_views.descripImg2->setHidden(true);
    colorSelectView();
}

void WordTable::handleSingleTap2(ui::TapRecognizer &tap)
{
    ui::View *tapped = tap.view();
    if (!tapped)
        return;
    logLine(QStringLiteral("2 fingers tap"));
    m_layers.setDetectTag(tapped->tag());
    ui::View &pictureView = *m_views.cutImgView;
    // A layer inside a word-art group comes up into the picture view.
    for (const ui::ViewPtr &sub : pictureView.subviews()) {
        for (const ui::ViewPtr &group : sub->subviews()) {
            if (group->tag() != kWordGroupTag)
                continue;
            if (ui::View *found = group->viewWithTag(detectTag()); found && found != group.get()) {
                const ui::ViewPtr keep = found->sharedFromThis();
                const QPointF at = found->superview()->convertPointTo(found->center(), &pictureView);
                pictureView.addSubview(keep);
                keep->setCenter(at);
            }
        }
    }
    if (auto *layer = dynamic_cast<ui::ImageView *>(pictureView.viewWithTag(detectTag())))
        m_layers.select(*layer);
    else if (auto *image = dynamic_cast<ui::ImageView *>(tapped))
        m_layers.select(*image);
    m_views.descripImg2->setHidden(true);
    colorSelectView2();
}

void WordTable::showOnLayer(ui::ImageView &layer, const Picture &picture)
{
    // Keep the points per pixel the layer shows now, so a rotated or skewed
    // picture, whose canvas differs, is neither squeezed nor stretched into the
    // old frame.
    const Picture shown = layer.image();
    if (!shown.isNull() && !picture.isNull() && shown.size().width() > 0 && shown.size().height() > 0) {
        const QSizeF bounds = layer.bounds().size();
        const double sx = bounds.width() / shown.size().width();
        const double sy = bounds.height() / shown.size().height();
        const QPointF centre = layer.center();
        layer.setBounds(
            QRectF(layer.bounds().topLeft(), QSizeF(picture.size().width() * sx, picture.size().height() * sy)));
        layer.setCenter(centre);
    }
    layer.setImage(picture);
}

void WordTable::TransformExcute(int tag)
{
    ui::ImageView *layer = tView();
    if (!layer)
        return;
    const Picture original = m_layers.original(layer->tag());
    switch (tag) {
    case text::kEnterTransformTag:
        enterTransformMode();
        break;
    case text::kFlipVerticalTag:
    case text::kFlipHorizontalTag: {
        const auto flip = tag == text::kFlipVerticalTag ? verticalFlip : horizontalFlip;
        layer->setImage(flip(layer->image()));
        m_layers.setOriginal(layer->tag(),
            flip(original)); // later rotations keep the flip
        break;
    }
    case text::kBulgeTag:
    case text::kSkewHorizontalTag:
    case text::kSkewVerticalTag: {
        const Filter filter;
        const QTransform skew(1, m_transformBar.tSlider().value(), m_transformBar.dSlider().value(), 1, 0, 0);
        const Picture skewed = filter.filterAffineTransform(skew, original);
        const QSizeF size = original.size();
        const float radius = size.width() > size.height() ? float(int(size.width() / 2)) : 0.0f;
        showOnLayer(*layer,
            filter.filterBumpDistortion(float(m_transformBar.topPhotoSlider().value()), float(size.width() / 2),
                float(size.height() / 2), radius, skewed));
        break;
    }
    case text::kRestoreTag:
        showOnLayer(*layer, original);
        // Back to the colour panel: the transform ends with it, so no bar is left open under
        // the toolbar once the panel closes.
        if (m_transformBegin) {
            m_transformBar.resetSliders();
            finishTransform();
            return;
        }
        colorSelectView();
        break;
    case text::kRotationSliderTag:
        if (ui::Slider *slider = m_panel.kSlider())
            showOnLayer(*layer, rotateInDegrees(original, float(slider->value())));
        break;
    case text::kResultToolTag:
        m_panel.rebuildWithCancel(detectTag());
        break;
    default:
        break;
    }
    layersChanged();
}

void WordTable::enterTransformMode()
{
    ui::ImageView *layer = tView();
    if (!layer || m_transformBegin)
        return;
    m_tViewPosition = layer->center();
    const int removed = layer->removeGestureRecognizers<ui::TapRecognizer>();
    for (int i = 0; i < removed; ++i)
        logLine(QStringLiteral("It is a tap recognizer"));
    m_transformBegin = true;
    layer->setBackgroundColor(Qt::transparent);

    // The handles start on the layer's own corners: a first corner drag resizes from them.
    m_handles.setCornersFromView(*layer);
    layer->removeGestureRecognizers<ui::PanRecognizer>();
    auto pan = std::make_shared<ui::PanRecognizer>([this](ui::PanRecognizer &p) { handleMoveTView(p); });
    pan->setMaximumNumberOfTouches(1);
    layer->addGestureRecognizer(pan);
    m_handles.show();

    m_panel.hide();
    m_views.selectTopView->setHidden(true);
    m_transformBar.resetSliders();
    m_transformBar.show(*m_views.mainView);
    auto done = text::pictureButton(transformDoneFrame(), QStringLiteral("Done"), QStringLiteral("doneBtns.png"),
        [this] { finishTransform(); });
    done->setTag(kTransformDoneTag);
    m_views.mainView->addSubview(done);
    m_transformDone = done;
}

void WordTable::finishTransform()
{
    if (!m_transformBegin)
        return;
    m_handles.remove();
    m_transformBar.hide();
    ui::ImageView *layer = tView();
    if (layer)
        layer->addGestureRecognizer(
            std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &t) { handleSingleTap(t); }));
    m_transformBegin = false;
    if (m_transformDone) {
        m_transformDone->removeFromSuperview();
        m_transformDone.reset();
    }
    m_panel.showAgain();
    m_views.mainView->bringSubviewToFront(m_views.wordView.get());
    // The layer stays where the user left it.
    layersChanged();
}

QRectF WordTable::transformDoneFrame()
{
    const QRectF bar = m_transformBar.bar().frame();
    const double side = kTransformDoneSide;
    return QRectF(bar.right() - side, bar.top() - side - 10, side, side);
}

} // namespace vimora
