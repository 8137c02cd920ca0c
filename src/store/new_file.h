#pragma once

#include <QByteArray>
#include <QString>

namespace vimora {

/// Where writeNewFile put the bytes, or why it could not.
struct NewFile
{
    QString path;
    QString error;
};

/// Writes bytes into folder as a new file, atomically and never over an existing one: the
/// bytes go to a hidden temporary file first, which is then renamed without replacing, to
/// fileName or, while that is taken, "name 2.ext", "name 3.ext" … The error names the folder
/// and the system's reason ("No space left on device"); nothing is left behind on failure.
NewFile writeNewFile(const QString &folder, const QString &fileName, const QByteArray &bytes);

/// fileName with " n" before its extension; n of 1 or less leaves it as it is.
QString numberedFileName(const QString &fileName, int n);

} // namespace vimora
