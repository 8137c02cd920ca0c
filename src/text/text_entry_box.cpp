#include "text/text_entry_box.h"

#include <algorithm>
#include <cmath>

#include "platform/device.h"
#include "text/font_names.h"
#include "text/text_controls.h"
#include "text/text_layout.h"
#include "ui/geometry.h"
#include "ui/transition.h"

namespace vimora::text {

namespace {
constexpr double kRenderFontSize = 90;
constexpr double kChosenFontSize = 36;
/// No glyph advances less than this share of the font size (a hair space does, but a line of
/// them shows nothing).
constexpr double kNarrowestAdvance = 0.1;
constexpr double kRevealSeconds = 1;
const QColor kBoxBlue(40, 90, 200);
/// The box opens in this family: a gothic sans of the installed packages.
const char *const kBoxFontFamily = "URW Gothic";
} // namespace

TextEntryBox::TextEntryBox(WordTableViews views, std::function<void()> done, std::function<void()> chooseFont)
    : m_views(std::move(views))
    , m_textBack(std::make_shared<ui::ImageView>())
    , m_box(std::make_shared<ui::TextView>())
{
    m_box->setHidden(true); // a stand-in until the first open: the handlers may ask for it
    m_textBack->setHidden(true);
    m_textBack->setUserInteractionEnabled(true);
    m_done = longButton(QRectF(), QStringLiteral("Done"), std::move(done));
    m_font = longButton(QRectF(), QStringLiteral("Font"), std::move(chooseFont));
}

TextEntryBox::~TextEntryBox()
{
    m_box->setDelegate(nullptr);
}

bool TextEntryBox::isOpen() const
{
    return !m_box->isHidden() && m_box->superview();
}

void TextEntryBox::open()
{
    const DeviceProfile profile = Device::profile();
    ui::View &main = *m_views.mainView;

    // The picture view keeps showing the picture: the box floats over it.
    ui::View &pictureView = *m_views.cutImgView;
    pictureView.addTransition(
        ui::Transition(ui::TransitionType::Reveal, ui::TransitionSubtype::FromLeft, kRevealSeconds));

    m_textBack->setImage({});
    m_textBack->setFrame(textBackFrame(profile));
    m_textBack->setBackgroundColor(Qt::black);
    m_textBack->setHidden(false);
    main.addSubview(m_textBack);
    m_views.selectTopView->setHidden(true);

    m_box->setDelegate(nullptr);
    m_box->removeFromSuperview();
    m_box = std::make_shared<ui::TextView>(
        textBoxFrame(profile, ui::rectCenter(QRectF(QPointF(0, 0), Device::screenSize()))));
    m_box->setBackgroundColor(kBoxBlue);
    m_box->setFont(fontNamed(QString::fromLatin1(kBoxFontFamily), textBoxFontSize(profile)));
    m_box->setTextColor(Qt::black);
    m_box->setAutocorrection(false);
    m_box->setShowsHorizontalScrollIndicator(false);
    m_box->setShowsVerticalScrollIndicator(false);
    m_box->setClipsToBounds(true);
    m_box->setBorderWidth(2);
    m_box->setBorderColor(Qt::white);
    m_box->setDelegate(this);
    main.addSubview(m_box);

    m_placeHolder = std::make_shared<ui::Label>(QRectF(0, 0, 150, 50), QStringLiteral("Input text here..."));
    m_placeHolder->setBackgroundColor(Qt::transparent);
    m_placeHolder->setUserInteractionEnabled(false);
    m_box->addSubview(m_placeHolder);

    m_done->setFrame(doneButtonFrame(profile));
    m_font->setFrame(fontButtonFrame(profile));
    m_done->setHidden(false);
    m_font->setHidden(false);
    m_textBack->addSubview(m_done);
    m_textBack->addSubview(m_font);
    for (const BarButton &b : m_barButtons) {
        b.button->setFrame(ui::isTablet(profile) ? b.tabletFrame : b.phoneFrame);
        b.button->setHidden(false);
        m_textBack->addSubview(b.button);
    }
}

void TextEntryBox::addBarButton(std::shared_ptr<ui::Button> button, const QRectF &tabletFrame, const QRectF &phoneFrame)
{
    m_barButtons.push_back(BarButton{std::move(button), tabletFrame, phoneFrame});
}

void TextEntryBox::setFontName(const QString &fontName)
{
    m_box->setFont(fontNamed(fontName, kChosenFontSize));
    m_textBack->setHidden(false);
    if (ui::View *parent = m_textBack->superview())
        parent->bringSubviewToFront(m_textBack.get());
}

void TextEntryBox::textViewDidBeginEditing(ui::TextView &textView)
{
    if (m_placeHolder)
        m_placeHolder->setHidden(true);
    if (!textView.isFirstResponder())
        textView.becomeFirstResponder();
}

void TextEntryBox::textViewDidEndEditing(ui::TextView &textView)
{
    if (textView.isFirstResponder())
        textView.resignFirstResponder();
}

void TextEntryBox::finishTyping()
{
    m_box->resignFirstResponder();
    m_box->setBorderColor(Qt::transparent);
    m_done->setHidden(true);
    m_font->setHidden(true);
    for (const BarButton &b : m_barButtons)
        b.button->setHidden(true);
}

void TextEntryBox::close()
{
    m_textBack->setHidden(true);
    m_box->setHidden(true);
}

QRectF TextEntryBox::renderFrame() const
{
    return m_textBack->frame();
}

Picture TextEntryBox::screenShotTextView(const QString &fontName)
{
    if (!m_box->superview())
        return {};
    const DeviceProfile profile = Device::profile();
    ui::TextView &box = *m_box;
    m_textBack->setImage({});
    box.setBackgroundColor(Qt::transparent);
    m_textBack->setBackgroundColor(Qt::transparent);
    if (m_placeHolder)
        m_placeHolder->setHidden(true);

    // Fit the box to its text; a page of text stops where the render would grow too tall.
    const double k = renderScale(profile);
    const QRectF open = box.frame();
    const double fitted = std::min(box.contentSize().height(), kMaxRenderHeight / k);
    const QRectF fittedFrame(open.topLeft(), QSizeF(open.width(), fitted));
    const QRectF enlarged = text::renderFrame(fittedFrame.size(), profile);

    // Text past the render's height never shows: drop it, and change font and size only
    // then, so a page of text is never laid out again at 90 points.
    const double lines = std::ceil(enlarged.height() / kRenderFontSize);
    const qsizetype visible = qsizetype(lines * std::ceil(enlarged.width() / (kRenderFontSize * kNarrowestAdvance)));
    if (box.text().size() > visible)
        box.setText(box.text().left(visible));
    box.setFont(fontNamed(fontName, kRenderFontSize));
    box.setTextColor(Qt::red);
    m_textBack->setFrame(enlarged);
    box.setFrame(enlarged);
    box.setContentOffset(QPointF(0, 0));

    return box.renderToPicture(enlarged.size());
}

} // namespace vimora::text
