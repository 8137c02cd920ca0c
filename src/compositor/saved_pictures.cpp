#include "compositor/saved_pictures.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/app_home.h"

namespace vimora::saved_pictures {

namespace {
const QString kThumbnails = QStringLiteral("Thumbnails");
} // namespace

bool isValidName(const QString &name)
{
    return !name.isEmpty() && !name.contains('/') && !name.contains('\\') && !name.startsWith('.');
}

QString path(const QString &name)
{
    return AppHome::drawImgsDir() + '/' + name;
}

QString thumbnailPath(const QString &name)
{
    return AppHome::drawImgsDir() + '/' + kThumbnails + '/' + name;
}

QStringList list()
{
    QDir dir(AppHome::drawImgsDir());
    QFileInfoList files = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Time | QDir::Reversed);
    QStringList names;
    for (const QFileInfo &f : files)
        if (isValidName(f.fileName()))
            names << f.fileName();
    return names;
}

Removal remove(const QString &name)
{
    if (!isValidName(name))
        return Removal::Refused;
    const QString picture = path(name);
    const QFileInfo info(picture);
    // A folder or a link of that name is no picture of ours to delete.
    if (info.exists() && (!info.isFile() || info.isSymLink()))
        return Removal::Refused;
    const bool existed = info.exists();
    if (existed && !QFile::remove(picture))
        return Removal::Failed;
    const QString thumbnail = thumbnailPath(name);
    if (QFileInfo(thumbnail).isFile())
        QFile::remove(thumbnail);
    return existed ? Removal::Removed : Removal::AlreadyGone;
}

} // namespace vimora::saved_pictures
