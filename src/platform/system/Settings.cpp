#include "platform/system/Settings.h"

#include <QSettings>

namespace platform {
namespace {
QString keyOf(const QString& section, const QString& key) { return section + "/" + key; }
}

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, app, app);
    const QVariant value = store.value(keyOf(section, key));
    return value.isValid() ? value.toString() : defaultValue;
}

void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, app, app);
    store.setValue(keyOf(section, key), value);
}

void DeleteSetting(const QString& app, const QString& section, const QString& key)
{
    QSettings store(QSettings::IniFormat, QSettings::UserScope, app, app);
    store.remove(keyOf(section, key));
}

} // namespace platform
