#pragma once

// The text box the user types into, its placeholder, the bar behind it with
// "Done" and "Font", and the one render of its text that becomes a layer.

#include <functional>
#include <memory>
#include <vector>

#include "imaging/picture.h"
#include "text/word_table_views.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/text_view.h"

namespace vimora::text {

class TextEntryBox : public ui::TextViewDelegate {
public:
    TextEntryBox(WordTableViews views, std::function<void()> done, std::function<void()> chooseFont);
    ~TextEntryBox() override;

    /// One more button on the bar, shown and hidden with "Done" and "Font".
    void addBarButton(std::shared_ptr<ui::Button> button, const QRectF &tabletFrame, const QRectF &phoneFrame);

    /// A new, empty box in the chosen font with its bar, on top of the screen.
    void open();
    /// The box's font becomes the named family at 36 points; the bar comes to the
    /// front.
    void setFontName(const QString &fontName);
    /// Takes the keyboard away, hides the border and the bar's buttons.
    void finishTyping();
    /// Hides the box and its bar.
    void close();
    /// Renders the box's text in red at 90 points into a transparent picture of
    /// the box's enlarged size (its height cut at kMaxRenderHeight).
    Picture screenShotTextView(const QString &fontName);
    /// The frame the last render was made in (the enlarged bar).
    QRectF renderFrame() const;

    ui::TextView &noteTextView() { return *m_box; }
    ui::ImageView &textBack() { return *m_textBack; }
    ui::Label &placeHolder() { return *m_placeHolder; }
    ui::Button &doneBtn() { return *m_done; }
    ui::Button &fontBtn() { return *m_font; }
    bool isOpen() const;

    void textViewDidBeginEditing(ui::TextView &textView) override;
    void textViewDidEndEditing(ui::TextView &textView) override;

private:
    WordTableViews m_views;
    std::shared_ptr<ui::ImageView> m_textBack;
    std::shared_ptr<ui::TextView> m_box;
    std::shared_ptr<ui::Label> m_placeHolder;
    std::shared_ptr<ui::Button> m_done;
    std::shared_ptr<ui::Button> m_font;
    struct BarButton {
        std::shared_ptr<ui::Button> button;
        QRectF tabletFrame, phoneFrame;
    };
    std::vector<BarButton> m_barButtons;
};

} // namespace vimora::text
