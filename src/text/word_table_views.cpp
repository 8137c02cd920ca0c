#include "text/word_table_views.h"

#include "screenkit/screen_views.h"

namespace vimora {

WordTableViews WordTableViews::fromScreen(const ScreenViews &views)
{
    // The editor keeps its background view hidden: word pictures go where the
    // text goes.
    return WordTableViews{views.mainView, views.cutImgView, views.selectTopView, views.descripImg, views.descripImg2,
        views.cutImgView, views.wordView};
}

} // namespace vimora
