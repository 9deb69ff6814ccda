#pragma once

#include "platform/file_lock.h"

#include <QString>

// Scratch space of one run. Several runs (an index run, a list build, in
// this program or in others) work at once below Datenbank/Temp, so each
// works in a folder of its own, Datenbank/Temp/Lauf-<id>/, and removes
// only that. The run holds the lock file Lauf.lock inside it for its whole
// life; a folder whose lock nobody holds was left by a run that is gone.
namespace database {

class RunScratch {
public:
    RunScratch() = default;
    ~RunScratch() { remove(); }
    RunScratch(const RunScratch&) = delete;
    RunScratch& operator=(const RunScratch&) = delete;

    // Makes and locks a new folder. False, with the German message in
    // error(), when Datenbank/Temp or the folder cannot be made.
    bool create(const QString& programDirectory);
    bool exists() const { return !path_.isEmpty(); }
    // The folder, ending in the separator; empty before create().
    const QString& path() const { return path_; }
    const QString& error() const { return error_; }
    // Removes the folder and all in it, then lets go of its lock.
    void remove();

private:
    QString path_;
    QString error_;
    platform::FileLock lock_;
};

// True for the name of a run's own folder in Datenbank/Temp.
bool isRunScratchName(const QString& name);

// Removes what runs that are gone left in Datenbank/Temp: their folders
// whose lock nobody holds, and the staging folders of databases that no
// run holds once their pending switches are completed (a staging folder
// whose switch cannot be completed yet stays). Everything else there stays:
// it may belong to a run that is still working.
void removeAbandonedScratch(const QString& programDirectory);

} // namespace database
