#include "text/edit_panel.h"

#include "platform/device.h"
#include "platform/resources.h"
#include "text/text_controls.h"
#include "text/text_layout.h"
#include "ui/overlay_stack.h"
#include "ui/transition.h"

#include "screenkit/color_picker_view_controller.h"

namespace vimora::text {

namespace {
constexpr double kCancelLeft = 210;
constexpr double kRevealSeconds = 1;
const QRectF kPaletteFrame(15, 10, 250, 250);

QRectF byDevice(const QRectF &tablet, const QRectF &phone)
{
    return isDeviceiPad() ? tablet : phone;
}

} // namespace

EditPanel::EditPanel(WordTableViews views, EditPanelActions actions)
    : m_views(std::move(views))
    , m_actions(std::move(actions))
{
    m_picker = std::make_unique<ColorPickerViewController>();
    m_picker->awakeFromNib();
    m_picker->setCutImgView(m_views.cutImgView);
    m_picker->setColorPicked([this](const QColor &color) {
        if (m_actions.recoloured)
            m_actions.recoloured(color);
    });
}

EditPanel::~EditPanel()
{
    release();
}

ui::View *EditPanel::paletteView() const
{
    return m_picker->colorPickerView().get();
}

bool EditPanel::isShown() const
{
    const ui::ImageView &panel = *m_views.wordView;
    return !panel.isHidden() && panel.alpha() > 0;
}

void EditPanel::openPanel(int tag)
{
    ui::ImageView &panel = *m_views.wordView;
    panel.removeAllSubviews();
    panel.setAlpha(1);
    panel.setHidden(false);
    panel.setUserInteractionEnabled(true);
    panel.setContentMode(ui::ContentMode::ScaleToFill);
    panel.setFrame(colourPanelFrame(Device::profile(), Device::isLandscape(), Device::screenSize()));
    panel.setImage(Resources::imageNamed(QStringLiteral("selectViewBack2.png")));
    if (ui::View *parent = panel.superview())
        parent->bringSubviewToFront(&panel);
    m_views.selectTopView->setHidden(true);
    m_picker->buildColorPickerViewBig(kPaletteFrame);
    m_picker->giveNum(tag);
    panel.addSubview(m_picker->colorPickerView());
    m_rotation.reset();
    m_transparency.reset();
    registerOverlay();
}

void EditPanel::registerOverlay()
{
    ui::ImageView &panel = *m_views.wordView;
    ui::View *parent = panel.superview();
    if (!parent)
        return;
    auto close = [this] {
        if (m_actions.colorChoose)
            m_actions.colorChoose();
    };
    // Escape and a touch outside close it; a touch on a layer still drags, pinches or picks it.
    ui::OverlayStack::of(&panel).open(panel.sharedFromThis(), close, ui::OverlayStack::OutsideTap::Closes, m_letThrough);
}

void EditPanel::release()
{
    ui::OverlayStack::of(m_views.wordView.get()).closed(m_views.wordView.get());
}

void EditPanel::colorSelectView(int tag)
{
    openPanel(tag);
    ui::ImageView &panel = *m_views.wordView;
    panel.addSubview(pictureButton(QRectF(230, 245, 50, 50), QStringLiteral("O"), QStringLiteral("doneBtns.png"),
        [this] { m_actions.colorChoose(); }));
    auto enter = pictureButton(QRectF(170, 245, 50, 50), QStringLiteral("R"), QStringLiteral("scaleBtn.png"),
        [this] { m_actions.transform(kEnterTransformTag); });
    enter->setTag(kEnterTransformTag);
    panel.addSubview(enter);

    m_rotation
        = panelSlider(byDevice(QRectF(5, 245, 150, 50), QRectF(5, 250, 150, 50)), -90, 90, 0, kRotationSliderTag);
    m_rotation->setContinuous(false); // one rotation per release
    m_rotation->addAction(
        ui::ControlEventValueChanged, [this](ui::Control &) { m_actions.transform(kRotationSliderTag); });
    panel.addSubview(m_rotation);
}

void EditPanel::colorSelectView2(int tag)
{
    openPanel(tag);
    ui::ImageView &panel = *m_views.wordView;
    m_transparency = panelSlider(byDevice(QRectF(60, 245, 150, 50), QRectF(60, 250, 150, 50)), 0, 1, 1, 0);
    m_transparency->addAction(ui::ControlEventValueChanged, [this](ui::Control &) { m_actions.adjustTransparent(); });
    panel.addSubview(m_transparency);
    panel.addSubview(roundButton(byDevice(QRectF(3, 245, 50, 50), QRectF(3, 255, 50, 50)), QStringLiteral("-"),
        [this] { m_actions.wordSize(false); }));
    panel.addSubview(roundButton(byDevice(QRectF(215, 245, 50, 50), QRectF(220, 255, 50, 50)), QStringLiteral("+"),
        [this] { m_actions.wordSize(true); }));
    addCancel();
}

void EditPanel::rebuildWithCancel(int tag)
{
    openPanel(tag);
    addCancel();
}

void EditPanel::addCancel()
{
    // Inside the 300-point panel on every device: past its right edge the close control
    // would show but take no touch.
    auto cancel = pictureButton(QRectF(kCancelLeft, 5, 90, 40), QStringLiteral("resultTool"),
        QStringLiteral("cancelBtn.png"), [this] { m_actions.colorChoose(); });
    m_views.wordView->addSubview(cancel);
}

void EditPanel::hide()
{
    release();
    ui::ImageView &panel = *m_views.wordView;
    panel.addTransition(ui::Transition(ui::TransitionType::Reveal, ui::TransitionSubtype::FromLeft, kRevealSeconds));
    panel.setAlpha(0);
    panel.setHidden(true);
}

void EditPanel::showAgain()
{
    ui::ImageView &panel = *m_views.wordView;
    panel.setHidden(false);
    panel.setAlpha(1);
    if (ui::View *parent = panel.superview())
        parent->bringSubviewToFront(&panel);
    registerOverlay();
}

} // namespace vimora::text
