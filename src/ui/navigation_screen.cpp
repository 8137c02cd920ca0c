#include "ui/navigation_screen.h"

#include "ui/navigation_controller.h"

namespace vimora::ui {

NavigationScreen::NavigationScreen()
    : m_item(std::make_shared<NavigationItem>())
{
}

NavigationScreen::~NavigationScreen() = default;

ViewPtr NavigationScreen::view()
{
    if (!m_view) {
        m_view = loadView();
        if (!m_view)
            m_view = std::make_shared<View>();
        viewDidLoad();
    }
    return m_view;
}

ViewPtr NavigationScreen::loadView()
{
    return std::make_shared<View>();
}

void NavigationScreen::setToolbarItems(const std::vector<BarButtonItemPtr> &items, bool animated)
{
    m_toolbarItems = items;
    if (m_controller)
        m_controller->toolbarItemsChanged(this, animated);
}

} // namespace vimora::ui
