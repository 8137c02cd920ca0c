#include "ui/screen_drawing.h"

namespace vimora::ui {

namespace {
thread_local bool t_drawingScreen = false;
} // namespace

ScreenDrawing::ScreenDrawing()
    : m_previous(t_drawingScreen)
{
    t_drawingScreen = true;
}

ScreenDrawing::~ScreenDrawing()
{
    t_drawingScreen = m_previous;
}

bool ScreenDrawing::active()
{
    return t_drawingScreen;
}

} // namespace vimora::ui
