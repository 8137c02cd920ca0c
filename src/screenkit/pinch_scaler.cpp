#include "screenkit/pinch_scaler.h"

#include "ui/affine_transform.h"

namespace vimora {

std::optional<double> PinchScaler::step(const ui::PinchRecognizer &pinch)
{
    if (pinch.isFinished()) {
        m_lastScale = 1.0;
        return std::nullopt;
    }
    const double factor = pinchStepFactor(m_lastScale, pinch.scale());
    m_lastScale = pinch.scale();
    return factor;
}

void PinchScaler::scaleView(ui::View &view, double factor)
{
    if (factor > 0)
        view.setTransform(ui::scaled(view.transform(), factor, factor));
}

} // namespace vimora
