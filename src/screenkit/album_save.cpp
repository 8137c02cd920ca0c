#include "screenkit/album_save.h"

#include "platform/log.h"

namespace vimora {

AlbumSaveNotice albumSaveNotice(const AlbumSaveResult &result)
{
    if (!result.succeeded())
        return {kNotSavedTitle, result.error};
    return {QStringLiteral("Save"), QStringLiteral("Saved in %1").arg(result.album)};
}

void saveToAlbumAndTell(AlbumWriter &writer, const Picture &picture, const QString &album, TellUser tell,
                        std::function<void()> finished, std::function<void()> saved)
{
    writer.saveImage(picture, album,
                     [tell = std::move(tell), finished = std::move(finished), saved = std::move(saved)](const AlbumSaveResult &result) {
                         if (finished)
                             finished();
                         if (result.succeeded())
                             logLine(QStringLiteral("success!"));
                         else
                             logLine(QStringLiteral("Big error: %1").arg(result.error));
                         const AlbumSaveNotice notice = albumSaveNotice(result);
                         if (tell)
                             tell(notice.title, notice.message);
                         if (saved && result.succeeded())
                             saved();
                     });
}

} // namespace vimora
