#pragma once

// Replacing the job's photo: from the album through the photo picker, or with a built-in
// image from the panel of thumbnails. The new photo becomes Origin and opens the
// photo-backdrop options panel.

#include <functional>
#include <memory>

#include <QStringList>

#include "editor/panel_parts.h"
#include "ui/alert_view.h"
#include "ui/button.h"

namespace vimora {

class CutImage;
struct ScreenViews;

class PhotoReplacement
{
public:
    PhotoReplacement(CutImage &editor, ScreenViews &views);

    /// Reads the built-in image lists: full-size images and their thumbnails, index for index.
    void loadBuiltInImages();

    void toAlbumiPad();
    void changeFoto();
    void imagePickerDidFinishPickingImage(const Picture &picked);
    void imagePickerControllerDidCancel();
    void popoverControllerDidDismissPopover();
    /// The built-in image panel; its buttons carry their index in the lists.
    void prepareToCut2();
    void excuteThePrepare(int tag);

    /// The button on the editor view that opens the built-in image panel.
    void addReplacePhotoButton();
    void removeReplacePhotoButton();
    /// The question before replacing goes unanswered: its screen was left.
    void withdrawQuestion() { m_question.withdraw(); }

private:
    /// Runs replace at once, or after the user agreed to lose the cut piece.
    void confirmReplacement(std::function<void()> replace);
    void replaceOrigin(const Picture &working);

    CutImage &m_editor;
    ScreenViews &m_views;
    QStringList m_builtInImages;
    QStringList m_builtInThumbnails;
    std::shared_ptr<ui::Button> m_replaceButton;
    ClosablePanel m_builtInPanel;
    Confirmation m_question;
};

} // namespace vimora
