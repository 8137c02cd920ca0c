#pragma once

// The text tips: a picture with "OK" and "Never show this"; the latter is
// remembered under the user default "Never2".

#include "text/word_table_views.h"

namespace vimora::text {

inline const char *const kNeverKey = "Never2";
inline const char *const kNeverValue = "never";

class TipsPanel {
public:
    explicit TipsPanel(WordTableViews views);

    /// selectTopViewRebuild.
    void show();
    /// drawAreaBegin.
    void hide();
    /// neverShow: stores the choice and hides the panel.
    void neverShow();
    /// Whether the user asked never to see the tips again.
    static bool isDeclined();
    bool isShown() const { return m_shown; }

private:
    WordTableViews m_views;
    bool m_shown = false;
};

} // namespace vimora::text
