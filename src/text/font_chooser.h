#pragma once

// The font chooser: one "A" per entry of the word list, drawn in that entry's
// family, four to a row in a scrolling panel. A button's tag is its entry's
// index.

#include <functional>

#include <QStringList>

#include "text/word_table_views.h"

namespace vimora::text {

class FontChooser {
public:
    FontChooser(WordTableViews views, std::function<void(int index)> chosen);

    /// fontViewOpen: fills the panel with the fonts of entries and shows it.
    void open(const QStringList &entries);
    void close();

private:
    WordTableViews m_views;
    std::function<void(int)> m_chosen;
};

} // namespace vimora::text
