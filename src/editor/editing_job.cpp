#include "editor/editing_job.h"

#include <QDir>

#include "imaging/codec.h"
#include "platform/app_home.h"

namespace vimora {

Picture EditingJob::readPhoto() const
{
    if (isEmpty())
        return {};
    return readPicture(QDir(AppHome::tempDir()).filePath(photoName()));
}

} // namespace vimora
