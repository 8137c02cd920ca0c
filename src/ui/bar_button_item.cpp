#include "ui/bar_button_item.h"

#include <cmath>

#include <QFontMetricsF>

#include "ui/button.h"
#include "ui/theme.h"

namespace vimora::ui {

namespace {

ThemeElement elementFor(BarButtonItem::Style style)
{
    switch (style) {
    case BarButtonItem::Style::Plain:
        return ThemeElement::BarButtonPlain;
    case BarButtonItem::Style::Done:
        return ThemeElement::BarButtonDone;
    case BarButtonItem::Style::Bordered:
        break;
    }
    return ThemeElement::BarButton;
}

} // namespace

BarButtonItem::BarButtonItem(const QString &title, Style style, Action action)
    : m_title(title)
    , m_style(style)
    , m_action(std::move(action))
{
}

BarButtonItem::BarButtonItem(SystemItem item, Action action)
    : m_system(item)
    , m_action(std::move(action))
{
    switch (item) {
    case SystemItem::Done:
        m_title = QStringLiteral("Done");
        m_style = Style::Done;
        break;
    case SystemItem::Save:
        m_title = QStringLiteral("Save");
        m_style = Style::Done;
        break;
    case SystemItem::Cancel:
        m_title = QStringLiteral("Cancel");
        break;
    case SystemItem::Edit:
        m_title = QStringLiteral("Edit");
        break;
    case SystemItem::FlexibleSpace:
    case SystemItem::FixedSpace:
        m_style = Style::Plain;
        break;
    }
}

BarButtonItem::~BarButtonItem()
{
    if (m_button)
        m_button->removeAllActions();
}

void BarButtonItem::setTitle(const QString &title)
{
    m_title = title;
    if (m_button)
        m_button->setTitle(title);
    changed();
}

void BarButtonItem::setStyle(Style style)
{
    m_style = style;
    styleButton();
    changed();
}

void BarButtonItem::setEnabled(bool enabled)
{
    m_enabled = enabled;
    if (m_button)
        m_button->setEnabled(enabled);
}

void BarButtonItem::setWidth(double width)
{
    m_width = std::max(0.0, width);
    changed();
}

std::shared_ptr<Button> BarButtonItem::button()
{
    if (isSpace())
        return nullptr;
    if (!m_button) {
        m_button = std::make_shared<Button>();
        m_button->addAction(ControlEventTouchUpInside, [this](Control &) { trigger(); });
        styleButton();
    }
    return m_button;
}

void BarButtonItem::styleButton()
{
    if (!m_button)
        return;
    const ThemeElement element = elementFor(m_style);
    const ThemeStyle look = Theme::current().style(element);
    m_button->setThemeElement(element);
    m_button->setTitle(m_title);
    m_button->setTitleShadowOffset(look.shadowOffset);
    m_button->setEnabled(m_enabled);
}

QSizeF BarButtonItem::sizeThatFits() const
{
    if (isFlexibleSpace())
        return {};
    if (isFixedSpace())
        return QSizeF(m_width, 0);
    const ThemeStyle look = Theme::current().style(elementFor(m_style));
    const double titleWidth = QFontMetricsF(look.font).horizontalAdvance(m_title);
    const double width = m_width > 0 ? m_width : std::ceil(titleWidth + look.padding.left + look.padding.right);
    return QSizeF(width, look.size.height());
}

void BarButtonItem::trigger()
{
    if (m_enabled && m_action)
        m_action(*this);
}

void BarButtonItem::changed()
{
    if (m_changed)
        m_changed();
}

} // namespace vimora::ui
