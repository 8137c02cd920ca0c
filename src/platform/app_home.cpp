#include "platform/app_home.h"

#include <mutex>

#include <QDir>
#include <QStandardPaths>

#include "platform/settings.h"

namespace vimora {

namespace {
std::mutex g_homeMutex;
QString g_root;

QString defaultRoot()
{
    const QString env = qEnvironmentVariable("VIMORA_HOME");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + "/.local/share";
    return data + "/Vimora";
}
} // namespace

QString AppHome::root()
{
    std::lock_guard lock(g_homeMutex);
    if (g_root.isEmpty()) {
        g_root = defaultRoot();
        for (const char *sub : {"/tmp", "/Documents", "/Documents/drawImgs"})
            QDir().mkpath(g_root + sub);
    }
    return g_root;
}

QString AppHome::tempDir() { return root() + "/tmp"; }
QString AppHome::documentsDir() { return root() + "/Documents"; }
QString AppHome::drawImgsDir() { return QStringLiteral("%1/drawImgs").arg(documentsDir()); }
QString AppHome::settingsPath() { return root() + "/settings.ini"; }

void AppHome::setRoot(const QString &path)
{
    {
        std::lock_guard lock(g_homeMutex);
        g_root = QDir(path).absolutePath();
    }
    ensureFolders();
    Settings::shared().reopen();
}

bool AppHome::ensureFolders()
{
    const QString r = root();
    bool ok = true;
    for (const char *sub : {"/tmp", "/Documents", "/Documents/drawImgs"})
        ok = QDir().mkpath(r + sub) && ok;
    return ok;
}

} // namespace vimora
