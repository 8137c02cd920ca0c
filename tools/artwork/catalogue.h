#pragma once

#include <functional>
#include <map>

#include <QPainter>
#include <QSizeF>
#include <QString>
#include <QStringList>

namespace vimora::artwork {

/// Draws one picture into a painter whose coordinates are the picture's points (the painter is
/// already scaled for scale-2 drawings; the device is transparent to start with).
using Drawing = std::function<void(QPainter &p, const QSizeF &size)>;

/// Every picture the generator knows, by lookup name.
const std::map<QString, Drawing> &drawings();

/// The property lists, by name without ".plist".
const std::map<QString, QStringList> &propertyLists();

/// Entry 13 of "wordE" is the text overlay's starting font.
inline constexpr int kStartingFontIndex = 13;
const QStringList &wordFonts();

/// How many device pixels one point covers on this painter's device.
double deviceScale(const QPainter &p, const QSizeF &size);

// Each drawing file adds its pictures here.
using Registry = std::map<QString, Drawing>;
void addControls(Registry &registry);
void addPanels(Registry &registry);
void addScenes(Registry &registry);
void addWords(Registry &registry);

} // namespace vimora::artwork
