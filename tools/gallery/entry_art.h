#pragma once

// Pictures for the text-entry and table pages, drawn in code at scale 2.

#include <QColor>
#include <QString>

#include "imaging/picture.h"

namespace vimora::gallery {

/// A word's thumbnail: a rounded tile in a colour picked from the word, its first letter large.
Picture wordTile(const QString &word, double size);
/// A promotion banner: a gradient card with a title and a line of smaller text.
Picture promotionBanner(int index, double width, double height);
/// A tick in a blue disc with a white rim, for chosen grid items.
Picture checkmark(double size);

} // namespace vimora::gallery
