#include "ui/search_bar.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/theme.h"

namespace vimora::ui {

namespace {

// The bar's gradient with its bottom line.
class SearchBarBackground : public View
{
protected:
    void drawContent(QPainter &painter) const override
    {
        const ThemeStyle look = Theme::current().style(ThemeElement::SearchBar);
        const QRectF b = bounds();
        painter.fillRect(b, look.brush);
        if (look.pen.style() != Qt::NoPen)
            painter.fillRect(QRectF(b.left(), b.bottom() - look.pen.widthF(), b.width(), look.pen.widthF()),
                             look.pen.color());
    }
    bool drawsContent() const override { return true; }
};

// The rounded field with the magnifier in its left padding.
class SearchField : public TextField
{
public:
    SearchField()
    {
        const ThemeStyle look = Theme::current().style(ThemeElement::SearchField);
        setFont(look.font);
        setTextColor(look.textColor);
        setTextInsets(look.padding);
        setReturnKeyType(ReturnKeyType::Search);
    }

protected:
    void drawContent(QPainter &painter) const override
    {
        const Theme &theme = Theme::current();
        const ThemeStyle look = theme.style(ThemeElement::SearchField);
        const QRectF b = bounds();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(look.pen);
        painter.setBrush(look.brush);
        const double inset = look.pen.style() == Qt::NoPen ? 0 : look.pen.widthF() / 2;
        const double radius = std::min(look.radius, b.height() / 2);
        painter.drawRoundedRect(b.adjusted(inset, inset, -inset, -inset), radius, radius);

        const ThemeStyle icon = theme.style(ThemeElement::SearchIcon);
        const double size = icon.size.width();
        const double ring = size * 0.62;
        const QPointF corner(look.padding.left / 2 - size / 2, b.center().y() - size / 2);
        painter.setPen(icon.pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(QRectF(corner, QSizeF(ring, ring)));
        const QPointF handleStart = corner + QPointF(ring * 0.85, ring * 0.85);
        painter.drawLine(handleStart, corner + QPointF(size, size));
        painter.restore();
        TextField::drawContent(painter);
    }
};

} // namespace

// Passes the field's delegate calls on as the bar's.
class SearchBar::Relay : public TextFieldDelegate
{
public:
    explicit Relay(SearchBar &bar)
        : m_bar(bar)
    {
    }
    bool textFieldShouldBeginEditing(TextField &) override
    {
        return !m_bar.m_delegate || m_bar.m_delegate->searchBarShouldBeginEditing(m_bar);
    }
    void textFieldDidBeginEditing(TextField &) override
    {
        if (m_bar.m_delegate)
            m_bar.m_delegate->searchBarTextDidBeginEditing(m_bar);
    }
    void textFieldDidEndEditing(TextField &) override
    {
        if (m_bar.m_delegate)
            m_bar.m_delegate->searchBarTextDidEndEditing(m_bar);
    }
    bool textFieldShouldReturn(TextField &) override
    {
        if (m_bar.m_delegate)
            m_bar.m_delegate->searchBarSearchButtonClicked(m_bar);
        return false;
    }

private:
    SearchBar &m_bar;
};

SearchBar::SearchBar()
    : m_relay(std::make_unique<Relay>(*this))
    , m_background(std::make_shared<SearchBarBackground>())
    , m_field(std::make_shared<SearchField>())
{
    m_field->setDelegate(m_relay.get());
    m_field->addAction(ControlEventEditingChanged, [this](Control &) {
        if (m_delegate)
            m_delegate->searchBar(*this, m_field->text());
    });
    addSubview(m_background);
    addSubview(m_field);
}

SearchBar::SearchBar(const QRectF &frame)
    : SearchBar()
{
    setFrame(frame);
}

SearchBar::~SearchBar()
{
    m_field->setDelegate(nullptr);
    m_field->removeAllActions();
}

void SearchBar::setText(const QString &text)
{
    m_field->setText(text);
}

void SearchBar::setPlaceholder(const QString &placeholder)
{
    m_field->setPlaceholder(placeholder);
}

bool SearchBar::becomeFirstResponder()
{
    return m_field->becomeFirstResponder();
}

bool SearchBar::resignFirstResponder()
{
    return m_field->resignFirstResponder();
}

bool SearchBar::isFirstResponder() const
{
    return m_field->isFirstResponder();
}

void SearchBar::touchesEnded(const TouchSet &)
{
    // A tap on the bar around the field (the magnifier, the margin) edits too.
    if (!m_field->isEditing() && m_field->becomeFirstResponder())
        m_field->editor().setCursorPosition(int(m_field->text().size()));
}

void SearchBar::layoutSubviews()
{
    const QRectF b = bounds();
    m_background->setFrame(b);
    const EdgeInsets pad = Theme::current().style(ThemeElement::SearchBar).padding;
    m_field->setFrame(insetRect(b, pad));
}

} // namespace vimora::ui
