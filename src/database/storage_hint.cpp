#include "storage_hint.h"

#include <QStorageInfo>

namespace database {
namespace {

// Below this a volume counts as full: what failed to be written was larger.
constexpr qint64 kNearlyFull = 1 << 20;

} // namespace

QString storageHint(const QString& path) {
    const QStorageInfo volume(path);
    if (!volume.isValid())
        return {};
    if (volume.isReadOnly())
        return QStringLiteral(" Der Datenträger ist schreibgeschützt.");
    if (volume.bytesAvailable() < kNearlyFull)
        return QStringLiteral(" Auf dem Datenträger ist nicht genug Platz frei.");
    return {};
}

QString withStorageHint(const QString& message, const QString& path) {
    const QString hint = storageHint(path);
    if (hint.isEmpty())
        return message;
    return message + (message.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + hint;
}

} // namespace database
