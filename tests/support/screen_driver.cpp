#include "support/screen_driver.h"

namespace vimora::test {

QPointF centreOnScreen(const ui::View &view)
{
    return view.convertPointTo(view.bounds().center(), nullptr);
}

ui::AlertView *shownAlert(ui::HeadlessHost &host)
{
    // Alerts stack: the last one shown is the one a touch reaches.
    ui::AlertView *top = nullptr;
    for (const ui::ViewPtr &layer : host.window().subviews())
        for (const ui::ViewPtr &view : layer->subviews())
            if (auto *alert = dynamic_cast<ui::AlertView *>(view.get()); alert && alert->isVisible())
                top = alert;
    return top;
}

testing::AssertionResult answerAlert(ui::HeadlessHost &host, const QString &title)
{
    ui::AlertView *alert = shownAlert(host);
    if (!alert)
        return testing::AssertionFailure() << "no alert is up to answer " << title.toStdString();
    QStringList titles;
    for (int i = 0; i < alert->numberOfButtons(); ++i) {
        if (alert->buttonTitleAtIndex(i) == title) {
            host.tap(centreOnScreen(*alert->buttonAtIndex(i)));
            host.advance(1);
            return testing::AssertionSuccess();
        }
        titles << alert->buttonTitleAtIndex(i);
    }
    return testing::AssertionFailure() << "the alert has no " << title.toStdString() << " button, only "
                                       << titles.join(QStringLiteral(", ")).toStdString();
}

ui::Button *findButton(ui::View &root, const QString &title)
{
    if (auto *button = dynamic_cast<ui::Button *>(&root); button && !button->isHidden() && button->title() == title)
        return button;
    for (const ui::ViewPtr &view : root.subviews())
        if (ui::Button *found = findButton(*view, title))
            return found;
    return nullptr;
}

} // namespace vimora::test
