#include "generation_switch.h"

#include "not_written_message.h"
#include "replace_file.h"

#include "platform/program_directory.h"
#include "textio/durable_files.h"
#include "textio/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace database {
namespace {

constexpr QLatin1StringView kJournalSuffix{".journal"};
constexpr QLatin1StringView kStagingSuffix{".neu"};
constexpr QByteArrayView kJournalHead{"Trovex-ODT Umstellung 1"};
constexpr QByteArrayView kJournalEnd{"Ende"};

// A journal names files of Datenbank only: no folder, nothing that climbs.
bool isPlainFileName(const QString& name) {
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

QByteArray journalBytes(const QStringList& fileNames) {
    QByteArray bytes = kJournalHead.toByteArray() + "\r\n";
    for (const QString& name : fileNames)
        bytes += name.toUtf8() + "\r\n";
    bytes += kJournalEnd.toByteArray() + "\r\n";
    return bytes;
}

// The files a journal names; nothing when it is not one whole journal.
std::optional<QStringList> parseJournal(const QByteArray& bytes) {
    if (!bytes.endsWith("\r\n"))
        return std::nullopt;
    const QList<QByteArray> lines = bytes.chopped(2).split('\n');
    if (lines.size() < 2 || lines.first() != kJournalHead.toByteArray() + '\r' ||
        lines.last() != kJournalEnd)
        return std::nullopt;
    QStringList names;
    for (qsizetype i = 1; i + 1 < lines.size(); ++i) {
        if (!lines.at(i).endsWith('\r'))
            return std::nullopt;
        const QString name = QString::fromUtf8(lines.at(i).chopped(1));
        if (!isPlainFileName(name))
            return std::nullopt;
        names.append(name);
    }
    return names;
}

bool continueAfter(const SwitchStepHook& hook, SwitchStep step, int moved) {
    return !hook || hook(step, moved);
}

QString databaseFolder(const QString& programDirectory) {
    return platform::databaseDirectory(programDirectory);
}

// Writes the journal under its temporary name and syncs it.
std::optional<QString> writeJournal(const QString& path, const QStringList& fileNames) {
    QFile journal(path);
    const QByteArray bytes = journalBytes(fileNames);
    if (!journal.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        journal.write(bytes) != bytes.size() || !journal.flush())
        return fileNotWrittenMessage(QDir::toNativeSeparators(path), journal.errorString());
    journal.close();
    QString reason;
    if (!textio::syncFileToDisk(path, &reason))
        return fileNotWrittenMessage(QDir::toNativeSeparators(path), reason);
    return std::nullopt;
}

struct RollForward {
    bool complete = false;
    QString error;
};

// Step 3 of a switch whose journal is in place: every staged file that is
// still there goes to its place, then the journal and the staging folder go.
RollForward rollForward(const QString& programDirectory, const QString& name,
                        const QStringList& fileNames, const SwitchStepHook& hook) {
    const QString staging = stagingFolder(programDirectory, name);
    const QString target = databaseFolder(programDirectory);
    int moved = 0;
    for (const QString& fileName : fileNames) {
        const QString staged = staging + fileName;
        if (QFileInfo::exists(staged)) {
            if (const auto reason = replaceFile(staged, target + fileName))
                return {false, fileNotWrittenMessage(QDir::toNativeSeparators(target + fileName),
                                                     *reason)};
        }
        if (!continueAfter(hook, SwitchStep::FileMoved, ++moved))
            return {};
    }
    QString reason;
    if (!textio::syncFolderToDisk(target, &reason))
        return {false, fileNotWrittenMessage(QDir::toNativeSeparators(target), reason)};
    if (!continueAfter(hook, SwitchStep::AllMoved, moved))
        return {};
    const QString journal = switchJournalPath(programDirectory, name);
    if (!QFile::remove(journal) && QFileInfo::exists(journal))
        return {false, QStringLiteral("Die Datei ") + QDir::toNativeSeparators(journal) +
                           QStringLiteral(" konnte nicht gelöscht werden.")};
    textio::syncFolderToDisk(target);
    if (!continueAfter(hook, SwitchStep::JournalRemoved, moved))
        return {};
    QDir(staging).removeRecursively();
    return {true, {}};
}

} // namespace

QString stagingFolder(const QString& programDirectory, const QString& name) {
    return platform::tempDirectory(programDirectory) + name + kStagingSuffix + QLatin1Char('/');
}

QString switchJournalPath(const QString& programDirectory, const QString& name) {
    return databaseFolder(programDirectory) + name + kJournalSuffix;
}

bool prepareStagingFolder(const QString& programDirectory, const QString& name, QString* error) {
    const QString folder = stagingFolder(programDirectory, name);
    QDir(folder).removeRecursively();
    if (QDir().mkpath(folder))
        return true;
    if (error)
        *error = QStringLiteral("Kann das temporäre Verzeichnis ") +
                 QDir::toNativeSeparators(folder) + QStringLiteral(" nicht anlegen!");
    return false;
}

SwitchOutcome switchToStagedFiles(const QString& programDirectory, const QString& name,
                                  const QStringList& fileNames, const SwitchStepHook& hook) {
    const QString staging = stagingFolder(programDirectory, name);
    QString reason;
    for (const QString& fileName : fileNames) {
        if (!textio::syncFileToDisk(staging + fileName, &reason))
            return {false,
                    fileNotWrittenMessage(QDir::toNativeSeparators(staging + fileName), reason)};
    }
    if (!textio::syncFolderToDisk(staging, &reason))
        return {false, fileNotWrittenMessage(QDir::toNativeSeparators(staging), reason)};
    if (!continueAfter(hook, SwitchStep::FilesSynced, 0))
        return {};

    const QString journal = switchJournalPath(programDirectory, name);
    const QString journalStaged = journal + kStagingSuffix;
    if (const auto error = writeJournal(journalStaged, fileNames)) {
        QFile::remove(journalStaged);
        return {false, *error};
    }
    if (!continueAfter(hook, SwitchStep::JournalWritten, 0))
        return {};
    if (const auto renameReason = replaceFile(journalStaged, journal)) {
        QFile::remove(journalStaged);
        return {false, fileNotWrittenMessage(QDir::toNativeSeparators(journal), *renameReason)};
    }
    // The switch is made once the journal's name is on disk.
    if (!textio::syncFolderToDisk(databaseFolder(programDirectory), &reason))
        return {false, fileNotWrittenMessage(
                           QDir::toNativeSeparators(databaseFolder(programDirectory)), reason)};
    if (!continueAfter(hook, SwitchStep::JournalInPlace, 0))
        return {};

    const RollForward rolled = rollForward(programDirectory, name, fileNames, hook);
    return {rolled.complete, rolled.error};
}

std::optional<QString> completeInterruptedSwitch(const QString& programDirectory,
                                                 const QString& name) {
    const QString journal = switchJournalPath(programDirectory, name);
    QFile file;
    if (!textio::openRegularFile(file, journal))
        return std::nullopt;
    const auto fileNames = parseJournal(file.readAll());
    file.close();
    if (!fileNames) {
        // Only a whole journal is ever renamed into place: this one was
        // damaged afterwards and cannot say what to move. The files stand
        // as they are.
        QFile::remove(journal);
        return std::nullopt;
    }
    const RollForward rolled = rollForward(programDirectory, name, *fileNames, {});
    if (rolled.complete)
        return std::nullopt;
    return rolled.error;
}

void completeInterruptedSwitches(const QString& programDirectory) {
    const QDir folder(databaseFolder(programDirectory));
    const QStringList journals =
        folder.entryList({QStringLiteral("*") + kJournalSuffix}, QDir::Files | QDir::Hidden);
    for (const QString& journal : journals)
        completeInterruptedSwitch(programDirectory, journal.chopped(kJournalSuffix.size()));
}

} // namespace database
