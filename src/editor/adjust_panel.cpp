#include "editor/adjust_panel.h"

#include "editor/panel_parts.h"
#include "platform/device.h"
#include "platform/resources.h"
#include "screenkit/drag_follower.h"
#include "ui/button.h"
#include "ui/geometry.h"
#include "ui/label.h"
#include "ui/slider.h"
#include "ui/switch.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
constexpr double kPanelWidth = 320;
constexpr double kStepOneHeight = 160;
constexpr double kStepTwoHeight = 300;
constexpr double kHandleSide = 35;
constexpr QRectF kTabletPanelFrame(310, 360, kPanelWidth, 0); // height per step

enum class Fires { FilterSelect, ImageEffect };

struct SliderRow
{
    const char *label;
    QRectF labelFrame;
    QRectF frame;
    double minimum, maximum, initial;
    int tag;
    Fires fires;
    bool continuous;
    const char *track;
    const char *thumb;
};

bool isStepOne(int panel)
{
    return panel == kPieceStepOnePanel || panel == kWholePhotoStepOnePanel;
}

/// The sliders of a panel. The two step-two panels share the colour sliders at their own
/// heights.
std::vector<SliderRow> slidersOf(int panel)
{
    switch (panel) {
    case kPieceStepOnePanel:
        return {{"Scale", {220, 55, 100, 50}, {160, 35, 150, 40}, 0, 2.8, 0, kPieceScaleTag, Fires::ImageEffect, true, "leftSlider.png", "sliderBtn.png"},
                {"Rotation", {60, 55, 100, 50}, {10, 35, 150, 40}, -60, 60, 0, kPieceRotationTag, Fires::ImageEffect, true, "lefdSlider.png", "sliderBtn2.png"}};
    case kWholePhotoStepOnePanel:
        return {{"Scale", {220, 55, 100, 50}, {160, 35, 150, 40}, 1, 1.5, 1, kWholeScaleTag, Fires::ImageEffect, true, "leftSlider.png", "sliderBtn.png"}};
    case kPieceStepTwoPanel:
    case kWholePhotoStepTwoPanel: {
        const bool piece = panel == kPieceStepTwoPanel;
        const double low = piece ? 90 : 80, high = piece ? 40 : 30;
        std::vector<SliderRow> rows{
            {"Alpha", {220, low + 20, 100, 50}, {160, low, 150, 40}, 0, 1, 1, kAlphaTag, Fires::FilterSelect, true, "leftSlider.png", "sliderBtn2.png"},
            {"Hue", {60, low + 20, 100, 50}, {10, low, 150, 40}, -2, 3, 0, kHueTag, Fires::FilterSelect, false, "leftSlider.png", "sliderBtn.png"},
            {"Exposure", {220, high + 20, 100, 50}, {160, high, 150, 40}, 0, 2, 0, kExposureTag, Fires::FilterSelect, false, "leftSlider.png",
             piece ? "sliderBtn.png" : "sliderBtn2.png"},
            {"Saturation", {60, high + 20, 100, 50}, {10, high, 150, 40}, 1, 3, 1, kSaturationTag, Fires::FilterSelect, false, "lefdSlider.png",
             piece ? "sliderBtn2.png" : "sliderBtn.png"}};
        if (!piece) {
            rows.push_back({"Distortion", {60, 160, 100, 50}, {10, 140, 150, 40}, -1, 1, 0, kDistortionTag, Fires::ImageEffect, false,
                            "leftopPhotoSlider.png", "sliderBtn.png"});
            rows.push_back({"Rotation", {220, 160, 100, 50}, {160, 140, 150, 40}, -90, 90, 0, kFlatRotationTag, Fires::ImageEffect, false,
                            "lefokSlider.png", "sliderBtn2.png"});
        }
        return rows;
    }
    default:
        return {};
    }
}

/// A plain button: its icon as image, or the long button picture behind the step titles.
std::shared_ptr<ui::Button> panelButton(const QRectF &frame, const QString &title, int tag, const ui::StretchableImage &icon)
{
    auto button = std::make_shared<ui::Button>(frame);
    button->setTitle(title);
    button->setTitleColor(Qt::white);
    button->setTitleShadowColor(Qt::black);
    button->setTitleShadowOffset(QPointF(2, 2));
    button->setReversesTitleShadowWhenHighlighted(true);
    button->setTag(tag);
    if (title == QLatin1String("<-Prev") || title == QLatin1String("Next") || title == QLatin1String("Done"))
        button->setBackgroundImage(Resources::imageNamed(QStringLiteral("longBtn.png")));
    else
        button->setImage(icon);
    return button;
}
} // namespace

