#include "text_page.h"

#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QTextCharFormat>

#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/theme.h"

using namespace vimora::ui;

namespace vimora::gallery {

namespace {

constexpr int kLogLines = 13;

QString quoted(const QString &s)
{
    QString shown = s;
    shown.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

std::shared_ptr<Button> roundedButton(const QRectF &frame, const QString &title)
{
    auto b = std::make_shared<Button>(frame, Button::Type::RoundedRect);
    b->setTitle(title);
    return b;
}

} // namespace

TextPage::TextPage()
    : EntryPage(QStringLiteral("Text entry"))
{
}

TextPage::~TextPage()
{
    if (m_composing)
        m_composing->setDelegate(nullptr);
}

void TextPage::buildCards()
{
    buildFields(*card(QStringLiteral("Text fields"), 226, 0));
    buildSearch(*card(QStringLiteral("Search bar"), 104, 0));
    buildComposition(*card(QStringLiteral("Input method"), 148, 0));
    buildKeys(*card(QStringLiteral("Keys"), 222, 0));
    buildTextBox(*card(QStringLiteral("Text box"), 318, 1));
    buildNotes(*card(QStringLiteral("Text view"), 150, 1));
    buildLog(*card(QStringLiteral("What the delegates hear"), 246, 1));
}

void TextPage::buildFields(View &c)
{
    const double w = c.bounds().width();
    const double labelW = 112, fieldX = 14 + labelW, fieldW = w - fieldX - 14;
    auto row = [&](int i, const QString &caption) {
        c.addSubview(makeLabel(QRectF(14, 40 + i * 46, labelW, 34), caption));
        return QRectF(fieldX, 40 + i * 46, fieldW, 34);
    };

    auto prefix = std::make_shared<TextField>(row(0, QStringLiteral("Name prefix")));
    m_prefix = prefix;
    prefix->setBorderStyle(TextField::BorderStyle::RoundedRect);
    prefix->setPlaceholder(QStringLiteral("Image"));
    prefix->setTag(1);
    prefix->setDelegate(this);
    c.addSubview(prefix);

    auto number = std::make_shared<TextField>(row(1, QStringLiteral("Start number")));
    number->setBorderStyle(TextField::BorderStyle::RoundedRect);
    number->setKeyboardType(TextField::KeyboardType::NumberPad);
    number->setTextAlignment(TextAlignment::Right);
    number->setText(QStringLiteral("5"));
    number->setTag(2);
    number->setDelegate(this);
    c.addSubview(number);

    auto line = std::make_shared<TextField>(row(2, QStringLiteral("Line border")));
    line->setBorderStyle(TextField::BorderStyle::Line);
    line->setBackgroundColor(QColor(250, 250, 245));
    line->setText(QStringLiteral("Plain and square"));
    line->setTag(3);
    line->setDelegate(this);
    c.addSubview(line);

    auto disabled = std::make_shared<TextField>(row(3, QStringLiteral("Disabled")));
    disabled->setBorderStyle(TextField::BorderStyle::RoundedRect);
    disabled->setText(QStringLiteral("Takes no keyboard"));
    disabled->setEnabled(false);
    c.addSubview(disabled);
}

void TextPage::buildSearch(View &c)
{
    const double w = c.bounds().width();
    auto bar = std::make_shared<SearchBar>(QRectF(14, 36, w - 28, SearchBar::kHeight));
    m_search = bar;
    bar->setPlaceholder(QStringLiteral("Input English word"));
    bar->setDelegate(this);
    bar->setCornerRadius(8);
    bar->setClipsToBounds(true);
    c.addSubview(bar);
    c.addSubview(makeLabel(QRectF(14, 82, w - 28, 18), QStringLiteral("Return is the search button."), 12, false,
                           kMutedInk));
}

void TextPage::buildComposition(View &c)
{
    const double w = c.bounds().width();
    m_composing = std::make_shared<TextField>(QRectF(14, 40, w - 28, 40));
    m_composing->setBorderStyle(TextField::BorderStyle::RoundedRect);
    m_composing->setFont(Theme::systemFont(20));
    m_composing->setPlaceholder(QStringLiteral("Type with any input method"));
    m_composing->setTag(4);
    m_composing->setDelegate(this);
    c.addSubview(m_composing);
    auto note = makeLabel(QRectF(14, 88, w - 28, 52),
                          QStringLiteral("A composition shows underlined at the caret and becomes text only when the "
                                         "input method commits it; the delegate is asked then."),
                          12, false, kMutedInk);
    note->setNumberOfLines(3);
    note->setLineBreakMode(LineBreakMode::WordWrap);
    c.addSubview(note);
}

void TextPage::buildTextBox(View &c)
{
    const double w = c.bounds().width();
    // The text overlay's box: blue, black 36-point text, a white 2-point border, clipped.
    m_textBox = std::make_shared<TextView>(QRectF(14, 40, w - 28, 140));
    m_textBox->setBackgroundColor(QColor(0, 0, 255));
    m_textBox->setFont(Theme::systemFont(36));
    m_textBox->setTextColor(Qt::black);
    m_textBox->setAutocorrection(false);
    m_textBox->setShowsVerticalScrollIndicator(false);
    m_textBox->setShowsHorizontalScrollIndicator(false);
    m_textBox->setClipsToBounds(true);
    m_textBox->setBorderWidth(2);
    m_textBox->setBorderColor(Qt::white);
    m_textBox->setCornerRadius(6);
    m_textBox->setText(QStringLiteral("Words over the picture"));
    m_textBox->setDelegate(this);
    c.addSubview(m_textBox);

    m_heightLabel = makeLabel(QRectF(14, 186, w - 28, 20), QString(), 13, false, kMutedInk);
    c.addSubview(m_heightLabel);
    showContentHeight();

    auto fit = roundedButton(QRectF(14, 212, (w - 38) / 2, 36), QStringLiteral("Fit height"));
    fit->addAction(ControlEventTouchUpInside, [this](Control &) {
        const QRectF f = m_textBox->frame();
        m_textBox->setFrame(QRectF(f.topLeft(), QSizeF(f.width(), m_textBox->contentSize().height())));
        log(QStringLiteral("frame height set to the content height"));
    });
    c.addSubview(fit);
    auto render = roundedButton(QRectF(24 + (w - 38) / 2, 212, (w - 38) / 2, 36), QStringLiteral("Render in red"));
    render->addAction(ControlEventTouchUpInside, [this](Control &) { renderTextBox(); });
    c.addSubview(render);

    m_rendered = std::make_shared<ImageView>(QRectF(14, 256, w - 28, 52));
    m_rendered->setContentMode(ContentMode::ScaleAspectFit);
    m_rendered->setBackgroundColor(QColor(0, 0, 0, 70));
    m_rendered->setCornerRadius(6);
    c.addSubview(m_rendered);
}

void TextPage::buildKeys(View &c)
{
    const double w = c.bounds().width();
    const std::pair<const char *, const char *> keys[] = {
        {"← → ↑ ↓", "move the caret"},
        {"Shift + arrows", "select"},
        {"Home, End", "start or end of the line"},
        {"Backspace, Delete", "remove before or after"},
        {"Ctrl + A, C, X, V", "select all, copy, cut, paste"},
        {"Return", "a new line, or the field's delegate"},
    };
    double y = 38;
    for (const auto &[key, meaning] : keys) {
        auto chip = makeLabel(QRectF(14, y + 3, 132, 24), QString::fromUtf8(key), 12, true, kInk);
        chip->setTextAlignment(TextAlignment::Center);
        chip->setBackgroundColor(QColor(255, 255, 255, 30));
        chip->setCornerRadius(5);
        c.addSubview(chip);
        c.addSubview(makeLabel(QRectF(156, y, w - 170, 30), QString::fromUtf8(meaning), 13, false, kMutedInk));
        y += 30;
    }
}

void TextPage::renderTextBox()
{
    m_textBox->resignFirstResponder();
    // As the overlay renders a layer: clear background, red text, no border.
    const QColor background = m_textBox->backgroundColor();
    const QColor border = m_textBox->borderColor();
    m_textBox->setBackgroundColor(Qt::transparent);
    m_textBox->setBorderColor(Qt::transparent);
    m_textBox->setTextColor(Qt::red);
    // Fitted to its text first, as the overlay does before rendering.
    const QRectF frame = m_textBox->frame();
    m_textBox->setFrame(QRectF(frame.topLeft(), QSizeF(frame.width(), m_textBox->contentSize().height())));
    m_rendered->setImage(m_textBox->renderToPicture(m_textBox->bounds().size(), 2));
    m_textBox->setFrame(frame);
    m_textBox->setBackgroundColor(background);
    m_textBox->setBorderColor(border);
    m_textBox->setTextColor(Qt::black);
    log(QStringLiteral("rendered the text box into a picture"));
}

void TextPage::buildNotes(View &c)
{
    const double w = c.bounds().width();
    auto notes = std::make_shared<TextView>(QRectF(14, 40, w - 28, 96));
    notes->setFont(Theme::systemFont(15));
    notes->setCornerRadius(8);
    notes->setText(QStringLiteral(
        "Multi-line text wraps at the view's width and scrolls to keep the caret in view.\n"
        "While editing, drag to select, double-tap a word, triple-tap for everything."));
    notes->setDelegate(this);
    c.addSubview(notes);
}

void TextPage::buildLog(View &c)
{
    const double w = c.bounds().width();
    QFont mono(QStringLiteral("DejaVu Sans Mono"));
    mono.setPixelSize(12);
    // Exactly kLogLines tall, so the padded block starts at the top.
    const double height = kLogLines * QFontMetricsF(mono).height();
    m_log = makeLabel(QRectF(14, 38, w - 28, height), QString(), 12, false, kInk);
    m_log->setFont(mono);
    m_log->setNumberOfLines(kLogLines);
    m_log->setLineBreakMode(LineBreakMode::TruncateTail);
    c.addSubview(m_log);
    m_lines.clear();
    log(QStringLiteral("tap a field to begin"));
}

void TextPage::log(const QString &line)
{
    m_lines.push_back(line);
    while (int(m_lines.size()) > kLogLines)
        m_lines.pop_front();
    QStringList all(m_lines.begin(), m_lines.end());
    if (m_log) {
        // Top-aligned: pad with empty lines so the label's centring keeps the block at the top.
        while (all.size() < kLogLines)
            all.append(QString());
        m_log->setText(all.join(QLatin1Char('\n')));
    }
    setStatus(line);
}

void TextPage::showContentHeight()
{
    if (m_heightLabel)
        m_heightLabel->setText(QStringLiteral("Content height %1 pt for its text at this width")
                                   .arg(m_textBox->contentSize().height(), 0, 'f', 0));
}

void TextPage::stage()
{
    // A name typed and returned, a search begun and sent, the text box rendered...
    auto typeInto = [](TextField &field, const QString &text) {
        field.becomeFirstResponder();
        for (QChar c : text) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(c));
            field.keyPressEvent(&key);
        }
        QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
        field.keyPressEvent(&ret);
    };
    typeInto(*m_prefix, QStringLiteral("Trip"));
    m_search->becomeFirstResponder();
    typeInto(m_search->textField(), QStringLiteral("ap"));
    renderTextBox();
    // A field in the middle of a composition: committed text, then the underlined preedit.
    m_composing->becomeFirstResponder();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("Grüße aus "));
    m_composing->inputMethodEvent(&commit);
    QTextCharFormat underline;
    underline.setUnderlineStyle(QTextCharFormat::SingleUnderline);
    underline.setBackground(QColor(255, 236, 170));
    const QString preedit = QStringLiteral("にほんご");
    QInputMethodEvent compose(preedit, {QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0, int(preedit.size()), underline),
                                        QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, int(preedit.size()), 1)});
    m_composing->inputMethodEvent(&compose);
}

