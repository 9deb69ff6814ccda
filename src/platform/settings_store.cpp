#include "settings_store.h"

#include <QSettings>

namespace platform {

#ifdef Q_OS_WIN
QString QtSettingsStore::LeseRegKey(const QString& keyPath, const QString& valueName) {
    QSettings settings(QStringLiteral("HKEY_CURRENT_USER\\") + keyPath, QSettings::NativeFormat);
    return settings.value(valueName).toString();
}

void QtSettingsStore::SchreibeRegKey(const QString& keyPath, const QString& valueName,
                                     const QString& value) {
    QSettings settings(QStringLiteral("HKEY_CURRENT_USER\\") + keyPath, QSettings::NativeFormat);
    settings.setValue(valueName, value);
}
#else
namespace {

// Off Windows every value of the program's key lands in one file; a key path
// other than the program's own becomes a group inside it.
QString settingsKey(const QString& keyPath, const QString& valueName) {
    if (keyPath == kTrovexKeyPath)
        return valueName;
    QString group = keyPath;
    group.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (group.endsWith(QLatin1Char('/')))
        group.chop(1);
    return group + QLatin1Char('/') + valueName;
}

} // namespace

QString QtSettingsStore::LeseRegKey(const QString& keyPath, const QString& valueName) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Halvorn"),
                       QStringLiteral("Trovex-ODT"));
    return settings.value(settingsKey(keyPath, valueName)).toString();
}

void QtSettingsStore::SchreibeRegKey(const QString& keyPath, const QString& valueName,
                                     const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Halvorn"),
                       QStringLiteral("Trovex-ODT"));
    settings.setValue(settingsKey(keyPath, valueName), value);
}
#endif

} // namespace platform
