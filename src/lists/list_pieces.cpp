#include "list_pieces.h"

#include "database/database_paths.h"
#include "database/storage_hint.h"
#include "platform/program_directory.h"
#include "textio/durable_files.h"
#include "textio/regular_file.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace lists {
namespace {

constexpr qint64 kReadSize = 4 << 20;

bool isLineEnd(char c) {
    return c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

qint64 firstLineEnd(const char* bytes, qint64 from, qint64 to) {
    for (qint64 i = from; i < to; ++i) {
        if (isLineEnd(bytes[i]))
            return i;
    }
    return -1;
}

QString readError(const QString& path) {
    return QStringLiteral("Die Datei \"") + QDir::toNativeSeparators(path) +
           QStringLiteral("\" kann nicht gelesen werden.");
}

QString writeError(const QFile& file) {
    return database::withStorageHint(
        QStringLiteral("Die Datei \"") + QDir::toNativeSeparators(file.fileName()) +
            QStringLiteral("\" kann nicht geschrieben werden: ") + textio::writeFailureReason(file),
        file.fileName());
}

// Writes the pieces one after the other; a piece is full once it holds
// pieceSize bytes and its last byte ends a line (a CR only when no LF follows).
class PieceWriter {
public:
    PieceWriter(const QString& scratchFolder, qint64 pieceSize)
        : folder_(platform::withTrailingSeparator(scratchFolder))
        , pieceSize_(pieceSize) {}

    // Takes what it can of the bytes; returns how many it took.
    qint64 take(const char* bytes, qint64 size) {
        if (!piece_.isOpen() && !openNextPiece())
            return -1;
        qint64 count = 0;
        if (written_ < pieceSize_) {
            count = std::min(pieceSize_ - written_, size);
        } else if (last_ == '\r' && bytes[0] == '\n') {
            count = 1;
        } else if (isLineEnd(last_)) {
            return closePiece() ? 0 : -1;
        } else {
            const qint64 end = firstLineEnd(bytes, 0, size);
            count = end < 0 ? size : end + 1;
        }
        if (piece_.write(bytes, count) != count) {
            error_ = writeError(piece_);
            return -1;
        }
        written_ += count;
        last_ = bytes[count - 1];
        if (last_ == '\n' && written_ >= pieceSize_ && !closePiece())
            return -1;
        return count;
    }

    bool finish() { return !piece_.isOpen() || closePiece(); }

    const QStringList& pieces() const { return pieces_; }
    const QString& error() const { return error_; }

private:
    bool openNextPiece() {
        piece_.setFileName(folder_ + database::listPieceFileName(int(pieces_.size()) + 1));
        pieces_.append(piece_.fileName());
        if (!piece_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            error_ = writeError(piece_);
            return false;
        }
        written_ = 0;
        last_ = 0;
        return true;
    }

    bool closePiece() {
        const bool flushed = piece_.flush();
        piece_.close();
        if (!flushed || piece_.error() != QFileDevice::NoError) {
            error_ = writeError(piece_);
            return false;
        }
        return true;
    }

    QString folder_;
    qint64 pieceSize_;
    QFile piece_;
    QStringList pieces_;
    qint64 written_ = 0;
    char last_ = 0;
    QString error_;
};

void removeFiles(const QStringList& paths) {
    for (const QString& path : paths)
        QFile::remove(path);
}

} // namespace

bool removeListPieceFiles(const QString& programDirectory) {
    QDir temp(platform::tempDirectory(programDirectory));
    bool removed = true;
    const QStringList names = temp.entryList({QStringLiteral("SplitDokument*")}, QDir::Files);
    for (const QString& name : names) {
        if (database::listPieceNumber(name) && !temp.remove(name))
            removed = false;
    }
    return removed;
}

PieceCut cutIntoPieces(const QString& sourcePath, const QString& scratchFolder, qint64 pieceSize,
                       const platform::RunContext& run) {
    PieceCut cut;
    QFile source;
    if (!textio::openRegularFile(source, sourcePath)) {
        cut.error = readError(sourcePath);
        return cut;
    }
    PieceWriter writer(scratchFolder, std::max<qint64>(pieceSize, 1));
    QByteArray block(kReadSize, Qt::Uninitialized);
    bool failed = false;
    while (!failed) {
        const qint64 size = source.read(block.data(), kReadSize);
        if (size < 0) {
            cut.error = readError(sourcePath);
            failed = true;
            break;
        }
        if (size == 0)
            break;
        for (qint64 at = 0; at < size;) {
            const qint64 taken = writer.take(block.constData() + at, size - at);
            if (taken < 0) {
                cut.error = writer.error();
                failed = true;
                break;
            }
            at += taken;
        }
        run.checkpoint();
        if (run.cancelled()) {
            cut.stopped = true;
            break;
        }
    }
    if (!failed && !cut.stopped && !writer.finish()) {
        cut.error = writer.error();
        failed = true;
    }
    if (failed || cut.stopped) {
        writer.finish();
        removeFiles(writer.pieces());
        return cut;
    }
    cut.pieces = writer.pieces();
    return cut;
}

} // namespace lists
