#include "ui/theme.h"

#include <cmath>

#include <QLinearGradient>

#include "ui/entry_theme.h"

namespace vimora::ui {

namespace {
const Theme *g_theme = nullptr;

QBrush glossGradient(const QColor &top, const QColor &mid, const QColor &bottom)
{
    QLinearGradient g(0, 0, 0, 1);
    g.setCoordinateMode(QGradient::ObjectMode);
    g.setColorAt(0, top);
    g.setColorAt(0.5, mid);
    g.setColorAt(0.51, mid.darker(112));
    g.setColorAt(1, bottom);
    return QBrush(g);
}

QPen outline(const QColor &color, double width = 1)
{
    QPen pen(color, width);
    pen.setCosmetic(false);
    return pen;
}
} // namespace

QBrush verticalGradient(const QColor &top, const QColor &bottom)
{
    QLinearGradient g(0, 0, 0, 1);
    g.setCoordinateMode(QGradient::ObjectMode);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return QBrush(g);
}

QFont Theme::systemFont(double size, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, int(std::lround(size))));
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

const Theme &Theme::current()
{
    static const Theme standard;
    return g_theme ? *g_theme : standard;
}

void Theme::setCurrent(const Theme *theme)
{
    g_theme = theme;
}

ThemeStyle Theme::style(ThemeElement element, ControlState state) const
{
    const bool highlighted = state & ControlStateHighlighted;
    const bool disabled = state & ControlStateDisabled;
    ThemeStyle s;
    switch (element) {
    case ThemeElement::Label:
        s.textColor = Qt::black;
        s.font = systemFont(17);
        s.brush = QColor(Qt::white);
        break;
    case ThemeElement::ButtonTitle:
        s.textColor = disabled ? QColor(255, 255, 255, 128) : QColor(Qt::white);
        s.font = systemFont(15, true);
        break;
    case ThemeElement::RoundedButton:
        s.brush = highlighted ? glossGradient(QColor(5, 140, 245), QColor(1, 95, 230), QColor(1, 93, 230))
                              : verticalGradient(QColor(255, 255, 255), QColor(236, 238, 242));
        s.pen = outline(QColor(150, 156, 168));
        s.radius = 9;
        s.textColor = highlighted ? QColor(Qt::white) : disabled ? QColor(140, 150, 170) : QColor(50, 79, 133);
        s.font = systemFont(15, true);
        s.padding = {6, 12, 6, 12};
        break;
    case ThemeElement::SliderMinimumTrack:
        s.brush = verticalGradient(QColor(66, 134, 232), QColor(22, 92, 204));
        s.pen = outline(QColor(15, 60, 140, 180));
        s.size = QSizeF(0, 9);
        s.radius = 4.5;
        break;
    case ThemeElement::SliderMaximumTrack:
        s.brush = verticalGradient(QColor(200, 203, 210), QColor(246, 247, 249));
        s.pen = outline(QColor(120, 125, 135, 200));
        s.size = QSizeF(0, 9);
        s.radius = 4.5;
        break;
    case ThemeElement::SliderThumb:
        s.brush = highlighted ? verticalGradient(QColor(225, 228, 235), QColor(190, 195, 205))
                              : verticalGradient(QColor(255, 255, 255), QColor(214, 218, 226));
        s.pen = outline(QColor(110, 115, 125));
        s.size = QSizeF(24, 24);
        s.shadowColor = QColor(0, 0, 0, 90);
        s.shadowOffset = QPointF(0, 1.5);
        break;
    case ThemeElement::SwitchTrackOn:
        s.brush = verticalGradient(QColor(0, 105, 220), QColor(55, 150, 245));
        s.pen = outline(QColor(20, 70, 150));
        s.textColor = Qt::white;
        s.font = systemFont(16, true);
        s.radius = 13.5;
        break;
    case ThemeElement::SwitchTrackOff:
        s.brush = verticalGradient(QColor(225, 225, 225), QColor(253, 253, 253));
        s.pen = outline(QColor(150, 150, 150));
        s.textColor = QColor(127, 127, 127);
        s.font = systemFont(16, true);
        s.radius = 13.5;
        break;
    case ThemeElement::SwitchKnob:
        s.brush = highlighted ? verticalGradient(QColor(220, 220, 220), QColor(200, 200, 200))
                              : verticalGradient(QColor(252, 252, 252), QColor(215, 215, 215));
        s.pen = outline(QColor(140, 140, 140));
        s.shadowColor = QColor(0, 0, 0, 70);
        s.shadowOffset = QPointF(0, 1);
        break;
    case ThemeElement::ActivityIndicatorWhite:
        s.pen = QPen(QColor(Qt::white));
        s.size = QSizeF(37, 37);
        break;
    case ThemeElement::ActivityIndicatorGray:
        s.pen = QPen(QColor(128, 128, 128));
        s.size = QSizeF(20, 20);
        break;
    case ThemeElement::ScrollIndicator:
        s.brush = QColor(0, 0, 0, 115);
        s.pen = QPen(QColor(255, 255, 255, 90), 1);
        s.size = QSizeF(7, 7);
        s.radius = 3.5;
        s.padding = {2, 2, 2, 2};
        break;
    case ThemeElement::ModalDimming:
        s.brush = QColor(0, 0, 0, 102);
        break;
    case ThemeElement::AlertPanel:
        s.brush = glossGradient(QColor(85, 110, 160, 235), QColor(23, 45, 105, 235), QColor(8, 25, 75, 235));
        s.pen = outline(QColor(235, 238, 245), 2);
        s.radius = 10;
        s.padding = {16, 12, 14, 12};
        break;
    case ThemeElement::AlertTitle:
        s.textColor = Qt::white;
        s.font = systemFont(18, true);
        s.shadowColor = QColor(0, 0, 0, 128);
        s.shadowOffset = QPointF(0, -1);
        break;
    case ThemeElement::AlertMessage:
        s.textColor = Qt::white;
        s.font = systemFont(16);
        s.shadowColor = QColor(0, 0, 0, 128);
        s.shadowOffset = QPointF(0, -1);
        break;
    case ThemeElement::AlertButton:
    case ThemeElement::AlertCancelButton: {
        const bool cancel = element == ThemeElement::AlertCancelButton;
        const QColor top = cancel ? QColor(150, 160, 185, 220) : QColor(170, 185, 215, 220);
        const QColor mid = cancel ? QColor(70, 85, 120, 220) : QColor(95, 115, 160, 220);
        const QColor bottom = cancel ? QColor(45, 60, 95, 220) : QColor(70, 90, 140, 220);
        s.brush = highlighted ? glossGradient(mid.darker(140), bottom.darker(140), bottom.darker(160))
                              : glossGradient(top, mid, bottom);
        s.pen = outline(QColor(20, 30, 60, 200));
        s.radius = 7;
        s.textColor = Qt::white;
        s.font = systemFont(17, true);
        s.shadowColor = QColor(0, 0, 0, 128);
        s.shadowOffset = QPointF(0, -1);
        s.size = QSizeF(0, 43);
        break;
    }
    case ThemeElement::TextField:
    case ThemeElement::TextFieldPlaceholder:
    case ThemeElement::TextView:
    case ThemeElement::TextCaret:
    case ThemeElement::TextSelection:
    case ThemeElement::TableCell:
    case ThemeElement::TableCellSelected:
    case ThemeElement::TableCellDetail:
    case ThemeElement::TableSeparator:
    case ThemeElement::TableAccessory:
    case ThemeElement::SearchBar:
    case ThemeElement::SearchField:
    case ThemeElement::SearchIcon:
    case ThemeElement::PopoverPanel:
    case ThemeElement::NavigationBar:
    case ThemeElement::NavigationBarBlack:
    case ThemeElement::NavigationPrompt:
    case ThemeElement::Toolbar:
    case ThemeElement::ToolbarBlack:
    case ThemeElement::BarButton:
    case ThemeElement::BarButtonDone:
    case ThemeElement::BarButtonPlain:
        s = entryControlStyle(element, state);
        break;
    }
    return s;
}

} // namespace vimora::ui
