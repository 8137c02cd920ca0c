#pragma once

// The tap stamp: a tap on the editor view that neither moved nor was a double tap leaves a
// round dot on the stamp layer, behind the photo.

#include <memory>

#include "ui/image_view.h"
#include "ui/touch.h"

namespace vimora {

class TapStamp
{
public:
    /// Width of a stamp in points.
    static constexpr double kWidth = 10;

    /// A new, empty stamp layer at the back of editorView; the previous one goes.
    void attachTo(ui::View &editorView);
    void hide();
    void handleTouch(ui::TouchPhase phase, const ui::TouchSet &touches);

private:
    ui::View *m_editorView = nullptr;
    std::shared_ptr<ui::ImageView> m_layer;
    QPointF m_stampPoint;
    bool m_swiped = false;
};

} // namespace vimora
