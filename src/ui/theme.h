#pragma once

// The look of the built-in controls, looked up by element and state so no control
// hard-codes a colour, radius or font. A screen that wants another look installs its own
// Theme (derive and override style()).

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPen>
#include <QPointF>
#include <QSizeF>

#include "ui/control_state.h"
#include "ui/geometry.h"

namespace vimora::ui {

enum class ThemeElement {
    Label,                // default text colour and font; brush: default background
    ButtonTitle,          // a custom button's title: colour, font, shadow
    RoundedButton,        // the rounded-rectangle button: fill, outline, radius, title colour
    SliderMinimumTrack,   // track left of the thumb: fill, outline, size.height = thickness
    SliderMaximumTrack,   // track right of the thumb
    SliderThumb,          // size, fill, outline, shadow colour and offset
    SwitchTrackOn,        // fill, outline, radius; textColor and font for the "ON" caption
    SwitchTrackOff,       // the same for "OFF"
    SwitchKnob,           // fill, outline
    ActivityIndicatorWhite, // spoke colour (pen), size = drawn size of the large style
    ActivityIndicatorGray,
    ScrollIndicator,      // fill, radius, size.width = thickness, padding = inset from edges
    ModalDimming,         // brush over everything behind a modal view
    AlertPanel,           // fill (gradient), outline, radius, padding around the content
    AlertTitle,           // colour, font, shadow
    AlertMessage,
    AlertButton,          // fill, outline, radius, title colour and font, size.height
    AlertCancelButton,
    // Text entry, tables, search, popovers and bars (their values live in entry_theme.cpp).
    TextField,            // rounded border: fill, outline, radius; padding = text inset; font, textColor
    TextFieldPlaceholder, // textColor of the placeholder
    TextView,             // brush = default background; font, textColor; padding = text inset
    TextCaret,            // pen colour; size.width = thickness
    TextSelection,        // brush behind selected text
    TableCell,            // brush = background; font, textColor of the text; padding = content
                          // insets; size.width = gap between picture and text
    TableCellSelected,    // brush = selected background; textColor of selected text
    TableCellDetail,      // font and textColor of the detail text
    TableSeparator,       // pen of the line under each row
    TableAccessory,       // pen of the disclosure chevron and checkmark; size = chevron size
    SearchBar,            // brush = bar background, pen = bottom line, padding around the field
    SearchField,          // fill, outline, radius, font, textColor; padding = text inset
    SearchIcon,           // pen of the magnifier; size = its size
    PopoverPanel,         // fill, outline, radius; padding = frame around the content;
                          // size = arrow base × arrow height; shadow colour and offset
    NavigationBar,        // fill, bottom line (pen), size.height; title font, colour and shadow
    NavigationBarBlack,
    NavigationPrompt,     // prompt text font and colour
    Toolbar,              // fill, top line (pen), size.height
    ToolbarBlack,
    BarButton,            // bordered bar item: fill, outline, radius; title font, colour and
                          // shadow; padding = title inset; size.height
    BarButtonDone,
    BarButtonPlain,       // borderless bar item (brush only while highlighted)
};

struct ThemeStyle
{
    QPen pen = Qt::NoPen;
    QBrush brush = Qt::NoBrush;
    QColor textColor = Qt::black;
    QColor shadowColor = Qt::transparent;
    QPointF shadowOffset;
    QFont font;
    double radius = 0;
    EdgeInsets padding;
    QSizeF size{0, 0};
};

class Theme
{
public:
    virtual ~Theme() = default;

    /// Pens, brushes, radii, padding and fonts for an element in a control state.
    /// Gradient brushes use object-bounding-box coordinates (0..1 over the shape drawn).
    virtual ThemeStyle style(ThemeElement element, ControlState state = ControlStateNormal) const;

    /// The system font at a size in points (pixel-sized, so a point is one unit of the view
    /// coordinate system whatever the screen's dots per inch).
    static QFont systemFont(double size, bool bold = false);

    static const Theme &current();
    /// Installs a theme (nullptr: the standard one); the caller keeps it alive.
    static void setCurrent(const Theme *theme);
};

} // namespace vimora::ui
