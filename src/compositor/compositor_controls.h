#pragma once

// The compositor's buttons: the long stretched button behind a title, a picture button, and
// the frame-per-device choice its panels are laid out with.

#include <functional>
#include <memory>

#include <QColor>
#include <QRectF>
#include <QString>

#include "ui/button.h"

namespace vimora {

/// A plain button titled in titleColor with a clear shadow at (2, 2) that reverses when
/// highlighted, on the stretched background picture (cap insets 0, 40, 0, 40).
std::shared_ptr<ui::Button> makeLongButton(const QRectF &frame, const QString &title, std::function<void()> action,
                                           const QColor &titleColor = Qt::white,
                                           const QString &background = QStringLiteral("longBtn.png"));

/// A round button ("OK"): the white title on the round button face, scaled whole to the frame.
std::shared_ptr<ui::Button> makeRoundButton(const QRectF &frame, const QString &title, std::function<void()> action);

/// A button whose picture carries its meaning; its title is kept for lookups, drawn clear.
std::shared_ptr<ui::Button> makePictureButton(const QRectF &frame, const QString &title, const QString &picture,
                                              std::function<void()> action);

/// The first subview of view that is a button titled title, or nullptr.
ui::Button *buttonTitled(const ui::View &view, const QString &title);

} // namespace vimora
