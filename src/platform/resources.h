#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "imaging/picture.h"

namespace vimora {

/// Bundle resources, looked up beside the binary ("resources/" next to it in the build), in the
/// installed data folder relative to it (so an installed copy runs from any prefix), or in
/// $VIMORA_RESOURCES. Every lookup goes through here so a missing name is logged once.
class Resources
{
public:
    static QString directory();
    static void setDirectory(const QString &path);
    /// The resource folder for a binary in binaryDir: "resources" beside it when that exists,
    /// else the installed data folder relative to it when that exists, else the former.
    static QString besideBinary(const QString &binaryDir);

    /// Full path of a resource, or empty (and one log line) when it does not exist.
    static QString path(const QString &name);
    /// A picture of the application's resources by name ("name.png", "words/3.png"). Prefers the "@2x" drawing, tagged
    /// scale 2, when the preferred scale is 2 and it exists, and the "@small" one on a small screen. No picture when missing. A name
    /// without an extension means "name.png".
    static Picture imageNamed(const QString &name);
    /// A property list of strings by name without extension ("frameE"). Empty when missing.
    static QStringList stringArray(const QString &name);

    /// 1 or 2: the window host raises it on high-density screens.
    static void setPreferredScale(int scale);
    static int preferredScale();
    /// On a window shown well below its size in points, pictures with captions come in a
    /// variant whose captions stay readable there ("name@small.png"); imageNamed prefers it.
    static void setSmallScreen(bool small);
    static bool smallScreen();
    static QString smallScreenName(const QString &name);

    /// Names asked for that did not exist, in order of first request.
    static QStringList missingNames();
    static void clearMissingNames();
};

} // namespace vimora
