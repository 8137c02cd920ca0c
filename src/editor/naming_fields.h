#pragma once

// The naming of the job's pictures for export: a prefix field and a start number field on a
// strip of their own, and a chooser of four date stamps that fills the prefix with today's date.
// Every edit renames the whole list: prefix followed by start, start + 1, ... Leaving a field
// only renames: it opens nothing else.

#include <functional>
#include <memory>
#include <optional>

#include <QDate>
#include <QStringList>

#include "editor/panel_parts.h"
#include "ui/alert_view.h"
#include "ui/button.h"
#include "ui/image_view.h"
#include "ui/text_field.h"

namespace vimora {

struct ScreenViews;

/// The naming fields' tags.
inline constexpr int kNamePrefixFieldTag = 1;
inline constexpr int kStartNumberFieldTag = 2;
/// The prefix of an emptied prefix field, and the start of an emptied number field.
inline constexpr const char *kDefaultNamePrefix = "Image";
inline constexpr int kDefaultStartNumber = 1;
/// Start numbers beyond this are brought down to it, so that no name's number overflows.
inline constexpr qint64 kLargestStartNumber = 999'999'999;

/// prefix followed by the decimal numbers start, start + 1, ..., one per picture; a space
/// between them when the prefix ends in a digit (a date stamp), so the two stay apart.
QStringList namesForPictures(const QString &prefix, qint64 start, qsizetype count);

/// A typed prefix made safe for a file name: separators and control characters go, the ends are
/// trimmed; "Image" when nothing is left.
QString cleanNamePrefix(const QString &typed);

/// A typed start number: empty gives 1, a number above the largest is brought down to it;
/// anything else that is not a whole number of zero or more gives none.
std::optional<qint64> parseStartNumber(const QString &typed);

/// Today's date in the pattern of a stamp button (tags 1 to 4): "yyyyMMdd", "MM.dd.yyyy",
/// "dd MMM yyyy" (English month abbreviations) and "yyyy_MM_dd". Empty for other tags.
QString dateStamp(int tag, const QDate &date);

class NamingFields : private ui::TextFieldDelegate
{
public:
    /// renamed runs after every edit has renamed the list.
    NamingFields(ScreenViews &views, std::function<void()> renamed = {});
    ~NamingFields() override;

    /// The pictures to name (the job's list); the names follow at once.
    void setPictures(const QStringList &pictures);
    const QStringList &pictures() const { return m_pictures; }
    /// One new name per picture.
    const QStringList &names() const { return m_names; }
    QString prefix() const { return m_prefix; }
    qint64 startNumber() const { return m_start; }
    /// Set when a date stamp was chosen.
    bool stampChosen() const { return m_stampChosen; }
    /// The name of a single picture (prefix and start) once the user has named anything
    /// (typed into a field or chose a stamp); empty before.
    QString singleName() const;

    /// The strip holding the two fields, the stamp chooser's opener and the export control.
    std::shared_ptr<ui::ImageView> strip() const { return m_strip; }
    ui::TextField &nameField() { return *m_nameField; }
    ui::TextField &numField() { return *m_numField; }
    /// The export control: enabled while a naming field is edited.
    ui::Button &storeButton() { return *m_storeButton; }
    /// What the strip's export control does; the edit in progress ends first, so it uses
    /// what is typed.
    void setExport(std::function<void()> exportAction) { m_export = std::move(exportAction); }

    /// The date-stamp chooser: four buttons titled with today's date in each pattern. It closes
    /// by a stamp, its close control, a tap outside it and Escape.
    void selectView();
    /// Takes the chooser away without a stamp (the editor leaves, or another panel takes its place).
    void putChooserAway();
    /// A stamp button: the chooser goes, today's date in its pattern fills the prefix field,
    /// which takes the keyboard.
    void modeSelect(int tag);

    /// Ends an edit in progress, renaming the list, without the after-edit step (the strip is
    /// being put away).
    void endEditingQuietly();

    /// The delegate callbacks, by field.
    void textFieldDidBeginEditing(ui::TextField &field) override;
    bool textFieldShouldReturn(ui::TextField &field) override;
    void textFieldDidEndEditing(ui::TextField &field) override;

    /// The message refusing a start number that is not a whole number, or nullptr.
    ui::AlertView *refusal() const { return m_refusal.get(); }

    /// Stands in another day for "today" (tests).
    void setToday(std::function<QDate()> today) { m_today = std::move(today); }

private:
    void rename();
    void refuseStartNumber(const QString &typed);

    ScreenViews &m_views;
    std::function<void()> m_renamed;
    std::function<void()> m_export;
    std::function<QDate()> m_today;
    QStringList m_pictures;
    QStringList m_names;
    QString m_prefix = QString::fromLatin1(kDefaultNamePrefix);
    qint64 m_start = kDefaultStartNumber;
    bool m_stampChosen = false;
    bool m_quiet = false;
    bool m_userNamed = false;
    std::shared_ptr<ui::AlertView> m_refusal;
    std::shared_ptr<ui::ImageView> m_strip;
    std::shared_ptr<ui::TextField> m_nameField;
    std::shared_ptr<ui::TextField> m_numField;
    std::shared_ptr<ui::Button> m_storeButton;
    ClosablePanel m_chooser;
};

} // namespace vimora
