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

// The text cache of a database, Datenbank/<name>_Textcache.bin: the
// extraction of every document of the last run, keyed by the document's
// Windows-form and native path and its stamp, so that a re-index does not
// unpack a document that has not changed. It is written by the run after
// the database and read by the next one; a cache of another version or with
// other limits, or one that does not hold together, is not used at all, and
// an entry whose check sum does not match counts as missing.
//
// Layout: the header (kMagic, format version, extraction version, member
// and container size caps), then entries up to the end of the file, each:
// the lengths of its two paths, the stamp, the outcome, the split flag, the
// line count, the character count, the lengths of the text and of the line
// lengths, the two paths (UTF-8), the text, the line lengths, and a CRC-32
// of all of the entry before it. Numbers are little-endian.
class TextCache {
public:
    // Raised whenever the extraction gives other lines for the same
    // document, so caches of earlier rules are not used.
    static constexpr quint32 kExtractionVersion = 1;
    static constexpr quint32 kFormatVersion = 1;

    // Opens and checks the cache file; an unusable or missing file gives an
    // empty cache.
    TextCache(const QString& path, const ExtractionLimits& limits);
    ~TextCache();
    TextCache(const TextCache&) = delete;
    TextCache& operator=(const TextCache&) = delete;

    // True when the file was there and is used.
    bool usable() const { return usable_; }
    qsizetype entryCount() const { return entries_.size(); }

    // The stored extraction of the document when it was stored with the
    // same stamp and its check sum matches. Safe to call from several
    // threads at once.
    std::optional<DocumentExtraction> find(const QString& windowsPath, const QString& nativePath,
                                           const DocumentStamp& stamp) const;

private:
    struct Entry {
        qint64 offset = 0; // of the entry
        qint64 length = 0; // the whole entry with its check sum
    };
    bool index();
    QByteArray readAt(qint64 offset, qint64 length) const;

    // Entries are read when asked for, not mapped: a re-index goes through
    // the whole cache, which must not stay in the run's memory.
    mutable QFile file_;
    mutable std::mutex fileMutex_;
    qint64 size_ = 0;
    ExtractionLimits limits_;
    QHash<QByteArray, Entry> entries_;
    bool usable_ = false;
};

// Writes a new text cache, entry by entry, in the order of the run, under a
// staged name; the run puts it in place with the database files.
class TextCacheWriter {
public:
    TextCacheWriter(QString stagedPath, const ExtractionLimits& limits);
    ~TextCacheWriter();
    TextCacheWriter(const TextCacheWriter&) = delete;
    TextCacheWriter& operator=(const TextCacheWriter&) = delete;

    // Adds the extraction of a document (not a stopped one).
    void add(const QString& windowsPath, const QString& nativePath, const DocumentStamp& stamp,
             const DocumentExtraction& extraction);
    // Writes what is left; false when something could not be written (see
    // error(), a German text).
    bool finish();
    const QString& error() const { return error_; }
    const QString& stagedPath() const { return path_; }

private:
    void flush();
    void fail();

    QString path_;
    QFile file_;
    QByteArray buffer_;
    QString error_;
};

} // namespace indexing
