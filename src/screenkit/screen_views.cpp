#include "screenkit/screen_views.h"

namespace vimora {

std::shared_ptr<ScreenViews> ScreenViews::create(QSizeF screen)
{
    auto v = std::make_shared<ScreenViews>();
    const QRectF full(QPointF(0, 0), screen);
    v->rootView = std::make_shared<ui::View>(full);
    v->mainView = std::make_shared<ui::ImageView>(full);
    v->mainView->setBackgroundColor(Qt::black);
    v->mainView->setContentMode(ui::ContentMode::ScaleAspectFill);
    v->mainView->setUserInteractionEnabled(true);
    v->rootView->addSubview(v->mainView);
    auto layer = [&](std::shared_ptr<ui::ImageView> &view) {
        view = std::make_shared<ui::ImageView>(full);
        view->setUserInteractionEnabled(true);
        view->setHidden(true);
        v->mainView->addSubview(view);
    };
    layer(v->backImgView);
    layer(v->cutImgView);
    layer(v->wordView);
    layer(v->selectTopView);
    layer(v->descripImg);
    layer(v->descripImg2);
    layer(v->cateViewTop);
    v->waitIndicator = std::make_shared<ui::ActivityIndicator>();
    v->waitIndicator->setHidesWhenStopped(true);
    v->mainView->addSubview(v->waitIndicator);
    return v;
}

} // namespace vimora
