#pragma once

#include <memory>
#include <vector>

#include "ui/navigation_bar.h"
#include "ui/navigation_screen.h"
#include "ui/toolbar.h"
#include "ui/view.h"

namespace vimora::ui {

/// A stack of screens under a navigation bar, with an optional toolbar along the bottom.
/// The top screen's view fills the space between the bars (and follows its size); the bar
/// shows every screen's navigation item, so its back button pops; the toolbar shows the top
/// screen's toolbar items. Pushing slides the new screen in from the right, popping slides
/// back, when animated. Each screen hears will/did appear and disappear around a change;
/// a popped screen leaves the stack (and is destroyed unless someone else holds it).
class NavigationController : public View
{
public:
    static constexpr double kTransitionDuration = 0.3;

    explicit NavigationController(const NavigationScreenPtr &root = {});
    ~NavigationController() override;

    NavigationBar &navigationBar() { return *m_bar; }
    Toolbar &toolbar() { return *m_toolbar; }
    bool isNavigationBarHidden() const { return m_bar->isHidden(); }
    void setNavigationBarHidden(bool hidden, bool animated = false);
    /// Hidden by default.
    bool isToolbarHidden() const { return m_toolbar->isHidden(); }
    void setToolbarHidden(bool hidden, bool animated = false);

    const std::vector<NavigationScreenPtr> &screens() const { return m_screens; }
    NavigationScreenPtr topScreen() const { return m_screens.empty() ? nullptr : m_screens.back(); }
    /// Replaces the whole stack.
    void setScreens(const std::vector<NavigationScreenPtr> &screens, bool animated = false);
    /// A screen already on the stack is ignored.
    void pushScreen(const NavigationScreenPtr &screen, bool animated = false);
    /// Pops the top screen (never the root); returns it, or nullptr.
    NavigationScreenPtr popScreen(bool animated = false);
    /// Pops every screen above the root; returns them, lowest first.
    std::vector<NavigationScreenPtr> popToRootScreen(bool animated = false);

    /// The area between the bars that the top screen's view fills.
    QRectF contentRect() const;

protected:
    void layoutSubviews() override { layoutBars(); }

private:
    friend class NavigationScreen;
    void toolbarItemsChanged(NavigationScreen *screen, bool animated);
    void changeStack(std::vector<NavigationScreenPtr> screens, bool forward, bool animated);
    void layoutBars();
    void syncBar(bool animated);

    std::shared_ptr<NavigationBar> m_bar;
    std::shared_ptr<Toolbar> m_toolbar;
    std::shared_ptr<View> m_container;
    std::vector<NavigationScreenPtr> m_screens;
};

} // namespace vimora::ui
