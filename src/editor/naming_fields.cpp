#include "editor/naming_fields.h"

#include <QLocale>

#include "editor/panel_parts.h"
#include "platform/device.h"
#include "platform/log.h"
#include "platform/resources.h"
#include "ui/theme.h"
#include "screenkit/screen_views.h"

namespace vimora {

namespace {
constexpr double kStripHeight = 50;
constexpr double kStripWidth = 320;
constexpr double kStampWidth = 100;
constexpr double kStampHeight = 50;
constexpr double kStampGap = 10;
constexpr double kStampFade = 0.2;

std::shared_ptr<ui::TextField> namingField(const QRectF &frame, int tag, const QString &placeholder)
{
    auto field = std::make_shared<ui::TextField>(frame);
    field->setTag(tag);
    field->setBorderStyle(ui::TextField::BorderStyle::RoundedRect);
    field->setPlaceholder(placeholder);
    field->setFont(ui::Theme::systemFont(14));
    field->setReturnKeyType(ui::TextField::ReturnKeyType::Done);
    field->setAutocorrection(false);
    return field;
}
} // namespace

QStringList namesForPictures(const QString &prefix, qint64 start, qsizetype count)
{
    QStringList names;
    names.reserve(count);
    const QString joint = !prefix.isEmpty() && prefix.back().isDigit() ? QStringLiteral(" ") : QString();
    for (qsizetype k = 0; k < count; ++k)
        names << prefix + joint + QString::number(start + k);
    return names;
}

QString cleanNamePrefix(const QString &typed)
{
    QString prefix;
    for (const QChar c : typed)
        if (c != '/' && c != '\\' && c != ':' && c.category() != QChar::Other_Control)
            prefix += c;
    prefix = prefix.trimmed();
    // A name of dots alone would climb out of the folder it is written to.
    if (prefix.isEmpty() || prefix.count('.') == prefix.size())
        return QString::fromLatin1(kDefaultNamePrefix);
    return prefix;
}

std::optional<qint64> parseStartNumber(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return kDefaultStartNumber;
    for (const QChar c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    // All digits: anything longer than the largest number is at least as large.
    if (text.size() > 10)
        return kLargestStartNumber;
    return std::min(text.toLongLong(), kLargestStartNumber);
}

QString dateStamp(int tag, const QDate &date)
{
    // The third pattern is the calendar year: a week-based year would be a year off around New Year.
    static const char *const patterns[] = {"yyyyMMdd", "MM.dd.yyyy", "dd MMM yyyy", "yyyy_MM_dd"};
    if (tag < 1 || tag > 4 || !date.isValid())
        return {};
    return QLocale::c().toString(date, QString::fromLatin1(patterns[tag - 1]));
}

NamingFields::NamingFields(ScreenViews &views, std::function<void()> renamed)
    : m_views(views)
    , m_renamed(std::move(renamed))
    , m_today([] { return QDate::currentDate(); })
    , m_strip(std::make_shared<ui::ImageView>(QRectF(0, 0, kStripWidth, kStripHeight)))
    , m_nameField(namingField(QRectF(10, 8, 100, 34), kNamePrefixFieldTag, QString::fromLatin1(kDefaultNamePrefix)))
    , m_numField(namingField(QRectF(115, 8, 50, 34), kStartNumberFieldTag, QString::number(kDefaultStartNumber)))
{
    m_strip->setUserInteractionEnabled(true);
    m_strip->setBackgroundColor(QColor(20, 16, 36, 225));
    m_strip->setCornerRadius(8);
    m_strip->setHidden(true);
    m_numField->setKeyboardType(ui::TextField::KeyboardType::NumberPad);
    m_nameField->setDelegate(this);
    m_numField->setDelegate(this);
    m_strip->addSubview(m_nameField);
    m_strip->addSubview(m_numField);
    m_strip->addSubview(makeBarButton(QRectF(170, 8, 70, 34), QStringLiteral("Date"), 0, [this] { selectView(); }));
    m_storeButton = makeBarButton(QRectF(245, 8, 70, 34), QStringLiteral("Export"), 0, [this] {
        endEditingQuietly();
        if (m_export)
            m_export();
    });
    m_strip->addSubview(m_storeButton);
}

NamingFields::~NamingFields()
{
    if (m_refusal) {
        m_refusal->setDelegate(nullptr);
        m_refusal->dismissWithClickedButtonIndex(m_refusal->cancelButtonIndex(), false);
    }
    m_nameField->setDelegate(nullptr);
    m_numField->setDelegate(nullptr);
}

void NamingFields::setPictures(const QStringList &pictures)
{
    m_pictures = pictures;
    m_names = namesForPictures(m_prefix, m_start, m_pictures.size());
}

void NamingFields::selectView()
{
    ui::ImageView &chooser = *m_views.wordView;
    reopenPanel(*m_views.mainView, chooser);
    chooser.setUserInteractionEnabled(true);
    chooser.setImage(Resources::imageNamed(QStringLiteral("selectViewBack2.png")));
    // The stamps start under the band of the close control.
    const QSizeF size(2 * kStampWidth + 3 * kStampGap, kCloseControlSide + 2 * kStampHeight + 2 * kStampGap);
    const QSizeF screen = Device::screenSize();
    chooser.setFrame(QRectF(QPointF((screen.width() - size.width()) / 2, (screen.height() - size.height()) / 2), size));
    chooser.setAlpha(1);
    chooser.setHidden(false);
    const QDate today = m_today();
    for (int tag = 1; tag <= 4; ++tag) {
        const int column = (tag - 1) % 2, row = (tag - 1) / 2;
        const QRectF frame(kStampGap + column * (kStampWidth + kStampGap), kCloseControlSide + row * (kStampHeight + kStampGap),
                           kStampWidth, kStampHeight);
        auto stamp = makeBarButton(frame, dateStamp(tag, today), tag, [this, tag] { modeSelect(tag); });
        stamp->setFont(ui::Theme::systemFont(12));
        stamp->setTitleShadowOffset(QPointF(2, 2));
        chooser.addSubview(stamp);
    }
    fadeIn(chooser, kStampFade);
    m_chooser.open(chooser, {});
}

void NamingFields::putChooserAway()
{
    if (!m_chooser.isOpen())
        return;
    m_chooser.release();
    m_views.wordView->setHidden(true);
}

void NamingFields::modeSelect(int tag)
{
    const QString stamp = dateStamp(tag, m_today());
    if (stamp.isEmpty())
        return;
    putChooserAway();
    m_views.wordView->setHidden(true);
    m_stampChosen = true;
    m_userNamed = true;
    m_nameField->setText(stamp);
    m_nameField->becomeFirstResponder();
}

void NamingFields::textFieldDidBeginEditing(ui::TextField &field)
{
    logLine(QStringLiteral("begin Edit Text textField:%1").arg(field.tag()));
    m_storeButton->setEnabled(true);
}

bool NamingFields::textFieldShouldReturn(ui::TextField &field)
{
    logLine(QStringLiteral("Return"));
    field.resignFirstResponder();
    return true;
}

void NamingFields::textFieldDidEndEditing(ui::TextField &field)
{
    logLine(QStringLiteral("End Edit Text:%1").arg(field.text()));
    if ((field.tag() == kNamePrefixFieldTag || field.tag() == kStartNumberFieldTag) && !field.text().trimmed().isEmpty())
        m_userNamed = true;
    if (field.tag() == kNamePrefixFieldTag) {
        m_prefix = cleanNamePrefix(field.text());
        // The field shows the prefix the names use.
        if (field.text().trimmed() != m_prefix && !field.text().trimmed().isEmpty())
            field.setText(m_prefix);
    } else if (field.tag() == kStartNumberFieldTag) {
        const std::optional<qint64> start = parseStartNumber(field.text());
        if (start)
            m_start = *start;
        else
            refuseStartNumber(field.text());
        // A refused or shortened number shows what the names use.
        if (!field.text().trimmed().isEmpty() || !start)
            field.setText(QString::number(m_start));
    } else {
        return;
    }
    rename();
}

void NamingFields::refuseStartNumber(const QString &typed)
{
    logLine(QStringLiteral("start number not a whole number: %1; %2 kept").arg(typed).arg(m_start));
    if (m_refusal)
        m_refusal->dismissWithClickedButtonIndex(m_refusal->cancelButtonIndex(), false);
    m_refusal = std::make_shared<ui::AlertView>(QStringLiteral("Start number"),
        QStringLiteral("“%1” is not a whole number. The names still start at %2.").arg(typed.trimmed()).arg(m_start),
        nullptr, QStringLiteral("OK"));
    m_refusal->show();
}

QString NamingFields::singleName() const
{
    return m_userNamed ? namesForPictures(m_prefix, m_start, 1).front() : QString();
}

void NamingFields::endEditingQuietly()
{
    m_quiet = true;
    m_nameField->resignFirstResponder();
    m_numField->resignFirstResponder();
    m_quiet = false;
}

void NamingFields::rename()
{
    m_names = namesForPictures(m_prefix, m_start, m_pictures.size());
    if (m_pictures.isEmpty())
        logLine(QStringLiteral("no pictures to name yet"));
    if (m_renamed && !m_quiet)
        m_renamed();
}

} // namespace vimora
