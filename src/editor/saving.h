#pragma once

// Saving and sharing the finished picture: the quality choice and the album save, the share
// panel with the one-by-one export, the document export and e-mail.

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QStringList>

#include "editor/list_export.h"
#include "editor/original_size.h"
#include "editor/panel_parts.h"
#include "screenkit/album_save.h"
#include "store/album_writer.h"
#include "ui/job_runner.h"
#include "store/mail.h"
#include "ui/alert_view.h"
#include "ui/image_view.h"

namespace vimora {

struct ScreenViews;

enum class SaveQuality {
    High, ///< the working photo's pixel size
    Medium, ///< half of it
    OriginalSize ///< the picked photo's own size (see original_size.h)
};

class Saving : private ui::AlertViewDelegate
{
public:
    /// What saving needs of the editor, asked each time (the views come and go).
    struct EditorAccess
    {
        /// The photo view (tag 555), or nullptr before a job.
        std::function<ui::ImageView *()> photoView;
        /// The layer text labels may lie in.
        std::function<ui::View *()> editorLayer;
        /// albumDrawAry and albumDrawMuAry.
        std::function<QStringList()> pictures;
        std::function<QStringList()> editedNames;
        /// The busy spinner on (true) and off.
        std::function<void(bool)> busy;
        /// What an original-size save renders; none when the photo shown is not the picked
        /// photo's working copy (none picked, merged, replaced).
        std::function<std::optional<OriginalComposition>()> originalComposition;
        /// The name "this picture" takes in Documents (the naming strip's first name once the
        /// user set it), or empty for a generated one.
        std::function<QString()> documentName;
    };

    /// mailProgram: the hand-over command for e-mail (tests stand one in).
    Saving(ScreenViews &views, EditorAccess access, QString mailProgram = QStringLiteral("xdg-email"));
    ~Saving() override;

    /// Writes the picture into the album "Quorlan"; the user is told once the write is done.
    /// saved runs once the picture is in the album (not after a failed write).
    void saveToAlbum(const Picture &image, std::function<void()> saved = {});
    /// Runs once the composition the Save question asked for is in the album.
    void setOnSaved(std::function<void()> saved) { m_onSaved = std::move(saved); }
    /// The quality choice, each with the size it saves: "High — W × H", "Medium — w × h",
    /// "Original size — W0 × H0" where the picked photo is larger than the working one, and
    /// "Share..." for the share panel; "Cancel".
    void askMessage();
    /// The picture High or Medium gives: the composition (photo_capture.h) at the working
    /// photo's size or half of it. OriginalSize is not made here (see saveOriginalSize).
    Picture capture(SaveQuality quality);
    /// The size a quality saves at; empty when it is not on offer.
    QSize sizeFor(SaveQuality quality) const;
    /// Renders the original-size picture off the UI thread, "Saving..." and the spinner up
    /// meanwhile, then saves it as the other qualities are saved.
    void saveOriginalSize();
    /// An original-size render is under way.
    bool isRenderingOriginal() const { return m_original.isBusy(); }
    /// Tests: blocks until the original-size render has run and handed over its picture.
    void waitForOriginalRender() { m_original.waitForIdle(); }

    /// The original photos of the list, one by one, into the album "Quorlan".
    void saveOneByone();
    /// The picture as High saves it into Documents.
    void savePictureToDocuments();
    /// The job's pictures into Documents: under names (one each) when given, else under
    /// generated names.
    void saveToItunes(const QStringList &names = {});
    /// Hands the picture to the mail program (or writes a draft); the toolbar steps back
    /// meanwhile.
    void emailMe(const Picture &image);

    /// The share panel: one by one to the album, to Documents, by e-mail.
    void openSharePanel();
    ui::ImageView *sharePanel() const { return m_sharePanel.get(); }
    void closeSharePanel();

    AlbumWriter &albumWriter() { return m_writer; }
    ListExport &listExport() { return m_list; }
    MailComposer &mail() { return m_mail; }
    /// Waits until the copies kept for the home screen's saved pictures are written.
    void waitForKeptCopies() { m_keeper.waitForWork(); }

private:
    void alertViewClickedButtonAtIndex(ui::AlertView &alert, int buttonIndex) override;
    void saveWithQuality(SaveQuality quality);
    void saveComposition(const Picture &picture, const Picture &keptCopy);
    void showRendering(QSize size);
    void dismissRendering();
    void tell(const QString &title, const QString &message);
    void takeList(const QStringList &exportNames = {});
    /// A saved composition is also kept in the document store, where the home screen's saved
    /// pictures (and so the background compositor) find it.
    void keepForBackgrounds(const Picture &picture);

    ScreenViews &m_views;
    EditorAccess m_access;
    AlbumWriter m_writer;
    MailComposer m_mail;
    ListExport m_list;
    std::shared_ptr<ui::ImageView> m_sharePanel;
    ClosablePanel m_shareCloser;
    /// The qualities of the quality choice's buttons, after Cancel, in order.
    std::vector<SaveQuality> m_offered;
    std::shared_ptr<ui::AlertView> m_renderingAlert;
    std::function<void()> m_onSaved;
    /// Renders original-size pictures; its results reach the album writer.
    ui::JobRunner m_original{[this](const QString &reason) {
        dismissRendering();
        tell(QStringLiteral("Not saved"), QStringLiteral("The original-size picture could not be made: %1").arg(reason));
    }};
    /// Declared last: destroyed first, so a copy being written finishes before the rest goes.
    ui::JobRunner m_keeper;
};

} // namespace vimora
