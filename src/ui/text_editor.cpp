#include "ui/text_editor.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QClipboard>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>

namespace vimora::ui {

namespace {

// Line breaks as the text keeps them: one '\n' each.
QString normalisedBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

struct Movement
{
    QKeySequence::StandardKey key;
    QTextCursor::MoveOperation operation;
    bool select;
    bool multiLineOnly;
};

constexpr Movement kMovements[] = {
    {QKeySequence::MoveToNextChar, QTextCursor::Right, false, false},
    {QKeySequence::MoveToPreviousChar, QTextCursor::Left, false, false},
    {QKeySequence::SelectNextChar, QTextCursor::Right, true, false},
    {QKeySequence::SelectPreviousChar, QTextCursor::Left, true, false},
    {QKeySequence::MoveToNextWord, QTextCursor::WordRight, false, false},
    {QKeySequence::MoveToPreviousWord, QTextCursor::WordLeft, false, false},
    {QKeySequence::SelectNextWord, QTextCursor::WordRight, true, false},
    {QKeySequence::SelectPreviousWord, QTextCursor::WordLeft, true, false},
    {QKeySequence::MoveToStartOfLine, QTextCursor::StartOfLine, false, false},
    {QKeySequence::MoveToEndOfLine, QTextCursor::EndOfLine, false, false},
    {QKeySequence::SelectStartOfLine, QTextCursor::StartOfLine, true, false},
    {QKeySequence::SelectEndOfLine, QTextCursor::EndOfLine, true, false},
    {QKeySequence::MoveToStartOfBlock, QTextCursor::StartOfBlock, false, false},
    {QKeySequence::MoveToEndOfBlock, QTextCursor::EndOfBlock, false, false},
    {QKeySequence::SelectStartOfBlock, QTextCursor::StartOfBlock, true, false},
    {QKeySequence::SelectEndOfBlock, QTextCursor::EndOfBlock, true, false},
    {QKeySequence::MoveToStartOfDocument, QTextCursor::Start, false, false},
    {QKeySequence::MoveToEndOfDocument, QTextCursor::End, false, false},
    {QKeySequence::SelectStartOfDocument, QTextCursor::Start, true, false},
    {QKeySequence::SelectEndOfDocument, QTextCursor::End, true, false},
    {QKeySequence::MoveToNextLine, QTextCursor::Down, false, true},
    {QKeySequence::MoveToPreviousLine, QTextCursor::Up, false, true},
    {QKeySequence::SelectNextLine, QTextCursor::Down, true, true},
    {QKeySequence::SelectPreviousLine, QTextCursor::Up, true, true},
};

bool isTypedText(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    // Ctrl and Meta combinations are shortcuts; AltGr text arrives without them.
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier))
        return false;
    if (mods & Qt::MetaModifier)
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint() || c.isSurrogate(); });
}

} // namespace

