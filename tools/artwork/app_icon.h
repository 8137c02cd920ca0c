#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

namespace vimora::artwork {

/// The pixel sizes of the hicolor theme's application icons the generator writes.
inline constexpr int kAppIconSizes[] = {48, 64, 128, 256, 512};

/// The application icon on a square of side points: the photo card with its piece lifted out,
/// on the home screen's night. One drawing for every size and for the scalable icon.
void drawAppIcon(QPainter &p, double side);
QImage renderAppIcon(int pixels);

/// Writes DIR/hicolor/NxN/apps/NAME.png for every size and DIR/hicolor/scalable/apps/NAME.svg;
/// returns the problems met (empty on success).
QStringList writeAppIcons(const QString &dir, const QString &name);

} // namespace vimora::artwork
