#include "ui/navigation_bar.h"

#include <algorithm>

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include "ui/button.h"
#include "ui/label.h"
#include "ui/theme.h"
#include "ui/transition.h"

namespace vimora::ui {

namespace {

constexpr double kAnimationDuration = 0.3;

ThemeElement barElement(BarStyle style)
{
    return style == BarStyle::Black ? ThemeElement::NavigationBarBlack : ThemeElement::NavigationBar;
}

// A bordered bar button whose left end is a point: the way back.
class BackButton : public Button
{
public:
    BackButton()
    {
        const ThemeStyle look = Theme::current().style(ThemeElement::BarButton);
        setFont(look.font);
        setTitleShadowOffset(look.shadowOffset);
        setTitleColor(look.textColor);
        setTitleShadowColor(look.shadowColor);
        setContentEdgeInsets(EdgeInsets{0, NavigationBar::kBackArrowWidth + look.padding.left - 4, 0, look.padding.right});
    }

protected:
    void drawContent(QPainter &painter) const override
    {
        const ThemeStyle look = Theme::current().style(ThemeElement::BarButton, state());
        const QRectF b = bounds().adjusted(0.5, 0.5, -0.5, -0.5);
        const double r = look.radius, tip = NavigationBar::kBackArrowWidth;
        QPainterPath path;
        path.moveTo(b.left(), b.center().y());
        path.lineTo(b.left() + tip, b.top());
        path.lineTo(b.right() - r, b.top());
        path.quadTo(b.right(), b.top(), b.right(), b.top() + r);
        path.lineTo(b.right(), b.bottom() - r);
        path.quadTo(b.right(), b.bottom(), b.right() - r, b.bottom());
        path.lineTo(b.left() + tip, b.bottom());
        path.closeSubpath();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(look.pen);
        painter.setBrush(look.brush);
        painter.drawPath(path);
        painter.restore();
        Button::drawContent(painter);
    }
};

std::shared_ptr<Label> barLabel(const ThemeStyle &look)
{
    auto label = std::make_shared<Label>();
    label->setBackgroundColor(Qt::transparent);
    label->setFont(look.font);
    label->setTextColor(look.textColor);
    label->setShadowColor(look.shadowColor);
    label->setShadowOffset(look.shadowOffset);
    label->setTextAlignment(TextAlignment::Center);
    return label;
}

} // namespace

NavigationBar::NavigationBar()
{
    const Theme &theme = Theme::current();
    m_title = barLabel(theme.style(barElement(m_style)));
    m_title->setLineBreakMode(LineBreakMode::TruncateTail);
    m_prompt = barLabel(theme.style(ThemeElement::NavigationPrompt));
    m_prompt->setHidden(true);
    m_backButton = std::make_shared<BackButton>();
    m_backButton->addAction(ControlEventTouchUpInside, [this](Control &) { backTapped(); });
    addSubview(m_prompt);
    addSubview(m_title);
}

NavigationBar::NavigationBar(const QRectF &frame)
    : NavigationBar()
{
    setFrame(frame);
}

NavigationBar::~NavigationBar()
{
    for (const NavigationItemPtr &item : m_items)
        item->setChangeHandler({});
    m_backButton->removeAllActions();
}

void NavigationBar::setBarStyle(BarStyle style)
{
    m_style = style;
    const ThemeStyle look = Theme::current().style(barElement(style));
    m_title->setTextColor(look.textColor);
    m_title->setShadowColor(look.shadowColor);
    setNeedsDisplay();
}

void NavigationBar::setTranslucent(bool translucent)
{
    m_translucent = translucent;
    setNeedsDisplay();
}

void NavigationBar::setItems(const std::vector<NavigationItemPtr> &items, bool animated)
{
    for (const NavigationItemPtr &item : m_items)
        item->setChangeHandler({});
    m_items.clear();
    for (const NavigationItemPtr &item : items)
        if (item)
            m_items.push_back(item);
    rebuild(animated);
}

void NavigationBar::pushNavigationItem(const NavigationItemPtr &item, bool animated)
{
    if (!item || std::find(m_items.begin(), m_items.end(), item) != m_items.end())
        return;
    m_items.push_back(item);
    rebuild(animated);
}

NavigationItemPtr NavigationBar::popNavigationItem(bool animated)
{
    if (m_items.size() < 2)
        return nullptr;
    NavigationItemPtr top = m_items.back();
    m_items.pop_back();
    top->setChangeHandler({});
    rebuild(animated);
    return top;
}

double NavigationBar::preferredHeight() const
{
    const NavigationItemPtr top = topItem();
    const bool prompt = top && !top->prompt().isEmpty();
    return kHeight + (prompt ? Theme::current().style(ThemeElement::NavigationPrompt).size.height() : 0);
}

void NavigationBar::backTapped()
{
    if (m_backAction)
        m_backAction();
    else
        popNavigationItem(true);
}

void NavigationBar::rebuild(bool animated)
{
    if (animated)
        addTransition(Transition(TransitionType::Fade, TransitionSubtype::FromLeft, kAnimationDuration));
    for (const NavigationItemPtr &item : m_items)
        item->setChangeHandler([this]() { rebuild(); });
    if (m_leftButton)
        m_leftButton->removeFromSuperview();
    if (m_rightButton)
        m_rightButton->removeFromSuperview();
    if (m_leftItem)
        m_leftItem->setChangeHandler({});
    if (m_rightItem)
        m_rightItem->setChangeHandler({});
    m_leftButton.reset();
    m_rightButton.reset();
    m_leftItem.reset();
    m_rightItem.reset();

    const NavigationItemPtr top = topItem();
    const NavigationItemPtr back = backItem();
    if (top) {
        m_leftItem = top->leftBarButtonItem();
        m_rightItem = top->rightBarButtonItem();
    }
    if (m_leftItem) {
        m_leftButton = m_leftItem->button();
    } else if (back && !top->hidesBackButton()) {
        QString title = back->backTitle().isEmpty() ? back->title() : back->backTitle();
        if (title.isEmpty())
            title = QStringLiteral("Back");
        m_backButton->setTitle(title);
        m_leftButton = m_backButton;
    }
    if (m_rightItem)
        m_rightButton = m_rightItem->button();
    for (const BarButtonItemPtr &item : {m_leftItem, m_rightItem})
        if (item)
            item->setChangeHandler([this]() { layoutBar(); });
    if (m_leftButton)
        addSubview(m_leftButton);
    if (m_rightButton)
        addSubview(m_rightButton);
    m_title->setText(top ? top->title() : QString());
    m_prompt->setText(top ? top->prompt() : QString());
    m_prompt->setHidden(!top || top->prompt().isEmpty());
    layoutBar();
    setNeedsDisplay();

    const double height = preferredHeight();
    if (height != m_lastHeight) {
        m_lastHeight = height;
        if (m_heightChanged)
            m_heightChanged();
    }
}

void NavigationBar::layoutBar()
{
    const QRectF b = bounds();
    const double bandTop = b.bottom() - kHeight;
    m_prompt->setFrame(QRectF(b.left(), b.top(), b.width(), std::max(0.0, bandTop - b.top())));

    auto place = [&](const std::shared_ptr<Button> &button, QSizeF size, bool left) {
        const double x = left ? b.left() + kButtonMargin : b.right() - kButtonMargin - size.width();
        button->setFrame(QRectF(x, bandTop + (kHeight - size.height()) / 2, size.width(), size.height()));
    };
    double leftEnd = b.left(), rightStart = b.right();
    if (m_leftButton) {
        QSizeF size;
        if (m_leftItem) {
            size = m_leftItem->sizeThatFits();
        } else {
            const ThemeStyle look = Theme::current().style(ThemeElement::BarButton);
            const double text = QFontMetricsF(look.font).horizontalAdvance(m_backButton->title(ControlStateNormal));
            // A long back title is cut short rather than crowding out the title.
            size = QSizeF(std::min(b.width() / 3, std::ceil(text + kBackArrowWidth + look.padding.left - 4 + look.padding.right)),
                          look.size.height());
        }
        place(m_leftButton, size, true);
        leftEnd = m_leftButton->frame().right();
    }
    if (m_rightButton) {
        place(m_rightButton, m_rightItem->sizeThatFits(), false);
        rightStart = m_rightButton->frame().left();
    }
    // The title is centred on the bar when the buttons leave room, else between them.
    const double natural = m_title->sizeThatFits().width();
    const double lo = leftEnd + kTitleGap, hi = rightStart - kTitleGap;
    const double width = std::max(0.0, std::min(natural, hi - lo));
    const double x = std::clamp(b.center().x() - width / 2, lo, std::max(lo, hi - width));
    m_title->setFrame(QRectF(x, bandTop, width, kHeight));
}

void NavigationBar::drawContent(QPainter &painter) const
{
    const ThemeStyle look = Theme::current().style(barElement(m_style));
    const QRectF b = bounds();
    painter.save();
    if (m_translucent)
        painter.setOpacity(painter.opacity() * kTranslucentAlpha);
    painter.fillRect(b, look.brush);
    if (look.pen.style() != Qt::NoPen)
        painter.fillRect(QRectF(b.left(), b.bottom() - look.pen.widthF(), b.width(), look.pen.widthF()), look.pen.color());
    painter.restore();
}

} // namespace vimora::ui
