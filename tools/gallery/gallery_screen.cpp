#include "gallery_screen.h"

#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "gallery_art.h"
#include "ui/activity_indicator.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/label.h"
#include "ui/long_press_recognizer.h"
#include "ui/pan_recognizer.h"
#include "ui/pinch_recognizer.h"
#include "ui/scroll_view.h"
#include "ui/slider.h"
#include "ui/switch.h"
#include "ui/tap_recognizer.h"
#include "ui/theme.h"
#include "ui/timer.h"
#include "ui/transition.h"

using namespace vimora::ui;

namespace vimora::gallery {

namespace {

constexpr double kMargin = 14;
constexpr double kCardGap = 14;
constexpr double kCardTitleHeight = 30;
const QColor kInk(235, 240, 248);
const QColor kMutedInk(170, 182, 200);

std::shared_ptr<Label> makeLabel(const QRectF &frame, const QString &text, double size = 14, bool bold = false,
                                 QColor color = kInk)
{
    auto label = std::make_shared<Label>(frame, text);
    label->setBackgroundColor(Qt::transparent);
    label->setTextColor(color);
    label->setFont(Theme::systemFont(size, bold));
    return label;
}

// A background that is a custom-drawn view: a soft vertical gradient.
class Backdrop : public View
{
public:
    using View::View;

protected:
    void drawContent(QPainter &painter) const override
    {
        QLinearGradient g(0, 0, 0, bounds().height());
        g.setColorAt(0, QColor(38, 48, 66));
        g.setColorAt(1, QColor(16, 20, 30));
        painter.fillRect(bounds(), g);
    }
    bool drawsContent() const override { return true; }
};

} // namespace

GalleryScreen::GalleryScreen()
    : m_root(std::make_shared<ScrollView>())
{
    m_root->setBackgroundColor(QColor(16, 20, 30));
    m_root->setShowsHorizontalScrollIndicator(false);
}

GalleryScreen::~GalleryScreen()
{
    if (m_processingTimer)
        m_processingTimer->invalidate();
}

ViewPtr GalleryScreen::rootView() const
{
    return m_root;
}

ViewPtr GalleryScreen::card(const QString &title, double height)
{
    QPointF &origin = m_columns[m_nextColumn];
    auto c = std::make_shared<View>(QRectF(origin, QSizeF(m_cardWidth, height)));
    c->setBackgroundColor(QColor(255, 255, 255, 18));
    c->setCornerRadius(12);
    c->setBorderWidth(1);
    c->setBorderColor(QColor(255, 255, 255, 45));
    c->addSubview(makeLabel(QRectF(14, 6, m_cardWidth - 28, 24), title.toUpper(), 12, true, kMutedInk));
    m_root->addSubview(c);
    origin.ry() += height + kCardGap;
    if (m_twoColumns)
        m_nextColumn = m_columns[0].y() <= m_columns[1].y() ? 0 : 1;
    return c;
}

void GalleryScreen::build(QSizeF screen)
{
    m_root->removeAllSubviews();
    m_root->setContentOffset(QPointF(0, 0));
    m_twoColumns = screen.width() >= 700;
    m_cardWidth = m_twoColumns ? (screen.width() - 2 * kMargin - kCardGap) / 2 : screen.width() - 2 * kMargin;
    const double top = 58;
    m_columns = {QPointF(kMargin, top)};
    if (m_twoColumns)
        m_columns.push_back(QPointF(kMargin + m_cardWidth + kCardGap, top));
    m_nextColumn = 0;

    auto backdrop = std::make_shared<Backdrop>(QRectF(0, 0, screen.width(), screen.height()));
    backdrop->setAutoresizingMask(FlexibleWidth | FlexibleHeight);
    m_root->addSubview(backdrop);
    auto title = makeLabel(QRectF(kMargin, 12, screen.width() - 2 * kMargin, 36), QStringLiteral("Vimora view toolkit"),
                           24, true);
    title->setShadowColor(QColor(0, 0, 0, 160));
    title->setShadowOffset(QPointF(0, 2));
    m_root->addSubview(title);

    // Tablet order fills the left column with controls, the right with the tree and effects.
    if (m_twoColumns) {
        buildButtons(*card(QStringLiteral("Buttons"), 176));
        m_nextColumn = 0;
        buildSliders(*card(QStringLiteral("Sliders and switches"), 236));
        m_nextColumn = 0;
        buildLabels(*card(QStringLiteral("Labels"), 176));
        m_nextColumn = 0;
        buildScrolling(*card(QStringLiteral("Scroll view and spinners"), 196));
        m_nextColumn = 1;
        buildTree(*card(QStringLiteral("Transformed, clipped tree"), 330));
        m_nextColumn = 1;
        buildTransitions(*card(QStringLiteral("Transitions"), 316));
        m_nextColumn = 1;
        buildAlerts(*card(QStringLiteral("Alerts"), 118));
    } else {
        buildButtons(*card(QStringLiteral("Buttons"), 176));
        buildSliders(*card(QStringLiteral("Sliders and switches"), 268));
        buildTree(*card(QStringLiteral("Transformed, clipped tree"), 300));
        buildTransitions(*card(QStringLiteral("Transitions"), 300));
        buildLabels(*card(QStringLiteral("Labels"), 176));
        buildScrolling(*card(QStringLiteral("Scroll view and spinners"), 196));
        buildAlerts(*card(QStringLiteral("Alerts"), 118));
    }

    double bottom = 0;
    for (const QPointF &c : m_columns)
        bottom = std::max(bottom, c.y());
    m_status = makeLabel(QRectF(kMargin, bottom, screen.width() - 2 * kMargin, 26),
                         QStringLiteral("Touch anything: events show here."), 13, false, kMutedInk);
    m_status->setTextAlignment(TextAlignment::Center);
    m_root->addSubview(m_status);
    const double contentHeight = std::max(screen.height(), bottom + 36);
    m_root->setContentSize(QSizeF(screen.width(), contentHeight));
    backdrop->setFrame(QRectF(0, 0, screen.width(), contentHeight));
}

void GalleryScreen::setStatus(const QString &text)
{
    if (m_status)
        m_status->setText(text);
}

void GalleryScreen::buildButtons(View &c)
{
    const double w = c.bounds().width();
    const double col = (w - 28 - 20) / 3;
    auto place = [&](int index, int row) { return QRectF(14 + index * (col + 10), 40 + row * 64, col, 46); };

    auto next = std::make_shared<Button>(place(0, 0));
    next->setBackgroundImage(StretchableImage::resizable(glossyPill(60, 40, QColor(40, 120, 220)), EdgeInsets{0, 20, 0, 20}, StretchableImage::ResizingMode::Stretch));
    next->setTitle(QStringLiteral("Next"));
    next->setTitleShadowColor(QColor(0, 0, 0, 150));
    next->setTitleShadowOffset(QPointF(0, -1));
    next->setReversesTitleShadowWhenHighlighted(true);
    next->addAction(ControlEventTouchUpInside, [this](Control &) { setStatus(QStringLiteral("\"Next\": touch up inside")); });
    next->addAction(ControlEventTouchUpOutside, [this](Control &) { setStatus(QStringLiteral("\"Next\": touch up outside")); });
    c.addSubview(next);

    auto rounded = std::make_shared<Button>(place(1, 0), Button::Type::RoundedRect);
    rounded->setTitle(QStringLiteral("Rounded"));
    rounded->addAction(ControlEventTouchUpInside, [this](Control &) { setStatus(QStringLiteral("Rounded button")); });
    c.addSubview(rounded);

    auto selectable = std::make_shared<Button>(place(2, 0));
    selectable->setBackgroundImage(StretchableImage::resizable(glossyPill(60, 40, QColor(120, 125, 135)), EdgeInsets{0, 20, 0, 20}, StretchableImage::ResizingMode::Stretch));
    selectable->setBackgroundImage(StretchableImage::resizable(glossyPill(60, 40, QColor(230, 140, 30)), EdgeInsets{0, 20, 0, 20}, StretchableImage::ResizingMode::Stretch),
                                   ControlStateSelected);
    selectable->setTitle(QStringLiteral("Select me"));
    selectable->setTitle(QStringLiteral("Selected"), ControlStateSelected);
    selectable->addAction(ControlEventTouchUpInside, [this](Control &b) {
        b.setSelected(!b.isSelected());
        setStatus(b.isSelected() ? QStringLiteral("Selected") : QStringLiteral("Not selected"));
    });
    c.addSubview(selectable);

    const double iconSize = m_twoColumns ? 30 : 22;
    auto iconButton = [&](const QRectF &frame, const QString &kind, QColor color, const QString &title) {
        auto b = std::make_shared<Button>(frame);
        b->setImage(icon(kind, iconSize, color));
        b->setTitle(title);
        if (!m_twoColumns)
            b->setFont(Theme::systemFont(12, true));
        b->setImageEdgeInsets(EdgeInsets{0, 0, 0, 4}); // 2 pt left: a gap of 4 between the two
        b->setTitleEdgeInsets(EdgeInsets{0, 4, 0, 0});
        return b;
    };
    auto blur = iconButton(place(0, 1), QStringLiteral("blur"), QColor(120, 200, 255), QStringLiteral("Blur"));
    blur->addAction(ControlEventTouchUpInside, [this](Control &) { setStatus(QStringLiteral("Blur")); });
    c.addSubview(blur);

    auto sharpen = iconButton(place(1, 1), QStringLiteral("sharpen"), QColor(255, 200, 90), QStringLiteral("Sharpen+"));
    sharpen->addAction(ControlEventTouchUpInside, [this](Control &) { setStatus(QStringLiteral("Sharpen+")); });
    c.addSubview(sharpen);

    auto disabled = iconButton(place(2, 1), QStringLiteral("star"), QColor(250, 220, 80), QStringLiteral("Disabled"));
    disabled->setEnabled(false);
    c.addSubview(disabled);
}

void GalleryScreen::buildSliders(View &c)
{
    const double w = c.bounds().width();
    const double sliderW = w - 28 - 110;

    auto alphaLabel = makeLabel(QRectF(14, 40, 110, 40), QStringLiteral("Alpha 0.75"));
    auto alpha = std::make_shared<Slider>(QRectF(124, 40, sliderW, 40));
    alpha->setValue(0.75);
    alpha->addAction(ControlEventValueChanged, [alphaLabel](Control &s) {
        alphaLabel->setText(QStringLiteral("Alpha %1").arg(static_cast<Slider &>(s).value(), 0, 'f', 2));
    });
    c.addSubview(alphaLabel);
    c.addSubview(alpha);

    auto hueLabel = makeLabel(QRectF(14, 84, 110, 40), QStringLiteral("Hue 0.0"));
    auto hue = std::make_shared<Slider>(QRectF(124, 84, sliderW, 40));
    hue->setMinimumValue(-2);
    hue->setMaximumValue(3);
    hue->setContinuous(false);
    hue->setMinimumTrackImage(StretchableImage::stretchable(sliderTrack(40, 10, QColor(240, 110, 60)), 10, 0));
    hue->setThumbImage(sliderThumb(28, QColor(240, 110, 60)));
    hue->setThumbImage(sliderThumb(28, QColor(255, 170, 90)), ControlStateHighlighted);
    hue->addAction(ControlEventValueChanged, [this, hueLabel](Control &s) {
        const double v = static_cast<Slider &>(s).value();
        hueLabel->setText(QStringLiteral("Hue %1").arg(v, 0, 'f', 1));
        setStatus(QStringLiteral("Hue slider fires on release: %1").arg(v, 0, 'f', 2));
    });
    c.addSubview(hueLabel);
    c.addSubview(hue);

    auto turnLabel = makeLabel(QRectF(14, 128, 110, 40), QStringLiteral("Rotation 0°"));
    auto turn = std::make_shared<Slider>(QRectF(124, 128, sliderW, 40));
    turn->setMinimumValue(-60);
    turn->setMaximumValue(60);
    turn->setMinimumTrackImage(StretchableImage::stretchable(sliderTrack(40, 10, QColor(70, 190, 120)), 10, 0));
    turn->setThumbImage(sliderThumb(28, QColor(70, 190, 120)));
    turn->addAction(ControlEventValueChanged, [turnLabel](Control &s) {
        const double v = static_cast<Slider &>(s).value();
        turnLabel->setText(QStringLiteral("Rotation %1°").arg(std::lround(v)));
        turnLabel->setTransform(AffineTransform::makeRotation(v * M_PI / 180 / 4));
    });
    c.addSubview(turnLabel);
    c.addSubview(turn);

    auto shadowSwitch = std::make_shared<Switch>(QRectF(14, 184, 79, 27));
    auto shadowLabel = makeLabel(QRectF(100, 184, 90, 27), QStringLiteral("Shadow"));
    shadowSwitch->setOn(true);
    shadowSwitch->addAction(ControlEventValueChanged, [this](Control &s) {
        setStatus(QStringLiteral("Shadow switch %1").arg(static_cast<Switch &>(s).isOn() ? "on" : "off"));
    });
    // Side by side where there is room, else one under the other.
    const QPointF second = m_twoColumns ? QPointF(w / 2 + 4, 184) : QPointF(14, 222);
    auto shatterSwitch = std::make_shared<Switch>(QRectF(second, QSizeF(79, 27)));
    auto shatterLabel = makeLabel(QRectF(second.x() + 86, second.y(), 110, 27), QStringLiteral("Shattering"));
    shatterSwitch->addAction(ControlEventValueChanged, [this](Control &s) {
        setStatus(QStringLiteral("Shattering switch %1").arg(static_cast<Switch &>(s).isOn() ? "on" : "off"));
    });
    c.addSubview(shadowSwitch);
    c.addSubview(shadowLabel);
    c.addSubview(shatterSwitch);
    c.addSubview(shatterLabel);
}

void GalleryScreen::buildLabels(View &c)
{
    const double w = c.bounds().width() - 28;
    auto left = makeLabel(QRectF(14, 38, w, 20), QStringLiteral("Left aligned"));
    auto centre = makeLabel(QRectF(14, 38, w, 20), QStringLiteral("Centred"));
    centre->setTextAlignment(TextAlignment::Center);
    centre->setBackgroundColor(Qt::transparent);
    auto right = makeLabel(QRectF(14, 38, w, 20), QStringLiteral("Right"));
    right->setTextAlignment(TextAlignment::Right);
    auto wrapped = makeLabel(QRectF(14, 62, w, 58),
                             QStringLiteral("Labels wrap at word boundaries over as many lines as you allow, and the "
                                            "last line is truncated when the text does not fit into the space given."),
                             13, false, kMutedInk);
    wrapped->setNumberOfLines(3);
    wrapped->setLineBreakMode(LineBreakMode::WordWrap);
    auto shadowed = makeLabel(QRectF(14, 124, w, 40), QStringLiteral("Shadowed 2 × 2"), 24, true, QColor(255, 210, 90));
    shadowed->setShadowColor(Qt::black);
    shadowed->setShadowOffset(QPointF(2, 2));
    auto white = std::make_shared<Label>(QRectF(w - 90, 130, 100, 28), QStringLiteral("Default"));
    white->setTextAlignment(TextAlignment::Center);
    white->setCornerRadius(6);
    for (const ViewPtr &v : std::vector<ViewPtr>{left, centre, right, wrapped, shadowed, white})
        c.addSubview(v);
}

void GalleryScreen::buildScrolling(View &c)
{
    const double w = c.bounds().width() - 28;
    auto strip = std::make_shared<ScrollView>(QRectF(14, 38, w, 78));
    strip->setBackgroundColor(QColor(0, 0, 0, 60));
    strip->setCornerRadius(8);
    const int tiles = 14;
    for (int i = 0; i < tiles; ++i) {
        auto t = std::make_shared<ImageView>(tile(i + 1, 62));
        t->setCenter(QPointF(10 + 31 + i * 72, 39));
        strip->addSubview(t);
    }
    strip->setContentSize(QSizeF(10 + tiles * 72, 78));
    c.addSubview(strip);
    c.addSubview(makeLabel(QRectF(14, 118, w, 18), QStringLiteral("Drag the strip: it bounces at both ends."), 12,
                           false, kMutedInk));

    auto large = std::make_shared<ActivityIndicator>(ActivityIndicatorStyle::WhiteLarge);
    large->setCenter(QPointF(40, 160));
    large->startAnimating();
    auto chip = std::make_shared<View>(QRectF(80, 140, 44, 40));
    chip->setBackgroundColor(QColor(235, 238, 242));
    chip->setCornerRadius(8);
    auto gray = std::make_shared<ActivityIndicator>(ActivityIndicatorStyle::Gray);
    gray->setCenter(QPointF(22, 20));
    gray->startAnimating();
    chip->addSubview(gray);
    auto toggle = std::make_shared<Button>(QRectF(140, 140, std::min(150.0, w - 130), 40), Button::Type::RoundedRect);
    toggle->setTitle(QStringLiteral("Stop spinners"));
    toggle->addAction(ControlEventTouchUpInside, [large, gray](Control &b) {
        auto &button = static_cast<Button &>(b);
        if (large->isAnimating()) {
            large->stopAnimating();
            gray->setHidesWhenStopped(false);
            gray->stopAnimating();
            button.setTitle(QStringLiteral("Start spinners"));
        } else {
            large->startAnimating();
            gray->startAnimating();
            button.setTitle(QStringLiteral("Stop spinners"));
        }
    });
    c.addSubview(large);
    c.addSubview(chip);
    c.addSubview(toggle);
}

void GalleryScreen::buildTree(View &c)
{
    const double w = c.bounds().width() - 28;
    const double h = c.bounds().height() - 40 - 34;
    auto photoView = std::make_shared<ImageView>(QRectF(14, 40, w, h));
    photoView->setImage(landscapePhoto(1280, 960));
    photoView->setContentMode(ContentMode::ScaleAspectFill);
    photoView->setClipsToBounds(true);
    photoView->setCornerRadius(10);
    photoView->setBorderWidth(2);
    photoView->setBorderColor(Qt::white);
    photoView->setUserInteractionEnabled(true);
    c.addSubview(photoView);

    // A grid of pieces cut from the photo, each turned and scaled, with a shadow; the ones at
    // the edges stick out and are clipped by the rounded photo view.
    const QImage source = landscapePhoto(640, 480, 1).bitmap();
    const int cols = 5, rows = 3;
    const double pw = w / cols, ph = h / rows;
    for (int r = 0; r < rows; ++r)
        for (int col = 0; col < cols; ++col) {
            const QRect crop(col * source.width() / cols, r * source.height() / rows, source.width() / cols,
                             source.height() / rows);
            auto piece = std::make_shared<ImageView>(QRectF(col * pw + 6, r * ph + 6, pw - 12, ph - 12));
            piece->setImage(Picture(source.copy(crop)));
            piece->setContentMode(ContentMode::ScaleAspectFill);
            piece->setClipsToBounds(false);
            piece->setUserInteractionEnabled(true);
            piece->setTag(1000 + r * cols + col);
            const double angle = ((r * 7 + col * 3) % 9 - 4) * 3.0;
            const double s = 1.0 + ((r + col) % 3) * 0.12;
            piece->setTransform(scaled(AffineTransform::makeRotation(angle * M_PI / 180), s, s));
            QPainterPath outline;
            outline.addRect(piece->bounds());
            piece->setShadowPath(outline);
            piece->setShadowOffset(QPointF(-4, -4));
            piece->setShadowOpacity(0.5);
            piece->setBorderWidth(1);
            piece->setBorderColor(QColor(255, 255, 255, 200));

            auto start = std::make_shared<QPointF>();
            piece->addGestureRecognizer(std::make_shared<PanRecognizer>([start](PanRecognizer &pan) {
                View *v = pan.view();
                if (pan.state() == GestureRecognizer::State::Began) {
                    *start = v->center();
                    v->superview()->bringSubviewToFront(v);
                }
                v->setCenter(*start + pan.translationInView(v->superview()));
            }));
            auto lastScale = std::make_shared<double>(1.0);
            piece->addGestureRecognizer(std::make_shared<PinchRecognizer>([lastScale](PinchRecognizer &pinch) {
                if (pinch.state() == GestureRecognizer::State::Ended) {
                    *lastScale = 1;
                    return;
                }
                const double f = 1 - (*lastScale - pinch.scale());
                pinch.view()->setTransform(scaled(pinch.view()->transform(), f, f));
                *lastScale = pinch.scale();
            }));
            auto press = std::make_shared<LongPressRecognizer>([this](LongPressRecognizer &lp) {
                if (lp.state() == GestureRecognizer::State::Began && lp.view()) {
                    setStatus(QStringLiteral("Long press removed piece %1").arg(lp.view()->tag()));
                    lp.view()->removeFromSuperview();
                }
            });
            press->setMinimumPressDuration(1.0);
            piece->addGestureRecognizer(press);
            photoView->addSubview(piece);
        }
    auto tap = std::make_shared<TapRecognizer>([this](TapRecognizer &t) {
        const QPointF p = t.locationInView(t.view());
        setStatus(QStringLiteral("Tap on the photo at (%1, %2)").arg(std::lround(p.x())).arg(std::lround(p.y())));
    });
    photoView->addGestureRecognizer(tap);

    auto caption = makeLabel(QRectF(14, c.bounds().height() - 30, w, 22),
                             QStringLiteral("Drag or pinch (Ctrl + wheel) a piece; hold one to remove it."), 12, false,
                             kMutedInk);
    c.addSubview(caption);
}

void GalleryScreen::buildTransitions(View &c)
{
    const double w = c.bounds().width() - 28;
    const double previewH = std::round(w * 0.42);
    m_preview = std::make_shared<ImageView>(QRectF(14, 40, w, previewH));
    m_preview->setImage(landscapePhoto(800, 600, 0));
    m_preview->setContentMode(ContentMode::ScaleAspectFill);
    m_preview->setClipsToBounds(true);
    m_preview->setBorderWidth(2);
    m_preview->setBorderColor(QColor(255, 255, 255, 220));
    c.addSubview(m_preview);

    const std::pair<const char *, TransitionType> kinds[] = {
        {"Fade", TransitionType::Fade},   {"Move in", TransitionType::MoveIn}, {"Push", TransitionType::Push},
        {"Reveal", TransitionType::Reveal}, {"Cube", TransitionType::Cube},   {"Ripple", TransitionType::Ripple},
        {"Suck", TransitionType::Suck},
    };
    const int perRow = 4;
    const double bw = (w - (perRow - 1) * 8) / perRow;
    const double y0 = 40 + previewH + 12;
    int i = 0;
    for (const auto &[name, type] : kinds) {
        auto b = std::make_shared<Button>(QRectF(14 + (i % perRow) * (bw + 8), y0 + (i / perRow) * 44, bw, 36),
                                          Button::Type::RoundedRect);
        b->setTitle(QString::fromLatin1(name));
        const TransitionType t = type;
        b->addAction(ControlEventTouchUpInside, [this, t, name = QString::fromLatin1(name)](Control &) {
            const bool fromLeft = m_fromLeft && m_fromLeft->isOn();
            m_preview->addTransition(Transition(t, fromLeft ? TransitionSubtype::FromLeft : TransitionSubtype::FromRight, 0.8));
            m_previewVariant = (m_previewVariant + 1) % 2;
            m_preview->setImage(landscapePhoto(800, 600, m_previewVariant));
            setStatus(QStringLiteral("%1 transition").arg(name));
        });
        c.addSubview(b);
        ++i;
    }
    const double sy = y0 + 44 + 2;
    m_fromLeft = std::make_shared<Switch>(QRectF(14 + 3 * (bw + 8) + 0, sy + 4, 79, 27));
    c.addSubview(m_fromLeft);
    auto hint = makeLabel(QRectF(14, c.bounds().height() - 26, w, 20), QStringLiteral("Switch on: from the left."), 12,
                          false, kMutedInk);
    hint->setTextAlignment(TextAlignment::Right);
    c.addSubview(hint);
}

void GalleryScreen::buildAlerts(View &c)
{
    const double w = c.bounds().width() - 28;
    auto choice = std::make_shared<Button>(QRectF(14, 42, (w - 10) / 2, 44), Button::Type::RoundedRect);
    choice->setTitle(QStringLiteral("Save to Album…"));
    choice->addAction(ControlEventTouchUpInside, [this](Control &) { showChoiceAlert(); });
    auto processing = std::make_shared<Button>(QRectF(14 + (w + 10) / 2, 42, (w - 10) / 2, 44), Button::Type::RoundedRect);
    processing->setTitle(QStringLiteral("Processing…"));
    processing->addAction(ControlEventTouchUpInside, [this](Control &) { showProcessingAlert(); });
    c.addSubview(choice);
    c.addSubview(processing);
    c.addSubview(makeLabel(QRectF(14, 90, w, 20), QStringLiteral("Alerts are modal: nothing else takes touches."), 12,
                           false, kMutedInk));
}

void GalleryScreen::showChoiceAlert()
{
    auto alert = std::make_shared<AlertView>(QString(), QStringLiteral("Save to Album"), this, QStringLiteral("Cancel"),
                                             QStringList{QStringLiteral("High"), QStringLiteral("Medium")});
    alert->setTag(1);
    alert->show();
}

void GalleryScreen::showProcessingAlert()
{
    auto alert = std::make_shared<AlertView>(QStringLiteral("Processing..."), QStringLiteral(" "), this);
    auto spinner = std::make_shared<ActivityIndicator>(ActivityIndicatorStyle::WhiteLarge);
    spinner->setFrame(QRectF(125, 60, 30, 30));
    alert->addSubview(spinner);
    alert->show();
    postToMainThread([spinner] { spinner->startAnimating(); });
    if (m_processingTimer)
        m_processingTimer->invalidate();
    m_processingTimer = Timer::scheduled(2.0, false, [this, alert, spinner] {
        postToMainThread([spinner] { spinner->stopAnimating(); });
        alert->dismissWithClickedButtonIndex(0, true);
        setStatus(QStringLiteral("Processing done: dismissed by code"));
    });
}

void GalleryScreen::alertViewClickedButtonAtIndex(AlertView &alert, int buttonIndex)
{
    setStatus(QStringLiteral("Alert %1: button %2 (\"%3\")")
                  .arg(alert.tag())
                  .arg(buttonIndex)
                  .arg(alert.buttonTitleAtIndex(buttonIndex)));
}

} // namespace vimora::gallery