TextEditor::TextEditor(Mode mode)
    : m_mode(mode)
    , m_document(std::make_unique<QTextDocument>())
{
    m_document->setDocumentMargin(0);
    m_document->setUndoRedoEnabled(false);
    QTextOption option = m_document->defaultTextOption();
    option.setWrapMode(mode == Mode::SingleLine ? QTextOption::NoWrap : QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_document->setDefaultTextOption(option);
    m_cursor = QTextCursor(m_document.get());
}

TextEditor::~TextEditor() = default;

QString TextEditor::text() const
{
    return normalisedBreaks(m_document->toRawText());
}

void TextEditor::setText(const QString &text)
{
    clearPreedit();
    QString t = normalisedBreaks(text);
    if (m_mode == Mode::SingleLine)
        t.replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_document->setPlainText(t);
    m_cursor = QTextCursor(m_document.get());
    m_cursor.movePosition(QTextCursor::End);
    selectionMoved();
}

QFont TextEditor::font() const
{
    return m_document->defaultFont();
}

void TextEditor::setFont(const QFont &font)
{
    m_document->setDefaultFont(font);
}

void TextEditor::setAlignment(Qt::Alignment alignment)
{
    QTextOption option = m_document->defaultTextOption();
    option.setAlignment(alignment);
    m_document->setDefaultTextOption(option);
}

void TextEditor::setTextWidth(double width)
{
    if (m_mode == Mode::MultiLine)
        m_document->setTextWidth(std::max(1.0, width));
}

QSizeF TextEditor::documentSize() const
{
    const QSizeF size = m_document->documentLayout()->documentSize();
    if (m_mode == Mode::SingleLine)
        return QSizeF(m_document->idealWidth(), size.height());
    return size;
}

double TextEditor::lineHeight() const
{
    return QFontMetricsF(font()).height();
}

// --- Caret and selection ---

int TextEditor::cursorPosition() const
{
    return m_cursor.position();
}

TextRange TextEditor::selectedRange() const
{
    return TextRange{m_cursor.selectionStart(), m_cursor.selectionEnd() - m_cursor.selectionStart()};
}

void TextEditor::setSelectedRange(TextRange range)
{
    const int length = int(text().size());
    const int start = std::clamp(range.location, 0, length);
    const int end = std::clamp(range.location + std::max(0, range.length), start, length);
    m_cursor.setPosition(start);
    m_cursor.setPosition(end, QTextCursor::KeepAnchor);
    selectionMoved();
}

QString TextEditor::selectedText() const
{
    const TextRange r = selectedRange();
    return text().mid(r.location, r.length);
}

void TextEditor::setCursorPosition(int position, bool keepAnchor)
{
    const int length = int(text().size());
    m_cursor.setPosition(std::clamp(position, 0, length), keepAnchor ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
    selectionMoved();
}

void TextEditor::selectAll()
{
    m_cursor.select(QTextCursor::Document);
    selectionMoved();
}

void TextEditor::selectWordAt(int position)
{
    QTextCursor c(m_document.get());
    c.setPosition(std::clamp(position, 0, int(text().size())));
    c.select(QTextCursor::WordUnderCursor);
    m_cursor = c;
    selectionMoved();
}

int TextEditor::positionAt(QPointF point) const
{
    const int p = m_document->documentLayout()->hitTest(point, Qt::FuzzyHit);
    return p < 0 ? 0 : p;
}

QRectF TextEditor::caretRect(double thickness) const
{
    const QTextBlock block = m_cursor.block();
    int rel = m_cursor.position() - block.position();
    if (hasComposition())
        rel += m_preeditCursor;
    return caretRectIn(block, rel, thickness);
}

QRectF TextEditor::caretRectAt(int position, double thickness) const
{
    position = std::clamp(position, 0, int(text().size()));
    const QTextBlock block = m_document->findBlock(position);
    int rel = position - block.position();
    // Inside or after a composition shown in this block, layout positions shift by it.
    if (hasComposition() && block.position() == m_preeditBlock && rel > m_cursor.position() - block.position())
        rel += int(m_preedit.size());
    return caretRectIn(block, rel, thickness);
}

QRectF TextEditor::caretRectIn(const QTextBlock &block, int layoutPosition, double thickness) const
{
    // Asking for the block's rectangle lays it out first.
    const QRectF blockRect = m_document->documentLayout()->blockBoundingRect(block);
    const QTextLayout *layout = block.layout();
    QTextLine line = layout->lineForTextPosition(layoutPosition);
    if (!line.isValid() && layout->lineCount() > 0)
        line = layout->lineAt(layout->lineCount() - 1);
    if (!line.isValid())
        return QRectF(blockRect.x() - thickness / 2, blockRect.y(), thickness, lineHeight());
    const double x = line.cursorToX(layoutPosition);
    return QRectF(blockRect.x() + x - thickness / 2, blockRect.y() + line.y(), thickness, line.height());
}

// --- Edits ---

bool TextEditor::replace(TextRange range, const QString &replacement)
{
    const int length = int(text().size());
    const int start = std::clamp(range.location, 0, length);
    const int end = std::clamp(range.location + std::max(0, range.length), start, length);
    QString r = normalisedBreaks(replacement);
    if (m_mode == Mode::SingleLine)
        r.replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (start == end && r.isEmpty())
        return false;
    if (m_filter && !m_filter(TextRange{start, end - start}, r))
        return false;

    const bool composing = hasComposition();
    const QString preedit = m_preedit;
    if (composing)
        clearPreedit();
    QTextCursor c(m_document.get());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    c.insertText(r);
    m_cursor.setPosition(start + int(r.size()));
    if (composing) {
        m_preedit = preedit;
        applyPreedit();
    }
    if (m_changed)
        m_changed();
    selectionMoved();
    return true;
}

bool TextEditor::insertText(const QString &text)
{
    return replace(selectedRange(), text);
}

bool TextEditor::deleteBackward()
{
    if (hasSelection())
        return replace(selectedRange(), QString());
    QTextCursor c = m_cursor;
    if (!c.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor))
        return false;
    return replace(TextRange{c.selectionStart(), c.selectionEnd() - c.selectionStart()}, QString());
}

bool TextEditor::deleteForward()
{
    if (hasSelection())
        return replace(selectedRange(), QString());
    QTextCursor c = m_cursor;
    if (!c.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor))
        return false;
    return replace(TextRange{c.selectionStart(), c.selectionEnd() - c.selectionStart()}, QString());
}

