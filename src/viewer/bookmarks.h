#pragma once

#include "platform/settings_store.h"

#include <QString>

// One bookmark per database: the top-of-page offset stored as decimal text
// in the settings value "Lesezeichen_" + database name.
namespace viewer {

QString bookmarkValueName(const QString& databaseName);

// The stored offset; 0 when the value is empty or not a number.
qint64 readBookmark(platform::SettingsStore& settings, const QString& databaseName);

void writeBookmark(platform::SettingsStore& settings, const QString& databaseName, qint64 top);

} // namespace viewer
