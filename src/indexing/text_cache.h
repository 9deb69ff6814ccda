#pragma once

#include "unpack_document.h"

#include <QByteArray>
#include <QFile>
#include <QHash>
#include <QString>

#include <mutex>
#include <optional>

namespace indexing {

// What identifies the state of a document on disk for the text cache: a
// document whose size or modification time changed is read again.
struct DocumentStamp {
    qint64 size = 0;
    qint64 modified = 0; // nanoseconds since the epoch, as fine as the system keeps it

    bool operator==(const DocumentStamp&) const = default;
};

// The stamp of a native path; nothing when the file cannot be looked at.
std::optional<DocumentStamp> documentStamp(const QString& nativePath);

// The stamp of a document that can be opened for reading, taken from the
// opened file; nothing when it cannot be opened (missing, no regular file,
// no rights, or in use where the system locks files). The same answer as
// opening it with openNativeRegularFile, in the fewest calls to the system: a
// re-index that finds nothing changed asks this of every document.
std::optional<DocumentStamp> readableDocumentStamp(const QString& nativePath);

// The text cache of a database, Datenbank/<name>_Textcache.bin: the
// extraction of every document of the last run, keyed by the document's
// Windows-form and native path and its stamp, so that a re-index does not
// unpack a document that has not changed. It is written by the run after
// the database and read by the next one; a cache of another version or with
// other limits, or one that does not hold together, is not used at all, and
// an entry whose check sum does not match counts as missing.
//
// Layout: the header (kMagic, format version, extraction version, member
// and container size caps, then the run record below), then entries up to
// the end of the file, each:
// the lengths of its two paths, the stamp, the outcome, the split flag, what
// the caps cut (two bytes), the line count, the character count, the lengths of the text and of the
// line lengths, the two paths (UTF-8), the text, the line lengths, and a CRC-32C of all of the
// entry before it. Numbers are little-endian. Format 3: the check sums are CRC-32C (CRC-32 before).
inline constexpr quint32 kTextCacheFormatVersion = 3;
// Raised whenever the extraction gives other lines for the same document,
// so caches of earlier rules are not used. 2: what declared entities add is
// bounded per document. 3: one line per paragraph, hidden text left out,
// headers and footers of OpenDocument files, encrypted documents named, a
// line starting like a document marker gets a blank in front.
inline constexpr quint32 kTextCacheExtractionVersion = 3;

// What the database text beside the cache came from, written by the run
// that wrote both: with it a re-index can tell that it would write the very
// same bytes again, and leave them alone. Layout in the header: flags (bit
// 0: complete), split limit, check sum of the exclusion set, size and check
// sum of the document list, size, modification time and check sum of the
// database text.
struct RunRecord {
    bool complete = false; // a run that was neither aborted nor short of entries
    qint64 splitLimit = 0;
    quint32 exclusionChecksum = 0;
    qint64 documentListSize = 0;
    quint32 documentListChecksum = 0;
    qint64 textSize = 0;
    qint64 textModified = 0; // as DocumentStamp::modified
    quint32 textChecksum = 0;

    bool operator==(const RunRecord&) const = default;
};

// One entry: the extraction of a document, its text kept in the entry's
// own bytes, as the cache file holds it.
struct CacheEntry {
    DocumentExtraction extraction; // its text points into `bytes`
    QByteArray bytes;              // the whole entry, check sum included
    qint64 offset = -1;            // where it lies in the previous cache, if it came from there
};

// The entry of a document as it was read (not a stopped extraction). May be
// made on any thread.
CacheEntry makeCacheEntry(const QString& windowsPath, const QString& nativePath,
                          const DocumentStamp& stamp, const DocumentExtraction& extraction);

// The cache file of a database, read while a run goes on.
class TextCache {
public:
    // Opens and checks the cache file; an unusable or missing file gives an
    // empty cache.
    TextCache(const QString& path, const ExtractionLimits& limits);
    ~TextCache();
    TextCache(const TextCache&) = delete;
    TextCache& operator=(const TextCache&) = delete;

    // True when the file was there and is used.
    bool usable() const { return usable_; }
    qint64 fileSize() const { return size_; }
    QString path() const { return path_; }

    // The record of the run that wrote the cache (all zero in an unusable one).
    const RunRecord& record() const { return record_; }

    // The entry of the document when it was stored with the same stamp and
    // its check sum matches. Safe to call from several threads at once.
    std::optional<CacheEntry> find(const QString& windowsPath, const QString& nativePath,
                                   const DocumentStamp& stamp) const;

    // What the header of a document's entry says, without reading the entry.
    struct EntrySummary {
        DocumentStamp stamp;
        bool readable = false; // else the container could not be read
        bool passwordProtected = false;
        quint8 cut = NotCut; // ContainerCut flags
    };
    std::optional<EntrySummary> summary(const QString& windowsPath,
                                        const QString& nativePath) const;

private:
    struct Entry {
        qint64 offset = 0; // of the entry
        qint64 length = 0; // the whole entry with its check sum
        EntrySummary summary;
    };
    bool index();
    QByteArray readAt(qint64 offset, qint64 length) const;

    // Entries are read when asked for, not mapped: a re-index goes through
    // the whole cache, which must not stay in the run's memory.
    QString path_;
    mutable QFile file_;
    mutable std::mutex fileMutex_;
    qint64 size_ = 0;
    ExtractionLimits limits_;
    RunRecord record_;
    QHash<QByteArray, Entry> entries_;
    bool usable_ = false;
};

// Writes a new text cache, entry by entry, in the order of the run, under a
// staged name; the run puts it in place with the database files.
//
// As long as the run takes the entries of the previous cache in their
// order, nothing is written: a re-index with the same entries and record
// keeps the previous file, and one that changes a document late copies the
// unchanged beginning in one piece.
class TextCacheWriter {
public:
    // previous: the cache the run reads, or null.
    TextCacheWriter(QString stagedPath, const ExtractionLimits& limits,
                    const TextCache* previous = nullptr);
    ~TextCacheWriter();
    TextCacheWriter(const TextCacheWriter&) = delete;
    TextCacheWriter& operator=(const TextCacheWriter&) = delete;

    void add(const CacheEntry& entry);
    // Writes what is left and the record of the run, while the previous
    // cache is still in its place; false when something could not be
    // written (see error(), a German text).
    bool finish(const RunRecord& record);
    const QString& error() const { return error_; }
    const QString& stagedPath() const { return path_; }
    // True when the new cache is the previous one byte for byte: nothing
    // was staged, and the previous file stays.
    bool keepsPrevious() const { return keepsPrevious_; }

private:
    void startFile();
    void copyPrevious(qint64 length);
    void write(QByteArrayView bytes);
    void flush();
    void fail(const QString& path, const QString& reason);

    QString path_;
    QByteArray header_;
    QFile file_;
    QByteArray buffer_;
    QString error_;
    QString previousPath_;
    qint64 previousSize_ = 0;
    RunRecord previousRecord_;
    // While every entry so far is the previous cache's next one, the new
    // cache is the previous file up to here, and nothing is written yet.
    bool followsPrevious_ = false;
    qint64 previousEnd_ = 0;
    bool keepsPrevious_ = false;
};

} // namespace indexing
