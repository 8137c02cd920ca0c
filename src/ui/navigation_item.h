#pragma once

#include <functional>
#include <memory>

#include <QString>

#include "ui/bar_button_item.h"

namespace vimora::ui {

/// What a navigation bar shows for one screen: a title, an optional prompt line above it,
/// and the buttons on the left and right. Without a left button, an item that has another
/// item under it shows a back button titled with that item's back title (its title when no
/// back title is set, "Back" when that is empty).
class NavigationItem
{
public:
    explicit NavigationItem(const QString &title = {});
    NavigationItem(const NavigationItem &) = delete;
    NavigationItem &operator=(const NavigationItem &) = delete;

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    /// A line of text above the title; the bar grows by the prompt's height while it is set.
    QString prompt() const { return m_prompt; }
    void setPrompt(const QString &prompt);
    BarButtonItemPtr leftBarButtonItem() const { return m_left; }
    void setLeftBarButtonItem(const BarButtonItemPtr &item);
    BarButtonItemPtr rightBarButtonItem() const { return m_right; }
    void setRightBarButtonItem(const BarButtonItemPtr &item);
    bool hidesBackButton() const { return m_hidesBackButton; }
    void setHidesBackButton(bool hides);
    /// The title the back button shows while this item lies under the top one.
    QString backTitle() const { return m_backTitle; }
    void setBackTitle(const QString &title);

    /// The bar showing the item lays itself out again on any change.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

private:
    void changed();

    QString m_title, m_prompt, m_backTitle;
    BarButtonItemPtr m_left, m_right;
    bool m_hidesBackButton = false;
    std::function<void()> m_changed;
};

using NavigationItemPtr = std::shared_ptr<NavigationItem>;

} // namespace vimora::ui
