#pragma once

// Pieces the editor's panels are built from: reopening a panel view, the fade it shows
// with, and the scroll view and title of the picker panels.

#include <memory>

#include <QRectF>
#include <QString>

#include "ui/image_view.h"
#include "ui/scroll_view.h"

namespace vimora {

/// Shows panel in front of mainView, emptied, with a clear background and no transform,
/// ready to be laid out afresh.
void reopenPanel(ui::View &mainView, ui::ImageView &panel);

/// Fades view in from the bottom over seconds, with implicit animations off.
void fadeIn(ui::View &view, double seconds);

/// The scroll view a picker panel lists its choices in: the panel's width less 5 points a
/// side, from top down to 5 points above the bottom, clipped, without scroll indicators.
std::shared_ptr<ui::ScrollView> addPickerScroll(ui::View &panel, double top);

/// A picker panel's dark grey title, left aligned.
void addPanelTitle(ui::View &panel, const QRectF &frame, const QString &text);

} // namespace vimora
