#include "bookmarks.h"

namespace viewer {

QString bookmarkValueName(const QString& databaseName) {
    return QStringLiteral("Lesezeichen_") + databaseName;
}

qint64 readBookmark(platform::SettingsStore& settings, const QString& databaseName) {
    bool ok = false;
    const qint64 offset = settings.read(bookmarkValueName(databaseName)).trimmed().toLongLong(&ok);
    return ok ? offset : 0;
}

void writeBookmark(platform::SettingsStore& settings, const QString& databaseName, qint64 top) {
    settings.write(bookmarkValueName(databaseName), QString::number(top));
}

} // namespace viewer
