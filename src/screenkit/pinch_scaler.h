#pragma once

// Scaling a view by pinching: the recogniser reports the scale since the pinch began, the
// view's transform takes it in steps, so each report is turned into the factor since the
// previous one.

#include <optional>

#include "ui/pinch_recognizer.h"
#include "ui/view.h"

namespace vimora {

/// One pinch report's factor: the view's transform is post-multiplied by it. Additive, not
/// the ratio scale / lastScale, so a fast pinch can ask for a factor of zero or less.
inline double pinchStepFactor(double lastScale, double scale) { return 1.0 - (lastScale - scale); }

class PinchScaler
{
public:
    /// The factor of this report, from the previous one; none once the pinch is over (ended,
    /// cancelled or failed), which makes the next pinch start again from scale 1.
    std::optional<double> step(const ui::PinchRecognizer &pinch);

    /// Post-multiplies view's transform by factor. A factor that would collapse or mirror the
    /// view (zero or less) is left out; the pinch goes on from it.
    static void scaleView(ui::View &view, double factor);

    double lastScale() const { return m_lastScale; }

private:
    double m_lastScale = 1.0;
};

} // namespace vimora
