#include "index_run.h"

#include "checksum.h"
#include "drive_list_filter.h"
#include "extension_slots.h"
#include "extraction_pipeline.h"
#include "unchanged_run.h"

#include "database/database_name.h"
#include "database/database_paths.h"
#include "database/drive_file_list.h"
#include "database/exclusion_list.h"
#include "database/index_log.h"
#include "database/not_written_message.h"
#include "database/storage_hint.h"
#include "jobs/job_log.h"
#include "platform/native_file_name.h"
#include "platform/program_directory.h"
#include "platform/settings_values.h"
#include "textio/regular_file.h"
#include "textio/text_files.h"
#include "textio/utf8.h"
#include "textio/windows1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>

#include <chrono>
#include <deque>
#include <thread>

namespace indexing {
namespace {

// Documents the readers may work on ahead of the writer, per thread: enough
// to keep them busy past a large document, few enough that memory does not
// grow with the run.
constexpr qsizetype kDocumentsAheadPerThread = 32;
constexpr int kMaxThreads = 64;

qint64 steadyMilliseconds() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Calls take() for every line of the drive file list as the "UTF-16 marks
// only" loader gives it, without holding the lines: the file is mapped.
bool forEachDriveListLine(const QString& fileName,
                          const std::function<void(const QString&)>& take) {
    QFile file;
    if (!textio::openRegularFile(file, fileName))
        return false;
    QByteArray readBytes;
    const qint64 size = file.size();
    const uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
    if (!mapped && size > 0)
        readBytes = file.readAll();
    textio::forEachLineUtf16MarksOnly(
        mapped ? QByteArrayView(mapped, size) : QByteArrayView(readBytes), take);
    return true;
}

QByteArray withLineEnd(const QString& line) {
    return textio::utf8EncodeStandard(line) + "\r\n";
}

QString inUseMessage(const QString& path) {
    return QStringLiteral("Der Zugriff auf die Datei: \"") + path +
           QStringLiteral("\" wurde verweigert!\r\nDie Datei ist von einem anderen Programm schon "
                          "geöffnet. Schließen Sie dieses Programm und versuchen Sie erneut die "
                          "Indizierung.");
}

} // namespace

IndexRun::IndexRun(QString programDirectory, const platform::DriveMap& drives,
                   platform::SettingsStore& settings, platform::RunContext context,
                   IndexProgress progress)
    : programDirectory_(platform::withTrailingSeparator(programDirectory))
    , drives_(drives)
    , settings_(settings)
    , context_(std::move(context))
    , progress_(std::move(progress))
    , clock_(steadyMilliseconds) {}

IndexRun::~IndexRun() = default;

void IndexRun::setStatus(const QString& text) {
    status_ = text;
    if (progress_.status)
        progress_.status(text);
}

void IndexRun::report(IndexMessage message) {
    if (progress_.message)
        progress_.message(message);
}

void IndexRun::setCaption(const QString& text) {
    if (progress_.caption)
        progress_.caption(text);
}

qint64 IndexRun::elapsedSeconds() const {
    return clock_() / 1000 - startTick_ / 1000;
}

QString IndexRun::writeError() const {
    if (!listError_.isEmpty())
        return listError_;
    return writer_ ? writer_->error() : QString();
}

bool IndexRun::run(const IndexRunRequest& request) {
    if (!begin(request))
        return false;
    const bool listed = readDriveList();
    finish();
    return listed && writeError().isEmpty();
}

bool IndexRun::begin(const IndexRunRequest& request) {
    request_ = request;
    refusal_ = database::databaseNameMessage(request.name);
    if (refusal_.isEmpty() && !lock_.acquire(programDirectory_, request.name)) {
        // Busy: refused. A lock file that cannot be made (a read-only or
        // full volume) means nothing can be saved: the run says so at its
        // finish, as for any file it cannot write, and touches nothing.
        if (lock_.busy())
            refusal_ = lock_.message();
        else
            listError_ = lock_.message();
    }
    if (!refusal_.isEmpty()) {
        running_ = false;
        return false;
    }
    if (listError_.isEmpty()) {
        database::removeAbandonedScratch(programDirectory_);
        if (const std::optional<QString> problem = platform::makeUnpackDirectory(programDirectory_))
            report({IndexMessage::Kind::UnpackFolderNotMade,
                    platform::unpackDirectory(programDirectory_), *problem});
        // Every file of the new database is staged here; without it nothing
        // can be saved, and the run says so at its finish.
        if (!scratch_.create(programDirectory_))
            listError_ = scratch_.error();
        else
            database::prepareStagingFolder(programDirectory_, request.name, &listError_);
    }
    listedFiles_ = 0;
    skippedDocuments_.clear();
    indexedDocuments_ = 0;
    totalSize_ = 0;
    startTick_ = clock_();
    slots_ = listSlots(parsePatternText(request.patternText));
    writer_ = std::make_unique<DatabaseWriter>(programDirectory_, request.name, scratch_.path());
    setStatus(request.updateMode ? QStringLiteral("Datenbank wird aktualisiert.")
                                 : QStringLiteral("Datenbank wird neu erstellt."));
    running_ = true;
    return true;
}

void IndexRun::requestAbort() {
    // Once the builder is done the save goes on whole.
    if (running_)
        context_.cancel.requestStop();
}

// Said once, on the run's thread, where the run first sees the request.
bool IndexRun::stopWhenAborted() {
    if (!aborted())
        return false;
    if (!abortAnnounced_) {
        qCDebug(lcJobs) << "index run" << request_.name << "stops after" << indexedDocuments_
                        << "documents";
        abortAnnounced_ = true;
        setStatus(QStringLiteral("Indizierung wurde abgebrochen! Die Daten werden gespeichert"));
    }
    return true;
}

std::optional<QString> IndexRun::driveFileListPath() const {
    const QChar letter = request_.folder.isEmpty() ? QChar() : request_.folder.at(0);
    if (const auto own = database::findDriveFileList(programDirectory_, letter))
        return own;
    const QString control = settings_.read(platform::settings::kTrovexControl);
    if (!control.isEmpty())
        return database::findDriveFileList(platform::withTrailingSeparator(control), letter);
    return std::nullopt;
}

QString IndexRun::stagedPath(const QString& databaseFile) const {
    return database::stagingFolder(programDirectory_, request_.name) +
           QFileInfo(databaseFile).fileName();
}

QString IndexRun::stagedDocumentListPath() const {
    return stagedPath(database::documentListPath(programDirectory_, request_.name));
}

// Steps 6 to 12 of reading the list: the header, the filtered entries (N
// counts them before the drive-prefix test, which only decides what the
// document list keeps), written to a staged document list.
bool IndexRun::writeStagedDocumentList(const QString& driveListPath) {
    QFile staged(stagedDocumentListPath());
    if (!staged.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        listError_ = database::fileNotWrittenMessage(staged.fileName(), staged.errorString());
        return false;
    }
    documentListSize_ = 0;
    documentListChecksum_ = 0;
    const auto put = [&](const QByteArray& bytes) {
        staged.write(bytes);
        documentListSize_ += bytes.size();
        documentListChecksum_ = extendCrc32c(documentListChecksum_, bytes);
    };
    put(withLineEnd(database::documentListHeader(request_.folder, slots_)));
    const QStringList exclusions =
        database::loadExclusionSet(database::exclusionListPath(programDirectory_));
    exclusionChecksum_ = extendCrc32c(0, exclusions.join(QLatin1Char('\n')).toUtf8());
    DriveListFilter filter(request_.folder, slots_, exclusions);
    qint64 count = 0;
    forEachDriveListLine(driveListPath, [&](const QString& line) {
        for (const QString& entry : filter.takeLine(line)) {
            ++count;
            if (DriveListFilter::hasDrivePrefix(entry))
                put(withLineEnd(entry));
        }
        context_.checkpoint();
    });
    listedFiles_ = count;
    if (!staged.flush() || staged.error() != QFileDevice::NoError) {
        listError_ = database::fileNotWrittenMessage(staged.fileName(), staged.errorString());
        return false;
    }
    staged.close();
    documentListStaged_ = true;
    return true;
}

bool IndexRun::readDriveList() {
    if (refused())
        return false;
    writer_->resetPartCounter();
    if (!listError_.isEmpty()) {
        running_ = false;
        return false;
    }
    const auto driveListPath = driveFileListPath();
    if (!driveListPath) {
        driveListMissing_ = true;
        running_ = false;
        return false;
    }
    if (!writeStagedDocumentList(*driveListPath)) {
        running_ = false;
        return false;
    }
    if (progress_.listedFiles)
        progress_.listedFiles(listedFiles_);
    extractDocuments();
    const bool wasAborted = aborted();
    running_ = false;
    setStatus(wasAborted ? QStringLiteral("Fertig mit der abgebrochenen Indizierung.")
                         : QStringLiteral("Fertig mit der Indizierung."));
    setCaption(QString());
    return true;
}

bool IndexRun::admitted(const QString& path) const {
    const QString lower = path.toLower();
    bool containerExtension = false;
    for (const char* extension : {".odt", ".docm", ".docx", ".epub"})
        containerExtension = containerExtension || lower.contains(QLatin1String(extension));
    if (!containerExtension)
        return false;
    const QString pattern = extensionPattern(path);
    for (const QString& slot : slots_) {
        if (!slot.isEmpty() && pattern.contains(slot))
            return true;
    }
    return false;
}

int IndexRun::threadCount() const {
    int threads = threads_;
    if (threads <= 0)
        threads =
            platform::settings::readInteger(settings_, platform::settings::kIndexingThreads, 0);
    if (threads <= 0)
        threads = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(threads, 1, kMaxThreads);
}

QString IndexRun::stagedTextCachePath() const {
    return stagedPath(database::textCachePath(programDirectory_, request_.name));
}

void IndexRun::extractDocuments() {
    indexedDocuments_ = 0;
    totalSize_ = 0;
    writer_->resetPartCounter();
    if (!documentListStaged_) {
        writer_->writeDatabaseText();
        return;
    }

    const ExtractionLimits limits{memberSizeCap_, kDefaultContainerSizeCap};
    const TextCache previous(database::textCachePath(programDirectory_, request_.name), limits);
    if (keepUnchangedDatabase(previous))
        return;
    cacheWriter_ = std::make_unique<TextCacheWriter>(stagedTextCachePath(), limits, &previous);
    const int threads = threadCount();
    ExtractionPipeline pipeline({threads, limits, &previous, [this] { context_.checkpoint(); }});

    UnpackEnvironment environment{programDirectory_,  &drives_,    writer_.get(), &context_, {},
                                  &indexedDocuments_, splitLimit_, limits};
    environment.caption = [this](const QString& text) { setCaption(text); };
    environment.containerCut = [this](const QString& path, quint8 cut) {
        reportContainerCut(path, cut);
    };
    environment.extraction = [&](const QString& path) {
        std::optional<ExtractionPipeline::Taken> taken = pipeline.take(path);
        if (!taken || !taken->cacheEntry)
            cacheComplete_ = false;
        if (!taken)
            return DocumentExtraction{};
        if (taken->cacheEntry)
            cacheWriter_->add(*taken->cacheEntry);
        return std::move(taken->extraction);
    };

    // The list is read a few documents ahead of the writer, so the readers
    // have work; each document is then handled in list order.
    const qsizetype ahead = threads > 1 ? kDocumentsAheadPerThread * threads : 0;
    std::deque<QString> upcoming;
    bool stopped = false;
    database::forEachDocumentPath(stagedDocumentListPath(), [&](const QString& path) {
        upcoming.push_back(path);
        if (admitted(path)) {
            if (const auto native = drives_.toNative(path))
                pipeline.submit(path, *native);
        }
        while (qsizetype(upcoming.size()) > ahead) {
            const QString next = std::move(upcoming.front());
            upcoming.pop_front();
            if (!indexDocument(next, environment)) {
                stopped = true;
                return false;
            }
        }
        return true;
    });
    while (!stopped && !upcoming.empty()) {
        const QString next = std::move(upcoming.front());
        upcoming.pop_front();
        stopped = !indexDocument(next, environment);
    }
    writer_->writeDatabaseText();
}

// A re-index that would write the database that is there writes none of
// it: the figures for the log come from the cache, the messages about
// unreadable containers are given as the builder gives them.
bool IndexRun::keepUnchangedDatabase(const TextCache& previous) {
    UnchangedRunInputs inputs;
    inputs.programDirectory = programDirectory_;
    inputs.name = request_.name;
    inputs.stagedDocumentList = stagedDocumentListPath();
    inputs.documentListSize = documentListSize_;
    inputs.documentListChecksum = documentListChecksum_;
    inputs.exclusionChecksum = exclusionChecksum_;
    inputs.splitLimit = splitLimit_;
    inputs.drives = &drives_;
    inputs.context = &context_;
    inputs.admitted = [this](const QString& path) { return admitted(path); };
    inputs.aborted = [this] { return aborted(); };
    const std::optional<UnchangedRun> unchanged = findUnchangedRun(inputs, previous);
    if (!unchanged)
        return false;
    indexedDocuments_ = unchanged->indexedDocuments;
    totalSize_ = unchanged->totalSize;
    for (const UnchangedRun::Report& report : unchanged->reports) {
        if (report.passwordProtected)
            reportPasswordProtected(report.path);
        else if (report.unreadable)
            reportUnreadable(report.path);
        else
            reportContainerCut(report.path, report.cut);
    }
    textKept_ = true;
    return true;
}

// One document of the list, in the steps of the text-document builder.
// False when the run was aborted: the document is not extracted.
bool IndexRun::indexDocument(const QString& path, UnpackEnvironment& environment) {
    context_.checkpoint();
    if (!admitted(path))
        return true;
    const auto native = drives_.toNative(path);
    QFile document;
    textio::OpenFailure failure = textio::OpenFailure::Missing;
    if (!native || !platform::openNativeRegularFile(document, *native, &failure)) {
        reportNotOpened(path, failure);
        return true;
    }
    context_.checkpoint();
    totalSize_ += document.size();
    document.close();
    if (stopWhenAborted())
        return false;
    if (platform::nativeFileExists(*native)) {
        context_.checkpoint();
        const UnpackOutcome outcome = unpackDocument(path, environment);
        if (outcome == UnpackOutcome::Unreadable)
            reportUnreadable(path);
        else if (outcome == UnpackOutcome::PasswordProtected)
            reportPasswordProtected(path);
    }
    return true;
}

void IndexRun::reportContainerCut(const QString& path, quint8 cut) {
    if (progress_.notice)
        progress_.notice(
            containerCutMessage(path, cut, {memberSizeCap_, kDefaultContainerSizeCap}));
}

QStringList IndexRun::skippedPaths(SkipReason reason) const {
    QStringList paths;
    for (const SkippedDocument& document : skippedDocuments_) {
        if (document.reason == reason)
            paths.append(document.path);
    }
    return paths;
}

void IndexRun::reportUnreadable(const QString& path) {
    reportSkipped({path, SkipReason::Damaged});
}

// Only a document another program holds locked gets the box that asks to
// close that program; one that has gone or may not be read is named in the
// summary after the run, and the run goes on.
void IndexRun::reportNotOpened(const QString& path, textio::OpenFailure failure) {
    switch (failure) {
    case textio::OpenFailure::InUse:
        report({IndexMessage::Kind::DocumentInUse, path, inUseMessage(path)});
        return;
    case textio::OpenFailure::Missing:
        reportSkipped({path, SkipReason::Gone});
        return;
    default:
        reportSkipped({path, SkipReason::NotReadable});
        return;
    }
}

void IndexRun::reportSkipped(const SkippedDocument& document) {
    skippedDocuments_.append(document);
    if (progress_.notice)
        progress_.notice(skippedDocumentNotice(document));
}

void IndexRun::reportPasswordProtected(const QString& path) {
    reportSkipped({path, SkipReason::PasswordProtected});
}

// Ends the new text cache with the record of this run. The cache only
// spares work: when it cannot be written the database is still whole, so
// the run says so and keeps the previous cache, whose entries still match
// the documents they were made from. Nothing when there is nothing to stage.
std::optional<QString> IndexRun::stageTextCache() {
    if (!cacheWriter_)
        return std::nullopt;
    const std::unique_ptr<TextCacheWriter> cache = std::move(cacheWriter_);
    RunRecord record;
    record.complete = !aborted() && cacheComplete_;
    record.splitLimit = splitLimit_;
    record.exclusionChecksum = exclusionChecksum_;
    record.documentListSize = documentListSize_;
    record.documentListChecksum = documentListChecksum_;
    if (const auto text = documentStamp(writer_->stagedTextPath())) {
        record.textSize = text->size;
        record.textModified = text->modified;
    } else {
        record.complete = false;
    }
    record.textChecksum = writer_->stagedTextChecksum();
    if (!cache->finish(record)) {
        if (progress_.notice)
            progress_.notice(database::withStorageHint(cache->error(), cache->stagedPath()));
        return std::nullopt;
    }
    if (cache->keepsPrevious())
        return std::nullopt;
    return QFileInfo(cache->stagedPath()).fileName();
}

// Writes the log beside the staged files and names every file that is to
// take the place of the database's own; a failure is a write error.
QStringList IndexRun::stageGeneration(const QStringList& logLines) {
    QStringList files;
    if (writer_->databaseTextWritten())
        files.append(QFileInfo(writer_->stagedTextPath()).fileName());
    if (const auto cache = stageTextCache())
        files.append(*cache);
    if (documentListStaged_ && !textKept_)
        files.append(QFileInfo(stagedDocumentListPath()).fileName());
    const QString log = stagedPath(database::indexLogPath(programDirectory_, request_.name));
    QString error;
    if (!database::writeIndexLog(logLines, log, &error))
        listError_ = database::fileNotWrittenMessage(log, error);
    files.append(QFileInfo(log).fileName());
    return files;
}

void IndexRun::reportNotSaved() {
    setStatus(QStringLiteral("Die Datenbank wurde nicht gespeichert."));
    report({IndexMessage::Kind::NotSaved, QString(),
            database::withStorageHint(QStringLiteral("Die Datenbank \"") + request_.name +
                                          QStringLiteral("\" wurde nicht gespeichert. ") +
                                          writeError(),
                                      programDirectory_)});
}

void IndexRun::finish() {
    if (refused())
        return;
    // Whatever happens below, the scratch and the database are let go.
    const auto release = qScopeGuard([this] { end(); });
    if (writer_->splitFlag()) {
        writer_->moveAndMerge([this](const QString& text) { setCaption(text); });
        setStatus(status_);
    }
    setCaption(QString());
    database::RunFigures figures;
    figures.listedFiles = listedFiles_;
    figures.indexedDocuments = indexedDocuments_;
    figures.elapsedSeconds = elapsedSeconds();
    figures.totalSize = totalSize_;
    const QStringList logLines = database::indexLogLines(figures);
    if (writeError().isEmpty()) {
        const QStringList files = stageGeneration(logLines);
        if (writeError().isEmpty()) {
            const database::SwitchOutcome outcome =
                database::switchToStagedFiles(programDirectory_, request_.name, files, switchHook_);
            if (!outcome.error.isEmpty())
                listError_ = outcome.error;
        }
    }
    running_ = false;
    if (!writeError().isEmpty()) {
        qCDebug(lcJobs) << "index run" << request_.name << "not saved:" << writeError();
        reportNotSaved();
        return;
    }
    logLines_ = logLines;
}

void IndexRun::end() {
    scratch_.remove();
    lock_.release();
}

std::optional<StoredRunInputs> readStoredRunInputs(const QString& programDirectory,
                                                   const QString& name) {
    database::completeInterruptedSwitch(programDirectory, name);
    const auto header = database::readHeader(database::documentListPath(programDirectory, name));
    if (!header)
        return std::nullopt;
    const database::HeaderParts parts = database::splitHeader(*header);
    return StoredRunInputs{parts.folder, parts.slotText.toUpper()};
}

} // namespace indexing
