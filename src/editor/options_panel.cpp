#include "editor/options_panel.h"

#include "imaging/pixel_cut.h"
#include "editor/editor_layout.h"
#include "editor/panel_parts.h"
#include "editor/view_tags.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "store/working_files.h"
#include "ui/geometry.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/slider.h"
#include "ui/switch.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
constexpr double kPanelFade = 0.3;
constexpr double kPreviewTop = 10;
constexpr double kUnusableAlpha = 0.35;

/// Frames of the panel's controls, in panel coordinates, per device.
struct OptionsLayout
{
    QRectF modeOneButtons[4]; // Gradient, Color Picker, Expand, shattering
    QRectF gradientWithSlider;
    QRectF rotationLabel;
    QRectF rotationSlider;
    double styleTop, styleLeft, styleStep, styleWidth, styleHeight;
    QRectF offLabel; // "4:3", left of the switch
    QPointF switchOrigin;
    QRectF onLabel; // "16:9", right of the switch
    QRectF okButton;
    double titleSize;
    bool styleTitlesShown;
};

OptionsLayout optionsLayout(bool tablet)
{
    if (tablet)
        return {{{25, 430, 130, 46}, {163, 430, 146, 46}, {317, 430, 120, 46}, {445, 430, 130, 46}},
                {25, 430, 130, 46},
                {175, 430, 80, 46},
                {255, 430, 320, 46},
                480, 25, 110, 104, 40,
                {40, 525, 45, 27},
                {90, 525},
                {177, 525, 50, 27},
                {490, 530, 80, 40},
                14,
                true};
    return {{{10, 224, 135, 40}, {155, 224, 135, 40}, {10, 266, 135, 40}, {155, 266, 135, 40}},
            {10, 224, 112, 40},
            {124, 224, 56, 40},
            {180, 224, 110, 40},
            268, 12, 57, 50, 40,
            {56, 316, 50, 27},
            {110, 316},
            {194, 316, 50, 27},
            {110, 354, 80, 36},
            12,
            false};
}

std::shared_ptr<ui::Button> iconButton(const QRectF &frame, const QString &title, const QString &icon, int tag,
                                       double titleSize)
{
    auto button = std::make_shared<ui::Button>(frame);
    button->setTitle(title);
    button->setTitleColor(Qt::white);
    button->setTitleShadowColor(QColor(0, 0, 0, 180));
    button->setTitleShadowOffset(QPointF(2, 2));
    button->setReversesTitleShadowWhenHighlighted(true);
    QFont font = button->font();
    font.setPixelSize(int(titleSize));
    button->setFont(font);
    button->setImage(Resources::imageNamed(icon));
    button->setTag(tag);
    return button;
}

} // namespace

OptionsPanel::OptionsPanel(ScreenViews &views, OptionsPanelActions actions)
    : m_views(views)
    , m_actions(std::move(actions))
{
}

void OptionsPanel::preView2(int senderTag, EffectMode mode, const Picture &shown)
{
    ScreenViews &v = m_views;
    if (senderTag != kAspectSwitchTag) {
        m_openerTag = senderTag;
        logLine(QStringLiteral("topOrButtom:%1").arg(m_openerTag));
    }
    if (m_openerTag == kBottomOkTag)
        v.backImgView->setImage(v.descripImg->image());

    ui::ImageView &panel = *v.descripImg2;
    reopenPanel(*v.mainView, panel);
    panel.setUserInteractionEnabled(true);
    panel.setAlpha(1);
    const bool tablet = isDeviceiPad();
    panel.setFrame(optionsPanelFrame(Device::profile(), Device::isLandscape()));
    panel.setImage(Resources::imageNamed(tablet ? QStringLiteral("selectViewBack2.png") : QStringLiteral("selectBackIphone.png")));
    fadeIn(panel, kPanelFade);

    const bool sixteenByNine = mode == EffectMode::SixteenByNine;
    const QSizeF panelSize = panel.bounds().size();
    const QSizeF previewSize = previewFrameSize(panelSize.width(), sixteenByNine);
    auto preview = std::make_shared<ui::ImageView>(QRectF(QPointF(25, kPreviewTop), previewSize));
    preview->setUserInteractionEnabled(true);
    preview->setBackgroundColor(m_backdrop);
    preview->setTag(kPreviewFrameTag);
    preview->setContentMode(ui::ContentMode::ScaleAspectFit);
    panel.addSubview(preview);
    preview->setCenter(QPointF(panelSize.width() / 2, previewSize.height() / 2 + kPreviewTop));
    m_preview = preview;

    // The photo-backdrop panel shows Origin cut to the frame's aspect; Origin itself keeps
    // the whole photo, so the aspect can be switched back.
    if (m_openerTag == kTopOkTag) {
        const double height = sixteenByNine ? 720 : 960;
        preview->setImage(cutImage(1280, height, 0, 0, WorkingFiles::shared().originLoad()));
    }
    preview->setClipsToBounds(true);

    const PhotoLayerFit fit = photoLayerFit(shown.size(), previewSize, mode == EffectMode::FourByThree);
    auto layer = std::make_shared<ui::ImageView>(QRectF(QPointF(0, 0), fit.size));
    layer->setUserInteractionEnabled(true);
    layer->setBackgroundColor(Qt::transparent);
    layer->setContentMode(ui::ContentMode::ScaleAspectFill);
    layer->setImage(shown);
    preview->addSubview(layer);
    layer->setCenter(ui::rectCenter(preview->bounds()));
    m_layerOverflowsVertically = fit.overflowsVertically;
    m_photoLayer = layer;

    // The layer is moved freely inside the frame, whichever way it overflows.
    m_layerDrag.setReference(v.cutImgView.get());
    layer->addGestureRecognizer(oneFingerPan([this](ui::PanRecognizer &p) {
        if (!m_actions.layerHeld || !m_actions.layerHeld())
            m_layerDrag.follow(p);
    }));
    if (m_actions.attachLayerGestures)
        m_actions.attachLayerGestures(*layer);

    buildControls(mode);
}

