#pragma once

// The job's picture list taken out of the application: one by one into the photo library's
// camera roll, or all at once into the documents folder for file sharing.

#include <functional>
#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "imaging/picture.h"
#include "ui/job_runner.h"

namespace vimora {

class AlbumWriter;

/// The picture's centred square: the shorter side, the longer one cut evenly on both ends
/// (the odd pixel goes on the far end). None for no picture.
Picture centredSquare(const Picture &picture);

/// The edited version of a picture: the name in editedNames that is one leading character
/// followed by pictureName; empty when there is none.
QString editedVersionOf(const QString &pictureName, const QStringList &editedNames);

/// "png" or "PNG" as the last three characters: a PNG export; anything else JPEG.
bool exportsAsPng(const QString &sourceName);

/// What a document export came to.
struct DocumentExportResult
{
    QStringList written; ///< paths in the documents folder, in list order
    QStringList problems; ///< one line per picture left out, naming it and why
};

/// How the one-by-one chain takes a picture without an edited version.
enum class ListPictureShape {
    CentredSquare, ///< its centred square
    Whole ///< the photo as it is
};

class ListExport
{
public:
    /// What the export tells the user and the screen.
    struct Reporting
    {
        /// A message alert: title, message.
        std::function<void(const QString &, const QString &)> tell;
        /// The toolbar comes back after each write of the chain.
        std::function<void()> showToolbar;
    };

    /// tmp: where the pictures and their edited versions are; documents: the file-sharing
    /// folder (both looked up at each export when empty).
    ListExport(AlbumWriter &writer, Reporting reporting, QString tmp = {}, QString documents = {});
    ~ListExport();
    ListExport(const ListExport &) = delete;
    ListExport &operator=(const ListExport &) = delete;

    /// albumDrawAry (picture file names in tmp/), albumDrawMuAry (their edited versions) and
    /// the names the user gave them for the documents folder (one each, or none).
    void setPictureList(
        const QStringList &pictures, const QStringList &editedNames, const QStringList &exportNames = {});
    QStringList pictures() const { return m_pictures; }

    /// The chain into the camera roll: one write at a time, the next once the last is
    /// done, "Saved in Album" after the last, a stop with "Error" at the first failure.
    /// With an album name each picture is also added to that album, and the last message
    /// names it.
    void saveOneByone(const QString &albumName = {}, ListPictureShape shape = ListPictureShape::CentredSquare);
    void saveMixedPhoto();
    bool isSavingOneByOne() const { return m_chainRunning; }
    /// rViewTag: the index of the next picture of the chain.
    int nextIndex() const { return m_next; }

    /// Every picture into the documents folder (off the UI thread); done follows on the UI
    /// thread, after the user has been told.
    void saveToItunes(std::function<void(const DocumentExportResult &)> done = {});
    /// One picture into the documents folder as a JPEG: under name (".jpg" added; a taken
    /// name gets a number) when given, else under a generated name. done follows as for the
    /// list, after the user has been told where it is.
    void savePictureToDocuments(
        const Picture &picture, const QString &name, std::function<void(const DocumentExportResult &)> done = {});
    /// The bytes of the last document written.
    QByteArray imgData() const { return m_imgData; }
    /// Blocks until a document export in progress has written its files.
    void waitForDocuments();

private:
    QString tmpFolder() const;
    QString documentsFolder() const;
    void saveAt(int index);
    void reportDocuments(const QString &documents, const DocumentExportResult &result);

    AlbumWriter &m_writer;
    Reporting m_reporting;
    QString m_tmp;
    QString m_documents;
    QStringList m_pictures;
    QStringList m_editedNames;
    QStringList m_exportNames;
    QString m_chainAlbum;
    ListPictureShape m_chainShape = ListPictureShape::CentredSquare;
    int m_next = 0;
    bool m_chainRunning = false;
    QByteArray m_imgData;
    ui::JobRunner m_worker;
};

} // namespace vimora
