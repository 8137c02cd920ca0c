#include "screenkit/screen_views.h"

namespace vimora {

ShellViews ShellViews::create(QSizeF screen)
{
    ShellViews v;
    const QRectF full(QPointF(0, 0), screen);
    v.rootView = std::make_shared<ui::View>(full);
    v.mainView = std::make_shared<ui::ImageView>(full);
    v.mainView->setBackgroundColor(Qt::black);
    v.mainView->setContentMode(ui::ContentMode::ScaleAspectFill);
    v.mainView->setUserInteractionEnabled(true);
    v.rootView->addSubview(v.mainView);
    v.cateViewTop = std::make_shared<ui::ImageView>(full);
    v.cateViewTop->setUserInteractionEnabled(true);
    v.cateViewTop->setHidden(true);
    v.mainView->addSubview(v.cateViewTop);
    v.waitIndicator = std::make_shared<ui::ActivityIndicator>();
    v.waitIndicator->setHidesWhenStopped(true);
    v.mainView->addSubview(v.waitIndicator);
    return v;
}

std::shared_ptr<ScreenViews> ScreenViews::create(const ShellViews &shell)
{
    auto v = std::make_shared<ScreenViews>();
    v->rootView = shell.rootView;
    v->mainView = shell.mainView;
    v->cateViewTop = shell.cateViewTop;
    v->waitIndicator = shell.waitIndicator;
    const QRectF full = shell.mainView->bounds();
    // Under the home bar, in the order the screens draw them.
    auto layer = [&](std::shared_ptr<ui::ImageView> &view) {
        view = std::make_shared<ui::ImageView>(full);
        view->setUserInteractionEnabled(true);
        view->setHidden(true);
        v->mainView->insertSubviewBelow(view, shell.cateViewTop.get());
    };
    layer(v->backImgView);
    layer(v->cutImgView);
    layer(v->wordView);
    layer(v->selectTopView);
    layer(v->descripImg);
    layer(v->descripImg2);
    return v;
}

std::shared_ptr<ScreenViews> ScreenViews::create(QSizeF screen)
{
    return create(ShellViews::create(screen));
}

void ScreenViews::hideLayers() const
{
    for (const auto &layer : {backImgView, cutImgView, wordView, selectTopView, descripImg, descripImg2})
        layer->setHidden(true);
}

} // namespace vimora
