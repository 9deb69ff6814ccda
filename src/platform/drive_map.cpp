#include "drive_map.h"

#include "settings_values.h"

#include <QDir>

namespace platform {
namespace {

QString cleanDirectory(const QString& directory) {
    QString clean = QDir::cleanPath(QDir::fromNativeSeparators(directory));
    return clean.isEmpty() ? QStringLiteral("/") : clean;
}

bool isDriveLetter(QChar c) {
    const char16_t u = c.toUpper().unicode();
    return u >= u'A' && u <= u'Z';
}

} // namespace

DriveMap::DriveMap() {
#ifdef Q_OS_WIN
    identity_ = true;
#else
    drives_.insert(QLatin1Char('Z'), QStringLiteral("/"));
#endif
}

DriveMap::DriveMap(SettingsStore& store)
    : DriveMap() {
#ifdef Q_OS_WIN
    // A Windows drive is itself; a stored mapping must not redirect it.
    if (identity_)
        return;
#endif
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
        const QString stored = store.read(settings::kDriveMappingPrefix + QChar(letter)).trimmed();
        if (!stored.isEmpty())
            setDrive(QChar(letter), stored);
    }
}

void DriveMap::setDrive(QChar letter, const QString& nativeDirectory) {
    drives_.insert(letter.toUpper(), cleanDirectory(nativeDirectory));
}

void DriveMap::removeDrive(QChar letter) {
    drives_.remove(letter.toUpper());
}

std::optional<QString> DriveMap::driveDirectory(QChar letter) const {
    const auto it = drives_.constFind(letter.toUpper());
    if (it != drives_.constEnd())
        return *it;
    if (identity_)
        return QString(letter.toUpper()) + QStringLiteral(":\\");
    return std::nullopt;
}

std::optional<QString> DriveMap::toNative(const QString& windowsPath) const {
    if (windowsPath.size() < 2 || windowsPath.at(1) != QLatin1Char(':') ||
        !isDriveLetter(windowsPath.at(0)))
        return std::nullopt;
    if (identity_ && !drives_.contains(windowsPath.at(0).toUpper()))
        return windowsPath;
    const auto directory = driveDirectory(windowsPath.at(0));
    if (!directory)
        return std::nullopt;
    QString rest = windowsPath.mid(2);
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    if (rest.isEmpty())
        return identity_ ? QDir::toNativeSeparators(*directory) : *directory;
    const QString native =
        (*directory == QStringLiteral("/") ? QString() : *directory) + QLatin1Char('/') + rest;
    return identity_ ? QDir::toNativeSeparators(native) : native;
}

std::optional<QString> DriveMap::toWindows(const QString& nativePath) const {
    const QString path = QDir::fromNativeSeparators(nativePath);
    std::optional<QChar> best;
    qsizetype bestLength = -1;
    for (auto it = drives_.constBegin(); it != drives_.constEnd(); ++it) {
        const QString& dir = it.value();
        const bool holds = dir == QStringLiteral("/")
                               ? path.startsWith(QLatin1Char('/'))
                               : (path == dir || path.startsWith(dir + QLatin1Char('/')));
        if (holds && dir.size() > bestLength) {
            best = it.key();
            bestLength = dir.size();
        }
    }
    if (!best)
        return identity_ ? std::optional<QString>(QDir::toNativeSeparators(nativePath))
                         : std::nullopt;
    QString rest = path.mid(bestLength == 1 ? 1 : bestLength);
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    rest.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return QString(*best) + QStringLiteral(":\\") + rest;
}

std::optional<std::pair<QChar, QString>> parseDriveOption(const QString& option) {
    if (option.size() < 3 || option.at(1) != QLatin1Char('=') || !isDriveLetter(option.at(0)))
        return std::nullopt;
    return std::pair{option.at(0).toUpper(), option.mid(2)};
}

} // namespace platform
