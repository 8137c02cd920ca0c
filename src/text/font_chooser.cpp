#include "text/font_chooser.h"

#include "platform/device.h"
#include "platform/resources.h"
#include "text/font_names.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/scroll_view.h"
#include "ui/theme.h"

namespace vimora::text {

namespace {
constexpr int kPerRow = 4;
constexpr double kSampleFontSize = 36;
constexpr double kTitleHeight = 44;
constexpr double kMargin = 10;
} // namespace

FontChooser::FontChooser(WordTableViews views, std::function<void(int index)> chosen)
    : m_views(std::move(views))
    , m_chosen(std::move(chosen))
{
}

void FontChooser::open(const QStringList &entries)
{
    const bool tablet = isDeviceiPad();
    ui::ImageView &panel = *m_views.wordView;
    panel.removeAllSubviews();
    const QSizeF screen = m_views.mainView->bounds().size();
    const double side = tablet ? 600 : 300;
    panel.setFrame(QRectF((screen.width() - side) / 2, tablet ? 120 : 70, side, side));
    panel.setImage(
        Resources::imageNamed(tablet ? QStringLiteral("blackBack600.png") : QStringLiteral("blackBack300.png")));
    panel.setAlpha(1);
    panel.setHidden(false);
    panel.setUserInteractionEnabled(true);
    if (ui::View *parent = panel.superview())
        parent->bringSubviewToFront(&panel);

    auto title = std::make_shared<ui::Label>(
        QRectF(kMargin, 4, side - 2 * kMargin, kTitleHeight), QStringLiteral("Select Font (Scroll it)"));
    title->setTextColor(Qt::white);
    title->setFont(ui::Theme::systemFont(tablet ? 22 : 17, true));
    title->setTextAlignment(ui::TextAlignment::Center);
    title->setBackgroundColor(Qt::transparent);
    panel.addSubview(title);

    const QRectF area(kMargin, kTitleHeight + 8, side - 2 * kMargin, side - kTitleHeight - 8 - kMargin);
    auto scroll = std::make_shared<ui::ScrollView>(area);
    scroll->setBackgroundColor(Qt::transparent);
    scroll->setClipsToBounds(true);
    const double cell = area.width() / kPerRow;
    const double cellHeight = tablet ? 110 : 64;
    for (int i = 0; i < entries.size(); ++i) {
        auto button
            = std::make_shared<ui::Button>(QRectF((i % kPerRow) * cell, (i / kPerRow) * cellHeight, cell, cellHeight));
        button->setTitle(QStringLiteral("A"));
        button->setTitleColor(Qt::white);
        button->setFont(fontNamed(entries.at(i), kSampleFontSize));
        button->setTag(i);
        button->addAction(ui::ControlEventTouchUpInside, [this](ui::Control &sender) {
            if (m_chosen)
                m_chosen(sender.tag());
        });
        scroll->addSubview(button);
    }
    const int rows = (int(entries.size()) + kPerRow - 1) / kPerRow;
    scroll->setContentSize(QSizeF(area.width(), rows * cellHeight));
    panel.addSubview(scroll);
}

void FontChooser::close()
{
    m_views.wordView->setHidden(true);
}

} // namespace vimora::text
