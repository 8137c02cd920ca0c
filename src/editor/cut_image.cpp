#include "editor/cut_image.h"

namespace vimora {

struct CutImage::State
{
    std::shared_ptr<ScreenViews> views;
    ui::ViewPtr view;
};

CutImage::CutImage(std::shared_ptr<ScreenViews> views)
    : d(std::make_unique<State>())
{
    d->views = std::move(views);
    d->view = std::make_shared<ui::View>();
}

CutImage::~CutImage() = default;

void CutImage::awakeFromNib() {}

void CutImage::getNumOfArray(const QStringList &, const QStringList &) {}

void CutImage::rotateW() {}

void CutImage::rotateH() {}

ui::ViewPtr CutImage::view() const
{
    return d->view;
}

} // namespace vimora
