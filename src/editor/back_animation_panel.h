#pragma once

// The back-animation panel: nine numbered animation pictures in a scroll view.

#include "editor/panel_parts.h"

namespace vimora {

struct ScreenViews;

class BackAnimationPanel
{
public:
    explicit BackAnimationPanel(ScreenViews &views);

    void prepareToCut();

private:
    ScreenViews &m_views;
    ClosablePanel m_closer;
};

} // namespace vimora
