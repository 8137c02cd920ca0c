#include "text/word_table.h"

#include "imaging/color_image.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "text/font_names.h"
#include "text/text_controls.h"
#include "text/text_layout.h"
#include "ui/geometry.h"
#include "ui/long_press_recognizer.h"
#include "ui/pinch_recognizer.h"
#include "ui/tap_recognizer.h"
#include "ui/theme.h"

namespace vimora {

namespace {
/// The list entry the font starts at.
constexpr int kStartingFontIndex = 13;
/// A word-art picture is deleted by a press this long.
constexpr double kWordDeletePress = 1.5;
const QRectF kWordPictureFrame(100, 100, 130, 130);
} // namespace

WordTable::WordTable(WordTableViews views)
    : m_views(std::move(views))
    , m_entry(
          m_views, [this] { inputTextDone(); }, [this] { fontViewOpen(); })
    , m_layers(*m_views.cutImgView)
    , m_handles(*m_views.mainView, [this](text::Corner corner, ui::PanRecognizer &pan) { handleCorner(corner, pan); })
    , m_panel(m_views,
          text::EditPanelActions{[this] { colorChoose(); }, [this](int tag) { TransformExcute(tag); },
              [this] { adjustTransparent(); },
              [this](bool grow) { wordSize(grow ? QStringLiteral("+") : QStringLiteral("-")); },
              [this](const QColor &color) {
                  // Later rotations start from the recoloured first render.
                  const int tag = detectTag();
                  float rgb[3];
                  getRGBComponents(rgb, color);
                  m_layers.setOriginal(
                      tag, ColorImage().changeColor(m_layers.original(tag), rgb[0], rgb[1], rgb[2], 1));
                  layersChanged();
              }})
    , m_transformBar([this](int tag) { TransformExcute(tag); })
    , m_fonts(m_views, [this](int index) { fontType(index); })
    , m_catalogue(m_views, [this](int row) { placeWord(row); })
    , m_tips(m_views)
{
    addTextBarButtons();
    // Text layers and word pictures stay within reach while the colour panel is up.
    m_panel.setLetThrough([this](QPointF windowPoint) {
        for (const ui::View *holder : {m_views.cutImgView.get(), m_views.backImgView.get()})
            for (const ui::ViewPtr &layer : holder ? holder->subviews() : std::vector<ui::ViewPtr>{})
                if (layer->tag() >= text::kFirstLayerTag && !layer->isHidden()
                    && layer->pointInside(layer->convertPointFrom(windowPoint, nullptr)))
                    return true;
        return false;
    });
}

WordTable::~WordTable()
{
    withdrawDeleteQuestion();
    m_handles.remove();
    m_transformBar.hide();
}

void WordTable::addTextBarButtons()
{
    // After "Font" and "Done"; narrow on a phone, where the bar is 320 points
    // wide.
    const struct {
        const char *title;
        QRectF tablet, phone;
        void (WordTable::*action)();
    } buttons[] = {{"Words", QRectF(280, 0, 100, 50), QRectF(172, 0, 56, 50), &WordTable::showWordView},
        {"Tips", QRectF(390, 0, 90, 50), QRectF(229, 0, 42, 50), &WordTable::selectTopViewRebuild},
        {"Close", QRectF(490, 0, 90, 50), QRectF(272, 0, 47, 50), &WordTable::closeTextBox}};
    for (const auto &b : buttons) {
        auto button
            = text::longButton({}, QString::fromLatin1(b.title), [this, action = b.action] { (this->*action)(); });
        if (!isDeviceiPad())
            button->setFont(ui::Theme::systemFont(12, true));
        m_entry.addBarButton(button, b.tablet, b.phone);
    }
}

void WordTable::awakeFromNib()
{
    m_views.wordView->setHidden(true);
    m_entry.textBack().setHidden(true);
    arrayOpen();
}

void WordTable::viewDidLoad()
{
    logLine(QStringLiteral("WordTable view did load"));
}

void WordTable::arrayOpen()
{
    m_wAryE = Resources::stringArray(QStringLiteral("wordE"));
    m_catalogue.setWords(m_wAryE);
}

bool WordTable::closeTopPanel()
{
    if (m_tips.isShown()) {
        drawAreaBegin();
    } else if (m_catalogue.isShown()) {
        smallTheButton(QStringLiteral("resultTool"));
    } else if (m_transformBegin) {
        finishTransform();
    } else if (!m_views.wordView->isHidden() && m_views.wordView->alpha() > 0) {
        if (m_entry.isOpen())
            m_fonts.close();
        else
            colorChoose();
    } else if (m_entry.isOpen()) {
        closeTextBox();
    } else {
        return false;
    }
    return true;
}

// --- Text entry ---

void WordTable::noteViewOpen()
{
    if (m_transformBegin)
        finishTransform();
    m_panel.release();
    m_views.wordView->setHidden(true);
    m_textInputDone = false;
    m_transformBegin = false;
    m_fontNam = m_wAryE.size() > kStartingFontIndex ? m_wAryE.at(kStartingFontIndex) : text::defaultFontFamily();
    m_entry.open();
    if (isDeviceiPad()) {
        m_handles.setCornersFromView(m_entry.noteTextView());
        m_handles.show();
        auto pan = std::make_shared<ui::PanRecognizer>([this](ui::PanRecognizer &p) { handleMove(p); });
        pan->setMaximumNumberOfTouches(1);
        // A drag moves the box; its own scrolling drag would win the touch otherwise.
        m_entry.noteTextView().panRecognizer().setEnabled(false);
        m_entry.noteTextView().addGestureRecognizer(pan);
    }
    m_views.mainView->bringSubviewToFront(m_views.wordView.get());
    if (!text::TipsPanel::isDeclined())
        selectTopViewRebuild();
}

void WordTable::fontViewOpen()
{
    m_entry.noteTextView().resignFirstResponder();
    m_panel.release();
    m_fonts.open(m_wAryE);
}

void WordTable::fontType(int index)
{
    if (index < 0 || index >= m_wAryE.size())
        return;
    m_fontNam = m_wAryE.at(index);
    m_entry.setFontName(m_fontNam);
    m_fonts.close();
}

Picture WordTable::screenShotTextView()
{
    return m_entry.screenShotTextView(m_fontNam);
}

void WordTable::closeTextBox()
{
    m_handles.remove();
    m_entry.finishTyping();
    m_entry.close();
    m_views.wordView->setHidden(true);
    m_views.cutImgView->setBackgroundColor(Qt::transparent);
    m_views.selectTopView->setHidden(false);
    typingEnded();
}

void WordTable::typingEnded()
{
    if (m_onTypingEnded)
        m_onTypingEnded();
}

void WordTable::layersChanged()
{
    if (m_onLayersChanged)
        m_onLayersChanged();
}

void WordTable::inputTextDone()
{
    if (!m_entry.isOpen() || m_entry.noteTextView().text().trimmed().isEmpty())
        return; // nothing typed: no layer, and the box stays for typing
    m_entry.finishTyping();
    m_textInputDone = true;
    if (isDeviceiPad())
        m_handles.remove();
    m_views.wordView->setHidden(true);

    const Picture rendered = screenShotTextView();
    auto layer = m_layers.makeLayer(rendered);
    const DeviceProfile profile = Device::profile();
    const QRectF render = m_entry.renderFrame();
    layer->setFrame(text::layerFrame(render.size(), profile));
    layer->setCenter(text::layerCentreOnScreen(Device::screenSize().width(), layer->frame().size()));
    if (m_landingArea) {
        QRectF area = m_landingArea();
        // Above the colour panel that opens next, when there is room for a line of text there.
        constexpr double kLeastRoom = 24;
        const QRectF panel = m_views.mainView->convertRectTo(
            text::colourPanelFrame(profile, Device::isLandscape(), Device::screenSize()), m_views.cutImgView.get());
        if (panel.top() - area.top() >= kLeastRoom)
            area.setBottom(std::min(area.bottom(), panel.top()));
        layer->setFrame(text::landedFrame(layer->frame().size(), area));
    }
    m_tViewSize = layer->frame().size();

    ui::View &pictureView = *m_views.cutImgView;
    pictureView.addSubview(layer);
    m_views.mainView->bringSubviewToFront(&pictureView);
    m_entry.close();
    m_entry.textBack().setImage(rendered);

    auto pan = std::make_shared<ui::PanRecognizer>([this](ui::PanRecognizer &p) { handleMoveTView(p); });
    pan->setMaximumNumberOfTouches(1);
    layer->addGestureRecognizer(pan);
    typingEnded();
    colorSelectView();
    layersChanged();
}

ui::ImageView &WordTable::restoreLayer(const Picture &picture, const Picture &original, bool wordPicture)
{
    std::shared_ptr<ui::ImageView> layer;
    if (wordPicture) {
        layer = std::make_shared<ui::ImageView>(kWordPictureFrame);
        layer->setBackgroundColor(Qt::transparent);
        layer->setUserInteractionEnabled(true);
        layer->setImage(picture);
        m_layers.adopt(*layer);
        m_wordPictures.insert(layer->tag());
        m_views.backImgView->addSubview(layer);
        armWordPicture(*layer);
    } else {
        layer = m_layers.makeLayer(picture);
        m_views.cutImgView->addSubview(layer);
        auto pan = std::make_shared<ui::PanRecognizer>([this](ui::PanRecognizer &p) { handleMoveTView(p); });
        pan->setMaximumNumberOfTouches(1);
        layer->addGestureRecognizer(pan);
        armLayerForEditing(*layer);
        m_textInputDone = true;
    }
    if (!original.isNull())
        m_layers.setOriginal(layer->tag(), original);
    return *layer;
}

// --- Colour and edit panel ---

void WordTable::colorSelectView()
{
    m_panel.colorSelectView(detectTag());
    m_views.mainView->bringSubviewToFront(m_views.wordView.get());
}

void WordTable::colorSelectView2()
{
    m_panel.colorSelectView2(detectTag());
    m_views.mainView->bringSubviewToFront(m_views.wordView.get());
}

void WordTable::colorChoose()
{
    diapearColorSelectView();
}

void WordTable::diapearColorSelectView()
{
    m_views.selectTopView->setHidden(false);
    m_views.descripImg->setHidden(true);
    m_panel.hide();
    m_views.cutImgView->setBackgroundColor(Qt::transparent);
    if (ui::View *parent = m_views.selectTopView->superview())
        parent->bringSubviewToFront(m_views.selectTopView.get());

    for (const ui::ViewPtr &sub : m_views.cutImgView->subviews())
        if (sub->tag() >= text::kFirstLayerTag)
            armLayerForEditing(*sub);
    m_views.backImgView->setBackgroundColor(Qt::transparent);
}

void WordTable::armLayerForEditing(ui::View &layer)
{
    layer.removeGestureRecognizers<ui::TapRecognizer>();
    layer.removeGestureRecognizers<ui::PinchRecognizer>();
    layer.removeGestureRecognizers<ui::LongPressRecognizer>();
    layer.addGestureRecognizer(
        std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &t) { handleSingleTap2(t); }));
    // Text layers pinch and delete like word-art pictures; the tips promise both.
    layer.addGestureRecognizer(
        std::make_shared<ui::PinchRecognizer>([this](ui::PinchRecognizer &p) { handleScale(p); }));
    auto press = std::make_shared<ui::LongPressRecognizer>([this](ui::LongPressRecognizer &p) { handleLongPress(p); });
    press->setMinimumPressDuration(kWordDeletePress);
    layer.addGestureRecognizer(press);
}

