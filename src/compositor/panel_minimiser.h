#pragma once

// A panel minimised into a small button in the screen's corner, and back.

#include <memory>

#include <QString>

#include "ui/button.h"

namespace vimora {

struct ScreenViews;

class PanelMinimiser
{
public:
    static constexpr double kCornerSide = 40;
    static constexpr double kSeconds = 0.5;

    explicit PanelMinimiser(ScreenViews &views);

    /// senderTitle: the title of the close button pressed; "resultTool" fades the selection
    /// layer out.
    void smallTheButton(const QString &senderTitle);
    /// The corner button's action: brings the selection layer back.
    void scaleTool(const QString &senderTitle);

    /// Takes the corner button away (leaving the compositor).
    void putAway();

    /// The corner button (smallBtns), once made.
    ui::Button *smallBtns() const { return m_smallBtns.get(); }

private:
    ScreenViews &m_views;
    std::shared_ptr<ui::Button> m_smallBtns;
};

} // namespace vimora
