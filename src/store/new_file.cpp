#include "store/new_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

namespace vimora {

namespace {
// How many " 2", " 3" … endings are tried before a name counts as unobtainable.
constexpr int kMaxNameTries = 10000;

QString systemReason()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}
} // namespace

QString numberedFileName(const QString &fileName, int n)
{
    if (n <= 1)
        return fileName;
    const QFileInfo info(fileName);
    const QString suffix = info.suffix();
    return suffix.isEmpty() ? QStringLiteral("%1 %2").arg(fileName).arg(n)
                            : QStringLiteral("%1 %2.%3").arg(info.completeBaseName()).arg(n).arg(suffix);
}

NewFile writeNewFile(const QString &folder, const QString &fileName, const QByteArray &bytes)
{
    const QString temporary =
        QStringLiteral("%1/.%2.%3.part").arg(folder, fileName).arg(QRandomGenerator::global()->generate64(), 0, 16);
    const QByteArray temporaryPath = QFile::encodeName(temporary);
    const int fd = ::open(temporaryPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return {{}, QStringLiteral("Could not write in %1: %2").arg(folder, systemReason())};
    // Plain system calls, so a full disk is reported as such and not as an unknown error.
    bool complete = true;
    for (qsizetype done = 0; complete && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        complete = n > 0;
        done += complete ? n : 0;
    }
    complete = complete && ::fdatasync(fd) == 0;
    const QString writeError = complete ? QString() : systemReason();
    complete = ::close(fd) == 0 && complete;
    if (!complete) {
        QFile::remove(temporary);
        return {{},
            QStringLiteral("Could not write in %1: %2")
                .arg(folder, writeError.isEmpty() ? systemReason() : writeError)};
    }
    for (int n = 1; n <= kMaxNameTries; ++n) {
        const QString target = folder + '/' + numberedFileName(fileName, n);
        // QFile::rename refuses an existing target (no-replace rename, or link and unlink).
        if (QFile::rename(temporary, target))
            return {target, {}};
        if (!QFileInfo::exists(target) && !QFileInfo(target).isSymLink()) {
            QFile::remove(temporary);
            return {{}, QStringLiteral("Could not write %1").arg(target)};
        }
    }
    QFile::remove(temporary);
    return {{}, QStringLiteral("No free file name left for %1 in %2").arg(fileName, folder)};
}

} // namespace vimora
