#pragma once

// What a test does as the user would: find what is on screen by what it shows, and touch it.

#include <QPointF>
#include <QString>

#include <gtest/gtest.h>

#include "ui/alert_view.h"
#include "ui/button.h"
#include "ui/headless_host.h"

namespace vimora::test {

/// A view's centre in window coordinates, where a touch lands.
QPointF centreOnScreen(const ui::View &view);

/// The alert on top (the one shown last) while one is up, or nullptr.
ui::AlertView *shownAlert(ui::HeadlessHost &host);

/// Touches the button titled title on the alert on top, as the user would, and lets its
/// dismissal run; fails naming the alert's buttons when there is no such alert or button.
testing::AssertionResult answerAlert(ui::HeadlessHost &host, const QString &title);

/// The first visible button under root (root included), depth first, whose title is title.
ui::Button *findButton(ui::View &root, const QString &title);

} // namespace vimora::test
