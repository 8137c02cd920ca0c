#include "platform/photo_picker.h"

#include <mutex>

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QStandardPaths>

#include "imaging/codec.h"
#include "platform/log.h"

namespace vimora {

namespace {
std::mutex g_mutex;
QString g_folder;
std::unique_ptr<PhotoPicker> g_picker;

/// Without an installed picker nothing can be chosen: every request is cancelled.
class NoPicker : public PhotoPicker
{
public:
    void present(Source, Done done) override { done(std::nullopt); }
};
} // namespace

QString PhotoLibrary::folder()
{
    std::lock_guard lock(g_mutex);
    if (g_folder.isEmpty()) {
        const QString env = qEnvironmentVariable("VIMORA_PHOTOS");
        if (!env.isEmpty()) {
            g_folder = QDir(env).absolutePath();
        } else {
            QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
            if (pictures.isEmpty())
                pictures = QDir::homePath() + "/Pictures";
            g_folder = pictures + "/Vimora";
        }
        QDir().mkpath(g_folder);
    }
    return g_folder;
}

void PhotoLibrary::setFolder(const QString &path)
{
    std::lock_guard lock(g_mutex);
    g_folder = QDir(path).absolutePath();
    QDir().mkpath(g_folder);
}

PhotoPicker &PhotoPicker::current()
{
    std::lock_guard lock(g_mutex);
    if (!g_picker)
        g_picker = std::make_unique<NoPicker>();
    return *g_picker;
}

void PhotoPicker::setCurrent(std::unique_ptr<PhotoPicker> picker)
{
    std::lock_guard lock(g_mutex);
    g_picker = std::move(picker);
}

PhotoPicker::Result readPickedPhoto(const QString &path, bool jpegLater)
{
    PhotoPicker::Result result;
    result.path = path;
    if (jpegLater && QFileInfo(path).isFile()) {
        // A JPEG's pixels can be decoded straight at a fraction of its size: the intake does
        // that off the UI thread. Anything the header does not vouch for is read now, as before.
        QImageReader reader(path);
        reader.setAutoTransform(true);
        const QSize stored = reader.size();
        if (reader.format() == "jpeg" && withinPictureLimits(stored)) {
            result.decodeLater = true;
            result.size = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90) ? stored.transposed()
                                                                                                     : stored;
            if (!isImageFileComplete(path)) {
                result.damaged = true;
                logLine(QStringLiteral("picker: %1 ends early").arg(path));
            }
            return result;
        }
    }
    const PictureRead read = readPictureChecked(path);
    result.photo = read.picture;
    if (result.photo.isNull()) {
        if (read.failure == ReadFailure::TooLarge)
            result.error = pictureTooLargeMessage(read.size);
        else if (read.failure == ReadFailure::Missing && !QFileInfo::exists(path))
            // Deleted or moved since it was listed.
            result.error = QStringLiteral("This photo is no longer there.");
        else if (read.failure == ReadFailure::Missing)
            result.error = QStringLiteral("\"%1\" is not a photo file.").arg(path);
        else
            result.error = QStringLiteral("The photo \"%1\" could not be read.").arg(QFileInfo(path).fileName());
        logLine(QStringLiteral("picker: %1").arg(result.error));
    } else if (!isImageFileComplete(path)) {
        result.damaged = true;
        logLine(QStringLiteral("picker: %1 ends early").arg(path));
    }
    return result;
}

FileDialogPhotoPicker::FileDialogPhotoPicker(QWidget *parent)
    : m_parent(parent)
{
}

void FileDialogPhotoPicker::present(Source source, Done done)
{
    if (source == Source::Camera) {
        // No camera source on this platform: the home screen disables the button, so this
        // only happens when asked from elsewhere.
        done(std::nullopt);
        return;
    }
    dismiss();
    auto *dialog = new QFileDialog(m_parent, QStringLiteral("Choose a photo"), PhotoLibrary::folder(),
                                   QStringLiteral("Photos (*.jpg *.jpeg *.png *.JPG *.JPEG *.PNG);;All files (*)"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    dialog->setOption(QFileDialog::DontUseNativeDialog, true);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setObjectName(QStringLiteral("photoPicker"));
    m_dialog = dialog;
    auto finished = std::make_shared<bool>(false);
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, [done, finished](const QString &path) {
        if (*finished)
            return;
        *finished = true;
        done(readPickedPhoto(path, true));
    });
    QObject::connect(dialog, &QFileDialog::finished, dialog, [this, done, finished, dialog](int) {
        if (m_dialog == dialog)
            m_dialog = nullptr;
        if (*finished)
            return;
        *finished = true;
        done(std::nullopt);
    });
    dialog->setWindowModality(Qt::WindowModal);
    dialog->open();
}

void FileDialogPhotoPicker::dismiss()
{
    if (m_dialog)
        m_dialog->reject();
}

} // namespace vimora
