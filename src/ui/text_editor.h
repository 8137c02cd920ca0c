#pragma once

// The editing shared by TextField and TextView: one plain-text QTextDocument with one
// cursor. Every change a user makes (typing, deleting, pasting, cutting, a committed
// input-method composition) goes through replace(), which asks the change filter first, so a
// delegate sees the range and the replacement before anything changes; setText() asks
// nobody. Positions and ranges count UTF-16 code units of text(), a line break being one.
//
// An input-method composition (preedit) is shown in the layout at the caret but is not
// part of the text until the input method commits it; only the commit is an edit.
// Geometry (caretRect, positionAt, draw) is in document coordinates: the top-left of the
// first line is (0, 0).

#include <functional>
#include <memory>

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QList>
#include <QString>
#include <QTextCursor>
#include <QTextLayout>
#include <QVariant>

class QInputMethodEvent;
class QKeyEvent;
class QPainter;
class QTextBlock;
class QTextDocument;

namespace vimora::ui {

/// A run of text: location and length in UTF-16 code units.
struct TextRange
{
    int location = 0;
    int length = 0;

    int end() const { return location + length; }
    bool operator==(const TextRange &) const = default;
};

class TextEditor
{
public:
    enum class Mode { SingleLine, MultiLine };
    /// Asked before a user edit replaces range with replacement; false refuses it.
    using ChangeFilter = std::function<bool(TextRange range, const QString &replacement)>;

    explicit TextEditor(Mode mode);
    ~TextEditor();
    TextEditor(const TextEditor &) = delete;
    TextEditor &operator=(const TextEditor &) = delete;

    Mode mode() const { return m_mode; }

    QString text() const;
    /// Replaces all text without asking the filter; the caret goes to the end and any
    /// composition is dropped.
    void setText(const QString &text);
    QFont font() const;
    void setFont(const QFont &font);
    /// Horizontal alignment of each line within the text width (multi-line).
    void setAlignment(Qt::Alignment alignment);
    /// The width lines wrap at (multi-line; ignored for a single line).
    void setTextWidth(double width);
    /// The laid-out text, composition included: width of the longest line (single line:
    /// its natural width) and the height of all lines. An empty text is one line tall.
    QSizeF documentSize() const;
    /// Height of one line of the font.
    double lineHeight() const;

    // --- Caret and selection ---

    int cursorPosition() const;
    /// The selection (length 0: the caret), whichever way it was made.
    TextRange selectedRange() const;
    /// Clamped to the text.
    void setSelectedRange(TextRange range);
    bool hasSelection() const { return selectedRange().length > 0; }
    QString selectedText() const;
    /// Moves the caret to position (clamped); keepAnchor extends the selection instead.
    void setCursorPosition(int position, bool keepAnchor = false);
    void selectAll();
    /// Selects the word around position (a tap count of two).
    void selectWordAt(int position);
    /// The text position nearest to a point.
    int positionAt(QPointF point) const;
    /// The caret's rectangle, at the composition's own caret while composing.
    QRectF caretRect(double thickness) const;
    /// Where a caret at position would be (a composition not counted).
    QRectF caretRectAt(int position, double thickness) const;

    // --- Edits ---

    void setChangeFilter(ChangeFilter filter) { m_filter = std::move(filter); }
    /// Runs after every user edit that changed the text.
    void setChangedHandler(std::function<void()> handler) { m_changed = std::move(handler); }
    /// Runs whenever the caret or the selection moved.
    void setSelectionChangedHandler(std::function<void()> handler) { m_selectionChanged = std::move(handler); }

    /// A user edit: asks the filter, replaces range (clamped to the text) and puts the caret
    /// after the replacement. A single line turns line breaks into spaces first. Returns
    /// whether the text was changed.
    bool replace(TextRange range, const QString &replacement);
    /// Types text over the selection.
    bool insertText(const QString &text);
    /// Backspace: the selection, else the character (or surrogate pair) before the caret.
    bool deleteBackward();
    /// Delete: the selection, else the character after the caret.
    bool deleteForward();
    void copy() const;
    bool cut();
    bool paste();

    /// Editing and movement keys, shortcuts and typed text; true when the key was used.
    /// Return: a multi-line editor inserts a line break; a single line leaves it to the owner.
    bool keyPress(QKeyEvent *event);

    // --- Input method ---

    void inputMethodEvent(QInputMethodEvent *event);
    /// Answers in document coordinates; the owner moves rectangles into its own.
    QVariant inputMethodQuery(int query) const;
    bool hasComposition() const { return !m_preedit.isEmpty(); }
    QString composition() const { return m_preedit; }
    /// False while the input method hides the caret inside its composition.
    bool isCaretVisibleInComposition() const { return m_preeditCursorVisible; }
    /// Makes the composition typed text (focus leaving, a click during composition).
    void commitComposition();

    /// Draws the text (and the composition) at the document origin; the selection is
    /// filled with selectionColor when it is valid. A valid clip (document coordinates)
    /// skips the lines outside it.
    void draw(QPainter &painter, const QColor &textColor, const QColor &selectionColor,
              const QRectF &clip = QRectF()) const;

private:
    QRectF caretRectIn(const QTextBlock &block, int layoutPosition, double thickness) const;
    void applyPreedit();
    void clearPreedit();
    void moveCursor(int operation, bool keepAnchor);
    void selectionMoved();
    bool handleMovement(QKeyEvent *event);

    Mode m_mode;
    std::unique_ptr<QTextDocument> m_document;
    QTextCursor m_cursor;
    ChangeFilter m_filter;
    std::function<void()> m_changed;
    std::function<void()> m_selectionChanged;
    QString m_preedit;
    int m_preeditCursor = 0;
    bool m_preeditCursorVisible = true;
    QList<QTextLayout::FormatRange> m_preeditFormats; // relative to the composition's start
    int m_preeditBlock = -1; // position of the block the composition is shown in, or -1
};

} // namespace vimora::ui
