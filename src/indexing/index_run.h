#pragma once

#include "archive_reader.h"
#include "database_writer.h"
#include "skipped_documents.h"
#include "text_cache.h"
#include "text_extraction.h"
#include "unpack_document.h"

#include "database/database_lock.h"
#include "database/document_list.h"
#include "database/generation_switch.h"
#include "database/run_scratch.h"
#include "platform/drive_map.h"
#include "platform/run_context.h"
#include "platform/settings_store.h"
#include "textio/regular_file.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>

namespace indexing {

// What the new-database dialog hands to a run.
struct IndexRunRequest {
    QString name;        // database name (already checked)
    QString folder;      // Windows form, as entered: "D:\Texte", "C:\"
    QString patternText; // the pattern field: "*.odt *.docx"
    bool updateMode = false;
};

// A message the run has for the user, in the order of the run: the driver
// shows it in a box. The run does not wait for it to be read.
struct IndexMessage {
    enum class Kind {
        UnpackFolderNotMade, // warning; the run goes on
        DocumentInUse,       // information: another program holds `path` open
        NotSaved,            // warning: the database was not saved, `text` says why
    };
    Kind kind = Kind::NotSaved;
    QString path; // DocumentInUse: the document; UnpackFolderNotMade: the folder
    QString text; // the German text of the box
    bool warning() const { return kind != Kind::DocumentInUse; }
};

// Where a run reports what the main window shows. Every callback may be
// left empty; they are called on the thread the run works on.
struct IndexProgress {
    // The window caption: "<count>  Datei:  <path>" per document,
    // "Aufgeteilte Dateien zusammenfügen:  <part>" while merging, "" at the end.
    std::function<void(const QString&)> caption;
    // The status line: "Datenbank wird neu erstellt.", "Fertig mit der
    // Indizierung." and the others.
    std::function<void(const QString&)> status;
    // N, the listed files, once the drive file list has been read.
    std::function<void(qint64)> listedFiles;
    // A document that gave no text ("<D:\Texte\Kaputt.docx> invalid
    // zipfile", "<...> nicht mehr vorhanden", "<...> kann nicht gelesen
    // werden", "<...> passwortgeschützt"); the run goes on without waiting
    // for anyone.
    std::function<void(const QString&)> notice;
    std::function<void(const IndexMessage&)> message;
};

// One index run, from a confirmed dialog to a finished database, without
// any window. A window (or the command line) creates one object per run:
//
//     IndexRun run(programDirectory, drives, settings, context, progress);
//     run.run(request);   // begin(), readDriveList(), finish()
//
// and, from another thread while the run works, may call requestAbort()
// (the close button). Messages go to progress.message. The database's files (.dat,
// _UTF8Dokument.txt, .log, _Textcache.bin) are staged and replaced only at
// the finish, all in one switch (generation_switch.h), so a run that dies on
// the way leaves the previous database whole; an aborted run still saves
// what it gathered.
//
// Documents are extracted by reader threads ahead of the one writer, which
// stays on the calling thread and takes them in the order of the list: the
// bytes written, the captions and the messages are those of a run that
// reads each document when it gets to it. The text cache beside the
// database (_Textcache.bin) spares a re-index the documents that have not
// changed, and when nothing changed at all (unchanged_run.h) the run leaves
// the database text, the document list and the cache as they are and
// writes the log only.
class IndexRun {
public:
    IndexRun(QString programDirectory, const platform::DriveMap& drives,
             platform::SettingsStore& settings, platform::RunContext context,
             IndexProgress progress = {});
    ~IndexRun();

    // Limits for tests and special uses. A split limit below one character
    // is taken as one.
    void setSplitLimit(qint64 characters) { splitLimit_ = std::max<qint64>(characters, 1); }
    void setMemberSizeCap(qint64 bytes) { memberSizeCap_ = bytes; }
    // Milliseconds of a steady clock; the elapsed time is taken from it.
    void setClock(std::function<qint64()> clock) { clock_ = std::move(clock); }
    // Threads that extract documents; 0 (the default) takes the settings
    // value Indizierung_Threads, or one per processor when it is not set.
    void setThreads(int threads) { threads_ = threads; }
    int threadCount() const;
    // For tests: called between the steps of the switch at the finish.
    void setSwitchHook(database::SwitchStepHook hook) { switchHook_ = std::move(hook); }

    // The whole run. False when it was refused (refusal()), the drive file
    // list was missing (nothing was indexed) or a file could not be written
    // (see writeError()).
    [[nodiscard]] bool run(const IndexRunRequest& request);

