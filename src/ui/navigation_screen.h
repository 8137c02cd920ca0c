#pragma once

#include <memory>
#include <vector>

#include <QString>

#include "ui/bar_button_item.h"
#include "ui/navigation_item.h"
#include "ui/view.h"

namespace vimora::ui {

class NavigationController;

/// One screen of a navigation stack: its view, made on first use by loadView(), the item its
/// navigation bar shows and the items of the toolbar while it is on top. Subclasses build
/// their view in loadView()/viewDidLoad() and hear about appearing and disappearing.
class NavigationScreen
{
public:
    NavigationScreen();
    virtual ~NavigationScreen();
    NavigationScreen(const NavigationScreen &) = delete;
    NavigationScreen &operator=(const NavigationScreen &) = delete;

    /// The screen's view, loaded on the first call.
    ViewPtr view();
    bool isViewLoaded() const { return m_view != nullptr; }

    NavigationItem &navigationItem() { return *m_item; }
    NavigationItemPtr navigationItemPtr() const { return m_item; }
    QString title() const { return m_item->title(); }
    void setTitle(const QString &title) { m_item->setTitle(title); }

    const std::vector<BarButtonItemPtr> &toolbarItems() const { return m_toolbarItems; }
    /// Shown in the controller's toolbar while this screen is on top.
    void setToolbarItems(const std::vector<BarButtonItemPtr> &items, bool animated = false);

    /// The stack this screen is on, or nullptr.
    NavigationController *navigationController() const { return m_controller; }

protected:
    /// Makes the view; the default is a plain, empty view.
    virtual ViewPtr loadView();
    virtual void viewDidLoad() {}
    virtual void viewWillAppear(bool /*animated*/) {}
    virtual void viewDidAppear(bool /*animated*/) {}
    virtual void viewWillDisappear(bool /*animated*/) {}
    virtual void viewDidDisappear(bool /*animated*/) {}

private:
    friend class NavigationController;

    ViewPtr m_view;
    NavigationItemPtr m_item;
    std::vector<BarButtonItemPtr> m_toolbarItems;
    NavigationController *m_controller = nullptr;
};

using NavigationScreenPtr = std::shared_ptr<NavigationScreen>;

} // namespace vimora::ui
