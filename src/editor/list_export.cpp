#include "editor/list_export.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "imaging/pixel_cut.h"
#include "imaging/codec.h"
#include "platform/app_home.h"
#include "platform/log.h"
#include "platform/settings.h"
#include "store/album_writer.h"
#include "store/names.h"
#include "store/new_file.h"

namespace vimora {

namespace {
constexpr double kJpegQuality = 1.0;

bool hasPictureExtension(const QString &name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    return suffix == QLatin1String("png") || suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

// The one-by-one and the document export both begin here.
void markExportStarted(const QString &documents)
{
    Settings::shared().setString(kKeySaved, QStringLiteral("YES"));
    if (Settings::shared().stringForKey(kKeyITunes) != QLatin1String("YES"))
        return;
    // Files only, failures ignored: drawImgs/ stays.
    for (const QFileInfo &file : QDir(documents).entryInfoList(QDir::Files | QDir::Hidden | QDir::System))
        QFile::remove(file.absoluteFilePath());
}

// Picture k as the exports write it: its edited version unchanged, else the photo in the shape asked.
Picture exportedPicture(const QString &tmp, const QString &name, const QStringList &editedNames, ListPictureShape shape)
{
    const QString edited = editedVersionOf(name, editedNames);
    if (!edited.isEmpty())
        return readPicture(tmp + '/' + edited);
    const Picture photo = readPicture(tmp + '/' + name);
    return shape == ListPictureShape::Whole ? photo : centredSquare(photo);
}

struct DocumentExportWork
{
    DocumentExportResult result;
    QByteArray lastBytes;
};

DocumentExportWork exportDocuments(const QString &tmp, const QString &documents, const QStringList &pictures,
    const QStringList &editedNames, const QStringList &exportNames)
{
    DocumentExportWork work;
    QDir().mkpath(documents);
    for (qsizetype k = 0; k < pictures.size(); ++k) {
        const QString &name = pictures[k];
        const QString edited = editedVersionOf(name, editedNames);
        QByteArray bytes;
        QString target;
        if (!edited.isEmpty()) {
            // Taken as it is, under its own name.
            QFile file(tmp + '/' + edited);
            if (file.open(QIODevice::ReadOnly))
                bytes = file.readAll();
            if (decodePicture(bytes).isNull()) {
                work.result.problems << QStringLiteral("%1 could not be read").arg(edited);
                continue;
            }
            target = edited;
            if (!hasPictureExtension(target))
                target += bytes.startsWith("\x89PNG") ? QStringLiteral(".png") : QStringLiteral(".jpg");
        } else {
            const Picture square = centredSquare(readPicture(tmp + '/' + name));
            if (square.isNull()) {
                work.result.problems << QStringLiteral("%1 could not be read").arg(name);
                continue;
            }
            const bool png = exportsAsPng(name);
            bytes = png ? encodePng(square, 6) : encodeJpeg(square, kJpegQuality);
            const QString extension = png ? QStringLiteral(".png") : QStringLiteral(".jpg");
            // The name the user gave it, else a generated one; a taken name gets a number.
            const QString given = exportNames.value(k);
            if (!given.isEmpty())
                target = given + extension;
            else
                target = freeFileName(documents, [&] { return fileNameMeNoTail() + extension; });
            if (target.isEmpty())
                target = fileNameMeNoTail() + extension;
        }
        const NewFile written = writeNewFile(documents, target, bytes);
        if (!written.error.isEmpty()) {
            work.result.problems << QStringLiteral("%1: %2").arg(name, written.error);
            continue;
        }
        work.result.written << written.path;
        work.lastBytes = bytes;
    }
    return work;
}
} // namespace

Picture centredSquare(const Picture &picture)
{
    if (picture.isNull())
        return {};
    const QSize size = picture.bitmap().size();
    const int side = std::min(size.width(), size.height());
    return cutImage(side, side, (size.width() - side) / 2, (size.height() - side) / 2, picture);
}

QString editedVersionOf(const QString &pictureName, const QStringList &editedNames)
{
    for (const QString &edited : editedNames)
        if (edited.size() == pictureName.size() + 1 && edited.mid(1) == pictureName)
            return edited;
    return {};
}

bool exportsAsPng(const QString &sourceName)
{
    const QString tail = sourceName.right(3);
    return tail == QLatin1String("png") || tail == QLatin1String("PNG");
}

ListExport::ListExport(AlbumWriter &writer, Reporting reporting, QString tmp, QString documents)
    : m_writer(writer)
    , m_reporting(std::move(reporting))
    , m_tmp(std::move(tmp))
    , m_documents(std::move(documents))
{ }

ListExport::~ListExport() = default;

QString ListExport::tmpFolder() const
{
    return m_tmp.isEmpty() ? AppHome::tempDir() : m_tmp;
}

QString ListExport::documentsFolder() const
{
    return m_documents.isEmpty() ? AppHome::documentsDir() : m_documents;
}

void ListExport::setPictureList(
    const QStringList &pictures, const QStringList &editedNames, const QStringList &exportNames)
{
    m_pictures = pictures;
    m_editedNames = editedNames;
    m_exportNames = exportNames;
}

void ListExport::saveOneByone(const QString &albumName, ListPictureShape shape)
{
    // A second start while a chain runs would interleave two chains over one index.
    if (m_chainRunning)
        return;
    markExportStarted(documentsFolder());
    m_chainRunning = true;
    m_chainAlbum = albumName;
    m_chainShape = shape;
    m_next = 0;
    if (m_pictures.isEmpty()) {
        saveMixedPhoto();
        return;
    }
    saveAt(0);
}

void ListExport::saveMixedPhoto()
{
    if (m_next >= m_pictures.size()) {
        m_chainRunning = false;
        if (m_reporting.tell)
            m_reporting.tell(QStringLiteral("Message"),
                m_chainAlbum.isEmpty() ? QStringLiteral("Saved in Album")
                                       : QStringLiteral("Saved in the album “%1”").arg(m_chainAlbum));
        return;
    }
    saveAt(m_next);
}

void ListExport::saveAt(int index)
{
    const QString tmp = tmpFolder();
    const QString name = m_pictures.value(index);
    const QStringList editedNames = m_editedNames;
    auto make = [tmp, name, editedNames, shape = m_chainShape] { return exportedPicture(tmp, name, editedNames, shape); };
    auto written = [this, index, name](const AlbumSaveResult &result) {
            if (m_reporting.showToolbar)
                m_reporting.showToolbar();
            if (!result.succeeded()) {
                logLine(QStringLiteral("Error"));
                m_chainRunning = false;
                if (m_reporting.tell)
                    m_reporting.tell(QStringLiteral("Error"),
                        QStringLiteral("Picture %1 of %2 was not saved: %3. "
                                       "The export stopped there; %4 saved before it.")
                            .arg(index + 1)
                            .arg(m_pictures.size())
                            .arg(result.error)
                            .arg(index));
                return;
            }
            m_next = index + 1;
            logLine(QStringLiteral("success:%1").arg(m_next));
            saveMixedPhoto();
        };
    const QString whyNull = QStringLiteral("%1 could not be read").arg(name);
    if (m_chainAlbum.isEmpty())
        m_writer.writeImageToSavedPhotosAlbum(std::move(make), whyNull, std::move(written));
    else
        m_writer.saveImage(std::move(make), whyNull, m_chainAlbum, std::move(written));
}

void ListExport::saveToItunes(std::function<void(const DocumentExportResult &)> done)
{
    const QString documents = documentsFolder();
    markExportStarted(documents);
    m_worker.run<DocumentExportWork>(
        [tmp = tmpFolder(), documents, pictures = m_pictures, edited = m_editedNames, names = m_exportNames] {
            return exportDocuments(tmp, documents, pictures, edited, names);
        },
        [this, done = std::move(done), documents](const DocumentExportWork &work) {
            if (!work.lastBytes.isEmpty())
                m_imgData = work.lastBytes;
            reportDocuments(documents, work.result);
            if (done)
                done(work.result);
        });
}

void ListExport::savePictureToDocuments(
    const Picture &picture, const QString &name, std::function<void(const DocumentExportResult &)> done)
{
    const QString documents = documentsFolder();
    Settings::shared().setString(kKeySaved, QStringLiteral("YES"));
    m_worker.run<DocumentExportWork>(
        [documents, picture, name] {
            DocumentExportWork work;
            QDir().mkpath(documents);
            const QByteArray bytes = picture.isNull() ? QByteArray() : encodeJpeg(picture, kJpegQuality);
            if (bytes.isEmpty()) {
                work.result.problems << QStringLiteral("the picture could not be made");
                return work;
            }
            QString target = name.isEmpty() ? QString() : name + QStringLiteral(".jpg");
            if (target.isEmpty())
                target = freeFileName(documents, [] { return fileNameMeNoTail() + QStringLiteral(".jpg"); });
            if (target.isEmpty())
                target = fileNameMeNoTail() + QStringLiteral(".jpg");
            const NewFile written = writeNewFile(documents, target, bytes);
            if (!written.error.isEmpty()) {
                work.result.problems << QStringLiteral("%1: %2").arg(target, written.error);
                return work;
            }
            work.result.written << written.path;
            work.lastBytes = bytes;
            return work;
        },
        [this, done = std::move(done), documents](const DocumentExportWork &work) {
            if (!work.lastBytes.isEmpty())
                m_imgData = work.lastBytes;
            reportDocuments(documents, work.result);
            if (done)
                done(work.result);
        });
}

void ListExport::reportDocuments(const QString &documents, const DocumentExportResult &result)
{
    if (!m_reporting.tell)
        return;
    QString message;
    if (result.written.size() == 1)
        message = QStringLiteral("%1 is in %2").arg(QFileInfo(result.written.front()).fileName(), documents);
    else
        message = QStringLiteral("%1 pictures are in %2").arg(result.written.size()).arg(documents);
    if (!result.problems.isEmpty())
        message += QStringLiteral("\nLeft out: ") + result.problems.join(QStringLiteral("; "));
    m_reporting.tell(result.problems.isEmpty() ? QStringLiteral("Documents") : QStringLiteral("Error"), message);
}

void ListExport::waitForDocuments()
{
    m_worker.waitForWork();
}

} // namespace vimora