void OptionsPanel::keepBackdrop()
{
    if (m_preview)
        m_backdrop = m_preview->backgroundColor();
}

ViewSnapshot OptionsPanel::framedSnapshot(const Picture &layerPicture) const
{
    if (!m_preview)
        return {};
    ViewSnapshot framed = snapshotOf(*m_preview);
    framed.children.clear();
    framed.clips = true;
    for (const ui::ViewPtr &sub : m_preview->subviews()) {
        if (sub->isHidden() || sub->alpha() <= 0 || sub->tag() == kCutGuideTag)
            continue;
        ViewSnapshot child = snapshotOf(*sub);
        // The photo layer carries the feathering buttons and the expansion arrows.
        if (sub == m_photoLayer) {
            child.children.clear();
            child.image = layerPicture;
        }
        framed.children.push_back(std::move(child));
    }
    return framed;
}

ui::ImageView *OptionsPanel::openPreview() const
{
    return isOpen() ? m_preview.get() : nullptr;
}

ui::ImageView *OptionsPanel::openPhotoLayer() const
{
    return isOpen() ? m_photoLayer.get() : nullptr;
}

bool OptionsPanel::isOpen() const
{
    return m_preview && !m_views.descripImg2->isHidden() && m_preview->superview() == m_views.descripImg2.get();
}

