#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// Replacing the files of a database in one step.
//
// An index run writes a whole new generation of a database's files (the
// document list, the text, the log, the text cache) and must not leave a new
// text beside an old document list, whatever moment it dies at. The files
// keep their names and formats, which other programs read, so the switch
// cannot live inside them. Instead:
//
// 1. The new files are staged under their final names in the database's
//    staging folder Datenbank/Temp/<name>.neu/ and synced to disk with it.
// 2. A journal naming them is written as Datenbank/<name>.journal.neu,
//    synced, and renamed to Datenbank/<name>.journal. That rename is the
//    switch: before it the previous generation stands, after it the new one.
// 3. The staged files are renamed over the database's files one by one,
//    the journal is removed, and the staging folder with it.
//
// A journal that is found in place means step 3 did not finish. Every
// reader of a database therefore first completes it (rolls it forward):
// the renames whose staged file is still there are done again, the others
// were done before. Doing that twice, or from two programs at once, comes
// to the same files. A staging folder is removed as abandoned only under
// the database's lock and once its switch is completed (run_scratch.h), so
// staged files of a pending switch are never lost.
namespace database {

// Datenbank/Temp/<name>.neu/: where a run stages the next generation.
QString stagingFolder(const QString& programDirectory, const QString& name);
// Datenbank/<name>.journal: present only while a switch is under way.
QString switchJournalPath(const QString& programDirectory, const QString& name);

// Empties the staging folder of a database, creating it when missing.
// False, with the system's reason, when it cannot be made.
bool prepareStagingFolder(const QString& programDirectory, const QString& name,
                          QString* error = nullptr);

// The moments of a switch after which a test may stop it, as a crash would.
enum class SwitchStep {
    FilesSynced,    // the staged files and their folder are on disk
    JournalWritten, // the journal is on disk under its temporary name
    JournalInPlace, // the switch is made; nothing is renamed yet
    FileMoved,      // one more staged file is in place
    AllMoved,       // every staged file is in place; the journal is still there
    JournalRemoved, // the switch is complete
};
// Called after each step with the files moved so far; false stops there.
using SwitchStepHook = std::function<bool(SwitchStep step, int filesMoved)>;

struct SwitchOutcome {
    bool done = false;
    QString error; // German; empty when done or stopped by the hook
};

// Makes the staged files (plain file names in the staging folder, each to
// take the place of the file of the same name in Datenbank) the database's
// files in one step. A failure before the switch leaves the previous files
// as they were; one after it leaves the switch to be completed by the next
// reader, and is reported all the same.
SwitchOutcome switchToStagedFiles(const QString& programDirectory, const QString& name,
                                  const QStringList& fileNames, const SwitchStepHook& hook = {});

// Before a database is read: completes a switch of it that did not finish.
// Nothing when there was none or it is complete now; else why it is still
// pending (the files then stay as they are until a later try).
std::optional<QString> completeInterruptedSwitch(const QString& programDirectory,
                                                 const QString& name);

// The same for every database of the program directory.
void completeInterruptedSwitches(const QString& programDirectory);

} // namespace database
