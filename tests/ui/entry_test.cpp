// Text entry: text fields, text views, the search bar, and typing through the window host.

#include <string>
#include <vector>

#include <QApplication>
#include <QClipboard>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include "ui/headless_host.h"
#include "ui/search_bar.h"
#include "ui/text_field.h"
#include "ui/text_view.h"
#include "ui/theme.h"
#include "ui/window_host.h"

using namespace vimora;
using namespace vimora::ui;

namespace {

struct Screen
{
    HeadlessHost host{QSizeF(400, 400)};
    ViewPtr root = std::make_shared<View>();

    Screen() { host.setRootView(root); }

    // Keys go to the focused view, then up its superviews, as the window host sends them.
    bool press(int key, const QString &text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
        for (View *v = host.focusView(); v; v = v->superview())
            if (v->keyPressEvent(&event))
                return true;
        return false;
    }
    void type(const QString &text)
    {
        for (QChar c : text)
            press(c == QLatin1Char('\n') ? Qt::Key_Return : Qt::Key_A, QString(c));
    }
    void compose(const QString &preedit, const QString &commit = {}, int replaceFrom = 0, int replaceLength = 0)
    {
        QInputMethodEvent event(preedit, {});
        if (!commit.isEmpty() || replaceLength > 0)
            event.setCommitString(commit, replaceFrom, replaceLength);
        if (View *v = host.focusView())
            v->inputMethodEvent(&event);
    }
};

std::string rangeText(TextRange r, const QString &s)
{
    return std::to_string(r.location) + "," + std::to_string(r.length) + ":" + s.toStdString();
}

class FieldDelegate : public TextFieldDelegate
{
public:
    std::vector<std::string> calls;
    bool allowBegin = true;
    bool allowChange = true;
    bool resignOnReturn = false;

    bool textFieldShouldBeginEditing(TextField &) override
    {
        calls.push_back("should begin");
        return allowBegin;
    }
    void textFieldDidBeginEditing(TextField &) override { calls.push_back("began"); }
    void textFieldDidEndEditing(TextField &field) override { calls.push_back("ended " + field.text().toStdString()); }
    bool textFieldShouldReturn(TextField &field) override
    {
        calls.push_back("return");
        if (resignOnReturn)
            field.resignFirstResponder();
        return true;
    }
    bool textField(TextField &, TextRange range, const QString &replacement) override
    {
        calls.push_back("change " + rangeText(range, replacement));
        return allowChange;
    }
};

class ViewDelegate : public TextViewDelegate
{
public:
    std::vector<std::string> calls;
    bool allowChange = true;

    void textViewDidBeginEditing(TextView &) override { calls.push_back("began"); }
    void textViewDidEndEditing(TextView &view) override { calls.push_back("ended " + view.text().toStdString()); }
    bool textView(TextView &, TextRange range, const QString &replacement) override
    {
        calls.push_back("change " + rangeText(range, replacement));
        return allowChange;
    }
    void textViewDidChange(TextView &view) override { calls.push_back("changed " + view.text().toStdString()); }
};

std::shared_ptr<TextField> addField(Screen &s, QRectF frame = QRectF(20, 20, 300, 40))
{
    auto field = std::make_shared<TextField>(frame);
    field->setBorderStyle(TextField::BorderStyle::RoundedRect);
    s.root->addSubview(field);
    return field;
}

int countColor(const QImage &image, const QRect &area, QRgb color)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == color;
    return n;
}

} // namespace

// --- Text field ---

TEST(TextField, TypingInsertsAtTheCaretAndBackspaceDeletesBeforeIt)
{
    Screen s;
    auto field = addField(s);
    int changes = 0;
    field->addAction(ControlEventEditingChanged, [&](Control &) { ++changes; });
    field->becomeFirstResponder();

    s.type(QStringLiteral("helo"));
    s.press(Qt::Key_Left);
    s.type(QStringLiteral("l"));
    s.press(Qt::Key_End);
    s.press(Qt::Key_Backspace);
    s.press(Qt::Key_Backspace);
    s.press(Qt::Key_Home);
    s.press(Qt::Key_Delete);

    EXPECT_EQ(field->text(), "el");
    EXPECT_EQ(field->selectedRange(), (TextRange{0, 0}));
    EXPECT_EQ(changes, 8);
}

