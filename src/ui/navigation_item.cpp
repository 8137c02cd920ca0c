#include "ui/navigation_item.h"

namespace vimora::ui {

NavigationItem::NavigationItem(const QString &title)
    : m_title(title)
{
}

void NavigationItem::setTitle(const QString &title)
{
    m_title = title;
    changed();
}

void NavigationItem::setPrompt(const QString &prompt)
{
    m_prompt = prompt;
    changed();
}

void NavigationItem::setLeftBarButtonItem(const BarButtonItemPtr &item)
{
    m_left = item;
    changed();
}

void NavigationItem::setRightBarButtonItem(const BarButtonItemPtr &item)
{
    m_right = item;
    changed();
}

void NavigationItem::setHidesBackButton(bool hides)
{
    m_hidesBackButton = hides;
    changed();
}

void NavigationItem::setBackTitle(const QString &title)
{
    m_backTitle = title;
    changed();
}

void NavigationItem::changed()
{
    if (m_changed)
        m_changed();
}

} // namespace vimora::ui
