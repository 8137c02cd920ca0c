// Pictures the album writer saves show in the picker: the camera-roll file among the saved
// photos, its link in the album, and no half-written file anywhere.
#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "picker/photo_library_model.h"
#include "store/album_writer.h"
#include "support/pixel_compare.h"

using namespace vimora;
using namespace vimora::picker;

TEST(SavedPictures, SavesShowAsSavedPhotosAndInTheirAlbum)
{
    QTemporaryDir library;
    AlbumWriter writer(library.path());
    int done = 0;
    for (int i = 0; i < 2; ++i)
        writer.saveImage(Picture(test::filledRaster(8, 6, 0xff204080)), QStringLiteral("Quorlan"),
                         [&](const AlbumSaveResult &r) { done += r.succeeded() ? 1 : 0; });
    writer.waitForWrites();
    for (int i = 0; i < 500 && done < 2; ++i) {
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    ASSERT_EQ(done, 2);

    const std::vector<PhotoAlbum> albums = libraryAlbums(library.path(), {});

    ASSERT_EQ(albums.size(), 2u);
    EXPECT_EQ(albums[0].name, "Saved Photos");
    EXPECT_EQ(albums[1].name, "Quorlan");
    EXPECT_EQ(albumPhotos(albums[0].folder).size(), 2u);
    const std::vector<PhotoAsset> inAlbum = albumPhotos(albums[1].folder);
    ASSERT_EQ(inAlbum.size(), 2u);
    EXPECT_TRUE(isDecodablePicture(inAlbum[0].path()));
}