TEST(TextField, TypingOverASelectionReplacesItAfterAskingTheDelegate)
{
    Screen s;
    auto field = addField(s);
    FieldDelegate d;
    field->setDelegate(&d);
    field->setText(QStringLiteral("hello world"));
    field->becomeFirstResponder();
    field->setSelectedRange(TextRange{6, 5});

    s.type(QStringLiteral("X"));
    d.allowChange = false;
    s.press(Qt::Key_Backspace);
    s.type(QStringLiteral("Y"));

    EXPECT_EQ(field->text(), "hello X");
    EXPECT_EQ(d.calls, (std::vector<std::string>{"should begin", "began", "change 6,5:X", "change 6,1:", "change 7,0:Y"}));
}

TEST(TextField, ShiftArrowsSelectAndCutPasteGoThroughTheClipboard)
{
    Screen s;
    auto field = addField(s);
    field->setText(QStringLiteral("abcdef"));
    field->becomeFirstResponder();

    s.press(Qt::Key_Left, {}, Qt::ShiftModifier);
    s.press(Qt::Key_Left, {}, Qt::ShiftModifier);
    s.press(Qt::Key_X, QStringLiteral("\x18"), Qt::ControlModifier);
    s.press(Qt::Key_Home);
    s.press(Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);

    EXPECT_EQ(QGuiApplication::clipboard()->text(), "ef");
    EXPECT_EQ(field->text(), "efabcd");
    EXPECT_EQ(field->selectedRange(), (TextRange{2, 0}));
}

TEST(TextField, PastedLineBreaksBecomeSpaces)
{
    Screen s;
    auto field = addField(s);
    field->becomeFirstResponder();
    QGuiApplication::clipboard()->setText(QStringLiteral("two\nlines"));

    s.press(Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);

    EXPECT_EQ(field->text(), "two lines");
}

TEST(TextField, ReturnAsksTheDelegateAndInsertsNothing)
{
    Screen s;
    auto field = addField(s);
    FieldDelegate d;
    field->setDelegate(&d);
    int onExit = 0;
    field->addAction(ControlEventEditingDidEndOnExit, [&](Control &) { ++onExit; });
    field->becomeFirstResponder();
    s.type(QStringLiteral("Name"));

    s.press(Qt::Key_Return, QStringLiteral("\r"));
    const bool editingAfterPlainReturn = field->isEditing();
    d.resignOnReturn = true;
    s.press(Qt::Key_Enter, QStringLiteral("\r"));

    EXPECT_TRUE(editingAfterPlainReturn);
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(field->text(), "Name");
    EXPECT_EQ(onExit, 2);
    EXPECT_EQ(d.calls.back(), "ended Name");
    EXPECT_EQ(std::count(d.calls.begin(), d.calls.end(), "return"), 2);
}

TEST(TextField, ATapBeginsEditingOnlyWhenTheDelegateAgrees)
{
    Screen s;
    auto field = addField(s);
    FieldDelegate d;
    d.allowBegin = false;
    field->setDelegate(&d);

    s.host.tap(QPointF(100, 40));
    const bool editingWhenRefused = field->isEditing();
    d.allowBegin = true;
    s.host.tap(QPointF(100, 40));

    EXPECT_FALSE(editingWhenRefused);
    EXPECT_TRUE(field->isEditing());
    EXPECT_EQ(s.host.focusView(), field.get());
    EXPECT_EQ(d.calls, (std::vector<std::string>{"should begin", "should begin", "began"}));
}

TEST(TextField, EditingEndsWhenAnotherFieldTakesTheKeyboard)
{
    Screen s;
    auto first = addField(s, QRectF(20, 20, 300, 40));
    auto second = addField(s, QRectF(20, 80, 300, 40));
    FieldDelegate d1, d2;
    first->setDelegate(&d1);
    second->setDelegate(&d2);
    first->setText(QStringLiteral("7"));
    int ended = 0;
    first->addAction(ControlEventEditingDidEnd, [&](Control &) { ++ended; });

    s.host.tap(QPointF(100, 40));
    s.host.tap(QPointF(100, 100));

    EXPECT_EQ(d1.calls, (std::vector<std::string>{"should begin", "began", "ended 7"}));
    EXPECT_EQ(d2.calls, (std::vector<std::string>{"should begin", "began"}));
    EXPECT_EQ(ended, 1);
    EXPECT_FALSE(first->isEditing());
}