// --- Delegates ---

void TextPage::textFieldDidBeginEditing(TextField &field)
{
    log(QStringLiteral("textFieldDidBeginEditing: field %1").arg(field.tag()));
}

void TextPage::textFieldDidEndEditing(TextField &field)
{
    log(QStringLiteral("textFieldDidEndEditing: field %1 %2").arg(field.tag()).arg(quoted(field.text())));
}

bool TextPage::textFieldShouldReturn(TextField &field)
{
    log(QStringLiteral("textFieldShouldReturn: field %1").arg(field.tag()));
    field.resignFirstResponder();
    return true;
}

bool TextPage::textField(TextField &field, TextRange range, const QString &replacement)
{
    log(QStringLiteral("field %1 change {%2, %3} → %4").arg(field.tag()).arg(range.location).arg(range.length).arg(quoted(replacement)));
    return true;
}

void TextPage::textViewDidBeginEditing(TextView &)
{
    log(QStringLiteral("textViewDidBeginEditing:"));
}

void TextPage::textViewDidEndEditing(TextView &)
{
    log(QStringLiteral("textViewDidEndEditing:"));
}

bool TextPage::textView(TextView &, TextRange range, const QString &replacement)
{
    log(QStringLiteral("text view change {%1, %2} → %3").arg(range.location).arg(range.length).arg(quoted(replacement)));
    return true;
}

void TextPage::textViewDidChange(TextView &view)
{
    if (&view == m_textBox.get())
        showContentHeight();
}

bool TextPage::searchBarShouldBeginEditing(SearchBar &)
{
    log(QStringLiteral("searchBarShouldBeginEditing:"));
    return true;
}

void TextPage::searchBar(SearchBar &, const QString &text)
{
    log(QStringLiteral("searchBar:textDidChange: %1").arg(quoted(text)));
}

void TextPage::searchBarSearchButtonClicked(SearchBar &bar)
{
    log(QStringLiteral("searchBarSearchButtonClicked:"));
    bar.resignFirstResponder();
}

} // namespace vimora::gallery
