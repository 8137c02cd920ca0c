#pragma once

// Saving and sharing the finished picture: the quality choice and the album save, the share
// panel with the one-by-one export, the document export and e-mail.

#include <functional>
#include <memory>

#include <QStringList>

#include "editor/list_export.h"
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
    High, ///< the photo's full pixel size
    Medium ///< half of it
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
    };

    /// mailProgram: the hand-over command for e-mail (tests stand one in).
    Saving(ScreenViews &views, EditorAccess access, QString mailProgram = QStringLiteral("xdg-email"));
    ~Saving() override;

    /// Writes the picture into the album "Quorlan"; the user is told once the write is done.
    /// saved runs once the picture is in the album (not after a failed write).
    void saveToAlbum(const Picture &image, std::function<void()> saved = {});
    /// The quality choice: "Cancel", "High", "Medium", and "Share..." for the share panel.
    void askMessage();
    /// The picture a quality gives: the photo view with all laid on it, at full or half size.
    Picture capture(SaveQuality quality);

    void saveOneByone();
    /// The job's pictures into Documents: under names (one each) when given, else under
    /// generated names.
    void saveToItunes(const QStringList &names = {});
    /// Hands the picture to the mail program (or writes a draft); the toolbar steps back
    /// meanwhile.
    void emailMe(const Picture &image);

    /// The share panel: one by one to the album, to Documents, by e-mail.
    void openSharePanel();
    ui::ImageView *sharePanel() const { return m_sharePanel.get(); }

    AlbumWriter &albumWriter() { return m_writer; }
    ListExport &listExport() { return m_list; }
    MailComposer &mail() { return m_mail; }
    /// Waits until the copies kept for the home screen's saved pictures are written.
    void waitForKeptCopies() { m_keeper.waitForWork(); }

private:
    void alertViewClickedButtonAtIndex(ui::AlertView &alert, int buttonIndex) override;
    void saveWithQuality(SaveQuality quality);
    void tell(const QString &title, const QString &message);
    void takeList(const QStringList &exportNames = {});
    void closeSharePanel();
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
    /// Declared last: destroyed first, so a copy being written finishes before the rest goes.
    ui::JobRunner m_keeper;
};

} // namespace vimora