TEST(TextField, ATapPutsTheCaretNearestThePointAndADragSelects)
{
    Screen s;
    auto field = addField(s);
    field->setText(QStringLiteral("abcdefgh"));
    const QFontMetricsF fm(field->font());
    const double left = field->textRect().left() + 20; // the field's x on screen
    const double afterC = left + fm.horizontalAdvance(QStringLiteral("abc")) + 1;
    const double afterF = left + fm.horizontalAdvance(QStringLiteral("abcdef")) + 1;

    s.host.tap(QPointF(afterC, 40));
    const TextRange caret = field->selectedRange();
    s.host.advance(1);
    s.host.drag(QPointF(afterC, 40), QPointF(afterF, 40), 4);

    EXPECT_EQ(caret, (TextRange{3, 0}));
    EXPECT_EQ(field->selectedRange(), (TextRange{3, 3}));
}

TEST(TextField, ALongTextShowsItsStartUnlessTheCaretIsAtItsEnd)
{
    Screen s;
    auto field = addField(s, QRectF(20, 20, 80, 40));
    field->setText(QStringLiteral("a text much longer than the field"));
    const QRectF r = field->textRect();

    const int shownFirst = field->positionAt(QPointF(r.left() + 1, r.center().y()));
    field->becomeFirstResponder();
    const int shownWhileEditing = field->positionAt(QPointF(r.right() - 1, r.center().y()));
    field->resignFirstResponder();

    EXPECT_EQ(shownFirst, 0);
    EXPECT_GE(shownWhileEditing, int(field->text().size()) - 1); // the caret, at the end, in view
    EXPECT_EQ(field->positionAt(QPointF(r.left() + 1, r.center().y())), 0);
}

TEST(TextField, InputMethodCompositionShowsUntilCommitted)
{
    Screen s;
    auto field = addField(s);
    FieldDelegate d;
    field->setDelegate(&d);
    field->setText(QStringLiteral("ab"));
    field->becomeFirstResponder();

    s.compose(QStringLiteral("ni"));
    const QString whileComposing = field->text();
    const QString composition = field->editor().composition();
    s.compose(QString(), QStringLiteral("你"));
    const QString afterCommit = field->text();
    s.compose(QString(), QStringLiteral("好"), -2, 1); // replaces the "b" two back from the caret

    EXPECT_EQ(whileComposing, "ab");
    EXPECT_EQ(composition, "ni");
    EXPECT_EQ(afterCommit, "ab你");
    EXPECT_EQ(field->text(), "a好你");
    EXPECT_EQ(d.calls.back(), "change 1,1:好");
    EXPECT_FALSE(field->editor().hasComposition());
}

TEST(TextField, LosingTheKeyboardCommitsAComposition)
{
    Screen s;
    auto field = addField(s);
    FieldDelegate d;
    field->setDelegate(&d);
    field->becomeFirstResponder();

    s.compose(QStringLiteral("ka"));
    field->resignFirstResponder();

    EXPECT_EQ(field->text(), "ka");
    EXPECT_EQ(d.calls.back(), "ended ka");
}

TEST(TextField, ShowsThePlaceholderOnlyWhileEmpty)
{
    Screen s;
    auto field = addField(s);
    field->setPlaceholder(QStringLiteral("Input English word"));
    const QRgb placeholder = Theme::current().style(ThemeElement::TextFieldPlaceholder).textColor.rgb();
    const QRect area = field->frame().toRect();

    const int empty = countColor(s.host.render(), area, placeholder);
    field->setText(QStringLiteral("x"));
    const int filled = countColor(s.host.render(), area, placeholder);

    EXPECT_GT(empty, 20);
    EXPECT_EQ(filled, 0);
}