    // The steps, for a driver that starts the file-list tool in between.
    // begin: the database's lock, scratch folders, the start time, the
    // slots, the status line. False when the run is refused before it
    // touches any file: the name is not one a database can have, or
    // another run holds the database (refusal() says which, in German);
    // the other steps then do nothing.
    [[nodiscard]] bool begin(const IndexRunRequest& request);
    // Reads and filters the drive file list into the document list and runs
    // the text-document builder. False when there is no drive file list
    // (driveListMissing()) or the document list could not be written
    // (writeError(); finish() then reports it and saves nothing).
    [[nodiscard]] bool readDriveList();
    // Merge when split, then the database files and the index log; then
    // end().
    void finish();
    // Lets go of the database and removes the run's scratch folder, for a
    // driver that does not finish (the drive file list was missing). The
    // destructor does it too.
    void end();

    // The close button during a run, from any thread: the builder stops
    // before the next document and what was gathered is saved.
    void requestAbort();

    bool running() const { return running_; }
    bool aborted() const { return context_.cancelled(); }
    bool driveListMissing() const { return driveListMissing_; }
    bool refused() const { return !refusal_.isEmpty(); }
    const QString& refusal() const { return refusal_; }
    qint64 listedFiles() const { return listedFiles_; }
    qint64 indexedDocuments() const { return indexedDocuments_; }
    qint64 totalSize() const { return totalSize_; }
    qint64 elapsedSeconds() const;
    const QString& statusText() const { return status_; }
    const QStringList& logLines() const { return logLines_; }
    // The first file that could not be written, in German; empty when none.
    QString writeError() const;
    // The documents whose container could not be read, in document order.
    QStringList unreadableDocuments() const { return skippedPaths(SkipReason::Damaged); }
    // Every listed document that gave no text, with the reason, in document
    // order: the summary after the run.
    const QList<SkippedDocument>& skippedDocuments() const { return skippedDocuments_; }
    // The documents encrypted with a password, in document order.
    QStringList passwordProtectedDocuments() const {
        return skippedPaths(SkipReason::PasswordProtected);
    }
    // True when the run found the database unchanged and wrote only the log.
    bool keptUnchangedDatabase() const { return textKept_; }

private:
    void extractDocuments();
    bool keepUnchangedDatabase(const TextCache& previous);
    bool indexDocument(const QString& path, UnpackEnvironment& environment);
    bool admitted(const QString& path) const;
    QString stagedPath(const QString& databaseFile) const;
    QString stagedTextCachePath() const;
    std::optional<QString> stageTextCache();
    QStringList stageGeneration(const QStringList& logLines);
    void reportNotSaved();
    QStringList skippedPaths(SkipReason reason) const;
    void reportUnreadable(const QString& path);
    void reportNotOpened(const QString& path, textio::OpenFailure failure);
    void reportSkipped(const SkippedDocument& document);
    void reportPasswordProtected(const QString& path);
    void reportContainerCut(const QString& path, quint8 cut);
    void setStatus(const QString& text);
    void report(IndexMessage message);
    bool stopWhenAborted();
    void setCaption(const QString& text);
    std::optional<QString> driveFileListPath() const;
    QString stagedDocumentListPath() const;
    bool writeStagedDocumentList(const QString& driveListPath);

    QString programDirectory_;
    const platform::DriveMap& drives_;
    platform::SettingsStore& settings_;
    platform::RunContext context_;
    IndexProgress progress_;
    std::function<qint64()> clock_;

    IndexRunRequest request_;
    database::ExtensionSlots slots_; // "*.odt" form
    std::unique_ptr<DatabaseWriter> writer_;
    qint64 splitLimit_ = kDefaultSplitLimit;
    qint64 memberSizeCap_ = kDefaultMemberSizeCap;
    int threads_ = 0;
    std::unique_ptr<TextCacheWriter> cacheWriter_;
    bool cacheComplete_ = true; // every document taken has its entry
    bool textKept_ = false;
    database::SwitchStepHook switchHook_;
    qint64 documentListSize_ = 0;
    quint32 documentListChecksum_ = 0;
    quint32 exclusionChecksum_ = 0;
    qint64 startTick_ = 0;
    qint64 listedFiles_ = 0;
    qint64 indexedDocuments_ = 0;
    qint64 totalSize_ = 0;
    std::atomic<bool> running_ = false; // read by requestAbort on the window's thread
    bool abortAnnounced_ = false;
    bool driveListMissing_ = false;
    bool documentListStaged_ = false;
    QString status_;
    QStringList logLines_;
    QList<SkippedDocument> skippedDocuments_;
    QString listError_;
    QString refusal_;
    // Held from begin() to the end of finish(): no other run writes this
    // database meanwhile, and this run's scratch is its own.
    database::DatabaseLock lock_;
    database::RunScratch scratch_;
};

// For an update run: the folder and the pattern text (upper-cased, as the
// dialog is pre-filled) from the header of Datenbank/<name>.dat. Nothing
// when the database has no document list.
struct StoredRunInputs {
    QString folder;
    QString patternText;
};
std::optional<StoredRunInputs> readStoredRunInputs(const QString& programDirectory,
                                                   const QString& name);

} // namespace indexing
