#include "ui/entry_theme.h"

#include <QLinearGradient>

namespace vimora::ui {

namespace {

// A bar's sheen: lighter upper half, a step at the middle, darker lower half.
QBrush gloss(const QColor &top, const QColor &mid, const QColor &bottom)
{
    QLinearGradient g(0, 0, 0, 1);
    g.setCoordinateMode(QGradient::ObjectMode);
    g.setColorAt(0, top);
    g.setColorAt(0.5, mid);
    g.setColorAt(0.51, mid.darker(108));
    g.setColorAt(1, bottom);
    return QBrush(g);
}

QPen line(const QColor &color, double width = 1)
{
    QPen pen(color, width);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

} // namespace

ThemeStyle entryControlStyle(ThemeElement element, ControlState state)
{
    const bool highlighted = state & ControlStateHighlighted;
    const bool disabled = state & ControlStateDisabled;
    ThemeStyle s;
    switch (element) {
    case ThemeElement::TextField:
        s.brush = disabled ? QColor(236, 237, 240) : QColor(Qt::white);
        s.pen = line(QColor(160, 164, 172));
        s.radius = 7;
        s.padding = {0, 8, 0, 8};
        s.font = Theme::systemFont(17);
        s.textColor = disabled ? QColor(150, 150, 150) : QColor(Qt::black);
        break;
    case ThemeElement::TextFieldPlaceholder:
        s.textColor = QColor(178, 178, 178);
        break;
    case ThemeElement::TextView:
        s.brush = QColor(Qt::white);
        s.font = Theme::systemFont(17);
        s.textColor = Qt::black;
        s.padding = {8, 5, 8, 5};
        break;
    case ThemeElement::TextCaret:
        s.pen = QPen(QColor(66, 107, 242), 2);
        s.size = QSizeF(2, 0);
        break;
    case ThemeElement::TextSelection:
        s.brush = QColor(186, 210, 245);
        break;
    case ThemeElement::TableCell:
        s.brush = QColor(Qt::white);
        s.font = Theme::systemFont(20, true);
        s.textColor = Qt::black;
        s.padding = {0, 10, 0, 10};
        s.size = QSizeF(10, 0);
        break;
    case ThemeElement::TableCellSelected:
        s.brush = verticalGradient(QColor(5, 140, 245), QColor(1, 93, 230));
        s.textColor = Qt::white;
        break;
    case ThemeElement::TableCellDetail:
        s.font = Theme::systemFont(15);
        s.textColor = QColor(128, 128, 128);
        break;
    case ThemeElement::TableSeparator:
        s.pen = QPen(QColor(224, 224, 224), 1);
        break;
    case ThemeElement::TableAccessory:
        s.pen = line(highlighted ? QColor(Qt::white) : QColor(128, 128, 128), 3);
        s.size = QSizeF(8, 13);
        break;
    case ThemeElement::SearchBar:
        s.brush = verticalGradient(QColor(201, 210, 220), QColor(160, 174, 190));
        s.pen = QPen(QColor(126, 138, 153), 1);
        s.padding = {8, 8, 8, 8};
        s.size = QSizeF(0, 44);
        break;
    case ThemeElement::SearchField:
        s.brush = QColor(Qt::white);
        s.pen = line(QColor(118, 128, 142));
        s.radius = 15;
        s.font = Theme::systemFont(14);
        s.textColor = Qt::black;
        s.padding = {0, 28, 0, 10};
        break;
    case ThemeElement::SearchIcon:
        s.pen = line(QColor(140, 140, 140), 2);
        s.size = QSizeF(13, 13);
        break;
    case ThemeElement::PopoverPanel:
        s.brush = gloss(QColor(70, 84, 108), QColor(32, 43, 62), QColor(16, 24, 38));
        s.pen = line(QColor(0, 0, 0, 190));
        s.radius = 9;
        s.padding = {8, 8, 8, 8};
        s.size = QSizeF(36, 18);
        s.shadowColor = QColor(0, 0, 0, 150);
        s.shadowOffset = QPointF(0, 4);
        break;
    case ThemeElement::NavigationBar:
    case ThemeElement::Toolbar:
    case ThemeElement::NavigationBarBlack:
    case ThemeElement::ToolbarBlack: {
        // The black bars differ only in their colours.
        const bool black = element == ThemeElement::NavigationBarBlack || element == ThemeElement::ToolbarBlack;
        s.brush = black ? gloss(QColor(72, 72, 72), QColor(28, 28, 28), QColor(0, 0, 0))
                        : gloss(QColor(176, 188, 205), QColor(142, 158, 182), QColor(109, 132, 162));
        s.pen = QPen(black ? QColor(0, 0, 0) : QColor(45, 55, 72), 1);
        s.size = QSizeF(0, 44);
        s.font = Theme::systemFont(20, true);
        s.textColor = Qt::white;
        s.shadowColor = QColor(0, 0, 0, 128);
        s.shadowOffset = QPointF(0, -1);
        break;
    }
    case ThemeElement::NavigationPrompt:
        s.font = Theme::systemFont(13);
        s.textColor = Qt::white;
        s.shadowColor = QColor(0, 0, 0, 128);
        s.shadowOffset = QPointF(0, -1);
        s.size = QSizeF(0, 30);
        break;
    case ThemeElement::BarButton:
    case ThemeElement::BarButtonDone: {
        const bool done = element == ThemeElement::BarButtonDone;
        if (done)
            s.brush = highlighted ? gloss(QColor(40, 90, 190), QColor(20, 60, 160), QColor(10, 45, 140))
                                  : gloss(QColor(110, 160, 240), QColor(50, 110, 225), QColor(30, 85, 205));
        else
            s.brush = highlighted ? gloss(QColor(0, 0, 0, 60), QColor(0, 0, 0, 90), QColor(0, 0, 0, 120))
                                  : gloss(QColor(255, 255, 255, 80), QColor(255, 255, 255, 30), QColor(0, 0, 0, 40));
        s.pen = line(QColor(0, 0, 0, 130));
        s.radius = 5;
        s.font = Theme::systemFont(12, true);
        s.textColor = disabled ? QColor(255, 255, 255, 110) : QColor(Qt::white);
        s.shadowColor = QColor(0, 0, 0, 110);
        s.shadowOffset = QPointF(0, -1);
        s.padding = {0, 10, 0, 10};
        s.size = QSizeF(0, 30);
        break;
    }
    case ThemeElement::BarButtonPlain:
        s.brush = highlighted ? QBrush(QColor(255, 255, 255, 70)) : QBrush(Qt::NoBrush);
        s.radius = 5;
        s.font = Theme::systemFont(15, true);
        s.textColor = disabled ? QColor(255, 255, 255, 110) : QColor(Qt::white);
        s.shadowColor = QColor(0, 0, 0, 110);
        s.shadowOffset = QPointF(0, -1);
        s.padding = {0, 8, 0, 8};
        s.size = QSizeF(0, 30);
        break;
    default:
        break;
    }
    return s;
}

} // namespace vimora::ui
