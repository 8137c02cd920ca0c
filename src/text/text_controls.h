#pragma once

// The buttons and sliders the overlay's panels are made of.

#include <functional>
#include <memory>

#include <QRectF>
#include <QString>

#include "ui/button.h"
#include "ui/slider.h"

namespace vimora::text {

/// A white title on the stretched pill "longBtn.png".
std::shared_ptr<ui::Button> longButton(const QRectF &frame, const QString &title, std::function<void()> action);
/// A white title on the round face "buttonX.png".
std::shared_ptr<ui::Button> roundButton(const QRectF &frame, const QString &title, std::function<void()> action);
/// A picture that carries its meaning; the title names the control and is drawn
/// clear.
std::shared_ptr<ui::Button> pictureButton(
    const QRectF &frame, const QString &title, const QString &picture, std::function<void()> action);
/// The mint track and white knob of the text panels.
std::shared_ptr<ui::Slider> panelSlider(const QRectF &frame, double minimum, double maximum, double value, int tag);

} // namespace vimora::text
