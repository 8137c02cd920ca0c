#pragma once

#include <memory>

#include <QString>

#include "ui/text_field.h"
#include "ui/view.h"

namespace vimora::ui {

class SearchBar;

/// Told what the user does in a search bar. Every method is optional.
class SearchBarDelegate
{
public:
    virtual ~SearchBarDelegate() = default;
    /// Asked before the bar's field takes the keyboard; false keeps it from editing.
    virtual bool searchBarShouldBeginEditing(SearchBar & /*searchBar*/) { return true; }
    virtual void searchBarTextDidBeginEditing(SearchBar & /*searchBar*/) {}
    virtual void searchBarTextDidEndEditing(SearchBar & /*searchBar*/) {}
    /// The user changed the text (text set in code does not count).
    virtual void searchBar(SearchBar & /*searchBar*/, const QString & /*searchText*/) {}
    /// Return (the keyboard's search button) was pressed; the field keeps the keyboard.
    virtual void searchBarSearchButtonClicked(SearchBar & /*searchBar*/) {}
};

/// A bar with a rounded search field: a magnifier, the placeholder until something is typed,
/// and the text. Subview 0 is the bar's background: removing it (or hiding
/// backgroundView()) leaves the field floating on whatever lies behind. A tap anywhere on the
/// bar starts editing. The field is kept inset by the theme's padding as the bar resizes.
///
/// becomeFirstResponder / resignFirstResponder / isFirstResponder act on the field, as the
/// screens expect of a search bar; call them on a SearchBar (not through a View pointer).
class SearchBar : public View
{
public:
    static constexpr double kHeight = 44;

    SearchBar();
    explicit SearchBar(const QRectF &frame);
    ~SearchBar() override;

    QString text() const { return m_field->text(); }
    /// Sets the text without telling the delegate.
    void setText(const QString &text);
    QString placeholder() const { return m_field->placeholder(); }
    void setPlaceholder(const QString &placeholder);
    SearchBarDelegate *delegate() const { return m_delegate; }
    void setDelegate(SearchBarDelegate *delegate) { m_delegate = delegate; }
    TextField::KeyboardType keyboardType() const { return m_field->keyboardType(); }
    void setKeyboardType(TextField::KeyboardType type) { m_field->setKeyboardType(type); }

    View &backgroundView() { return *m_background; }
    TextField &textField() { return *m_field; }

    bool becomeFirstResponder();
    bool resignFirstResponder();
    bool isFirstResponder() const;
    bool isEditing() const { return m_field->isEditing(); }

    void touchesEnded(const TouchSet &touches) override;
    void touchesBegan(const TouchSet &) override {}
    void touchesMoved(const TouchSet &) override {}
    void touchesCancelled(const TouchSet &) override {}

protected:
    void layoutSubviews() override;

private:
    class Relay;
    std::unique_ptr<Relay> m_relay;
    SearchBarDelegate *m_delegate = nullptr;
    std::shared_ptr<View> m_background;
    std::shared_ptr<TextField> m_field;
};

} // namespace vimora::ui