void TextEditor::copy() const
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

bool TextEditor::cut()
{
    if (!hasSelection())
        return false;
    const QString cutText = selectedText();
    if (!replace(selectedRange(), QString()))
        return false;
    QGuiApplication::clipboard()->setText(cutText);
    return true;
}

bool TextEditor::paste()
{
    const QString pasted = QGuiApplication::clipboard()->text();
    return !pasted.isEmpty() && insertText(pasted);
}

void TextEditor::moveCursor(int operation, bool keepAnchor)
{
    const auto op = QTextCursor::MoveOperation(operation);
    const auto mode = keepAnchor ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor;
    if (!keepAnchor && m_cursor.hasSelection() && (op == QTextCursor::Left || op == QTextCursor::Right)) {
        // An arrow collapses the selection to the side it points to.
        m_cursor.setPosition(op == QTextCursor::Left ? m_cursor.selectionStart() : m_cursor.selectionEnd());
    } else if (!m_cursor.movePosition(op, mode)) {
        // Up on the first line goes to the start, down on the last line to the end.
        if (op == QTextCursor::Up)
            m_cursor.movePosition(QTextCursor::Start, mode);
        else if (op == QTextCursor::Down)
            m_cursor.movePosition(QTextCursor::End, mode);
    }
    selectionMoved();
}

bool TextEditor::handleMovement(QKeyEvent *event)
{
    for (const Movement &m : kMovements) {
        if (!event->matches(m.key))
            continue;
        if (m.multiLineOnly && m_mode == Mode::SingleLine)
            return false;
        moveCursor(m.operation, m.select);
        return true;
    }
    return false;
}

bool TextEditor::keyPress(QKeyEvent *event)
{
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        return true;
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
        return true;
    }
    if (event->matches(QKeySequence::Cut)) {
        cut();
        return true;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return true;
    }
    if (event->matches(QKeySequence::DeleteStartOfWord) || event->matches(QKeySequence::DeleteEndOfWord)) {
        if (!hasSelection()) {
            QTextCursor c = m_cursor;
            c.movePosition(event->matches(QKeySequence::DeleteStartOfWord) ? QTextCursor::PreviousWord
                                                                          : QTextCursor::NextWord,
                           QTextCursor::KeepAnchor);
            replace(TextRange{c.selectionStart(), c.selectionEnd() - c.selectionStart()}, QString());
        } else {
            replace(selectedRange(), QString());
        }
        return true;
    }
    if (handleMovement(event))
        return true;
    switch (event->key()) {
    case Qt::Key_Backspace:
        deleteBackward();
        return true;
    case Qt::Key_Delete:
        deleteForward();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_mode == Mode::SingleLine)
            return false;
        insertText(QStringLiteral("\n"));
        return true;
    default:
        break;
    }
    if (isTypedText(event)) {
        insertText(event->text());
        return true;
    }
    return false;
}

// --- Input method ---