// --- Text view ---

TEST(TextView, ContentHeightIsTheTextsHeightPlusTheInset)
{
    TextView view(QRectF(0, 0, 240, 140));
    view.setFont(Theme::systemFont(24));
    const EdgeInsets inset = view.textContainerInset();
    const QFontMetricsF fm(view.font());
    const double word = fm.horizontalAdvance(QStringLiteral("Wrapping"));

    view.setText(QStringLiteral("One"));
    const double one = view.contentSize().height();
    view.setText(QStringLiteral("One\nTwo\nThree"));
    const double three = view.contentSize().height();
    view.setText(QString());
    const double empty = view.contentSize().height();
    view.setFrame(QRectF(0, 0, inset.left + inset.right + 1.5 * word, 140)); // one word per line
    view.setText(QStringLiteral("Wrapping Wrapping Wrapping"));
    const double wrapped = view.contentSize().height();

    // The layout adds the font's leading and rounds each line up to whole points.
    EXPECT_NEAR(one, inset.top + inset.bottom + fm.height(), 2.0);
    EXPECT_DOUBLE_EQ(three - one, 2 * (one - inset.top - inset.bottom));
    EXPECT_DOUBLE_EQ(wrapped, three);
    EXPECT_DOUBLE_EQ(empty, one);
    EXPECT_DOUBLE_EQ(view.contentSize().width(), inset.left + inset.right + 1.5 * word);
}

TEST(TextView, ReturnInsertsALineBreakTheDelegateMayRefuse)
{
    Screen s;
    auto view = std::make_shared<TextView>(QRectF(20, 20, 300, 200));
    s.root->addSubview(view);
    ViewDelegate d;
    view->setDelegate(&d);
    view->becomeFirstResponder();

    s.type(QStringLiteral("a\nb"));
    d.allowChange = false;
    s.press(Qt::Key_Return, QStringLiteral("\r"));

    EXPECT_EQ(view->text(), "a\nb");
    EXPECT_EQ(d.calls, (std::vector<std::string>{"began", "change 0,0:a", "changed a", "change 1,0:\n", "changed a\n",
                                                 "change 2,0:b", "changed a\nb", "change 3,0:\n"}));
}

TEST(TextView, ArrowKeysMoveBetweenLinesAndShiftSelects)
{
    Screen s;
    auto view = std::make_shared<TextView>(QRectF(20, 20, 300, 200));
    s.root->addSubview(view);
    view->setText(QStringLiteral("abc\ndef"));
    view->becomeFirstResponder();

    s.press(Qt::Key_Up);
    const int up = view->selectedRange().location;
    s.press(Qt::Key_Up);
    const int top = view->selectedRange().location;
    s.press(Qt::Key_Right);
    s.press(Qt::Key_Down, {}, Qt::ShiftModifier);
    const TextRange selected = view->selectedRange();
    s.press(Qt::Key_Delete);

    EXPECT_EQ(up, 3);  // the same column on the line above
    EXPECT_EQ(top, 0); // up on the first line goes to the start
    EXPECT_EQ(selected, (TextRange{1, 4}));
    EXPECT_EQ(view->text(), "aef");
}

TEST(TextView, BackspaceTakesAWholeSurrogatePair)
{
    Screen s;
    auto view = std::make_shared<TextView>(QRectF(20, 20, 300, 200));
    s.root->addSubview(view);
    view->setText(QStringLiteral("a") + QString::fromUcs4(U"\U0001F600"));
    view->becomeFirstResponder();

    s.press(Qt::Key_Backspace);

    EXPECT_EQ(view->text(), "a");
}

TEST(TextView, TapBeginsEditingButADragOnlyScrolls)
{
    Screen s;
    auto view = std::make_shared<TextView>(QRectF(20, 20, 300, 100));
    s.root->addSubview(view);
    view->setText(QStringLiteral("1\n2\n3\n4\n5\n6\n7\n8"));
    ViewDelegate d;
    view->setDelegate(&d);

    s.host.drag(QPointF(100, 100), QPointF(100, 60), 4);
    const double scrolled = view->contentOffset().y();
    const bool editingAfterDrag = view->isEditing();
    s.host.advance(1);
    s.host.tap(QPointF(100, 60));

    EXPECT_DOUBLE_EQ(scrolled, 40);
    EXPECT_FALSE(editingAfterDrag);
    EXPECT_TRUE(view->isEditing());
    EXPECT_EQ(d.calls, std::vector<std::string>{"began"});
}

