#pragma once

#include <QString>
#include <QStringList>

#include "imaging/codec.h"
#include "imaging/picture.h"

namespace vimora {

/// Logs the temporary directory's listing as "tmp directory: (...)" and returns it.
QStringList tempDirFiles();

/// Empties tmp/ (logging "fail" for each entry that resists) after flushing pending
/// working-file writes, then forgets what the working-file slots remember.
void emptyTempDir();
/// The same, keeping the entries named in kept (the photos a new job starts on).
void emptyTempDirExcept(const QStringList &kept);

/// What happens when the application terminates: empty tmp/ (logging "fail" for each entry
/// that resists), delete Documents/temPhoto.plist, log tmp/, and empty Documents/ only when
/// the user default "iTunes" is "YES". Pending working-file writes are flushed first.
void terminationCleanup();

/// A stored picture from Documents/drawImgs by name; none when missing.
Picture loadDrawJpg(const QString &name);
/// The same, telling why there is no picture.
PictureRead readDrawJpg(const QString &name);

} // namespace vimora
