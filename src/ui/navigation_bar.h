#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "ui/bar_button_item.h"
#include "ui/navigation_item.h"
#include "ui/view.h"

namespace vimora::ui {

class Button;
class Label;

/// The bar along the top of a navigation stack: a stack of items of which the top one is
/// shown, its title centred (kept clear of the buttons), its left button (or a back button
/// when there is an item under it) kButtonMargin from the left edge and its right button as
/// far from the right edge, both centred in the bottom kHeight band. A prompt takes a band
/// of the theme's prompt height above; preferredHeight() says how tall the bar wants to be.
class NavigationBar : public View
{
public:
    static constexpr double kHeight = 44;
    static constexpr double kButtonMargin = 5;
    /// Least space between the title and a button.
    static constexpr double kTitleGap = 8;
    /// Width of the back button's pointed end.
    static constexpr double kBackArrowWidth = 10;
    /// Opacity of a translucent bar's background.
    static constexpr double kTranslucentAlpha = 0.8;

    NavigationBar();
    explicit NavigationBar(const QRectF &frame);
    ~NavigationBar() override;

    BarStyle barStyle() const { return m_style; }
    void setBarStyle(BarStyle style);
    bool isTranslucent() const { return m_translucent; }
    void setTranslucent(bool translucent);

    const std::vector<NavigationItemPtr> &items() const { return m_items; }
    void setItems(const std::vector<NavigationItemPtr> &items, bool animated = false);
    NavigationItemPtr topItem() const { return m_items.empty() ? nullptr : m_items.back(); }
    /// The item under the top one, whose back title the back button shows.
    NavigationItemPtr backItem() const { return m_items.size() < 2 ? nullptr : m_items[m_items.size() - 2]; }
    void pushNavigationItem(const NavigationItemPtr &item, bool animated = false);
    /// Removes the top item (not the last one) and returns it.
    NavigationItemPtr popNavigationItem(bool animated = false);

    /// What the back button does; without one it pops the bar's top item.
    void setBackAction(std::function<void()> action) { m_backAction = std::move(action); }
    /// kHeight, plus the prompt's band while the top item has a prompt.
    double preferredHeight() const;
    /// Told when preferredHeight() changes.
    void setHeightChangeHandler(std::function<void()> handler) { m_heightChanged = std::move(handler); }

    /// The buttons shown on the left (the back button included) and right, or nullptr.
    std::shared_ptr<Button> leftButton() const { return m_leftButton; }
    std::shared_ptr<Button> rightButton() const { return m_rightButton; }
    bool showsBackButton() const { return m_leftButton && m_leftButton == m_backButton; }
    Label &titleLabel() { return *m_title; }
    Label &promptLabel() { return *m_prompt; }

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return true; }
    void layoutSubviews() override { layoutBar(); }

private:
    void rebuild(bool animated = false);
    void layoutBar();
    void backTapped();

    BarStyle m_style = BarStyle::Default;
    bool m_translucent = false;
    std::vector<NavigationItemPtr> m_items;
    std::shared_ptr<Label> m_title, m_prompt;
    std::shared_ptr<Button> m_backButton;
    std::shared_ptr<Button> m_leftButton, m_rightButton;
    BarButtonItemPtr m_leftItem, m_rightItem;
    std::function<void()> m_backAction;
    std::function<void()> m_heightChanged;
    double m_lastHeight = kHeight;
};

} // namespace vimora::ui
