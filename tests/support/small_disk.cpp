#include "support/small_disk.h"

#include <sys/mount.h>

namespace vimora::test {

SmallDisk::SmallDisk(const QString &folder, qint64 bytes)
    : m_folder(folder)
{
    const QByteArray options = "size=" + QByteArray::number(bytes);
    m_mounted = ::mount("tmpfs", m_folder.toLocal8Bit().constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                        options.constData()) == 0;
}

SmallDisk::~SmallDisk()
{
    // Lazy, so a file a test left open cannot keep the mount (and the throw-away home) alive.
    if (m_mounted)
        ::umount2(m_folder.toLocal8Bit().constData(), MNT_DETACH);
}

bool SmallDisk::makeReadOnly()
{
    return m_mounted
           && ::mount(nullptr, m_folder.toLocal8Bit().constData(), nullptr, MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                      nullptr) == 0;
}

} // namespace vimora::test
