#pragma once

#include <deque>
#include <memory>

#include "entry_page.h"
#include "ui/search_bar.h"
#include "ui/text_field.h"
#include "ui/text_view.h"

namespace vimora::ui {
class ImageView;
class Label;
} // namespace vimora::ui

namespace vimora::gallery {

/// Text fields (borders, placeholder, a number field, a disabled one), the overlay's text
/// box with its content height and rendered picture, a notes view, a search bar and a field
/// mid-composition, with a log of what their delegates hear.
class TextPage : public EntryPage,
                 private ui::TextFieldDelegate,
                 private ui::TextViewDelegate,
                 private ui::SearchBarDelegate
{
public:
    TextPage();
    ~TextPage() override;

    void stage() override;

protected:
    void buildCards() override;

private:
    void buildFields(ui::View &card);
    void buildSearch(ui::View &card);
    void buildComposition(ui::View &card);
    void buildTextBox(ui::View &card);
    void buildKeys(ui::View &card);
    void buildNotes(ui::View &card);
    void renderTextBox();
    void buildLog(ui::View &card);
    void log(const QString &line);
    void showContentHeight();

    void textFieldDidBeginEditing(ui::TextField &field) override;
    void textFieldDidEndEditing(ui::TextField &field) override;
    bool textFieldShouldReturn(ui::TextField &field) override;
    bool textField(ui::TextField &field, ui::TextRange range, const QString &replacement) override;
    void textViewDidBeginEditing(ui::TextView &view) override;
    void textViewDidEndEditing(ui::TextView &view) override;
    bool textView(ui::TextView &view, ui::TextRange range, const QString &replacement) override;
    void textViewDidChange(ui::TextView &view) override;
    bool searchBarShouldBeginEditing(ui::SearchBar &bar) override;
    void searchBar(ui::SearchBar &bar, const QString &text) override;
    void searchBarSearchButtonClicked(ui::SearchBar &bar) override;

    std::shared_ptr<ui::TextField> m_prefix;
    std::shared_ptr<ui::SearchBar> m_search;
    std::shared_ptr<ui::TextField> m_composing;
    std::shared_ptr<ui::TextView> m_textBox;
    std::shared_ptr<ui::Label> m_heightLabel;
    std::shared_ptr<ui::ImageView> m_rendered;
    std::shared_ptr<ui::Label> m_log;
    std::deque<QString> m_lines;
};

} // namespace vimora::gallery
