#include "ui/text_field.h"

#include <algorithm>

#include <QKeyEvent>
#include <QPainter>

#include "ui/host.h"
#include "ui/theme.h"

namespace vimora::ui {

namespace {

Qt::InputMethodHints hintsFor(TextField::KeyboardType type, bool autocorrection)
{
    Qt::InputMethodHints hints = autocorrection ? Qt::ImhNone : Qt::ImhNoPredictiveText;
    switch (type) {
    case TextField::KeyboardType::NumbersAndPunctuation:
        hints |= Qt::ImhPreferNumbers;
        break;
    case TextField::KeyboardType::NumberPad:
        hints |= Qt::ImhDigitsOnly;
        break;
    case TextField::KeyboardType::EmailAddress:
        hints |= Qt::ImhEmailCharactersOnly;
        break;
    case TextField::KeyboardType::URL:
        hints |= Qt::ImhUrlCharactersOnly;
        break;
    case TextField::KeyboardType::Default:
        break;
    }
    return hints;
}

Qt::EnterKeyType enterKeyFor(TextField::ReturnKeyType type)
{
    switch (type) {
    case TextField::ReturnKeyType::Go:
        return Qt::EnterKeyGo;
    case TextField::ReturnKeyType::Next:
        return Qt::EnterKeyNext;
    case TextField::ReturnKeyType::Search:
        return Qt::EnterKeySearch;
    case TextField::ReturnKeyType::Done:
        return Qt::EnterKeyDone;
    case TextField::ReturnKeyType::Default:
        break;
    }
    return Qt::EnterKeyDefault;
}

} // namespace

TextField::TextField()
    : m_editor(TextEditor::Mode::SingleLine)
{
    const ThemeStyle look = Theme::current().style(ThemeElement::TextField);
    m_editor.setFont(look.font);
    m_textColor = look.textColor;
    m_editor.setChangeFilter([this](TextRange range, const QString &replacement) {
        return !m_delegate || m_delegate->textField(*this, range, replacement);
    });
    m_editor.setChangedHandler([this]() { edited(); });
    m_editor.setSelectionChangedHandler([this]() { selectionMoved(); });
}

TextField::TextField(const QRectF &frame)
    : TextField()
{
    setFrame(frame);
}

TextField::~TextField() = default;

void TextField::setText(const QString &text)
{
    m_editor.setText(text);
    scrollToCaret();
    setNeedsDisplay();
}

void TextField::setPlaceholder(const QString &placeholder)
{
    m_placeholder = placeholder;
    setNeedsDisplay();
}

void TextField::setFont(const QFont &font)
{
    m_editor.setFont(font);
    scrollToCaret();
    setNeedsDisplay();
}

void TextField::setTextColor(const QColor &color)
{
    m_textColor = color.isValid() ? color : QColor(Qt::transparent);
    setNeedsDisplay();
}

void TextField::setTextAlignment(TextAlignment alignment)
{
    m_alignment = alignment;
    scrollToCaret();
    setNeedsDisplay();
}

void TextField::setBorderStyle(BorderStyle style)
{
    m_borderStyle = style;
    scrollToCaret();
    setNeedsDisplay();
}

void TextField::setSelectedRange(TextRange range)
{
    m_editor.setSelectedRange(range);
}

void TextField::setTextInsets(const EdgeInsets &insets)
{
    m_textInsets = insets;
    scrollToCaret();
    setNeedsDisplay();
}

QRectF TextField::textRect() const
{
    const QRectF b = bounds().normalized();
    const EdgeInsets pad = Theme::current().style(ThemeElement::TextField).padding;
    QRectF r = b;
    switch (m_borderStyle) {
    case BorderStyle::None:
        break;
    case BorderStyle::Line:
    case BorderStyle::Bezel:
        // The rounded border's side padding, less its curve.
        r = insetRect(b, EdgeInsets{2, std::max(2.0, pad.left - 4), 2, std::max(2.0, pad.right - 4)});
        break;
    case BorderStyle::RoundedRect:
        r = insetRect(b, pad);
        break;
    }
    r = insetRect(r, m_textInsets);
    return QRectF(r.topLeft(), QSizeF(std::max(0.0, r.width()), std::max(0.0, r.height())));
}

QPointF TextField::textOrigin() const
{
    const QRectF r = textRect();
    const QSizeF size = m_editor.documentSize();
    double x = r.x() - m_scrollX;
    if (size.width() < r.width()) {
        if (m_alignment == TextAlignment::Center)
            x = r.x() + (r.width() - size.width()) / 2;
        else if (m_alignment == TextAlignment::Right)
            x = r.x() + r.width() - size.width();
    }
    return QPointF(x, r.y() + (r.height() - size.height()) / 2);
}

QRectF TextField::caretRect() const
{
    return m_editor.caretRect(caretThickness()).translated(textOrigin());
}

int TextField::positionAt(QPointF p) const
{
    return m_editor.positionAt(p - textOrigin());
}

void TextField::scrollToCaret()
{
    const QRectF r = textRect();
    const double width = m_editor.documentSize().width();
    const double thickness = caretThickness();
    // A field that is not being edited shows its text from the start.
    if (!m_editing || width + thickness <= r.width()) {
        m_scrollX = 0;
        return;
    }
    const double caretX = m_editor.caretRect(thickness).center().x();
    if (caretX - m_scrollX > r.width() - thickness)
        m_scrollX = caretX - r.width() + thickness;
    if (caretX - m_scrollX < thickness)
        m_scrollX = caretX - thickness;
    m_scrollX = std::clamp(m_scrollX, 0.0, std::max(0.0, width + thickness - r.width()));
}

// --- Focus ---

bool TextField::canBecomeFirstResponder() const
{
    if (!isEnabled())
        return false;
    if (m_editing || !m_delegate)
        return true;
    return m_delegate->textFieldShouldBeginEditing(const_cast<TextField &>(*this));
}

void TextField::focusChanged(bool focused)
{
    if (focused == m_editing)
        return;
    if (!focused)
        m_editor.commitComposition();
    m_editing = focused;
    m_selecting = false;
    if (focused) {
        m_blink.restart(m_editing);
    } else {
        m_blink.stop();
        m_editor.setCursorPosition(m_editor.cursorPosition());
    }
    scrollToCaret();
    setNeedsDisplay();
    if (focused) {
        if (m_delegate)
            m_delegate->textFieldDidBeginEditing(*this);
        sendActions(ControlEventEditingDidBegin);
    } else {
        if (m_delegate)
            m_delegate->textFieldDidEndEditing(*this);
        sendActions(ControlEventEditingDidEnd);
    }
}

// --- Keys and input method ---

bool TextField::keyPressEvent(QKeyEvent *event)
{
    if (!m_editing)
        return false;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!m_delegate || m_delegate->textFieldShouldReturn(*this))
            sendActions(ControlEventEditingDidEndOnExit);
        return true;
    }
    return m_editor.keyPress(event);
}

