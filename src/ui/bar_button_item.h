#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QSizeF>
#include <QString>

namespace vimora::ui {

class Button;

/// The look of navigation bars and toolbars.
enum class BarStyle { Default, Black };

/// An item of a navigation bar or toolbar: a titled button, or a flexible or fixed space
/// that spreads the toolbar's buttons. The bar showing an item owns nothing of it: a screen
/// keeps its items and may change them while they are shown (the bar follows).
class BarButtonItem
{
public:
    enum class Style { Plain, Bordered, Done };
    /// Done and Save are titled "Done" and "Save" in the Done style; Cancel and Edit are
    /// bordered.
    enum class SystemItem { Done, Cancel, Edit, Save, FlexibleSpace, FixedSpace };
    using Action = std::function<void(BarButtonItem &item)>;

    BarButtonItem(const QString &title, Style style = Style::Bordered, Action action = {});
    explicit BarButtonItem(SystemItem item, Action action = {});
    ~BarButtonItem();
    BarButtonItem(const BarButtonItem &) = delete;
    BarButtonItem &operator=(const BarButtonItem &) = delete;

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    Style style() const { return m_style; }
    void setStyle(Style style);
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled);
    int tag() const { return m_tag; }
    void setTag(int tag) { m_tag = tag; }
    void setAction(Action action) { m_action = std::move(action); }
    /// A fixed space's width, or a button's width (0: as wide as its title needs).
    double width() const { return m_width; }
    void setWidth(double width);

    bool isFlexibleSpace() const { return m_system == SystemItem::FlexibleSpace; }
    bool isFixedSpace() const { return m_system == SystemItem::FixedSpace; }
    bool isSpace() const { return isFlexibleSpace() || isFixedSpace(); }

    /// The button drawn for the item, made on first use; nullptr for a space. Tapping it
    /// runs the action.
    std::shared_ptr<Button> button();
    /// The button's size: its width, or the title's width and the theme's padding, by the
    /// theme's bar button height. A fixed space is width × 0; a flexible one 0 × 0.
    QSizeF sizeThatFits() const;

    /// The bar showing the item relays itself out when the title, style or width change.
    void setChangeHandler(std::function<void()> handler) { m_changed = std::move(handler); }

    /// Runs the action as a tap on the button would (only while enabled).
    void trigger();

private:
    void styleButton();
    void changed();

    QString m_title;
    Style m_style = Style::Bordered;
    std::optional<SystemItem> m_system;
    bool m_enabled = true;
    int m_tag = 0;
    double m_width = 0;
    Action m_action;
    std::shared_ptr<Button> m_button;
    std::function<void()> m_changed;
};

using BarButtonItemPtr = std::shared_ptr<BarButtonItem>;

} // namespace vimora::ui
