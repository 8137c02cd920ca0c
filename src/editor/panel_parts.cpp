#include "editor/panel_parts.h"

#include "ui/label.h"
#include "ui/transaction.h"
#include "ui/transition.h"

namespace vimora {

void reopenPanel(ui::View &mainView, ui::ImageView &panel)
{
    panel.setHidden(false);
    mainView.bringSubviewToFront(&panel);
    panel.removeAllSubviews();
    panel.setBackgroundColor(Qt::transparent);
    panel.setTransform({});
}

void fadeIn(ui::View &view, double seconds)
{
    ui::Transaction::begin();
    ui::Transaction::setDisableActions(true);
    view.addTransition(ui::Transition(ui::TransitionType::Fade, ui::TransitionSubtype::FromBottom, seconds));
    ui::Transaction::commit();
}

std::shared_ptr<ui::ScrollView> addPickerScroll(ui::View &panel, double top)
{
    const QSizeF size = panel.bounds().size();
    auto scroll = std::make_shared<ui::ScrollView>(QRectF(5, top, size.width() - 10, size.height() - top - 5));
    scroll->setBouncesZoom(true);
    scroll->setClipsToBounds(true);
    scroll->setUserInteractionEnabled(true);
    scroll->setMultipleTouchEnabled(true);
    scroll->setScrollEnabled(true);
    scroll->setShowsHorizontalScrollIndicator(false);
    scroll->setShowsVerticalScrollIndicator(false);
    panel.addSubview(scroll);
    return scroll;
}

void addPanelTitle(ui::View &panel, const QRectF &frame, const QString &text)
{
    auto title = std::make_shared<ui::Label>(frame, text);
    title->setTextColor(Qt::darkGray);
    title->setBackgroundColor(Qt::transparent);
    title->setTextAlignment(ui::TextAlignment::Left);
    panel.addSubview(title);
}

} // namespace vimora
