#include "compositor/compositor_pictures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/log.h"

namespace vimora {

namespace {
QString fileName(CompositorPictures::Kind kind)
{
    switch (kind) {
    case CompositorPictures::Kind::Original:
        return QStringLiteral("original.png");
    case CompositorPictures::Kind::Base:
        return QStringLiteral("base.png");
    case CompositorPictures::Kind::TopOriginal:
        break;
    }
    return QStringLiteral("top-original.png");
}
} // namespace

CompositorPictures::CompositorPictures()
    : m_writer([](const QString &reason) { logLine(QStringLiteral("compositor pictures: %1").arg(reason)); })
{
}

CompositorPictures::~CompositorPictures() = default;

QString CompositorPictures::folder()
{
    return AppHome::tempDir() + QStringLiteral("/compositor");
}

QString CompositorPictures::path(Kind kind)
{
    return folder() + '/' + fileName(kind);
}

void CompositorPictures::set(Kind kind, const Picture &picture)
{
    m_pictures[std::size_t(kind)] = picture;
    const QString target = path(kind);
    // Only the last picture of a kind matters: a newer one replaces a write still waiting.
    m_writer.post(
        [target, picture]() -> ui::JobRunner::Apply {
            if (picture.isNull()) {
                QFile::remove(target);
                return {};
            }
            QDir().mkpath(QFileInfo(target).absolutePath());
            if (!writeFileAtomically(target, encodePng(picture)))
                logLine(QStringLiteral("compositor pictures: %1 not written").arg(target));
            return {};
        },
        ui::JobPolicy::LatestWins, int(kind));
}

void CompositorPictures::clear()
{
    m_pictures = {};
    m_writer.clearPending();
    m_writer.post([dir = folder()]() -> ui::JobRunner::Apply {
        QDir(dir).removeRecursively();
        return {};
    });
}

void CompositorPictures::flush()
{
    m_writer.waitForWork();
}

} // namespace vimora
