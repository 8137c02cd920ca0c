#include "compositor/adjust_panel.h"

#include "compositor/compositor_controls.h"
#include "compositor/compositor_geometry.h"
#include "compositor/layer_gestures.h"
#include "platform/resources.h"
#include "ui/label.h"
#include "ui/overlay_stack.h"
#include "ui/stretchable_image.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
using namespace effect_tag;

constexpr double kSliderWidth = 300;
constexpr double kSliderHeight = 30;
constexpr double kBorderWidth = 2;
constexpr QSizeF kCloseSize{90, 40};
constexpr int kPictureTitlePixels = 12;
constexpr double kPictureSide = 28;

// Rows of the effect buttons under the sliders.
constexpr double kPictureRowY = 140, kLongRowY = 190, kMoreRowY = 240, kRowHeight = 44;
} // namespace

BackgroundAdjustPanel::BackgroundAdjustPanel(ScreenViews &views, ui::View &compositorView, LayerGestures &gestures,
                         std::function<void(int)> filterSelect, std::function<void()> close)
    : m_views(views)
    , m_compositorView(compositorView)
    , m_gestures(gestures)
    , m_filterSelect(std::move(filterSelect))
    , m_close(std::move(close))
{
}

bool BackgroundAdjustPanel::isOpen() const
{
    return !m_views.descripImg->isHidden() && m_cancelBtn3 && m_cancelBtn3->superview() == m_views.descripImg.get();
}

std::shared_ptr<ui::Slider> BackgroundAdjustPanel::addSlider(const QRectF &frame, double min, double max, double value, int tag,
                                                   const QString &thumb, const QString &caption)
{
    auto &panel = *m_views.descripImg;
    auto label = std::make_shared<ui::Label>(QRectF(frame.x(), frame.y() - 20, frame.width(), 18), caption);
    label->setTextColor(Qt::white);
    label->setBackgroundColor(Qt::transparent);
    label->setTextAlignment(ui::TextAlignment::Left);
    QFont font = label->font();
    font.setPixelSize(12);
    label->setFont(font);
    panel.addSubview(label);

    auto slider = std::make_shared<ui::Slider>(frame);
    slider->setMinimumTrackImage(ui::StretchableImage::stretchable(Resources::imageNamed(QStringLiteral("leftSlider.png")), 10, 0));
    slider->setThumbImage(Resources::imageNamed(thumb));
    slider->setThumbImage(Resources::imageNamed(thumb), ui::ControlStateHighlighted);
    slider->setMinimumValue(min);
    slider->setMaximumValue(max);
    slider->setValue(value);
    slider->setTag(tag);
    // The effect runs when the finger lifts, not while it moves.
    slider->setContinuous(false);
    slider->addAction(ui::ControlEventTouchUpInside, [this, tag](ui::Control &) { m_filterSelect(tag); });
    panel.addSubview(slider);
    return slider;
}

void BackgroundAdjustPanel::addEffectButton(const QRectF &frame, const QString &title, int tag, const QString &picture)
{
    std::shared_ptr<ui::Button> button;
    if (picture.isEmpty()) {
        button = makeLongButton(frame, title, [this, tag] { m_filterSelect(tag); });
    } else {
        button = std::make_shared<ui::Button>(frame);
        // The picture at a smaller size in points (same pixels), so its title fits beside it.
        const Picture icon = Resources::imageNamed(picture);
        button->setImage(icon.isNull() ? icon : icon.withScale(icon.scale() * icon.size().height() / kPictureSide));
        button->setTitle(title);
        button->setTitleColor(Qt::white);
        QFont font = button->font();
        font.setPixelSize(kPictureTitlePixels);
        button->setFont(font);
        button->addAction(ui::ControlEventTouchUpInside, [this, tag](ui::Control &) { m_filterSelect(tag); });
    }
    button->setTag(tag);
    m_views.descripImg->addSubview(button);
}