void OptionsPanel::buildControls(EffectMode mode)
{
    ui::View &panel = *m_views.descripImg2;
    const OptionsLayout layout = optionsLayout(isDeviceiPad());
    const bool panelOne = m_openerTag == kBottomOkTag;
    const bool panelTwo = m_openerTag == kTopOkTag;

    // The switch shows the frame on screen: on for 16:9.
    auto aspect = std::make_shared<ui::Switch>(QRectF(layout.switchOrigin, ui::Switch::kSize));
    aspect->setTag(kAspectSwitchTag);
    aspect->setOn(mode == EffectMode::SixteenByNine);
    aspect->addAction(ui::ControlEventValueChanged, [this](ui::Control &sender) {
        if (m_actions.switchChanged)
            m_actions.switchChanged(sender);
    });
    panel.addSubview(aspect);
    panel.addSubview(makeShadowedLabel(layout.offLabel, QStringLiteral("4:3"), layout.titleSize + 2));
    panel.addSubview(makeShadowedLabel(layout.onLabel, QStringLiteral("16:9"), layout.titleSize + 2));

    // Gradient, Color Picker, Expand, shattering, the styles and the slider belong to the
    // feathering, colour, expansion, shattering and style steps, which give them their actions.
    const QRectF gradientFrame = panelTwo ? layout.gradientWithSlider : layout.modeOneButtons[0];
    // A step's button runs the action the editor gave for it (none: the button does nothing).
    const auto addStepButton = [&](const QRectF &frame, const QString &title, const QString &icon, int tag,
                                   std::function<void()> OptionsPanelActions::*action) {
        auto button = iconButton(frame, title, icon, tag, layout.titleSize);
        button->addAction(ui::ControlEventTouchUpInside, [this, action](ui::Control &) {
            if (m_actions.*action)
                (m_actions.*action)();
        });
        panel.addSubview(button);
    };
    addStepButton(gradientFrame, QStringLiteral("Gradient"), QStringLiteral("rectangle.png"), kGradientTag,
                  &OptionsPanelActions::gradient);
    if (panelOne) {
        addStepButton(layout.modeOneButtons[1], QStringLiteral("Color Picker"), QStringLiteral("colorBtnS.png"), kColorPickerTag,
                      &OptionsPanelActions::colorPicker);
        addStepButton(layout.modeOneButtons[2], QStringLiteral("Expand"), QStringLiteral("43.png"), kExpandTag,
                      &OptionsPanelActions::expand);
        // Shattering needs room left and right of the photo.
        if (!m_layerOverflowsVertically)
            addStepButton(layout.modeOneButtons[3], QStringLiteral("shattering"), QStringLiteral("shad.png"), kShatteringTag,
                          &OptionsPanelActions::shatter);
    }
    if (panelTwo) {
        for (int i = 0; i < 5; ++i) {
            const QRectF frame(layout.styleLeft + i * layout.styleStep, layout.styleTop, layout.styleWidth, layout.styleHeight);
            auto style = iconButton(frame, QStringLiteral("Style%1").arg(i + 1), QStringLiteral("half%1.png").arg(i + 1),
                                    kFirstStyleTag + i, layout.titleSize);
            // On a phone the numbered pictures stand alone: there is no room for the titles.
            if (!layout.styleTitlesShown) {
                style->setTitleColor(Qt::transparent);
                style->setTitleShadowColor(Qt::transparent);
            }
            panel.addSubview(style);
        }

        panel.addSubview(makeShadowedLabel(layout.rotationLabel, QStringLiteral("Rotation"), layout.titleSize));
        auto slider = std::make_shared<ui::Slider>(layout.rotationSlider);
        slider->setBackgroundColor(Qt::transparent);
        slider->setMinimumTrackImage(ui::StretchableImage::stretchable(Resources::imageNamed(QStringLiteral("lefkSlider.png")), 10, 0));
        const Picture thumb = Resources::imageNamed(QStringLiteral("sliderBtn2.png"));
        slider->setThumbImage(thumb, ui::ControlStateNormal);
        slider->setThumbImage(thumb, ui::ControlStateHighlighted);
        slider->setMinimumValue(-90);
        slider->setMaximumValue(90);
        slider->setValue(0);
        slider->setTag(kRotationSliderTag);
        panel.addSubview(slider);
        // The styles and the rotation have nothing to work on over a built-in background:
        // shown, so the panel keeps its look, but plainly out of use.
        for (int tag = kFirstStyleTag; tag <= kRotationSliderTag; ++tag)
            if (auto *control = dynamic_cast<ui::Control *>(panel.viewWithTag(tag))) {
                control->setEnabled(false);
                control->setAlpha(kUnusableAlpha);
            }
    }
    if (panelOne) {
        // Beside OK: the frame is only laid on the job by OK.
        QRectF cancelFrame = layout.okButton;
        cancelFrame.moveRight(layout.okButton.left() - 10);
        auto cancel = std::make_shared<ui::Button>(cancelFrame);
        cancel->setTitle(QStringLiteral("Cancel"));
        cancel->setBackgroundImage(Resources::imageNamed(QStringLiteral("0.png")));
        QFont cancelFont = cancel->font();
        cancelFont.setBold(false);
        cancelFont.setPixelSize(14);
        cancel->setFont(cancelFont);
        cancel->setTitleColor(Qt::white);
        cancel->setTag(kOptionsCancelTag);
        cancel->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) {
            if (m_actions.cancel)
                m_actions.cancel();
        });
        panel.addSubview(cancel);
    }

    auto ok = std::make_shared<ui::Button>(layout.okButton);
    ok->setTitle(QStringLiteral("OK"));
    ok->setBackgroundImage(Resources::imageNamed(QStringLiteral("0.png")));
    QFont font = ok->font();
    font.setBold(false);
    font.setPixelSize(14);
    ok->setFont(font);
    ok->setTitleColor(Qt::white);
    ok->setTag(kOptionsOkTag);
    ok->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) {
        if (m_actions.ok)
            m_actions.ok();
    });
    panel.addSubview(ok);
}

} // namespace vimora
