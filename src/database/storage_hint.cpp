#include "storage_hint.h"

#include "textio/durable_files.h"

#include <QFileInfo>
#include <QStorageInfo>

namespace database {
namespace {

// Below this a volume counts as full: a failed write wanted more, and a
// writer that failed for lack of room leaves about nothing free.
constexpr qint64 kNearlyFull = 64 << 10;

// The volume is asked through the nearest folder that exists: the file
// that failed was often never made.
QString existingFolderOf(QString path) {
    QFileInfo info(path);
    while (!info.exists() && !info.isRoot() && !path.isEmpty()) {
        path = info.absolutePath();
        const QFileInfo parent(path);
        if (parent.absoluteFilePath() == info.absoluteFilePath())
            break;
        info = parent;
    }
    return info.absoluteFilePath();
}

} // namespace

QString storageHint(const QString& path) {
    const QStorageInfo volume(existingFolderOf(path));
    if (!volume.isValid())
        return {};
    if (volume.isReadOnly())
        return QStringLiteral(" Der Datenträger ist schreibgeschützt.");
    if (volume.bytesAvailable() < kNearlyFull)
        return QStringLiteral(" Auf dem Datenträger ist nicht genug Platz frei.");
    return {};
}

QString withStorageHint(const QString& message, const QString& path) {
    QString hint = storageHint(path);
    // The room a failed write took is often free again by now; the system's
    // reason in the message still tells.
    if (hint.isEmpty() && message.contains(textio::diskFullReason()))
        hint = QStringLiteral(" Auf dem Datenträger ist nicht genug Platz frei.");
    if (hint.isEmpty())
        return message;
    return message + (message.endsWith(QLatin1Char('.')) ? QString() : QStringLiteral(".")) + hint;
}

} // namespace database