void WordTable::adjustTransparent()
{
    if (ui::Slider *slider = m_panel.backPhotoSlider())
        m_layers.adjustTransparent(slider->value());
    layersChanged();
}

void WordTable::wordSize(const QString &senderTitle)
{
    m_layers.wordSize(senderTitle != QLatin1String("-"));
    layersChanged();
}

void WordTable::getRGBComponents(float components[3], const QColor &color)
{
    double rgb[3];
    ColorPickerViewController::getRGBComponents(rgb, color);
    for (int i = 0; i < 3; ++i)
        components[i] = float(rgb[i]);
}

void WordTable::clearAll()
{
    // Only the overlay's own pictures: the background view may be the screen's
    // picture view.
    for (ui::ImageView *layer : m_layers.layers())
        layer->removeFromSuperview();
    layersChanged();
}

// --- Catalogue and tips ---

void WordTable::showWordView()
{
    m_entry.noteTextView().resignFirstResponder();
    m_panel.release();
    m_catalogue.showWordView();
    m_views.mainView->bringSubviewToFront(m_views.wordView.get());
}

void WordTable::smallTheButton(const QString &senderTitle)
{
    m_catalogue.smallTheButton(senderTitle);
}

void WordTable::placeWord(int row)
{
    auto picture = std::make_shared<ui::ImageView>(kWordPictureFrame);
    picture->setBackgroundColor(Qt::transparent);
    picture->setUserInteractionEnabled(true);
    picture->setImage(Resources::imageNamed(QStringLiteral("words/%1.png").arg(row)));
    // A layer tag, so the palette, the edit panel and rotation reach it as they
    // reach text.
    m_layers.adopt(*picture);
    m_wordPictures.insert(picture->tag());
    m_views.backImgView->addSubview(picture);
    armWordPicture(*picture);
    layersChanged();
}

void WordTable::armWordPicture(ui::View &picture)
{
    picture.addGestureRecognizer(
        std::make_shared<ui::TapRecognizer>([this](ui::TapRecognizer &t) { handleSingleTap(t); }));
    picture.addGestureRecognizer(
        std::make_shared<ui::PinchRecognizer>([this](ui::PinchRecognizer &p) { handleScale(p); }));
    auto pan = std::make_shared<ui::PanRecognizer>([this](ui::PanRecognizer &p) { handleMove(p); });
    pan->setMaximumNumberOfTouches(1);
    picture.addGestureRecognizer(pan);
    auto press = std::make_shared<ui::LongPressRecognizer>([this](ui::LongPressRecognizer &p) { handleLongPress(p); });
    press->setMinimumPressDuration(kWordDeletePress);
    picture.addGestureRecognizer(press);
}

void WordTable::selectTopViewRebuild()
{
    m_entry.noteTextView().resignFirstResponder();
    m_panel.release();
    m_tips.show();
    m_views.mainView->bringSubviewToFront(m_views.wordView.get());
}

void WordTable::drawAreaBegin()
{
    m_tips.hide();
}

void WordTable::neverShow()
{
    m_tips.neverShow();
}

} // namespace vimora
