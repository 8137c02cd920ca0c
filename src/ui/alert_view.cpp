#include "ui/alert_view.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>

#include "ui/button.h"
#include "ui/host.h"
#include "ui/label.h"
#include "ui/theme.h"

namespace vimora::ui {

namespace {
constexpr double kGap = 8;
constexpr double kButtonGap = 10;
// Room kept below the lowest subview a screen added.
constexpr double kSubviewMargin = 10;
} // namespace

AlertView::AlertView(const QString &title, const QString &message, AlertViewDelegate *delegate,
                     const QString &cancelButtonTitle, const QStringList &otherButtonTitles)
    : m_title(title)
    , m_message(message)
    , m_delegate(delegate)
{
    if (!cancelButtonTitle.isNull()) {
        m_buttonTitles << cancelButtonTitle;
        m_cancelIndex = 0;
    }
    m_buttonTitles << otherButtonTitles;
    setBounds(QRectF(0, 0, kWidth, 100));
    setShadowColor(Qt::black);
    setShadowOpacity(0.6);
    setShadowOffset(QPointF(0, 4));
    setShadowRadius(6);
}

AlertView::~AlertView() = default;

void AlertView::setTitle(const QString &title)
{
    m_title = title;
    if (m_visible)
        layout();
}

void AlertView::setMessage(const QString &message)
{
    m_message = message;
    if (m_visible)
        layout();
}

int AlertView::addButtonWithTitle(const QString &title)
{
    m_buttonTitles << title;
    if (m_visible)
        layout();
    return int(m_buttonTitles.size()) - 1;
}

QString AlertView::buttonTitleAtIndex(int index) const
{
    return index >= 0 && index < m_buttonTitles.size() ? m_buttonTitles[index] : QString();
}

int AlertView::firstOtherButtonIndex() const
{
    const int first = m_cancelIndex == 0 ? 1 : 0;
    return first < m_buttonTitles.size() ? first : -1;
}

Button *AlertView::buttonAtIndex(int index) const
{
    return index >= 0 && index < int(m_buttons.size()) ? m_buttons[size_t(index)].get() : nullptr;
}

void AlertView::layout()
{
    const Theme &theme = Theme::current();
    const ThemeStyle panel = theme.style(ThemeElement::AlertPanel);
    const EdgeInsets pad = panel.padding;
    const double innerWidth = kWidth - pad.left - pad.right;

    // Take our own parts out; what remains was added by the screen (a spinner).
    for (const auto &b : m_buttons)
        b->removeFromSuperview();
    m_buttons.clear();
    if (m_titleLabel)
        m_titleLabel->removeFromSuperview();
    if (m_messageLabel)
        m_messageLabel->removeFromSuperview();
    double extraBottom = 0;
    for (const ViewPtr &v : subviews()) // hidden ones too: a spinner shows once started
        extraBottom = std::max(extraBottom, v->frame().bottom() + kSubviewMargin);

    auto makeLabel = [&](const QString &text, ThemeElement element, double y) {
        const ThemeStyle look = theme.style(element);
        auto label = std::make_shared<Label>();
        label->setBackgroundColor(Qt::transparent);
        label->setText(text);
        label->setFont(look.font);
        label->setTextColor(look.textColor);
        label->setShadowColor(look.shadowColor);
        label->setShadowOffset(look.shadowOffset);
        label->setTextAlignment(TextAlignment::Center);
        label->setNumberOfLines(0);
        label->setLineBreakMode(LineBreakMode::WordWrap);
        const QSizeF size = label->sizeThatFits(innerWidth);
        label->setFrame(QRectF(pad.left, y, innerWidth, size.height()));
        insertSubview(label, 0);
        return label;
    };
    double y = pad.top;
    m_titleLabel = m_title.isEmpty() ? nullptr : makeLabel(m_title, ThemeElement::AlertTitle, y);
    if (m_titleLabel)
        y = m_titleLabel->frame().bottom() + kGap;
    m_messageLabel = m_message.isEmpty() ? nullptr : makeLabel(m_message, ThemeElement::AlertMessage, y);
    if (m_messageLabel)
        y = m_messageLabel->frame().bottom() + kGap;
    y = std::max(y + kGap, extraBottom);

    const int count = int(m_buttonTitles.size());
    const double buttonHeight = theme.style(ThemeElement::AlertButton).size.height();
    auto makeButton = [&](int index, const QRectF &frame) {
        auto button = std::make_shared<Button>(frame);
        button->setThemeElement(index == m_cancelIndex ? ThemeElement::AlertCancelButton : ThemeElement::AlertButton);
        button->setTitle(m_buttonTitles[index]);
        button->setTitleShadowOffset(theme.style(ThemeElement::AlertButton).shadowOffset);
        std::weak_ptr<View> weak = weak_from_this();
        button->addAction(ControlEventTouchUpInside, [weak, index](Control &) {
            if (auto self = std::static_pointer_cast<AlertView>(weak.lock()))
                self->buttonTapped(index);
        });
        m_buttons[size_t(index)] = button;
        addSubview(button);
    };
    m_buttons.assign(size_t(count), nullptr);
    if (count == 2) {
        // Side by side; the cancel button (index 0 when there is one) on the left.
        const double w = (innerWidth - kButtonGap) / 2;
        makeButton(0, QRectF(pad.left, y, w, buttonHeight));
        makeButton(1, QRectF(pad.left + w + kButtonGap, y, w, buttonHeight));
        y += buttonHeight + kGap;
    } else if (count > 0) {
        // Stacked in index order, the cancel button moved to the bottom.
        std::vector<int> order;
        for (int i = 0; i < count; ++i)
            if (i != m_cancelIndex)
                order.push_back(i);
        if (m_cancelIndex >= 0)
            order.push_back(m_cancelIndex);
        for (int index : order) {
            if (index == m_cancelIndex && count > 2)
                y += kGap; // set the cancel button a little apart
            makeButton(index, QRectF(pad.left, y, innerWidth, buttonHeight));
            y += buttonHeight + kGap;
        }
    }
    const double height = y - kGap + pad.bottom;
    const QPointF c = center();
    setBounds(QRectF(0, 0, kWidth, height));
    setCenter(c);
    QPainterPath outline;
    outline.addRoundedRect(bounds(), panel.radius, panel.radius);
    setShadowPath(outline);
}

void AlertView::show()
{
    Host *host = Host::current();
    if (!host)
        return;
    layout();
    const QSizeF screen = host->screenSize();
    setCenter(QPointF(screen.width() / 2, screen.height() / 2));
    m_visible = true;
    host->presentModal(sharedFromThis(), true);
}

void AlertView::buttonTapped(int index)
{
    if (!m_visible)
        return;
    const ViewPtr keep = sharedFromThis();
    if (m_delegate)
        m_delegate->alertViewClickedButtonAtIndex(*this, index);
    dismiss(index, true);
}

void AlertView::dismissWithClickedButtonIndex(int buttonIndex, bool animated)
{
    dismiss(buttonIndex, animated);
}

void AlertView::dismiss(int index, bool animated)
{
    if (!m_visible)
        return;
    const ViewPtr keep = sharedFromThis();
    if (m_delegate)
        m_delegate->alertViewWillDismissWithButtonIndex(*this, index);
    m_visible = false;
    if (Host *h = host())
        h->dismissModal(this, animated);
    else
        removeFromSuperview();
    if (m_delegate)
        m_delegate->alertViewDidDismissWithButtonIndex(*this, index);
}

void AlertView::drawContent(QPainter &painter) const
{
    const ThemeStyle look = Theme::current().style(ThemeElement::AlertPanel);
    const QRectF b = bounds().normalized();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(look.pen);
    painter.setBrush(look.brush);
    const double inset = look.pen.widthF() / 2;
    painter.drawRoundedRect(b.adjusted(inset, inset, -inset, -inset), look.radius, look.radius);
    painter.restore();
}

} // namespace vimora::ui