AdjustPanel::AdjustPanel(ScreenViews &views, AdjustPanelActions actions)
    : m_views(views)
    , m_actions(std::move(actions))
{
}

AdjustPanel::~AdjustPanel()
{
    removeHandle();
}

bool AdjustPanel::isShown() const
{
    const auto control = m_builtControl.lock();
    return m_panelId != 0 && !m_views.descripImg->isHidden() && control && control->superview() == m_views.descripImg.get();
}

void AdjustPanel::guideToScale(int senderTag)
{
    ScreenViews &v = m_views;
    v.selectTopView->setHidden(true);
    v.wordView->setHidden(true);
    m_panelId = senderTag;

    ui::ImageView &panel = *v.descripImg;
    reopenPanel(*v.mainView, panel);
    panel.setImage({});
    panel.setUserInteractionEnabled(true);
    panel.setAlpha(1);
    // The panel shows the photo through it, so its controls carry their own shadows.
    panel.setBackgroundColor(QColor(0, 0, 0, 110));
    panel.setBorderWidth(2);
    panel.setBorderColor(Qt::white);
    place();

    const auto fire = [this](Fires fires) {
        return [this, fires](ui::Control &sender) {
            const auto &action = fires == Fires::FilterSelect ? m_actions.filterSelect : m_actions.imageEffect;
            if (action)
                action(sender);
        };
    };

    for (const SliderRow &row : slidersOf(senderTag)) {
        panel.addSubview(makeShadowedLabel(row.labelFrame, QString::fromLatin1(row.label)));
        auto slider = std::make_shared<ui::Slider>(row.frame);
        slider->setBackgroundColor(Qt::transparent);
        slider->setMinimumTrackImage(ui::StretchableImage::stretchable(Resources::imageNamed(QString::fromLatin1(row.track)), 10, 0));
        const Picture thumb = Resources::imageNamed(QString::fromLatin1(row.thumb));
        slider->setThumbImage(thumb, ui::ControlStateNormal);
        slider->setThumbImage(thumb, ui::ControlStateHighlighted);
        slider->setMinimumValue(row.minimum);
        slider->setMaximumValue(row.maximum);
        slider->setValue(row.initial);
        slider->setContinuous(row.continuous);
        slider->setTag(row.tag);
        slider->addAction(ui::ControlEventValueChanged, fire(row.fires));
        panel.addSubview(slider);
    }

    const auto addButton = [&panel](const QRectF &frame, const QString &title, int tag, const ui::StretchableImage &icon,
                                    std::function<void(ui::Control &)> action) {
        auto button = panelButton(frame, title, tag, icon);
        button->addAction(ui::ControlEventTouchUpInside, std::move(action));
        panel.addSubview(button);
    };
    const auto next = [this](ui::Control &) {
        if (m_actions.next)
            m_actions.next();
    };

    if (senderTag == kPieceStepOnePanel)
        addButton(QRectF(240, 100, 80, 50), QStringLiteral("Next"), 0, {}, next);
    if (senderTag == kWholePhotoStepOnePanel) {
        const auto addSwitch = [&](const QPointF &origin, const QRectF &labelFrame, const QString &text, int tag) {
            auto toggle = std::make_shared<ui::Switch>(QRectF(origin, ui::Switch::kSize));
            toggle->setTag(tag);
            toggle->setOn(false);
            toggle->addAction(ui::ControlEventValueChanged, [this](ui::Control &sender) {
                if (m_actions.switchChanged)
                    m_actions.switchChanged(sender);
            });
            panel.addSubview(toggle);
            panel.addSubview(makeShadowedLabel(labelFrame, text));
        };
        addSwitch(QPointF(5, 45), QRectF(85, 35, 80, 50), QStringLiteral("Shadow"), kShadowSwitchTag);
        addSwitch(QPointF(5, 110), QRectF(85, 100, 80, 50), QStringLiteral("Shattering"), kShatteringSwitchTag);
        addButton(QRectF(240, 100, 80, 50), QStringLiteral("Next"), kWholePhotoStepOnePanel, {}, next);
    }
    if (senderTag == kPieceStepTwoPanel || senderTag == kWholePhotoStepTwoPanel) {
        const bool piece = senderTag == kPieceStepTwoPanel;
        if (piece)
            for (int i = 0; i < 4; ++i) {
                const Picture icon = Resources::imageNamed(QStringLiteral("style%1.png").arg(i + 1));
                addButton(QRectF(80 * i, 150, 80, 50), QStringLiteral("Style%1").arg(i + 1), kStyle1Tag + i,
                          i == 3 ? ui::StretchableImage::resizable(icon, ui::EdgeInsets{0, 40, 0, 40}) : ui::StretchableImage(icon),
                          fire(Fires::ImageEffect));
            }
        addButton(QRectF(160, 200, 160, 50), QStringLiteral("Blur"), kBlurTag,
                  Resources::imageNamed(QStringLiteral("tblurBtn.png")), fire(Fires::FilterSelect));
        addButton(QRectF(0, 200, 160, 50), QStringLiteral("Sharpen+"), kSharpenTag,
                  Resources::imageNamed(QStringLiteral("tsharpenBtn.png")), fire(Fires::FilterSelect));
        const int stepOne = piece ? kPieceStepOnePanel : kWholePhotoStepOnePanel;
        addButton(QRectF(0, 250, 80, 50), QStringLiteral("<-Prev"), stepOne, {}, [this, stepOne](ui::Control &) {
            if (m_actions.previous)
                m_actions.previous(stepOne);
        });
        addButton(QRectF(240, 250, 80, 50), QStringLiteral("Done"), kWholePhotoStepOnePanel, {}, [this](ui::Control &) {
            if (m_actions.done)
                m_actions.done();
        });
    }
    m_builtControl = panel.subviews().empty() ? ui::ViewPtr() : panel.subviews().back();
}

