#pragma once
// The per-user settings store: text values addressed by application, section and key, with a
// default returned when the key is missing. One INI file per application name under the user's
// configuration folder ("KIVRA", "VerevIradivez").
#include <QString>

namespace platform {

QString GetSetting(const QString& app, const QString& section, const QString& key,
                   const QString& defaultValue = QString());
void SaveSetting(const QString& app, const QString& section, const QString& key,
                 const QString& value);
void DeleteSetting(const QString& app, const QString& section, const QString& key);

} // namespace platform