void BackgroundAdjustPanel::guideToScale(AdjustMode mode, const QString &unavailable)
{
    // The toolbar stays: Home and the other tools remain in reach beside the panel.
    auto &panel = *m_views.descripImg;
    // The panel view may still be registered as the level menu, which a tap outside closes.
    ui::OverlayStack::of(&panel).closed(&panel);
    panel.setHidden(false);
    m_views.mainView->bringSubviewToFront(&panel);
    panel.removeAllSubviews();
    panel.setBackgroundColor(QColor(0, 0, 0, 150));
    panel.setImage({});
    panel.setTransform({});
    panel.setUserInteractionEnabled(true);
    panel.setFrame(adjustPanelFrame(Device::profile(), Device::isLandscape()));
    panel.setBorderColor(Qt::white);
    panel.setBorderWidth(kBorderWidth);

    if (m_moveImgView)
        m_moveImgView->removeFromSuperview();
    m_moveImgView.reset();
    if (isDeviceiPad()) {
        m_moveImgView = std::make_shared<ui::ImageView>(Resources::imageNamed(QStringLiteral("moveHandBtn.png")));
        m_moveImgView->setBounds(QRectF(0, 0, kHandleSide, kHandleSide));
        m_moveImgView->setUserInteractionEnabled(true);
        const QRectF frame = panel.frame();
        // The handle rides in the view the panel lies in, so both move in the same points.
        m_views.mainView->addSubview(m_moveImgView);
        m_moveImgView->setCenter(QPointF(frame.right(), frame.top()));
        auto pan = std::make_shared<ui::PanRecognizer>([this](ui::PanRecognizer &p) { m_gestures.handleMove6(p, *m_views.descripImg); });
        pan->setMinimumNumberOfTouches(1);
        pan->setMaximumNumberOfTouches(1);
        m_moveImgView->addGestureRecognizer(pan);
    }

    const bool onLayers = mode == AdjustMode::PictureLayers;
    m_topPhotoSlider.reset();
    // Opacity is the picture layers' own; the background has nothing it would act on.
    if (onLayers && unavailable.isEmpty())
        m_topPhotoSlider = addSlider(QRectF(10, 50, kSliderWidth, kSliderHeight), kOpacityMin, kOpacityMax, kOpacityStart,
                                     kOpacitySlider, QStringLiteral("sliderBtn.png"), QStringLiteral("Opacity"));
    m_backPhotoSlider = addSlider(QRectF(10, 100, kSliderWidth, kSliderHeight), kContrastMin, kContrastMax, kContrastStart,
                                  kContrastSlider, QStringLiteral("sliderBtn2.png"), QStringLiteral("Contrast"));

    // The picture buttons carry their title beside the picture: the longer titles get more room.
    const double quarter = 75;
    addEffectButton(QRectF(10, kPictureRowY, 82, kRowHeight), QStringLiteral("Bright-"), kBrightMinus, QStringLiteral("brightM.png"));
    addEffectButton(QRectF(94, kPictureRowY, 82, kRowHeight), QStringLiteral("Bright+"), kBrightPlus, QStringLiteral("brightPlus.png"));
    addEffectButton(QRectF(178, kPictureRowY, 66, kRowHeight), QStringLiteral("Hard"), kHard, QStringLiteral("tsharpenBtn.png"));
    addEffectButton(QRectF(246, kPictureRowY, 66, kRowHeight), QStringLiteral("Soft"), kSoft, QStringLiteral("tblurBtn.png"));

    addEffectButton(QRectF(10, kLongRowY, 148, kRowHeight), QStringLiteral("Undo"), kUndo, {});
    addEffectButton(QRectF(162, kLongRowY, 148, kRowHeight), QStringLiteral("Color+"), kColorPlus, {});

    // The effects without a button of their own in the first layout, each named for what it
    // does in this mode.
    addEffectButton(QRectF(10, kMoreRowY, quarter - 2, kRowHeight), onLayers ? QStringLiteral("Shadow") : QStringLiteral("Print"), kPrintMix, {});
    addEffectButton(QRectF(10 + quarter, kMoreRowY, quarter - 2, kRowHeight), onLayers ? QStringLiteral("Half") : QStringLiteral("Sepia"), kSepia, {});
    addEffectButton(QRectF(10 + 2 * quarter, kMoreRowY, quarter - 2, kRowHeight), QStringLiteral("Edges"), kEdges, {});
    addEffectButton(QRectF(10 + 3 * quarter, kMoreRowY, quarter - 2, kRowHeight), QStringLiteral("Sharpen"), kSharpen, {});

    m_reason.reset();
    if (!unavailable.isEmpty()) {
        // The effects on the layers wait for a layer; the panel says so where the opacity
        // slider would be, rather than buttons that do nothing.
        for (int tag : {kHard, kSoft, kColorPlus, kPrintMix, kSepia, kSharpen})
            if (auto *control = dynamic_cast<ui::Control *>(controlWithTag(tag)))
                control->setEnabled(false);
        m_reason = std::make_shared<ui::Label>(QRectF(10, 8, panel.bounds().width() - kCloseSize.width() - 20, 60), unavailable);
        m_reason->setTextColor(Qt::white);
        m_reason->setBackgroundColor(Qt::transparent);
        m_reason->setTextAlignment(ui::TextAlignment::Left);
        m_reason->setNumberOfLines(0);
        QFont font = m_reason->font();
        font.setPixelSize(14);
        m_reason->setFont(font);
        panel.addSubview(m_reason);
    }

    m_cancelBtn3 = makePictureButton(QRectF(QPointF(panel.bounds().width() - kCloseSize.width() - 4, 4), kCloseSize),
                                     QStringLiteral("resultTool"), QStringLiteral("cancelBtn.png"), [this] {
                                         if (m_close)
                                             m_close();
                                     });
    panel.addSubview(m_cancelBtn3);
    // Escape closes it as its close button does; taps outside it still reach the layers.
    ui::OverlayStack::of(&panel).open(m_views.descripImg, [this] {
        if (m_close)
            m_close();
    }, ui::OverlayStack::OutsideTap::Ignored);
}

void BackgroundAdjustPanel::close()
{
    ui::OverlayStack::of(m_views.descripImg.get()).closed(m_views.descripImg.get());
    m_views.descripImg->setHidden(true);
    m_views.descripImg->setBorderWidth(0);
    if (m_moveImgView)
        m_moveImgView->removeFromSuperview();
    m_moveImgView.reset();
}

ui::View *BackgroundAdjustPanel::controlWithTag(int tag) const
{
    for (const ui::ViewPtr &v : m_views.descripImg->subviews())
        if (dynamic_cast<ui::Control *>(v.get()) && v->tag() == tag)
            return v.get();
    return nullptr;
}

ui::Button *BackgroundAdjustPanel::button(int tag) const
{
    for (const ui::ViewPtr &v : m_views.descripImg->subviews())
        if (auto *b = dynamic_cast<ui::Button *>(v.get()); b && b->tag() == tag)
            return b;
    return nullptr;
}

} // namespace vimora
