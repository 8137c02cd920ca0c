#pragma once

#include <QString>

#include "ui/control.h"
#include "ui/geometry.h"
#include "ui/text_drawing.h"
#include "ui/text_editor.h"
#include "ui/text_entry.h"

namespace vimora::ui {

class TextField;

/// Control events a text field sends besides the touch events.
constexpr ControlEvents ControlEventEditingDidBegin = 1u << 16;
constexpr ControlEvents ControlEventEditingChanged = 1u << 17;
constexpr ControlEvents ControlEventEditingDidEnd = 1u << 18;
/// Return was pressed and the delegate let it through.
constexpr ControlEvents ControlEventEditingDidEndOnExit = 1u << 19;

/// Told what the user does in a text field. Every method is optional.
class TextFieldDelegate
{
public:
    virtual ~TextFieldDelegate() = default;
    /// Asked before the field takes the keyboard; false keeps it from editing.
    virtual bool textFieldShouldBeginEditing(TextField & /*field*/) { return true; }
    virtual void textFieldDidBeginEditing(TextField & /*field*/) {}
    /// The field lost the keyboard.
    virtual void textFieldDidEndEditing(TextField & /*field*/) {}
    /// Return was pressed. The field itself inserts nothing and keeps the keyboard: a
    /// delegate that wants editing to end resigns the field. True also sends
    /// EditingDidEndOnExit.
    virtual bool textFieldShouldReturn(TextField & /*field*/) { return true; }
    /// A user edit is about to replace range with replacementString; false refuses it.
    virtual bool textField(TextField & /*field*/, TextRange /*range*/, const QString & /*replacementString*/)
    {
        return true;
    }
};

/// A single line of editable text. A tap gives it the keyboard (it becomes first responder,
/// asking the delegate first) and puts the caret there; dragging selects, a double tap
/// selects a word. Keys and input-method events come from the host while it has the focus;
/// typing, deleting, pasting and committed compositions are user edits the delegate may
/// refuse, and each sends EditingChanged. Text set in code asks nobody. Line breaks become
/// spaces. The text is centred vertically; while editing it scrolls sideways to keep the
/// caret in view, otherwise it shows from its start. While it is empty the placeholder shows. Disabled, it takes no keyboard and draws its text
/// in the theme's disabled colour.
class TextField : public Control
{
public:
    enum class BorderStyle { None, Line, Bezel, RoundedRect };
    /// Kept for the input method's hints; every keyboard types any text.
    enum class KeyboardType { Default, NumbersAndPunctuation, NumberPad, EmailAddress, URL };
    enum class ReturnKeyType { Default, Go, Next, Search, Done };

    /// Caret blink half-period in seconds.
    static constexpr double kCaretBlink = 0.5;

    TextField();
    explicit TextField(const QRectF &frame);
    ~TextField() override;

    QString text() const { return m_editor.text(); }
    void setText(const QString &text);
    QString placeholder() const { return m_placeholder; }
    void setPlaceholder(const QString &placeholder);
    QFont font() const { return m_editor.font(); }
    void setFont(const QFont &font);
    QColor textColor() const { return m_textColor; }
    void setTextColor(const QColor &color);
    TextAlignment textAlignment() const { return m_alignment; }
    void setTextAlignment(TextAlignment alignment);
    BorderStyle borderStyle() const { return m_borderStyle; }
    void setBorderStyle(BorderStyle style);
    TextFieldDelegate *delegate() const { return m_delegate; }
    void setDelegate(TextFieldDelegate *delegate) { m_delegate = delegate; }

    KeyboardType keyboardType() const { return m_keyboardType; }
    void setKeyboardType(KeyboardType type) { m_keyboardType = type; }
    ReturnKeyType returnKeyType() const { return m_returnKeyType; }
    void setReturnKeyType(ReturnKeyType type) { m_returnKeyType = type; }
    /// There is no autocorrection; off only asks the input method for no predictions.
    bool autocorrection() const { return m_autocorrection; }
    void setAutocorrection(bool on) { m_autocorrection = on; }

    /// True while it has the keyboard.
    bool isEditing() const { return m_editing; }
    TextRange selectedRange() const { return m_editor.selectedRange(); }
    void setSelectedRange(TextRange range);
    /// Extra space between the border's padding and the text (room for an icon).
    EdgeInsets textInsets() const { return m_textInsets; }
    void setTextInsets(const EdgeInsets &insets);
    /// The area the text is drawn in: the bounds inside the border's padding and the text
    /// insets.
    QRectF textRect() const;
    /// The caret in bounds coordinates.
    QRectF caretRect() const;
    /// The text position under a point in bounds coordinates.
    int positionAt(QPointF p) const;

    /// Editing engine (for the search bar and tests that drive it directly).
    TextEditor &editor() { return m_editor; }

    bool canBecomeFirstResponder() const override;
    void focusChanged(bool focused) override;
    bool keyPressEvent(QKeyEvent *event) override;
    bool inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(int query) const override;
    bool acceptsTextInput() const override { return isEnabled(); }

    void touchesBegan(const TouchSet &touches) override;
    void touchesMoved(const TouchSet &touches) override;
    void touchesEnded(const TouchSet &touches) override;
    void touchesCancelled(const TouchSet &touches) override;

protected:
    void drawContent(QPainter &painter) const override;
    void layoutSubviews() override { scrollToCaret(); }

private:
    QPointF textOrigin() const;
    void scrollToCaret();
    void edited();
    void selectionMoved();
    QPointF local(const TouchSet &touches) const;

    TextEditor m_editor;
    QString m_placeholder;
    QColor m_textColor;
    TextAlignment m_alignment = TextAlignment::Left;
    BorderStyle m_borderStyle = BorderStyle::None;
    EdgeInsets m_textInsets;
    TextFieldDelegate *m_delegate = nullptr;
    KeyboardType m_keyboardType = KeyboardType::Default;
    ReturnKeyType m_returnKeyType = ReturnKeyType::Default;
    bool m_autocorrection = true;
    bool m_editing = false;
    bool m_selecting = false;
    double m_scrollX = 0;
    CaretBlink m_blink{kCaretBlink, [this]() { setNeedsDisplay(); }};
};

} // namespace vimora::ui
