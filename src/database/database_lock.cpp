#include "database_lock.h"

#include "platform/program_directory.h"

#include <QDir>

namespace database {

QString databaseLockPath(const QString& programDirectory, const QString& name) {
    return platform::databaseDirectory(programDirectory) + name + QStringLiteral(".lock");
}

QString databaseBusyMessage(const QString& name) {
    return QStringLiteral("Die Datenbank \"") + name +
           QStringLiteral("\" wird gerade von einem anderen Vorgang bearbeitet (Indizierung, "
                          "Sortierung, Positionsliste oder Löschen). Es wurde nichts geändert. "
                          "Bitte versuchen Sie es später noch einmal.");
}

bool DatabaseLock::acquire(const QString& programDirectory, const QString& name) {
    message_.clear();
    busy_ = false;
    const QString path = databaseLockPath(programDirectory, name);
    switch (lock_.tryLock(path)) {
    case platform::FileLock::Result::Acquired:
        return true;
    case platform::FileLock::Result::Busy:
        message_ = databaseBusyMessage(name);
        busy_ = true;
        return false;
    case platform::FileLock::Result::Failed:
        break;
    }
    message_ = QStringLiteral("Die Sperrdatei ") + QDir::toNativeSeparators(path) +
               QStringLiteral(" der Datenbank \"") + name +
               QStringLiteral("\" kann nicht angelegt werden: ") + lock_.error();
    return false;
}

} // namespace database
