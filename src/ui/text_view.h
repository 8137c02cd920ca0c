#pragma once

#include <QString>

#include "ui/geometry.h"
#include "ui/scroll_view.h"
#include "ui/text_drawing.h"
#include "ui/text_editor.h"
#include "ui/text_entry.h"

namespace vimora::ui {

class TextView;

/// Told what the user does in a text view. Every method is optional.
class TextViewDelegate
{
public:
    virtual ~TextViewDelegate() = default;
    /// Asked before the view takes the keyboard; false keeps it from editing.
    virtual bool textViewShouldBeginEditing(TextView & /*textView*/) { return true; }
    virtual void textViewDidBeginEditing(TextView & /*textView*/) {}
    /// The view lost the keyboard.
    virtual void textViewDidEndEditing(TextView & /*textView*/) {}
    /// A user edit is about to replace range with replacementText ("\n" for Return);
    /// false refuses it.
    virtual bool textView(TextView & /*textView*/, TextRange /*range*/, const QString & /*replacementText*/)
    {
        return true;
    }
    /// After every user edit.
    virtual void textViewDidChange(TextView & /*textView*/) {}
    virtual void textViewDidChangeSelection(TextView & /*textView*/) {}
};

/// Multi-line editable text on a QTextDocument, wrapped at the bounds' width inside the text
/// container inset. The content size is the width by the height the text needs (one line
/// at least) plus the inset, kept up to date, so a screen can fit the height to its text.
///
/// A tap gives it the keyboard (it becomes first responder, asking the delegate first) and
/// puts the caret there. While editing, the pointer selects (a drag extends the selection,
/// a double tap selects a word, a triple tap everything) and the content scrolls by wheel
/// and by following the caret; while not editing, a drag scrolls it like any scroll view.
/// Arrow keys, Home/End, Backspace/Delete, Return, the clipboard shortcuts and input-method
/// compositions work as in any editor; every user edit asks the delegate first. Caret and
/// selection are drawn only while editing, so a rendered snapshot shows the text alone.
/// Like the text views the screens were written for, it has a white background and clips
/// to its bounds.
class TextView : public ScrollView
{
public:
    static constexpr double kCaretBlink = 0.5;

    TextView();
    explicit TextView(const QRectF &frame);
    ~TextView() override;

    QString text() const { return m_editor.text(); }
    void setText(const QString &text);
    QFont font() const { return m_editor.font(); }
    void setFont(const QFont &font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    TextAlignment textAlignment() const { return m_alignment; }
    void setTextAlignment(TextAlignment alignment);
    /// Off: the view shows and scrolls its text but takes no keyboard.
    bool isEditable() const { return m_editable; }
    void setEditable(bool editable);
    /// There is no autocorrection; off only asks the input method for no predictions.
    bool autocorrection() const { return m_autocorrection; }
    void setAutocorrection(bool on) { m_autocorrection = on; }
    TextViewDelegate *delegate() const { return m_delegate; }
    void setDelegate(TextViewDelegate *delegate) { m_delegate = delegate; }
    /// Space between the bounds and the text (the theme's by default).
    EdgeInsets textContainerInset() const { return m_inset; }
    void setTextContainerInset(const EdgeInsets &inset);

    /// True while it has the keyboard.
    bool isEditing() const { return m_editing; }
    TextRange selectedRange() const { return m_editor.selectedRange(); }
    void setSelectedRange(TextRange range);
    /// Scrolls just enough to show the range's caret end.
    void scrollRangeToVisible(TextRange range);
    /// The caret in bounds (content) coordinates.
    QRectF caretRect() const;
    /// The text position under a point in bounds (content) coordinates.
    int positionAt(QPointF p) const;

    TextEditor &editor() { return m_editor; }

    bool canBecomeFirstResponder() const override;
    void focusChanged(bool focused) override;
    bool keyPressEvent(QKeyEvent *event) override;
    bool inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(int query) const override;
    bool acceptsTextInput() const override { return m_editable; }

    void touchesBegan(const TouchSet &touches) override;
    void touchesMoved(const TouchSet &touches) override;
    void touchesEnded(const TouchSet &touches) override;
    void touchesCancelled(const TouchSet &touches) override;

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return true; }
    void layoutSubviews() override;

private:
    void relayout();
    void scrollToCaret();
    void showCaretRect(const QRectF &caret);
    void edited();
    void selectionMoved();
    QPointF local(const TouchSet &touches) const;

    TextEditor m_editor;
    QColor m_textColor;
    TextAlignment m_alignment = TextAlignment::Left;
    bool m_editable = true;
    bool m_autocorrection = true;
    TextViewDelegate *m_delegate = nullptr;
    EdgeInsets m_inset;
    bool m_editing = false;
    bool m_selecting = false;
    CaretBlink m_blink{kCaretBlink, [this]() { setNeedsDisplay(); }};
};

} // namespace vimora::ui