TEST(TextView, WhileEditingADragSelectsAndADoubleTapTakesAWord)
{
    Screen s;
    auto view = std::make_shared<TextView>(QRectF(0, 0, 300, 200));
    s.root->addSubview(view);
    view->setText(QStringLiteral("alpha beta gamma"));
    view->becomeFirstResponder();
    const QPointF inAlpha = view->caretRect().center(); // the caret is at the end; find words by position
    const QFontMetricsF fm(view->font());
    const double x0 = view->textContainerInset().left, y = inAlpha.y();

    s.host.drag(QPointF(x0 + 1, y), QPointF(x0 + fm.horizontalAdvance(QStringLiteral("alpha be")) + 1, y), 4);
    const TextRange dragged = view->selectedRange();
    s.host.advance(1);
    s.host.tap(QPointF(x0 + fm.horizontalAdvance(QStringLiteral("alpha bet")), y), 2);

    EXPECT_EQ(dragged, (TextRange{0, 8}));
    EXPECT_EQ(view->selectedRange(), (TextRange{6, 4}));
}

TEST(TextView, TheCaretFollowsTypingBelowTheVisibleArea)
{
    Screen s;
    auto view = std::make_shared<TextView>(QRectF(0, 0, 300, 80));
    s.root->addSubview(view);
    view->becomeFirstResponder();

    s.type(QStringLiteral("1\n2\n3\n4\n5"));

    const QRectF caret = view->caretRect();
    EXPECT_GT(view->contentOffset().y(), 0);
    EXPECT_LE(caret.bottom(), view->contentOffset().y() + 80);
    EXPECT_DOUBLE_EQ(view->contentOffset().y(), view->maximumContentOffset().y());
}

TEST(TextView, EndingAnEditTellsTheDelegateOnce)
{
    Screen s;
    auto view = std::make_shared<TextView>(QRectF(0, 0, 300, 80));
    s.root->addSubview(view);
    ViewDelegate d;
    view->setDelegate(&d);
    view->becomeFirstResponder();
    s.type(QStringLiteral("Hi"));

    view->resignFirstResponder();
    view->resignFirstResponder();
    const bool keysAfter = s.press(Qt::Key_A, QStringLiteral("a"));

    EXPECT_EQ(d.calls.back(), "ended Hi");
    EXPECT_EQ(std::count(d.calls.begin(), d.calls.end(), "ended Hi"), 1);
    EXPECT_FALSE(keysAfter);
}

TEST(TextView, ASnapshotShowsTheCaretOnlyWhileEditing)
{
    Screen s;
    auto view = std::make_shared<TextView>(QRectF(0, 0, 200, 100));
    s.root->addSubview(view);
    view->setText(QStringLiteral("Hi"));
    const QRgb caret = Theme::current().style(ThemeElement::TextCaret).pen.color().rgb();
    const QRect area(0, 0, 200, 100);

    view->becomeFirstResponder();
    const int editing = countColor(s.host.render(), area, caret);
    view->resignFirstResponder();
    const int done = countColor(s.host.render(), area, caret);

    EXPECT_GT(editing, 10);
    EXPECT_EQ(done, 0);
}

TEST(TextView, AnInputMethodCommitIsAnEditTheDelegateSees)
{
    Screen s;
    auto view = std::make_shared<TextView>(QRectF(0, 0, 300, 80));
    s.root->addSubview(view);
    ViewDelegate d;
    view->setDelegate(&d);
    view->becomeFirstResponder();

    s.compose(QStringLiteral("ㅎ"));
    s.compose(QStringLiteral("하"));
    s.compose(QString(), QStringLiteral("한"));

    EXPECT_EQ(view->text(), "한");
    EXPECT_EQ(d.calls, (std::vector<std::string>{"began", "change 0,0:한", "changed 한"}));
}

