#include "platform/resources.h"

#include <mutex>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "imaging/codec.h"
#include "platform/log.h"
#include "platform/property_list.h"

namespace vimora {

namespace {
std::mutex g_mutex;
QString g_directory;
int g_scale = 1;
bool g_small = false;
QStringList g_missing;
QHash<QString, Picture> g_cache;

void reportMissing(const QString &name)
{
    {
        std::lock_guard lock(g_mutex);
        if (g_missing.contains(name))
            return;
        g_missing << name;
    }
    logLine(QStringLiteral("missing resource: %1").arg(name));
}

QString scale2Name(const QString &name)
{
    const int dot = name.lastIndexOf('.');
    return dot < 0 ? name + "@2x" : name.left(dot) + "@2x" + name.mid(dot);
}

// A picture named without an extension is a PNG ("QvIPC-Checkmark-iPad"): the screens name
// their pictures either way, and every picture without one is a PNG.
QString pictureFileName(const QString &name)
{
    const int slash = name.lastIndexOf('/');
    return name.isEmpty() || name.indexOf('.', slash + 1) >= 0 ? name : name + QStringLiteral(".png");
}
} // namespace

QString Resources::besideBinary(const QString &binaryDir)
{
    const QString built = binaryDir + QStringLiteral("/resources");
    if (QFileInfo(built).isDir())
        return built;
    const QString installed = QDir::cleanPath(binaryDir + QStringLiteral("/" VIMORA_INSTALLED_RESOURCES));
    return QFileInfo(installed).isDir() ? installed : built;
}

QString Resources::directory()
{
    std::lock_guard lock(g_mutex);
    if (g_directory.isEmpty()) {
        const QString env = qEnvironmentVariable("VIMORA_RESOURCES");
        if (!env.isEmpty())
            g_directory = env;
        else if (QCoreApplication::instance())
            g_directory = besideBinary(QCoreApplication::applicationDirPath());
        else
            g_directory = QStringLiteral("resources");
    }
    return g_directory;
}

void Resources::setDirectory(const QString &path)
{
    std::lock_guard lock(g_mutex);
    g_directory = path;
    g_cache.clear();
}

QString Resources::path(const QString &name)
{
    const QString full = directory() + '/' + name;
    if (name.isEmpty() || !QFileInfo(full).isFile()) {
        reportMissing(name);
        return {};
    }
    return full;
}

Picture Resources::imageNamed(const QString &name)
{
    const int scale = preferredScale();
    const bool small = smallScreen();
    const QString key = QString::number(scale) + (small ? QStringLiteral("s") : QString()) + name;
    {
        std::lock_guard lock(g_mutex);
        const auto it = g_cache.constFind(key);
        if (it != g_cache.constEnd())
            return *it;
    }
    Picture picture;
    if (small && scale < 2) {
        const QString compact = directory() + '/' + smallScreenName(pictureFileName(name));
        if (QFileInfo(compact).isFile())
            picture = readPicture(compact);
    }
    if (scale >= 2) {
        const QString hi = directory() + '/' + scale2Name(pictureFileName(name));
        if (QFileInfo(hi).isFile())
            picture = readPicture(hi).withScale(2.0);
    }
    if (picture.isNull()) {
        const QString full = path(pictureFileName(name));
        if (full.isEmpty())
            return {};
        picture = readPicture(full);
        if (picture.isNull()) {
            logLine(QStringLiteral("unreadable resource: %1").arg(name));
            return {};
        }
    }
    std::lock_guard lock(g_mutex);
    g_cache.insert(key, picture);
    return picture;
}

QStringList Resources::stringArray(const QString &name)
{
    const QString full = path(name + ".plist");
    if (full.isEmpty())
        return {};
    return readStringArrayPlist(full).value_or(QStringList());
}

void Resources::setPreferredScale(int scale)
{
    std::lock_guard lock(g_mutex);
    g_scale = scale >= 2 ? 2 : 1;
}

int Resources::preferredScale()
{
    std::lock_guard lock(g_mutex);
    return g_scale;
}

void Resources::setSmallScreen(bool small)
{
    std::lock_guard lock(g_mutex);
    g_small = small;
}

bool Resources::smallScreen()
{
    std::lock_guard lock(g_mutex);
    return g_small;
}

QString Resources::smallScreenName(const QString &name)
{
    const int slash = name.lastIndexOf('/');
    const int dot = name.lastIndexOf('.');
    return dot <= slash ? name + QStringLiteral("@small") : name.left(dot) + QStringLiteral("@small") + name.mid(dot);
}

QStringList Resources::missingNames()
{
    std::lock_guard lock(g_mutex);
    return g_missing;
}

void Resources::clearMissingNames()
{
    std::lock_guard lock(g_mutex);
    g_missing.clear();
}

} // namespace vimora
