#include "ui/text_entry.h"

#include <QPainter>

#include "ui/host.h"
#include "ui/text_editor.h"
#include "ui/theme.h"

namespace vimora::ui {

CaretBlink::CaretBlink(double period, std::function<void()> redraw)
    : m_period(period)
    , m_redraw(std::move(redraw))
{
}

void CaretBlink::restart(bool editing)
{
    m_on = true;
    if (editing)
        m_timer.start(m_period, [this]() { toggle(); });
}

void CaretBlink::toggle()
{
    m_on = !m_on;
    m_redraw();
    m_timer.start(m_period, [this]() { toggle(); });
}

double caretThickness()
{
    return Theme::current().style(ThemeElement::TextCaret).size.width();
}

void drawCaret(QPainter &painter, const TextEditor &editor)
{
    if (editor.hasSelection() || !editor.isCaretVisibleInComposition())
        return;
    const ThemeStyle caret = Theme::current().style(ThemeElement::TextCaret);
    painter.fillRect(editor.caretRect(caret.size.width()), caret.pen.color());
}

void commitCompositionForTouch(TextEditor &editor, Host *host)
{
    if (!editor.hasComposition())
        return;
    editor.commitComposition();
    if (host)
        host->updateInputMethod(true);
}

bool selectForTaps(TextEditor &editor, int position, int tapCount)
{
    if (tapCount == 2)
        editor.selectWordAt(position);
    else if (tapCount >= 3)
        editor.selectAll();
    else
        editor.setCursorPosition(position);
    return tapCount == 1;
}

} // namespace vimora::ui
