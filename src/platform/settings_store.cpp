#include "settings_store.h"

#include "textio/regular_file.h"

#include <QSettings>
#include <QStandardPaths>

namespace platform {
#ifdef Q_OS_WIN
QString QtSettingsStore::readValue(const QString& keyPath, const QString& valueName) {
    QSettings settings(QStringLiteral("HKEY_CURRENT_USER\\") + keyPath, QSettings::NativeFormat);
    return settings.value(valueName).toString();
}

void QtSettingsStore::writeValue(const QString& keyPath, const QString& valueName,
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

// The one file the store reads and writes (the place QSettings gives the
// program's user scope). QSettings opens it itself and would wait for ever
// on a FIFO put in its place, so its type is checked first; a file that is
// no regular file is neither read nor replaced.
QString settingsFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Halvorn/Trovex-ODT.conf");
}

} // namespace

QString QtSettingsStore::readValue(const QString& keyPath, const QString& valueName) {
    const QString file = settingsFile();
    if (!textio::isRegularFileOrMissing(file))
        return QString();
    QSettings settings(file, QSettings::NativeFormat);
    return settings.value(settingsKey(keyPath, valueName)).toString();
}

void QtSettingsStore::writeValue(const QString& keyPath, const QString& valueName,
                                 const QString& value) {
    const QString file = settingsFile();
    if (!textio::isRegularFileOrMissing(file))
        return;
    QSettings settings(file, QSettings::NativeFormat);
    settings.setValue(settingsKey(keyPath, valueName), value);
}
#endif

} // namespace platform
