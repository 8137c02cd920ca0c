#include "ui/navigation_controller.h"

#include <algorithm>

#include "ui/transition.h"

namespace vimora::ui {

NavigationController::NavigationController(const NavigationScreenPtr &root)
    : m_bar(std::make_shared<NavigationBar>())
    , m_toolbar(std::make_shared<Toolbar>())
    , m_container(std::make_shared<View>())
{
    m_container->setClipsToBounds(true);
    m_toolbar->setHidden(true);
    addSubview(m_container);
    addSubview(m_toolbar);
    addSubview(m_bar);
    m_bar->setBackAction([this]() { popScreen(true); });
    m_bar->setHeightChangeHandler([this]() { layoutBars(); });
    if (root)
        changeStack({root}, true, false);
}

NavigationController::~NavigationController()
{
    m_bar->setBackAction({});
    m_bar->setHeightChangeHandler({});
    for (const NavigationScreenPtr &screen : m_screens)
        screen->m_controller = nullptr;
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated)
{
    if (animated)
        addTransition(Transition(TransitionType::Fade, TransitionSubtype::FromLeft, kTransitionDuration));
    m_bar->setHidden(hidden);
    layoutBars();
}

void NavigationController::setToolbarHidden(bool hidden, bool animated)
{
    if (animated)
        addTransition(Transition(TransitionType::Fade, TransitionSubtype::FromLeft, kTransitionDuration));
    m_toolbar->setHidden(hidden);
    layoutBars();
}

void NavigationController::setScreens(const std::vector<NavigationScreenPtr> &screens, bool animated)
{
    std::vector<NavigationScreenPtr> stack;
    for (const NavigationScreenPtr &s : screens)
        if (s && std::find(stack.begin(), stack.end(), s) == stack.end())
            stack.push_back(s);
    changeStack(std::move(stack), true, animated);
}

void NavigationController::pushScreen(const NavigationScreenPtr &screen, bool animated)
{
    if (!screen || std::find(m_screens.begin(), m_screens.end(), screen) != m_screens.end())
        return;
    std::vector<NavigationScreenPtr> stack = m_screens;
    stack.push_back(screen);
    changeStack(std::move(stack), true, animated);
}

NavigationScreenPtr NavigationController::popScreen(bool animated)
{
    if (m_screens.size() < 2)
        return nullptr;
    NavigationScreenPtr top = m_screens.back();
    std::vector<NavigationScreenPtr> stack(m_screens.begin(), m_screens.end() - 1);
    changeStack(std::move(stack), false, animated);
    return top;
}

std::vector<NavigationScreenPtr> NavigationController::popToRootScreen(bool animated)
{
    if (m_screens.size() < 2)
        return {};
    std::vector<NavigationScreenPtr> popped(m_screens.begin() + 1, m_screens.end());
    changeStack({m_screens.front()}, false, animated);
    return popped;
}

void NavigationController::changeStack(std::vector<NavigationScreenPtr> screens, bool forward, bool animated)
{
    // Keep the leaving screens alive until they have heard they disappeared.
    const std::vector<NavigationScreenPtr> old = m_screens;
    const NavigationScreenPtr oldTop = topScreen();
    const NavigationScreenPtr newTop = screens.empty() ? nullptr : screens.back();
    const bool topChanges = oldTop != newTop;
    if (topChanges) {
        if (oldTop)
            oldTop->viewWillDisappear(animated);
        if (newTop) {
            // Loaded and sized before it hears it will appear, so it can lay itself out.
            const ViewPtr v = newTop->view();
            v->setFrame(m_container->bounds());
            v->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
            newTop->viewWillAppear(animated);
        }
    }
    for (const NavigationScreenPtr &s : old)
        s->m_controller = nullptr;
    m_screens = std::move(screens);
    for (const NavigationScreenPtr &s : m_screens)
        s->m_controller = this;

    if (topChanges) {
        if (animated)
            m_container->addTransition(Transition(TransitionType::Push,
                                                  forward ? TransitionSubtype::FromRight : TransitionSubtype::FromLeft,
                                                  kTransitionDuration));
        if (oldTop && oldTop->isViewLoaded() && oldTop->m_view->superview() == m_container.get())
            oldTop->m_view->removeFromSuperview();
        if (newTop)
            m_container->addSubview(newTop->view());
    }
    syncBar(animated && topChanges);
    m_toolbar->setItems(newTop ? newTop->toolbarItems() : std::vector<BarButtonItemPtr>{}, animated && topChanges);
    if (topChanges) {
        if (oldTop)
            oldTop->viewDidDisappear(animated);
        if (newTop)
            newTop->viewDidAppear(animated);
    }
}

void NavigationController::syncBar(bool animated)
{
    std::vector<NavigationItemPtr> items;
    for (const NavigationScreenPtr &s : m_screens)
        items.push_back(s->navigationItemPtr());
    m_bar->setItems(items, animated);
}

void NavigationController::toolbarItemsChanged(NavigationScreen *screen, bool animated)
{
    if (screen == topScreen().get())
        m_toolbar->setItems(screen->toolbarItems(), animated);
}

QRectF NavigationController::contentRect() const
{
    const QRectF b = bounds();
    const double top = m_bar->isHidden() ? 0 : m_bar->preferredHeight();
    const double bottom = m_toolbar->isHidden() ? 0 : Toolbar::kHeight;
    return QRectF(b.left(), b.top() + top, b.width(), std::max(0.0, b.height() - top - bottom));
}

void NavigationController::layoutBars()
{
    const QRectF b = bounds();
    m_bar->setFrame(QRectF(b.left(), b.top(), b.width(), m_bar->preferredHeight()));
    m_toolbar->setFrame(QRectF(b.left(), b.bottom() - Toolbar::kHeight, b.width(), Toolbar::kHeight));
    m_container->setFrame(contentRect());
}

} // namespace vimora::ui
