#pragma once

#include <QString>

namespace vimora {

/// The application home: $VIMORA_HOME, else the XDG data folder "Vimora/". It holds tmp/
/// (working files), Documents/ (with drawImgs/) and the settings file.
class AppHome
{
public:
    static QString root();
    static QString tempDir();
    static QString documentsDir();
    /// "%@/drawImgs" of the document directory.
    static QString drawImgsDir();
    static QString settingsPath();

    /// Points the home somewhere else (tests use a throw-away folder); creates its folders.
    static void setRoot(const QString &path);
    /// Creates tmp/, Documents/ and Documents/drawImgs/ if missing. False if any cannot be.
    static bool ensureFolders();
};

} // namespace vimora