void TextEditor::inputMethodEvent(QInputMethodEvent *event)
{
    clearPreedit();
    const QString commit = event->commitString();
    const bool replacing = event->replacementLength() > 0 || event->replacementStart() != 0;
    if (!commit.isEmpty() || replacing) {
        const TextRange range = replacing ? TextRange{m_cursor.position() + event->replacementStart(), event->replacementLength()}
                                          : selectedRange();
        replace(range, commit);
    }
    if (!event->preeditString().isEmpty() && hasSelection()) {
        // A composition typed over a selection replaces it, as typing does.
        if (!replace(selectedRange(), QString()))
            setCursorPosition(selectedRange().end());
    }

    int preeditCursor = int(event->preeditString().size());
    bool cursorVisible = true;
    QList<QTextLayout::FormatRange> formats;
    for (const QInputMethodEvent::Attribute &a : event->attributes()) {
        switch (a.type) {
        case QInputMethodEvent::Cursor:
            preeditCursor = a.start;
            cursorVisible = a.length != 0;
            break;
        case QInputMethodEvent::TextFormat: {
            const QTextCharFormat f = a.value.value<QTextFormat>().toCharFormat();
            if (f.isValid())
                formats.append(QTextLayout::FormatRange{a.start, a.length, f});
            break;
        }
        case QInputMethodEvent::Selection: {
            const int blockStart = m_cursor.block().position();
            setSelectedRange(TextRange{blockStart + a.start, a.length});
            break;
        }
        default:
            break;
        }
    }
    m_preedit = event->preeditString();
    m_preeditCursor = std::clamp(preeditCursor, 0, int(m_preedit.size()));
    m_preeditCursorVisible = cursorVisible;
    if (formats.isEmpty() && !m_preedit.isEmpty()) {
        // Input methods that send no format still get the usual underline.
        QTextCharFormat underline;
        underline.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        formats.append(QTextLayout::FormatRange{0, int(m_preedit.size()), underline});
    }
    m_preeditFormats = formats;
    applyPreedit();
    selectionMoved();
}

void TextEditor::applyPreedit()
{
    if (m_preedit.isEmpty())
        return;
    QTextBlock block = m_cursor.block();
    QTextLayout *layout = block.layout();
    const int rel = m_cursor.position() - block.position();
    layout->setPreeditArea(rel, m_preedit);
    QList<QTextLayout::FormatRange> overrides;
    for (QTextLayout::FormatRange f : m_preeditFormats) {
        f.start += rel;
        overrides.append(f);
    }
    layout->setFormats(overrides);
    m_preeditBlock = block.position();
    m_document->markContentsDirty(block.position(), block.length());
}

void TextEditor::clearPreedit()
{
    if (m_preeditBlock >= 0) {
        QTextBlock block = m_document->findBlock(m_preeditBlock);
        if (block.isValid()) {
            block.layout()->setPreeditArea(-1, QString());
            block.layout()->clearFormats();
            m_document->markContentsDirty(block.position(), block.length());
        }
    }
    m_preeditBlock = -1;
    m_preedit.clear();
    m_preeditCursor = 0;
    m_preeditCursorVisible = true;
    m_preeditFormats.clear();
}

void TextEditor::commitComposition()
{
    if (!hasComposition())
        return;
    const QString preedit = m_preedit;
    clearPreedit();
    insertText(preedit);
}

QVariant TextEditor::inputMethodQuery(int query) const
{
    const QTextBlock block = m_cursor.block();
    const int blockStart = block.position();
    switch (Qt::InputMethodQuery(query)) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return caretRect(1);
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return m_cursor.position() - blockStart;
    case Qt::ImAnchorPosition:
        return std::clamp(m_cursor.anchor() - blockStart, 0, block.length() - 1);
    case Qt::ImAbsolutePosition:
        return m_cursor.position();
    case Qt::ImSurroundingText:
        return block.text();
    case Qt::ImCurrentSelection:
        return selectedText();
    case Qt::ImTextBeforeCursor:
        return block.text().left(m_cursor.position() - blockStart);
    case Qt::ImTextAfterCursor:
        return block.text().mid(m_cursor.position() - blockStart);
    default:
        return {};
    }
}

void TextEditor::selectionMoved()
{
    if (m_selectionChanged)
        m_selectionChanged();
}

void TextEditor::draw(QPainter &painter, const QColor &textColor, const QColor &selectionColor, const QRectF &clip) const
{
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = clip;
    context.palette.setColor(QPalette::Text, textColor);
    context.cursorPosition = -1;
    if (selectionColor.isValid() && m_cursor.hasSelection()) {
        QAbstractTextDocumentLayout::Selection selection;
        selection.cursor = m_cursor;
        selection.format.setBackground(selectionColor);
        selection.format.setForeground(textColor);
        context.selections.append(selection);
    }
    painter.save();
    m_document->documentLayout()->draw(&painter, context);
    painter.restore();
}

} // namespace vimora::ui
