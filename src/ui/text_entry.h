#pragma once

// What TextField and TextView share on top of TextEditor: the blinking caret, drawing it,
// and how a touch going down places the caret or selects.

#include <functional>

#include "ui/clock.h"

class QPainter;

namespace vimora::ui {

class Host;
class TextEditor;

/// The caret's blink: on after every edit or caret move, then off and on every period
/// seconds while editing. redraw runs at each toggle.
class CaretBlink
{
public:
    CaretBlink(double period, std::function<void()> redraw);

    bool isOn() const { return m_on; }
    /// Turns the caret on and, while editing, starts the blink afresh.
    void restart(bool editing);
    /// Stops blinking (the caret keeps its current phase).
    void stop() { m_timer.stop(); }

private:
    void toggle();

    double m_period;
    std::function<void()> m_redraw;
    bool m_on = true;
    ScheduledCall m_timer;
};

/// The theme's caret thickness in points.
double caretThickness();

/// Draws editor's caret in document coordinates in the theme's caret colour, unless text is
/// selected or the input method hides the caret inside its composition.
void drawCaret(QPainter &painter, const TextEditor &editor);

/// A touch going down in an editing text control first commits any composition, telling the
/// host's input method to drop its own.
void commitCompositionForTouch(TextEditor &editor, Host *host);

/// Where a touch with tapCount taps went down: one places the caret, two select the word,
/// three or more everything. Returns whether a drag should go on to extend the selection.
bool selectForTaps(TextEditor &editor, int position, int tapCount);

} // namespace vimora::ui