bool TextField::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_editing)
        return false;
    m_editor.inputMethodEvent(event);
    scrollToCaret();
    m_blink.restart(m_editing);
    setNeedsDisplay();
    return true;
}

QVariant TextField::inputMethodQuery(int query) const
{
    switch (Qt::InputMethodQuery(query)) {
    case Qt::ImEnabled:
        return isEnabled();
    case Qt::ImHints:
        return int(hintsFor(m_keyboardType, m_autocorrection));
    case Qt::ImEnterKeyType:
        return int(enterKeyFor(m_returnKeyType));
    case Qt::ImCursorRectangle:
        return convertRectTo(caretRect(), nullptr);
    default:
        return m_editor.inputMethodQuery(query);
    }
}

void TextField::edited()
{
    scrollToCaret();
    sendActions(ControlEventEditingChanged);
}

void TextField::selectionMoved()
{
    scrollToCaret();
    m_blink.restart(m_editing);
    setNeedsDisplay();
    if (m_editing)
        if (Host *h = host())
            h->updateInputMethod();
}

// --- Touches ---

QPointF TextField::local(const TouchSet &touches) const
{
    return touches.front()->locationInView(this);
}

void TextField::touchesBegan(const TouchSet &touches)
{
    if (!isEnabled() || touches.empty()) {
        forwardTouches(TouchPhase::Began, touches);
        return;
    }
    if (!m_editing && !becomeFirstResponder())
        return;
    commitCompositionForTouch(m_editor, host());
    m_selecting = selectForTaps(m_editor, positionAt(local(touches)), touches.front()->tapCount);
}

void TextField::touchesMoved(const TouchSet &touches)
{
    if (m_selecting && !touches.empty())
        m_editor.setCursorPosition(positionAt(local(touches)), true);
}

void TextField::touchesEnded(const TouchSet &touches)
{
    touchesMoved(touches);
    m_selecting = false;
}

void TextField::touchesCancelled(const TouchSet &)
{
    m_selecting = false;
}

// --- Drawing ---

void TextField::drawContent(QPainter &painter) const
{
    const QRectF b = bounds().normalized();
    const ThemeStyle look = Theme::current().style(ThemeElement::TextField, state());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    switch (m_borderStyle) {
    case BorderStyle::None:
        break;
    case BorderStyle::Line:
    case BorderStyle::Bezel: {
        const double width = m_borderStyle == BorderStyle::Bezel ? 2 : 1;
        painter.setPen(QPen(look.pen.color(), width));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(b.adjusted(width / 2, width / 2, -width / 2, -width / 2));
        break;
    }
    case BorderStyle::RoundedRect: {
        painter.setPen(look.pen);
        painter.setBrush(look.brush);
        const double inset = look.pen.style() == Qt::NoPen ? 0 : look.pen.widthF() / 2;
        painter.drawRoundedRect(b.adjusted(inset, inset, -inset, -inset), look.radius, look.radius);
        break;
    }
    }

    const QRectF r = textRect();
    const double thickness = caretThickness();
    painter.setClipRect(r.adjusted(-thickness, 0, thickness, 0), Qt::IntersectClip);
    const bool empty = m_editor.text().isEmpty() && !m_editor.hasComposition();
    if (empty && !m_placeholder.isEmpty()) {
        TextStyle style;
        style.font = m_editor.font();
        style.color = Theme::current().style(ThemeElement::TextFieldPlaceholder).textColor;
        style.alignment = m_alignment;
        drawText(painter, r, m_placeholder, style);
    }
    const QPointF origin = textOrigin();
    painter.translate(origin);
    const QColor selection = m_editing ? Theme::current().style(ThemeElement::TextSelection).brush.color() : QColor();
    m_editor.draw(painter, isEnabled() ? m_textColor : look.textColor, selection);
    if (m_editing && m_blink.isOn())
        drawCaret(painter, m_editor);
    painter.restore();
}

} // namespace vimora::ui
