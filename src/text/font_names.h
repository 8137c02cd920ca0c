#pragma once

#include <QFont>
#include <QString>

namespace vimora::text {

/// The family every text falls back to when a name is not installed.
QString defaultFontFamily();
/// Whether fontconfig knows the family by exactly that name.
bool isFontInstalled(const QString &family);
/// The named family at a pixel size, or the default family when it is not
/// installed. Glyphs the family lacks (accents, emoji, CJK) come from the
/// system's fallbacks.
QFont fontNamed(const QString &family, double pixelSize);

} // namespace vimora::text
