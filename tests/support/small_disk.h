#pragma once

#include <QString>

namespace vimora::test {

/// A small tmpfs mounted over a folder for the life of the object, to stand in for a full or
/// read-only disk. Mounting needs root; where it fails, mounted() is false and the folder is
/// left as it was, so the caller falls back to a failing writer.
class SmallDisk
{
public:
    SmallDisk(const QString &folder, qint64 bytes);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    bool mounted() const { return m_mounted; }
    /// Turns the mounted disk read-only (files written so far stay readable).
    bool makeReadOnly();

private:
    QString m_folder;
    bool m_mounted = false;
};

} // namespace vimora::test
