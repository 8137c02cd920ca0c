#include "editor/colour_panel.h"

#include "editor/panel_parts.h"
#include "editor/view_tags.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "screenkit/screen_views.h"

namespace vimora {

ColourPanelLayout colourPanelLayout(bool tablet)
{
    // On a tablet the close control lies wholly inside the 300-point panel: past its right edge
    // half of it would take no touches.
    if (tablet)
        return {{360, 370, 300, 300}, {15, 55, 250, 250}, {205, 5, 90, 40}};
    return {{10, 180, 300, 300}, {10, 40, 250, 250}, {260, 5, 32, 32}};
}

ColourPanel::ColourPanel(ScreenViews &views)
    : m_views(views)
{
    m_picker.awakeFromNib();
}

void ColourPanel::colorPick()
{
    ScreenViews &v = m_views;
    v.selectTopView->setHidden(true);
    const bool tablet = isDeviceiPad();
    const ColourPanelLayout layout = colourPanelLayout(tablet);

    ui::ImageView &panel = *v.wordView;
    reopenPanel(*v.mainView, panel);
    panel.setUserInteractionEnabled(true);
    panel.setFrame(layout.panel);
    panel.setAlpha(1);
    panel.setHidden(false);
    panel.setImage(Resources::imageNamed(QStringLiteral("selectViewBack2.png")));

    m_picker.buildColorPickerViewBig(layout.palette);
    m_picker.giveNum(kPreviewFrameTag);
    m_picker.setDescripImg2(v.descripImg2);
    m_picker.setCutImgView(v.cutImgView);
    panel.addSubview(m_picker.colorPickerView());
    v.mainView->bringSubviewToFront(&panel);

    auto close = std::make_shared<ui::Button>(layout.close);
    close->setTag(kColourPanelCloseTag);
    if (tablet) {
        close->setTitle(QStringLiteral("resultTool"));
        close->setTitleColor(Qt::transparent);
        close->setImage(Resources::imageNamed(QStringLiteral("cancelBtn.png")));
    } else {
        close->setTitle(QStringLiteral("x"));
        close->setTitleColor(Qt::white);
        close->setBackgroundImage(Resources::imageNamed(QStringLiteral("2.png")));
    }
    close->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &) { closeWordView(); });
    panel.addSubview(close);
}

void ColourPanel::closeWordView()
{
    logLine(QStringLiteral("close wordView"));
    m_views.wordView->setHidden(true);
}

} // namespace vimora
