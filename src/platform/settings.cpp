#include "platform/settings.h"

#include "platform/app_home.h"

namespace vimora {

Settings &Settings::shared()
{
    static Settings settings;
    return settings;
}

Settings::Settings()
{
    reopen();
}

void Settings::reopen()
{
    if (m_settings)
        m_settings->sync();
    m_settings = std::make_unique<QSettings>(AppHome::settingsPath(), QSettings::IniFormat);
}

QString Settings::stringForKey(const QString &key) const
{
    return m_settings->value(key).toString();
}

void Settings::setString(const QString &key, const QString &value)
{
    m_settings->setValue(key, value);
}

void Settings::remove(const QString &key)
{
    m_settings->remove(key);
}

void Settings::sync()
{
    m_settings->sync();
}

} // namespace vimora
