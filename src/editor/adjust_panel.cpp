#include "editor/adjust_panel.h"

#include "editor/editor_layout.h"
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
// Every control lies inside the panel's 2-point border with a margin of 2 more, so nothing
// sticks out of it; the first row stays clear of the tablet's handle on the top-right corner.
constexpr double kPanelWidth = 320;
constexpr double kStepOneHeight = 150;
constexpr double kStepTwoHeight = 282;
// A phone's step two is a low sheet of three rows, so it fits beside a piece on the smallest
// screen: four narrow colour sliders, the styles (or the two turning sliders), four buttons.
constexpr double kCompactStepTwoHeight = 164;
constexpr double kCompactColumn = 77, kCompactRowTwo = 56, kCompactRowThree = 108;
constexpr double kHandleSide = 35;
constexpr double kScreenMargin = 4;
constexpr double kLeftColumn = 12, kRightColumn = 160, kSliderWidth = 148;
constexpr double kRowOne = 18, kRowTwo = 68, kRowThree = 126, kRowFour = 178, kRowFive = 228;

enum class Fires { FilterSelect, ImageEffect };

struct SliderRow
{
    const char *label;
    double x, y; // the slider's origin; its label sits under it
    double minimum, maximum, initial;
    int tag;
    Fires fires;
    bool continuous;
    const char *track;
    const char *thumb;
    double width = kSliderWidth;

    bool isCompact() const { return width < kSliderWidth; }
    QRectF frame() const { return {x, y, width, isCompact() ? 36.0 : 40.0}; }
    QRectF labelFrame() const { return isCompact() ? QRectF(x, y + 32, width, 18) : QRectF(x + 50, y + 20, 100, 50); }
};

/// A phone lays step two out as a low sheet.
bool isCompact()
{
    return !isDeviceiPad();
}

bool isStepOne(int panel)
{
    return panel == kPieceStepOnePanel || panel == kWholePhotoStepOnePanel;
}

