#include "run_scratch.h"

#include "database_lock.h"
#include "database_name.h"
#include "generation_switch.h"

#include "platform/program_directory.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

namespace database {
namespace {

constexpr QLatin1StringView kRunPrefix{"Lauf-"};
constexpr QLatin1StringView kLockName{"Lauf.lock"};
constexpr QLatin1StringView kStagingSuffix{".neu"};

QString cannotMake(const QString& folder) {
    return QStringLiteral("Kann das temporäre Verzeichnis ") + QDir::toNativeSeparators(folder) +
           QStringLiteral(" nicht anlegen!");
}

// Everything in the folder but its lock file.
void removeContentBesideLock(const QString& folder) {
    QDir dir(folder);
    const auto entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : entries) {
        if (entry.fileName() == kLockName)
            continue;
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.absoluteFilePath()).removeRecursively();
        else
            QFile::remove(entry.absoluteFilePath());
    }
}

void removeAbandonedRunFolder(const QString& folder) {
    platform::FileLock lock;
    if (lock.tryLock(folder + kLockName) != platform::FileLock::Result::Acquired)
        return;
    removeContentBesideLock(folder);
    lock.release();
    QDir().rmdir(folder);
}

void removeAbandonedStaging(const QString& programDirectory, const QString& name) {
    DatabaseLock lock;
    if (!lock.acquire(programDirectory, name))
        return;
    if (completeInterruptedSwitch(programDirectory, name))
        return; // still pending: its staged files are the next generation
    QDir(stagingFolder(programDirectory, name)).removeRecursively();
}

} // namespace

bool isRunScratchName(const QString& name) {
    if (!name.startsWith(kRunPrefix) || name.size() == kRunPrefix.size())
        return false;
    for (const QChar c : QStringView(name).sliced(kRunPrefix.size())) {
        if (!c.isDigit() && !(c >= u'a' && c <= u'f') && c != u'-')
            return false;
    }
    return true;
}

bool RunScratch::create(const QString& programDirectory) {
    remove();
    error_.clear();
    const QString temp = platform::tempDirectory(programDirectory);
    if (!QDir().mkpath(temp)) {
        error_ = cannotMake(temp);
        return false;
    }
    const QString id = QString::number(QCoreApplication::applicationPid());
    for (int attempt = 0; attempt < 50; ++attempt) {
        const QString name = kRunPrefix + id + QLatin1Char('-') +
                             QString::number(QRandomGenerator::global()->generate(), 16);
        const QString folder = temp + name + QDir::separator();
        if (!QDir(temp).mkdir(name))
            continue; // taken, or Temp is not writable (the next try tells)
        // Between the folder and its lock another program may take the
        // folder for abandoned and remove it; then this run takes another.
        if (lock_.tryLock(folder + kLockName) == platform::FileLock::Result::Acquired) {
            if (QFileInfo(folder).isDir()) {
                path_ = folder;
                return true;
            }
            lock_.release();
        }
    }
    error_ = cannotMake(temp + kRunPrefix + id);
    return false;
}

void RunScratch::remove() {
    if (path_.isEmpty())
        return;
    removeContentBesideLock(path_);
    lock_.release();
    QDir().rmdir(path_);
    path_.clear();
}

void removeAbandonedScratch(const QString& programDirectory) {
    completeInterruptedSwitches(programDirectory);
    const QString temp = platform::tempDirectory(programDirectory);
    const auto folders =
        QDir(temp).entryInfoList(QDir::Dirs | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& folder : folders) {
        if (folder.isSymLink())
            continue;
        const QString name = folder.fileName();
        if (isRunScratchName(name)) {
            removeAbandonedRunFolder(temp + name + QDir::separator());
        } else if (name.endsWith(kStagingSuffix)) {
            const QString database = name.chopped(kStagingSuffix.size());
            if (isValidDatabaseName(database))
                removeAbandonedStaging(programDirectory, database);
        }
    }
}

} // namespace database
