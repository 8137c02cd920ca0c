#pragma once

#include <QString>
#include <QStringList>

#include "ui/view.h"

namespace vimora::ui {

class AlertView;
class Button;
class Label;

/// Told what happens to an alert. Every method is optional.
class AlertViewDelegate
{
public:
    virtual ~AlertViewDelegate() = default;
    virtual void alertViewClickedButtonAtIndex(AlertView & /*alert*/, int /*buttonIndex*/) {}
    virtual void alertViewWillDismissWithButtonIndex(AlertView & /*alert*/, int /*buttonIndex*/) {}
    virtual void alertViewDidDismissWithButtonIndex(AlertView & /*alert*/, int /*buttonIndex*/) {}
};

/// A modal message with buttons, shown centred over everything on the current host; nothing
/// else gets touches until it is dismissed.
///
/// Button indices never change with the layout: the cancel button, when given, is index 0
/// (cancelButtonIndex, else −1) and the other titles follow in order. Two buttons sit side
/// by side, cancel on the left; three or more are stacked, cancel at the bottom.
/// A tap on a button: clicked, will dismiss, the alert goes, did dismiss.
/// dismissWithClickedButtonIndex(): will dismiss and did dismiss only.
///
/// The alert is kWidth wide and as tall as its content; subviews added to it (a spinner)
/// stay where they are put and the alert grows to hold them.
class AlertView : public View
{
public:
    static constexpr double kWidth = 284;

    AlertView(const QString &title, const QString &message, AlertViewDelegate *delegate = nullptr,
              const QString &cancelButtonTitle = {}, const QStringList &otherButtonTitles = {});
    ~AlertView() override;

    QString title() const { return m_title; }
    void setTitle(const QString &title);
    QString message() const { return m_message; }
    void setMessage(const QString &message);
    AlertViewDelegate *delegate() const { return m_delegate; }
    void setDelegate(AlertViewDelegate *delegate) { m_delegate = delegate; }

    /// Adds a button after the others; returns its index.
    int addButtonWithTitle(const QString &title);
    int numberOfButtons() const { return int(m_buttonTitles.size()); }
    QString buttonTitleAtIndex(int index) const;
    int cancelButtonIndex() const { return m_cancelIndex; }
    int firstOtherButtonIndex() const;
    /// The button drawn for an index (to find where it is), or nullptr.
    Button *buttonAtIndex(int index) const;

    /// Lays the alert out and presents it on the current host; returns at once.
    void show();
    bool isVisible() const { return m_visible; }
    void dismissWithClickedButtonIndex(int buttonIndex, bool animated);

protected:
    void drawContent(QPainter &painter) const override;
    bool drawsContent() const override { return true; }

private:
    void layout();
    void buttonTapped(int index);
    void dismiss(int index, bool animated);

    QString m_title, m_message;
    AlertViewDelegate *m_delegate;
    QStringList m_buttonTitles;
    int m_cancelIndex = -1;
    bool m_visible = false;
    std::shared_ptr<Label> m_titleLabel, m_messageLabel;
    std::vector<std::shared_ptr<Button>> m_buttons;
};

} // namespace vimora::ui
