#pragma once

// The option bar over a saved picture loaded as the background: "Save To Album", "Delete"
// (after "Sure to delete this photo?") and "Exit", and leaving the compositor.

#include <functional>
#include <memory>

#include <QString>

#include "ui/alert_view.h"

namespace vimora {

struct ScreenViews;
class CompositorLayers;

class OptionBar : public ui::AlertViewDelegate
{
public:
    static constexpr int kCancelIndex = 0;
    static constexpr int kYesIndex = 1;

    using Tell = std::function<void(const QString &title, const QString &message)>;
    /// saveToAlbum: saves the "word.png" picture; left: runs after the compositor was left.
    OptionBar(ScreenViews &views, CompositorLayers &layers, std::function<void()> saveToAlbum, Tell tell);
    ~OptionBar() override;

    void openOptionView(const QString &name);
    void saveToAlbumToCut();
    void sureToDelete();
    void alertViewClickedButtonAtIndex(ui::AlertView &alert, int buttonIndex) override;
    /// Leaves the compositor for the home picture.
    void exitAct();

    void setLeft(std::function<void()> left) { m_left = std::move(left); }
    QString photoName() const { return m_photoName; }
    /// The deletion question while it is up.
    ui::AlertView *deleteQuestion() const { return m_question.get(); }

private:
    ScreenViews &m_views;
    CompositorLayers &m_layers;
    std::function<void()> m_saveToAlbum;
    Tell m_tell;
    std::function<void()> m_left;
    QString m_photoName;
    std::shared_ptr<ui::AlertView> m_question;
};

} // namespace vimora
