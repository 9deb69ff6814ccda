#include "database_writer.h"

#include "checksum.h"

#include "database/database_paths.h"
#include "database/generation_switch.h"
#include "database/not_written_message.h"
#include "database/part_files.h"
#include "database/replace_file.h"
#include "platform/program_directory.h"
#include "textio/durable_files.h"
#include "textio/regular_file.h"
#include "textio/utf8.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace indexing {
namespace {

// Lines are gathered up to this size before they go to the spool file.
constexpr qsizetype kBufferSize = 1 << 20;
// Pieces of lines at least this large go to the spool file at once.
constexpr qsizetype kDirectWrite = 64 << 10;

} // namespace

DatabaseWriter::DatabaseWriter(QString programDirectory, QString name, QString scratchFolder)
    : programDirectory_(std::move(programDirectory))
    , name_(std::move(name))
    , scratchFolder_(std::move(scratchFolder)) {
    if (scratchFolder_.isEmpty())
        scratchFolder_ = platform::tempDirectory(programDirectory_);
    spool_.setFileName(platform::withTrailingSeparator(scratchFolder_) + name_ +
                       QStringLiteral("_UTF8Dokument.spool"));
}

DatabaseWriter::~DatabaseWriter() {
    if (spool_.isOpen())
        spool_.close();
}

QString DatabaseWriter::stagedTextPath() const {
    return database::stagingFolder(programDirectory_, name_) + name_ +
           QStringLiteral("_UTF8Dokument.txt");
}

void DatabaseWriter::fail(const QString& path, const QString& reason) {
    if (error_.isEmpty())
        error_ = database::fileNotWrittenMessage(path, reason);
}

bool DatabaseWriter::openSpool() {
    if (spool_.isOpen())
        return true;
    if (!spool_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail(spool_.fileName(), textio::writeFailureReason(spool_));
        return false;
    }
    spoolChecksum_ = 0;
    return true;
}

bool DatabaseWriter::writeToSpool(QByteArrayView bytes) {
    if (failed() || !openSpool())
        return false;
    if (spool_.write(bytes.data(), bytes.size()) != bytes.size()) {
        fail(spool_.fileName(), textio::writeFailureReason(spool_));
        return false;
    }
    spoolChecksum_ = extendCrc32c(spoolChecksum_, bytes);
    return true;
}

void DatabaseWriter::appendLine(QStringView line) {
    // The lines written this way are the block headers: a document path
    // whose name held bytes that are not UTF-8 keeps their escapes, so the
    // search finds the document by it.
    buffer_ += textio::utf8EncodeKeepingEscapes(line);
    buffer_ += "\r\n";
    ++pendingLines_;
    if (buffer_.size() >= kBufferSize)
        flushBuffer();
}

void DatabaseWriter::appendEncoded(QByteArrayView lines, qint64 lineCount) {
    if (lineCount == 0)
        return;
    pendingLines_ += lineCount;
    // A large piece goes straight to the spool instead of through the buffer.
    if (lines.size() >= kDirectWrite) {
        flushBuffer();
        writeToSpool(lines);
        return;
    }
    buffer_.append(lines);
    if (buffer_.size() >= kBufferSize)
        flushBuffer();
}

void DatabaseWriter::flushBuffer() {
    // After a failure the lines are dropped: the run will not commit, and
    // holding them would let memory grow with every further document.
    if (!buffer_.isEmpty())
        writeToSpool(buffer_);
    buffer_.clear();
}

// Ends the current spool: afterwards the spool file holds exactly the lines
// gathered since the last write (an empty file when there were none).
bool DatabaseWriter::closeSpool() {
    flushBuffer();
    if (failed())
        return false;
    if (!openSpool())
        return false;
    if (!spool_.flush()) {
        fail(spool_.fileName(), textio::writeFailureReason(spool_));
        return false;
    }
    spool_.close();
    pendingLines_ = 0;
    return true;
}

bool DatabaseWriter::replaceFile(const QString& from, const QString& to) {
    if (const auto reason = database::replaceFile(from, to)) {
        fail(to, *reason);
        return false;
    }
    return true;
}

void DatabaseWriter::writePart() {
    ++partCount_;
    splitFlag_ = true;
    if (closeSpool())
        replaceFile(spool_.fileName(), database::partFilePath(scratchFolder_, name_, partCount_));
    pendingLines_ = 0;
}

void DatabaseWriter::writeDatabaseText() {
    QDir().mkpath(database::stagingFolder(programDirectory_, name_));
    if (closeSpool() && replaceFile(spool_.fileName(), stagedTextPath())) {
        staged_ = true;
        stagedChecksum_ = spoolChecksum_;
    }
    pendingLines_ = 0;
}

void DatabaseWriter::moveAndMerge(const std::function<void(const QString&)>& caption) {
    if (failed())
        return;
    if (staged_ && QFileInfo::exists(stagedTextPath())) {
        ++partCount_;
        if (!replaceFile(stagedTextPath(),
                         database::partFilePath(scratchFolder_, name_, partCount_)))
            return;
    }
    staged_ = false;
    QDir().mkpath(database::stagingFolder(programDirectory_, name_));
    QSaveFile merged(stagedTextPath());
    quint32 checksum = 0;
    if (!merged.open(QIODevice::WriteOnly)) {
        fail(stagedTextPath(), textio::writeFailureReason(merged));
        return;
    }
    QByteArray chunk;
    for (const QString& part : database::partFilesInMergeOrder(scratchFolder_, name_)) {
        if (caption)
            caption(QStringLiteral("Aufgeteilte Dateien zusammenfügen:  ") +
                    QDir::toNativeSeparators(part));
        QFile in;
        if (!textio::openRegularFile(in, part)) {
            fail(part, in.errorString());
            return;
        }
        // Copied in pieces: the parts together are the whole database text.
        while (!(chunk = in.read(kBufferSize)).isEmpty()) {
            if (merged.write(chunk) != chunk.size()) {
                fail(stagedTextPath(), textio::writeFailureReason(merged));
                return;
            }
            checksum = extendCrc32c(checksum, chunk);
        }
        if (in.error() != QFileDevice::NoError) {
            fail(part, in.errorString());
            return;
        }
    }
    if (!textio::commitDurably(merged)) {
        fail(stagedTextPath(), textio::writeFailureReason(merged));
        return;
    }
    staged_ = true;
    stagedChecksum_ = checksum;
}

} // namespace indexing
