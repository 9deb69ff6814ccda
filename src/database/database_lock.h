#pragma once

#include "platform/file_lock.h"

#include <QString>

namespace database {

// Datenbank/<name>.lock: there only while a run holds the database.
QString databaseLockPath(const QString& programDirectory, const QString& name);

// The lock of one database, held for the whole of a run that writes its
// files (an index run, a list build, a file-position list, a deletion). A
// second such run of the same database, in this program or another, is
// refused; readers (the search, the viewer) take no lock and keep seeing
// one whole generation (generation_switch.h). The operating system lets go
// of the lock when the process ends, however it ends.
class DatabaseLock {
public:
    // False when another run holds the database (busy()) or the lock cannot
    // be made (a read-only or full volume); message() then says so in German.
    bool acquire(const QString& programDirectory, const QString& name);
    bool busy() const { return busy_; }
    bool held() const { return lock_.held(); }
    void release() { lock_.release(); }
    const QString& message() const { return message_; }

private:
    platform::FileLock lock_;
    QString message_;
    bool busy_ = false;
};

// "Die Datenbank "N" wird gerade von einem anderen Vorgang bearbeitet ..."
QString databaseBusyMessage(const QString& name);

} // namespace database
