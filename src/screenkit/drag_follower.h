#pragma once

// A view following a one-finger drag: it keeps the centre the view had when the drag began,
// so each report places the view from that centre, never from the previous report.

#include <functional>
#include <memory>

#include <QPointF>
#include <QSizeF>

#include "ui/pan_recognizer.h"
#include "ui/view.h"

namespace vimora {

/// A panel's centre for its drag handle at p: the panel's top-right corner sits at p.
inline QPointF panelCentreForHandle(QPointF p, QSizeF panel)
{
    return {p.x() - panel.width() / 2, p.y() + panel.height() / 2};
}

class DragFollower
{
public:
    /// reference: the view translations are measured in; it must not move with the drag.
    explicit DragFollower(const ui::View *reference = nullptr)
        : m_reference(reference)
    { }
    /// Translations measured in the dragged view's superview, whichever view is dragged.
    static DragFollower inSuperview()
    {
        DragFollower follower;
        follower.m_inSuperview = true;
        return follower;
    }
    void setReference(const ui::View *reference) { m_reference = reference; }

    /// The centre the dragged view takes now.
    QPointF centreFor(ui::PanRecognizer &pan)
    {
        ui::View *view = pan.view();
        if (pan.state() == ui::GestureRecognizer::State::Began && view)
            m_startCentre = view->center();
        const ui::View *reference = m_inSuperview && view ? view->superview() : m_reference;
        return m_startCentre + pan.translationInView(reference);
    }

    /// Moves the pan's view; false when it has none.
    bool follow(ui::PanRecognizer &pan)
    {
        ui::View *view = pan.view();
        if (!view)
            return false;
        view->setCenter(centreFor(pan));
        return true;
    }

    /// The panel-handle drag: the pan's view (the handle) follows the pan and carries panel
    /// by its top-right corner. False when the pan has no view.
    bool followWithPanel(ui::PanRecognizer &pan, ui::View &panel)
    {
        ui::View *handle = pan.view();
        if (!handle)
            return false;
        const QPointF p = centreFor(pan);
        handle->setCenter(p);
        panel.setCenter(panelCentreForHandle(p, panel.bounds().size()));
        return true;
    }

private:
    const ui::View *m_reference;
    bool m_inSuperview = false;
    QPointF m_startCentre;
};

/// A pan that takes exactly one finger.
inline std::shared_ptr<ui::PanRecognizer> oneFingerPan(std::function<void(ui::PanRecognizer &)> action)
{
    auto pan = std::make_shared<ui::PanRecognizer>(std::move(action));
    pan->setMinimumNumberOfTouches(1);
    pan->setMaximumNumberOfTouches(1);
    return pan;
}

} // namespace vimora
