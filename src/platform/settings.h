#pragma once

#include <memory>

#include <QSettings>
#include <QString>

namespace vimora {

inline const QString kKeyButtonBack = QStringLiteral("ButtonBack");
inline const QString kKeyITunes = QStringLiteral("iTunes");
inline const QString kKeySaved = QStringLiteral("Saved");

/// The user defaults every screen shares: string values in an INI file in the home.
class Settings
{
public:
    static Settings &shared();

    /// Empty string when the key has no value.
    QString stringForKey(const QString &key) const;
    void setString(const QString &key, const QString &value);
    void remove(const QString &key);
    /// Writes pending changes to disk.
    void sync();

    /// Re-reads from the current application home (after the home moves).
    void reopen();

private:
    Settings();
    std::unique_ptr<QSettings> m_settings;
};

} // namespace vimora
