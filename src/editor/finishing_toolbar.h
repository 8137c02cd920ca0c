#pragma once

// The finishing toolbar after a cut (Color, ChangeFoto, Text, Save, Home) and the hint strip
// along the bottom of the screen.

#include <functional>
#include <memory>

#include "ui/image_view.h"

namespace vimora {

struct ScreenViews;

class FinishingToolbar
{
public:
    /// home: what the Home button does.
    FinishingToolbar(ScreenViews &views, std::function<void()> home);

    void finalAdjust();
    /// What Color, ChangeFoto and Text do, given the button's tag.
    void setEffectAction(std::function<void(int senderTag)> action) { m_effectAction = std::move(action); }
    /// The hint strip; the shattering step has its own hint.
    void remindNew(bool shattering);
    void hideHint();

private:
    ScreenViews &m_views;
    std::function<void()> m_home;
    std::function<void(int)> m_effectAction;
    std::shared_ptr<ui::ImageView> m_hint;
};

} // namespace vimora
