#pragma once

// A view following a one-finger drag: it keeps the centre the view had when the drag began,
// so each report places the view from that centre, never from the previous report.

#include <functional>
#include <memory>

#include "ui/pan_recognizer.h"
#include "ui/view.h"

namespace vimora {

class DragFollower
{
public:
    /// reference: the view translations are measured in; it must not move with the drag.
    explicit DragFollower(const ui::View *reference = nullptr)
        : m_reference(reference)
    {
    }
    void setReference(const ui::View *reference) { m_reference = reference; }

    /// The centre the dragged view takes now.
    QPointF centreFor(ui::PanRecognizer &pan)
    {
        if (pan.state() == ui::GestureRecognizer::State::Began && pan.view())
            m_startCentre = pan.view()->center();
        return m_startCentre + pan.translationInView(m_reference);
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

private:
    const ui::View *m_reference;
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
