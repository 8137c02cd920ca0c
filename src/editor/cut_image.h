#pragma once

// The cut-out editor: an editing job on a list of photos, the photo view, the crop rectangle
// and the cut, the placement gestures and the options panel.

#include <memory>

#include <QStringList>

#include "widgets/screen_views.h"

namespace vimora {

class CutImage
{
public:
    explicit CutImage(std::shared_ptr<ScreenViews> views);
    ~CutImage();
    CutImage(const CutImage &) = delete;
    CutImage &operator=(const CutImage &) = delete;

    /// Loading: reads the built-in image lists.
    void awakeFromNib();

    /// Starts an editing job on photo files named relative to the temporary directory;
    /// the thumbnail list is not used.
    void getNumOfArray(const QStringList &photoNames, const QStringList &thumbNames);

    /// Relayout after the device turned to landscape / portrait.
    void rotateW();
    void rotateH();

    /// The controller's own view (inside the editor layer).
    ui::ViewPtr view() const;

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace vimora
