#include "store/cleanup.h"

#include <QDir>
#include <QFile>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/log.h"
#include "platform/settings.h"
#include "store/working_files.h"

namespace vimora {

namespace {
constexpr auto kListFilter = QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System;

bool removeEntry(const QFileInfo &entry)
{
    if (entry.isDir() && !entry.isSymLink())
        return QDir(entry.absoluteFilePath()).removeRecursively();
    return QFile::remove(entry.absoluteFilePath());
}
} // namespace

QStringList tempDirFiles()
{
    const QStringList names = QDir(AppHome::tempDir()).entryList(kListFilter, QDir::Name);
    logLine(QStringLiteral("tmp directory: (%1)").arg(names.join(QStringLiteral(", "))));
    return names;
}

void emptyTempDir()
{
    emptyTempDirExcept({});
}

void emptyTempDirExcept(const QStringList &kept)
{
    WorkingFiles::shared().flush();
    const QFileInfoList temps = QDir(AppHome::tempDir()).entryInfoList(kListFilter);
    for (const QFileInfo &entry : temps)
        if (!kept.contains(entry.fileName()) && !removeEntry(entry))
            logLine(QStringLiteral("fail"));
    WorkingFiles::shared().forget();
}

void terminationCleanup()
{
    emptyTempDir();

    QFile::remove(AppHome::documentsDir() + QStringLiteral("/temPhoto.plist"));
    tempDirFiles();

    if (Settings::shared().stringForKey(kKeyITunes) == QLatin1String("YES")) {
        const QFileInfoList docs = QDir(AppHome::documentsDir()).entryInfoList(kListFilter);
        for (const QFileInfo &entry : docs)
            removeEntry(entry);
    }
}

PictureRead readDrawJpg(const QString &name)
{
    if (name.isEmpty() || name.contains('/'))
        return {{}, ReadFailure::Missing, {}};
    return readPictureChecked(AppHome::drawImgsDir() + '/' + name);
}

Picture loadDrawJpg(const QString &name)
{
    return readDrawJpg(name).picture;
}

} // namespace vimora