void AdjustPanel::place()
{
    ScreenViews &v = m_views;
    ui::ImageView &panel = *v.descripImg;
    const double height = isStepOne(m_panelId) ? kStepOneHeight : kStepTwoHeight;
    removeHandle();
    if (!isDeviceiPad()) {
        // Along the bottom of the phone's screen, whichever way it is turned.
        const double screenHeight = Device::isLandscape() ? 320 : Device::screenSize().height();
        panel.setFrame(QRectF(0, screenHeight - height, kPanelWidth, height));
        return;
    }
    QRectF frame = kTabletPanelFrame;
    frame.setHeight(height);
    panel.setFrame(frame);
    if (m_draggedCentre)
        panel.setCenter(*m_draggedCentre);

    // The handle sits on the panel's top-right corner and carries the panel with it.
    auto handle = std::make_shared<ui::ImageView>(QRectF(0, 0, kHandleSide, kHandleSide));
    handle->setImage(Resources::imageNamed(QStringLiteral("moveHandBtn.png")));
    handle->setContentMode(ui::ContentMode::ScaleAspectFit);
    handle->setUserInteractionEnabled(true);
    handle->setCenter(panel.frame().topRight());
    handle->addGestureRecognizer(oneFingerPan([this](ui::PanRecognizer &pan) {
        if (m_actions.moveHandle)
            m_actions.moveHandle(pan);
        m_draggedCentre = m_views.descripImg->center();
    }));
    v.mainView->addSubview(handle);
    m_handle = handle;
}

void AdjustPanel::relayout()
{
    if (isShown())
        place();
}

void AdjustPanel::hide()
{
    if (isShown())
        m_views.descripImg->setHidden(true);
    removeHandle();
}

void AdjustPanel::removeHandle()
{
    if (m_handle)
        m_handle->removeFromSuperview();
    m_handle.reset();
}

ui::Control *AdjustPanel::control(int tag) const
{
    if (m_panelId == 0)
        return nullptr;
    for (const ui::ViewPtr &view : m_views.descripImg->subviews())
        if (auto *c = dynamic_cast<ui::Control *>(view.get()); c && c->tag() == tag)
            return c;
    return nullptr;
}

double AdjustPanel::sliderValue(int tag) const
{
    if (auto *slider = dynamic_cast<ui::Slider *>(control(tag)))
        return slider->value();
    for (int panel : {kPieceStepOnePanel, kWholePhotoStepOnePanel, kPieceStepTwoPanel, kWholePhotoStepTwoPanel})
        for (const SliderRow &row : slidersOf(panel))
            if (row.tag == tag)
                return row.initial;
    return 0;
}

} // namespace vimora
