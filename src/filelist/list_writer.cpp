#include "list_writer.h"

#include "database/storage_hint.h"
#include "filelist/list_lines.h"
#include "platform/native_file_name.h"
#include "textio/durable_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace filelist {
namespace {

constexpr qsizetype kFlushSize = 1 << 20;

// "Die Datei X kann nicht geschrieben werden: <reason>", and on a full or
// read-only volume the German sentence that says so.
QString writeFailure(const QSaveFile& file, const QString& listFile) {
    return database::withStorageHint(
        QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
            .arg(QDir::toNativeSeparators(listFile), textio::writeFailureReason(file)),
        listFile);
}

} // namespace

ListWriteResult writeDriveFileList(const QString& nativeRoot, QChar driveLetter,
                                   const QString& listFile, const WalkOptions& options,
                                   std::atomic<qint64>* filesFound) {
    ListWriteResult result;
    const QString listDirectory = QFileInfo(listFile).absolutePath();
    if (!QDir().mkpath(listDirectory)) {
        result.error = QStringLiteral("Das Verzeichnis %1 kann nicht angelegt werden.")
                           .arg(QDir::toNativeSeparators(listDirectory));
        return result;
    }
    QSaveFile file(listFile);
    if (!file.open(QIODevice::WriteOnly)) {
        result.error = QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
                           .arg(QDir::toNativeSeparators(listFile), file.errorString());
        return result;
    }

    QByteArray buffer;
    buffer.reserve(kFlushSize + (64 << 10));
    bool writeFailed = false;
    auto flush = [&] {
        if (!writeFailed && file.write(buffer) != buffer.size())
            writeFailed = true;
        buffer.resize(0); // keeps its room for the next lines
    };

    const QByteArray windowsRoot = QByteArray(1, char(driveLetter.toUpper().toLatin1())) + ":\\";
    WalkOptions walkOptions = options;
    walkOptions.cancelled = [&] {
        return writeFailed || (options.cancelled && options.cancelled());
    };
    const WalkResult walked = walkTree(
        platform::nativeFileName(nativeRoot), windowsRoot, walkOptions,
        [&](QByteArrayView directory, const std::vector<QByteArray>& names) {
            appendDirectoryLines(buffer, directory, names);
            if (filesFound)
                filesFound->fetch_add(static_cast<qint64>(names.size()), std::memory_order_relaxed);
            if (buffer.size() >= kFlushSize)
                flush();
        });
    flush();

    result.files = walked.files;
    result.directories = walked.directories;
    result.skippedDirectories = walked.skippedDirectories;
    if (!walked.ok) {
        file.cancelWriting();
        result.error = walked.error;
        return result;
    }
    if (writeFailed) {
        // Asked before the cancel, which discards the bytes (and frees their
        // room again) and leaves only "Writing canceled" as its reason.
        result.error = writeFailure(file, listFile);
        file.cancelWriting();
        return result;
    }
    if (walked.cancelled) {
        file.cancelWriting();
        result.cancelled = true;
        return result;
    }
    if (!textio::commitDurably(file)) {
        result.error = writeFailure(file, listFile);
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace filelist