// --- Search bar ---

namespace {
class SearchDelegate : public SearchBarDelegate
{
public:
    std::vector<std::string> calls;
    bool clearOnBegin = false;

    bool searchBarShouldBeginEditing(SearchBar &bar) override
    {
        calls.push_back("should begin");
        if (clearOnBegin)
            bar.setText(QString());
        return true;
    }
    void searchBar(SearchBar &, const QString &text) override { calls.push_back("text " + text.toStdString()); }
    void searchBarSearchButtonClicked(SearchBar &bar) override
    {
        calls.push_back("search");
        bar.resignFirstResponder();
    }
    void searchBarTextDidEndEditing(SearchBar &) override { calls.push_back("ended"); }
};
} // namespace

TEST(SearchBar, ReportsEachChangeAndTheSearchButton)
{
    Screen s;
    auto bar = std::make_shared<SearchBar>(QRectF(0, 20, 320, 60));
    s.root->addSubview(bar);
    SearchDelegate d;
    d.clearOnBegin = true;
    bar->setDelegate(&d);
    bar->setText(QStringLiteral("old"));

    s.host.tap(QPointF(160, 50));
    s.type(QStringLiteral("ap"));
    s.press(Qt::Key_Backspace);
    s.press(Qt::Key_Return, QStringLiteral("\r"));

    EXPECT_EQ(d.calls, (std::vector<std::string>{"should begin", "text a", "text ap", "text a", "search", "ended"}));
    EXPECT_FALSE(bar->isFirstResponder());
    EXPECT_EQ(bar->text(), "a");
}

TEST(SearchBar, ATapOnTheMarginBeginsEditingToo)
{
    Screen s;
    auto bar = std::make_shared<SearchBar>(QRectF(0, 20, 320, 60));
    s.root->addSubview(bar);

    s.host.tap(QPointF(3, 23)); // on the background, outside the field

    EXPECT_TRUE(bar->isEditing());
}

TEST(SearchBar, TheBackgroundIsSubviewZeroAndCanBeRemoved)
{
    Screen s;
    s.root->setBackgroundColor(Qt::white);
    auto bar = std::make_shared<SearchBar>(QRectF(0, 0, 320, 60));
    s.root->addSubview(bar);
    const QRgb corner = s.host.render().pixel(2, 2);

    bar->subviewAt(0)->removeFromSuperview();

    EXPECT_NE(corner, qRgb(255, 255, 255));
    EXPECT_EQ(s.host.render().pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(bar->subviewAt(0), &bar->textField());
}

// --- Typing in the real window ---

TEST(WindowHostTyping, KeysAndCompositionsReachTheFocusedField)
{
    auto root = std::make_shared<View>();
    WindowHost host(DeviceProfile::Phone480, root);
    auto field = std::make_shared<TextField>(QRectF(10, 10, 200, 40));
    root->addSubview(field);
    host.show();
    QWidget *widget = host.widget();
    const bool inputMethodBefore = widget->testAttribute(Qt::WA_InputMethodEnabled);

    field->becomeFirstResponder();
    const bool inputMethodWhileEditing = widget->testAttribute(Qt::WA_InputMethodEnabled);
    QKeyEvent k(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, QStringLiteral("k"));
    QApplication::sendEvent(widget, &k);
    QInputMethodEvent compose(QStringLiteral("o"), {});
    QApplication::sendEvent(widget, &compose);
    const QString composing = field->editor().composition();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("ö"));
    QApplication::sendEvent(widget, &commit);
    const QVariant caret = widget->inputMethodQuery(Qt::ImCursorRectangle);
    field->resignFirstResponder();

    EXPECT_FALSE(inputMethodBefore);
    EXPECT_TRUE(inputMethodWhileEditing);
    EXPECT_EQ(composing, "o");
    EXPECT_EQ(field->text(), "kö");
    EXPECT_TRUE(caret.toRectF().intersects(QRectF(10, 10, 200, 40))); // window coordinates
    EXPECT_FALSE(widget->testAttribute(Qt::WA_InputMethodEnabled));
}