/// The sliders of a panel. The two step-two panels share the colour sliders.
std::vector<SliderRow> slidersOf(int panel)
{
    constexpr double stepOneRow = 25;
    switch (panel) {
    case kPieceStepOnePanel:
        return {{"Scale", kRightColumn, stepOneRow, 0, 2.8, 0, kPieceScaleTag, Fires::ImageEffect, true, "leftSlider.png", "sliderBtn.png"},
                {"Rotation", kLeftColumn, stepOneRow, -60, 60, 0, kPieceRotationTag, Fires::ImageEffect, true, "lefdSlider.png", "sliderBtn2.png"}};
    case kWholePhotoStepOnePanel:
        return {{"Scale", kRightColumn, stepOneRow, 1, 1.5, 1, kWholeScaleTag, Fires::ImageEffect, true, "leftSlider.png", "sliderBtn.png"}};
    case kPieceStepTwoPanel:
    case kWholePhotoStepTwoPanel: {
        const bool piece = panel == kPieceStepTwoPanel;
        if (isCompact()) {
            std::vector<SliderRow> rows{
                {"Saturation", 6, 4, 1, 3, 1, kSaturationTag, Fires::FilterSelect, false, "lefdSlider.png", piece ? "sliderBtn2.png" : "sliderBtn.png",
                 kCompactColumn},
                {"Exposure", 6 + kCompactColumn, 4, 0, 2, 0, kExposureTag, Fires::FilterSelect, false, "leftSlider.png",
                 piece ? "sliderBtn.png" : "sliderBtn2.png", kCompactColumn},
                {"Hue", 6 + 2 * kCompactColumn, 4, -2, 3, 0, kHueTag, Fires::FilterSelect, false, "leftSlider.png", "sliderBtn.png", kCompactColumn},
                {"Alpha", 6 + 3 * kCompactColumn, 4, 0, 1, 1, kAlphaTag, Fires::FilterSelect, true, "leftSlider.png", "sliderBtn2.png",
                 kCompactColumn}};
            if (!piece) {
                rows.push_back({"Distortion", kLeftColumn, kCompactRowTwo, -1, 1, 0, kDistortionTag, Fires::ImageEffect, false,
                                "leftopPhotoSlider.png", "sliderBtn.png", kSliderWidth - 1});
                rows.push_back({"Rotation", kRightColumn, kCompactRowTwo, -90, 90, 0, kFlatRotationTag, Fires::ImageEffect, false,
                                "lefokSlider.png", "sliderBtn2.png", kSliderWidth - 1});
            }
            return rows;
        }
        std::vector<SliderRow> rows{
            {"Alpha", kRightColumn, kRowTwo, 0, 1, 1, kAlphaTag, Fires::FilterSelect, true, "leftSlider.png", "sliderBtn2.png"},
            {"Hue", kLeftColumn, kRowTwo, -2, 3, 0, kHueTag, Fires::FilterSelect, false, "leftSlider.png", "sliderBtn.png"},
            {"Exposure", kRightColumn, kRowOne, 0, 2, 0, kExposureTag, Fires::FilterSelect, false, "leftSlider.png",
             piece ? "sliderBtn.png" : "sliderBtn2.png"},
            {"Saturation", kLeftColumn, kRowOne, 1, 3, 1, kSaturationTag, Fires::FilterSelect, false, "lefdSlider.png",
             piece ? "sliderBtn2.png" : "sliderBtn.png"}};
        if (!piece) {
            rows.push_back({"Distortion", kLeftColumn, kRowThree, -1, 1, 0, kDistortionTag, Fires::ImageEffect, false,
                            "leftopPhotoSlider.png", "sliderBtn.png"});
            rows.push_back({"Rotation", kRightColumn, kRowThree, -90, 90, 0, kFlatRotationTag, Fires::ImageEffect, false,
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
    // The panel shows the photo through it, so its controls carry their own shadows. A phone's
    // sheet lies over the editor's own buttons instead, which would only muddle it.
    panel.setBackgroundColor(QColor(0, 0, 0, isCompact() ? 215 : 110));
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
        auto label = makeShadowedLabel(row.labelFrame(), QString::fromLatin1(row.label), row.isCompact() ? 13 : 0);
        if (row.isCompact())
            label->setTextAlignment(ui::TextAlignment::Center);
        panel.addSubview(label);
        auto slider = std::make_shared<ui::Slider>(row.frame());
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
        addButton(QRectF(232, 92, 80, 50), QStringLiteral("Next"), 0, {}, next);
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
        addSwitch(QPointF(8, 35), QRectF(88, 23, 80, 50), QStringLiteral("Shadow"), kShadowSwitchTag);
        addSwitch(QPointF(8, 100), QRectF(88, 88, 80, 50), QStringLiteral("Shattering"), kShatteringSwitchTag);
        addButton(QRectF(232, 92, 80, 50), QStringLiteral("Next"), kWholePhotoStepOnePanel, {}, next);
    }
    if (senderTag == kPieceStepTwoPanel || senderTag == kWholePhotoStepTwoPanel) {
        const bool piece = senderTag == kPieceStepTwoPanel;
        if (piece)
            for (int i = 0; i < 4; ++i) {
                const Picture icon = Resources::imageNamed(QStringLiteral("style%1.png").arg(i + 1));
                addButton(QRectF(4 + 78 * i, isCompact() ? kCompactRowTwo : kRowThree, 78, 50), QStringLiteral("Style%1").arg(i + 1), kStyle1Tag + i,
                          i == 3 ? ui::StretchableImage::resizable(icon, ui::EdgeInsets{0, 40, 0, 40}) : ui::StretchableImage(icon),
                          fire(Fires::ImageEffect));
            }
        const bool compact = isCompact();
        addButton(compact ? QRectF(82, kCompactRowThree, 78, 50) : QRectF(160, kRowFour, 156, 50), QStringLiteral("Blur"), kBlurTag,
                  compact ? ui::StretchableImage() : Resources::imageNamed(QStringLiteral("tblurBtn.png")), fire(Fires::FilterSelect));
        addButton(compact ? QRectF(4, kCompactRowThree, 78, 50) : QRectF(4, kRowFour, 156, 50), QStringLiteral("Sharpen+"), kSharpenTag,
                  // A phone's narrow buttons keep their titles, not their icons.
                  compact ? ui::StretchableImage() : Resources::imageNamed(QStringLiteral("tsharpenBtn.png")), fire(Fires::FilterSelect));
        const int stepOne = piece ? kPieceStepOnePanel : kWholePhotoStepOnePanel;
        addButton(compact ? QRectF(160, kCompactRowThree, 78, 50) : QRectF(4, kRowFive, 80, 50), QStringLiteral("<-Prev"), stepOne, {}, [this, stepOne](ui::Control &) {
            if (m_actions.previous)
                m_actions.previous(stepOne);
        });
        addButton(compact ? QRectF(238, kCompactRowThree, 78, 50) : QRectF(236, kRowFive, 80, 50), QStringLiteral("Done"), kWholePhotoStepOnePanel, {}, [this](ui::Control &) {
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
    const QSizeF size(kPanelWidth, isStepOne(m_panelId) ? kStepOneHeight : isCompact() ? kCompactStepTwoHeight : kStepTwoHeight);
    removeHandle();
    const QRectF screen = v.mainView->bounds().adjusted(kScreenMargin, kScreenMargin, -kScreenMargin, -kScreenMargin);
    const QRectF work = m_actions.workFrame ? m_actions.workFrame() : QRectF();
    QRectF frame = adjustPanelFrame(screen, work, size);
    if (!isDeviceiPad()) {
        // A phone has room for no handle: the panel is a sheet across the bottom or the top,
        // whichever leaves more of the work in sight.
        frame = adjustPanelFrame(v.mainView->bounds(), work, size);
        panel.setFrame(frame);
        return;
    }
    if (m_draggedCentre) {
        // Where the user put it last, still wholly on screen (a taller step may not fit there).
        frame.moveCenter(*m_draggedCentre);
        frame = slidInside(frame, screen);
    }
    panel.setFrame(frame);

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
