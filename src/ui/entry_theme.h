#pragma once

// The standard look of the text-entry, table, search, popover and bar controls: the part of
// Theme::style() for their elements. A screen that wants another look still derives from
// Theme and overrides style().

#include "ui/theme.h"

namespace vimora::ui {

ThemeStyle entryControlStyle(ThemeElement element, ControlState state);

/// A top-to-bottom gradient over whatever it fills; both parts of the standard look use it.
QBrush verticalGradient(const QColor &top, const QColor &bottom);

} // namespace vimora::ui
