#include "ui/text_view.h"

#include <algorithm>

#include <QKeyEvent>
#include <QPainter>

#include "ui/host.h"
#include "ui/pan_recognizer.h"
#include "ui/theme.h"

namespace vimora::ui {

TextView::TextView()
    : m_editor(TextEditor::Mode::MultiLine)
{
    const ThemeStyle look = Theme::current().style(ThemeElement::TextView);
    m_editor.setFont(look.font);
    m_textColor = look.textColor;
    m_inset = look.padding;
    setBackgroundColor(look.brush.color());
    m_editor.setChangeFilter([this](TextRange range, const QString &replacement) {
        return !m_delegate || m_delegate->textView(*this, range, replacement);
    });
    m_editor.setChangedHandler([this]() { edited(); });
    m_editor.setSelectionChangedHandler([this]() { selectionMoved(); });
    relayout();
}

TextView::TextView(const QRectF &frame)
    : TextView()
{
    setFrame(frame);
    relayout();
}

TextView::~TextView() = default;

void TextView::setText(const QString &text)
{
    m_editor.setText(text);
    relayout();
    setNeedsDisplay();
}

void TextView::setFont(const QFont &font)
{
    m_editor.setFont(font);
    relayout();
    setNeedsDisplay();
}

void TextView::setTextColor(const QColor &color)
{
    m_textColor = color.isValid() ? color : QColor(Qt::transparent);
    setNeedsDisplay();
}

void TextView::setTextAlignment(TextAlignment alignment)
{
    m_alignment = alignment;
    m_editor.setAlignment(alignment == TextAlignment::Center  ? Qt::AlignHCenter
                          : alignment == TextAlignment::Right ? Qt::AlignRight
                                                              : Qt::AlignLeft);
    relayout();
    setNeedsDisplay();
}

void TextView::setEditable(bool editable)
{
    m_editable = editable;
    if (!editable && isFirstResponder())
        resignFirstResponder();
}

void TextView::setTextContainerInset(const EdgeInsets &inset)
{
    m_inset = inset;
    relayout();
    setNeedsDisplay();
}

void TextView::setSelectedRange(TextRange range)
{
    m_editor.setSelectedRange(range);
    scrollToCaret();
}

void TextView::layoutSubviews()
{
    ScrollView::layoutSubviews();
    relayout();
}

void TextView::relayout()
{
    const QRectF b = bounds();
    m_editor.setTextWidth(b.width() - m_inset.left - m_inset.right);
    const double textHeight = std::max(m_editor.documentSize().height(), m_editor.lineHeight());
    setContentSize(QSizeF(b.width(), textHeight + m_inset.top + m_inset.bottom));
}

QRectF TextView::caretRect() const
{
    return m_editor.caretRect(caretThickness()).translated(m_inset.left, m_inset.top);
}

int TextView::positionAt(QPointF p) const
{
    return m_editor.positionAt(p - QPointF(m_inset.left, m_inset.top));
}

void TextView::scrollRangeToVisible(TextRange range)
{
    showCaretRect(m_editor.caretRectAt(range.end(), caretThickness()).translated(m_inset.left, m_inset.top));
}

void TextView::scrollToCaret()
{
    showCaretRect(caretRect());
}

void TextView::showCaretRect(const QRectF &caret)
{
    const double height = bounds().height();
    double y = contentOffset().y();
    if (caret.bottom() + m_inset.bottom > y + height)
        y = caret.bottom() + m_inset.bottom - height;
    if (caret.top() - m_inset.top < y)
        y = caret.top() - m_inset.top;
    y = std::clamp(y, minimumContentOffset().y(), std::max(minimumContentOffset().y(), maximumContentOffset().y()));
    if (y != contentOffset().y())
        setContentOffset(QPointF(contentOffset().x(), y));
}

// --- Focus ---

bool TextView::canBecomeFirstResponder() const
{
    if (!m_editable)
        return false;
    if (m_editing || !m_delegate)
        return true;
    return m_delegate->textViewShouldBeginEditing(const_cast<TextView &>(*this));
}

void TextView::focusChanged(bool focused)
{
    if (focused == m_editing)
        return;
    if (!focused)
        m_editor.commitComposition();
    m_editing = focused;
    m_selecting = false;
    // While editing the pointer selects; otherwise a drag scrolls.
    panRecognizer().setEnabled(!focused && isScrollEnabled());
    if (focused) {
        m_blink.restart(m_editing);
        scrollToCaret();
    } else {
        m_blink.stop();
        m_editor.setCursorPosition(m_editor.cursorPosition());
    }
    setNeedsDisplay();
    if (m_delegate) {
        if (focused)
            m_delegate->textViewDidBeginEditing(*this);
        else
            m_delegate->textViewDidEndEditing(*this);
    }
}

// --- Keys and input method ---

bool TextView::keyPressEvent(QKeyEvent *event)
{
    if (!m_editing)
        return false;
    return m_editor.keyPress(event);
}

bool TextView::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_editing)
        return false;
    m_editor.inputMethodEvent(event);
    relayout();
    scrollToCaret();
    m_blink.restart(m_editing);
    setNeedsDisplay();
    return true;
}

QVariant TextView::inputMethodQuery(int query) const
{
    switch (Qt::InputMethodQuery(query)) {
    case Qt::ImEnabled:
        return m_editable;
    case Qt::ImHints:
        return int(Qt::ImhMultiLine | (m_autocorrection ? Qt::ImhNone : Qt::ImhNoPredictiveText));
    case Qt::ImCursorRectangle:
        return convertRectTo(caretRect(), nullptr);
    default:
        return m_editor.inputMethodQuery(query);
    }
}

void TextView::edited()
{
    relayout();
    scrollToCaret();
    if (m_delegate)
        m_delegate->textViewDidChange(*this);
}

void TextView::selectionMoved()
{
    m_blink.restart(m_editing);
    setNeedsDisplay();
    if (!m_editing)
        return;
    scrollToCaret();
    if (Host *h = host())
        h->updateInputMethod();
    if (m_delegate)
        m_delegate->textViewDidChangeSelection(*this);
}

// --- Touches ---

QPointF TextView::local(const TouchSet &touches) const
{
    return touches.front()->locationInView(this);
}

void TextView::touchesBegan(const TouchSet &touches)
{
    if (!m_editing || touches.empty())
        return; // a tap that ends without scrolling starts editing (touchesEnded)
    commitCompositionForTouch(m_editor, host());
    m_selecting = selectForTaps(m_editor, positionAt(local(touches)), touches.front()->tapCount);
}

void TextView::touchesMoved(const TouchSet &touches)
{
    if (m_selecting && !touches.empty())
        m_editor.setCursorPosition(positionAt(local(touches)), true);
}

void TextView::touchesEnded(const TouchSet &touches)
{
    if (touches.empty())
        return;
    if (m_editing) {
        touchesMoved(touches);
        m_selecting = false;
        return;
    }
    if (becomeFirstResponder())
        m_editor.setCursorPosition(positionAt(local(touches)));
}

void TextView::touchesCancelled(const TouchSet &)
{
    m_selecting = false;
}

// --- Drawing ---

void TextView::drawContent(QPainter &painter) const
{
    painter.save();
    painter.translate(m_inset.left, m_inset.top);
    const QRectF visible = bounds().translated(-m_inset.left, -m_inset.top);
    const QColor selection = m_editing ? Theme::current().style(ThemeElement::TextSelection).brush.color() : QColor();
    m_editor.draw(painter, m_textColor, selection, visible);
    if (m_editing && m_blink.isOn())
        drawCaret(painter, m_editor);
    painter.restore();
}

} // namespace vimora::ui
