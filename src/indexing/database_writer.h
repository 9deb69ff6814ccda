#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringView>

#include <functional>

namespace indexing {

// Keeps the database text of one index run and writes it: the text lines,
// the part files of a split run, the move and merge at the finish.
//
// The lines gathered since the last write do not wait in memory: they go
// to a spool file in the run's scratch folder at once, and "writing" them renames the
// spool to its place. The bytes on disk are the ones the lines would have
// given, so the database text is the same, while memory stays flat however
// many documents a run has.
//
// Nothing is put under the database's real file name: the database text is
// staged in the database's staging folder, from where the run's switch puts
// it in place together with the other files (generation_switch.h), so a run
// killed at any moment leaves the previous database whole.
class DatabaseWriter {
public:
    // scratchFolder: the run's own (run_scratch.h), for the spool and parts;
    // Datenbank/Temp when none is given (a writer that is no run's).
    DatabaseWriter(QString programDirectory, QString name, QString scratchFolder = {});
    ~DatabaseWriter();
    DatabaseWriter(const DatabaseWriter&) = delete;
    DatabaseWriter& operator=(const DatabaseWriter&) = delete;

    // "append line": the line and its CR LF, UTF-8.
    void appendLine(QStringView line);
    // Lines already in their written form (UTF-8, each with its CR LF).
    void appendEncoded(QByteArrayView lines, qint64 lineCount);

    // True when lines were appended since the last write.
    bool hasLines() const { return pendingLines_ > 0; }

    // Set once the first part file of the run was written.
    bool splitFlag() const { return splitFlag_; }
    int partCount() const { return partCount_; }
    void resetPartCounter() { partCount_ = 0; }

    // "write part": the lines so far become <name>_UTF8Dokument<k>.txt in
    // the scratch folder.
    void writePart();

    // "write database text": the lines so far (possibly none) become the
    // run's database text, staged until commit().
    void writeDatabaseText();
    bool databaseTextWritten() const { return staged_; }

    // "move and merge", only for a split run: the staged text becomes the
    // next part, then all parts are joined in numeric order. The caption
    // callback gets "Aufgeteilte Dateien zusammenfügen:  " + part path.
    void moveAndMerge(const std::function<void(const QString&)>& caption);

    // The first failure to create, write or rename a file, in German; a run
    // with an error must not commit.
    bool failed() const { return !error_.isEmpty(); }
    const QString& error() const { return error_; }

    // Where the database text is staged: its name in the staging folder.
    QString stagedTextPath() const;
    // CRC-32C of the staged database text (see checksum.h).
    quint32 stagedTextChecksum() const { return stagedChecksum_; }

private:
    bool openSpool();
    void flushBuffer();
    bool closeSpool();
    void fail(const QString& path, const QString& reason);
    bool replaceFile(const QString& from, const QString& to);
    bool writeToSpool(QByteArrayView bytes);

    QString programDirectory_;
    QString name_;
    QString scratchFolder_;
    QFile spool_;
    QByteArray buffer_;
    qint64 pendingLines_ = 0;
    int partCount_ = 0;
    bool splitFlag_ = false;
    bool staged_ = false;
    quint32 spoolChecksum_ = 0; // of the bytes in the spool file
    quint32 stagedChecksum_ = 0;
    QString error_;
};

} // namespace indexing
