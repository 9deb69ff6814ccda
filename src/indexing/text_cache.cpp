#include "text_cache.h"

#include "checksum.h"

#include "database/not_written_message.h"
#include "platform/native_file_name.h"
#include "textio/durable_files.h"
#include "textio/regular_file.h"
#include "textio/utf8.h"

#include <QFileInfo>
#include <QtEndian>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace indexing {
namespace {

constexpr char kMagic[8] = {'T', 'r', 'o', 'v', 'e', 'x', 'T', 'C'};
// Magic, versions and caps, which a usable cache must match byte for byte.
constexpr qsizetype kFixedHeaderSize = 8 + 4 + 4 + 8 + 8;
constexpr qsizetype kRecordSize = 4 + 8 + 4 + 8 + 4 + 8 + 8 + 4;
constexpr qsizetype kHeaderSize = kFixedHeaderSize + kRecordSize;
// Path lengths, stamp, outcome, split flag, what the caps cut, line count,
// characters, text length, line-lengths length.
constexpr qsizetype kEntryHeaderSize = 4 + 4 + 8 + 8 + 1 + 1 + 2 + 8 + 8 + 8 + 8;
constexpr qsizetype kChecksumSize = 4;
constexpr qsizetype kWriteChunk = 1 << 20;
// Pieces at least this large skip the write buffer.
constexpr qsizetype kDirectWrite = 64 << 10;

enum StoredOutcome : quint8 { StoredText = 1, StoredUnreadable = 2, StoredPasswordProtected = 3 };

StoredOutcome storedOutcome(DocumentExtraction::Outcome outcome) {
    switch (outcome) {
    case DocumentExtraction::Outcome::Text:
        return StoredText;
    case DocumentExtraction::Outcome::PasswordProtected:
        return StoredPasswordProtected;
    default:
        return StoredUnreadable;
    }
}

quint32 crc32cOf(const char* data, qsizetype length) {
    return extendCrc32c(0, QByteArrayView(data, length));
}

// Paths as the cache keeps them: every UTF-16 unit on its own, so the
// escapes of bytes that are not UTF-8 (lone surrogates) stay apart.
QByteArray pathKey(const QString& path) {
    return textio::utf8EncodePerUnit(path);
}

QByteArray cacheKey(QByteArrayView windowsPath, QByteArrayView nativePath) {
    QByteArray key;
    key.reserve(windowsPath.size() + 1 + nativePath.size());
    key.append(windowsPath);
    key.append('\0');
    key.append(nativePath);
    return key;
}

template <typename T> void put(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// Reads the numbers of an entry header whose size has been checked.
class Reader {
public:
    explicit Reader(const char* at)
        : at_(at) {}
    template <typename T> T take() {
        const T value = qFromLittleEndian<T>(at_);
        at_ += sizeof(T);
        return value;
    }

private:
    const char* at_;
};

struct EntryHeader {
    quint64 windowsLength = 0;
    quint64 nativeLength = 0;
    DocumentStamp stamp;
    quint8 outcome = 0;
    bool partsAfterLastLine = false;
    quint8 cut = NotCut;
    qint64 lineCount = 0;
    qint64 characters = 0;
    quint64 textLength = 0;
    quint64 lengthsLength = 0;

    explicit EntryHeader(const char* at) {
        Reader read(at);
        windowsLength = read.take<quint32>();
        nativeLength = read.take<quint32>();
        stamp.size = read.take<qint64>();
        stamp.modified = read.take<qint64>();
        outcome = read.take<quint8>();
        partsAfterLastLine = read.take<quint8>() != 0;
        cut = static_cast<quint8>(read.take<quint16>());
        lineCount = read.take<qint64>();
        characters = read.take<qint64>();
        textLength = read.take<quint64>();
        lengthsLength = read.take<quint64>();
    }
    // The whole entry, when its pieces fit into `available` bytes.
    std::optional<qint64> entryLength(quint64 available) const {
        if (available < quint64(kEntryHeaderSize + kChecksumSize))
            return std::nullopt;
        const quint64 left = available - kEntryHeaderSize - kChecksumSize;
        if (windowsLength > left || nativeLength > left - windowsLength ||
            textLength > left - windowsLength - nativeLength ||
            lengthsLength > left - windowsLength - nativeLength - textLength)
            return std::nullopt;
        return kEntryHeaderSize +
               qint64(windowsLength + nativeLength + textLength + lengthsLength) + kChecksumSize;
    }
};

QByteArray fixedHeader(const ExtractionLimits& limits) {
    QByteArray out(kMagic, sizeof kMagic);
    put<quint32>(out, kTextCacheFormatVersion);
    put<quint32>(out, kTextCacheExtractionVersion);
    put<qint64>(out, limits.memberSizeCap);
    put<qint64>(out, limits.containerSizeCap);
    return out;
}

QByteArray recordBytes(const RunRecord& record) {
    QByteArray out;
    put<quint32>(out, record.complete ? 1 : 0);
    put<qint64>(out, record.splitLimit);
    put<quint32>(out, record.exclusionChecksum);
    put<qint64>(out, record.documentListSize);
    put<quint32>(out, record.documentListChecksum);
    put<qint64>(out, record.textSize);
    put<qint64>(out, record.textModified);
    put<quint32>(out, record.textChecksum);
    return out;
}

RunRecord readRecord(const char* at) {
    Reader read(at);
    RunRecord record;
    record.complete = (read.take<quint32>() & 1) != 0;
    record.splitLimit = read.take<qint64>();
    record.exclusionChecksum = read.take<quint32>();
    record.documentListSize = read.take<qint64>();
    record.documentListChecksum = read.take<quint32>();
    record.textSize = read.take<qint64>();
    record.textModified = read.take<qint64>();
    record.textChecksum = read.take<quint32>();
    return record;
}

// The extraction an entry of checked length holds, its text pointing into
// the entry's bytes.
std::optional<DocumentExtraction> extractionOf(const QByteArray& bytes, const EntryHeader& head) {
    DocumentExtraction extraction;
    extraction.cut = head.cut;
    if (head.outcome == StoredUnreadable)
        return extraction;
    if (head.outcome == StoredPasswordProtected) {
        extraction.outcome = DocumentExtraction::Outcome::PasswordProtected;
        return extraction;
    }
    if (head.outcome != StoredText)
        return std::nullopt;
    const char* text =
        bytes.constData() + kEntryHeaderSize + qsizetype(head.windowsLength + head.nativeLength);
    auto stored = ExtractedText::fromStored(
        QByteArray::fromRawData(text, qsizetype(head.textLength)),
        QByteArray::fromRawData(text + head.textLength, qsizetype(head.lengthsLength)),
        head.lineCount, head.characters, head.partsAfterLastLine, bytes);
    if (!stored)
        return std::nullopt;
    extraction.outcome = DocumentExtraction::Outcome::Text;
    extraction.text = std::move(*stored);
    return extraction;
}

// The extraction an entry read from the file holds; nothing when the entry
// is damaged or was made for another stamp.
std::optional<DocumentExtraction> readEntry(const QByteArray& bytes, const DocumentStamp& stamp) {
    if (bytes.size() < kEntryHeaderSize + kChecksumSize)
        return std::nullopt;
    const qsizetype checked = bytes.size() - kChecksumSize;
    if (qFromLittleEndian<quint32>(bytes.constData() + checked) !=
        crc32cOf(bytes.constData(), checked))
        return std::nullopt;
    const EntryHeader head(bytes.constData());
    if (head.entryLength(quint64(bytes.size())) != bytes.size() || head.stamp != stamp)
        return std::nullopt;
    return extractionOf(bytes, head);
}

} // namespace

std::optional<DocumentStamp> documentStamp(const QString& nativePath) {
#ifdef Q_OS_WIN
    const QFileInfo info(nativePath);
    if (!info.exists())
        return std::nullopt;
    return DocumentStamp{info.size(), info.lastModified().toMSecsSinceEpoch() * 1'000'000};
#else
    struct stat info;
    if (::stat(platform::nativeFileName(nativePath).constData(), &info) != 0)
        return std::nullopt;
    return DocumentStamp{static_cast<qint64>(info.st_size),
                         static_cast<qint64>(info.st_mtim.tv_sec) * 1'000'000'000 +
                             info.st_mtim.tv_nsec};
#endif
}

std::optional<DocumentStamp> readableDocumentStamp(const QString& nativePath) {
#ifdef Q_OS_WIN
    QFile document;
    if (!platform::openNativeRegularFile(document, nativePath))
        return std::nullopt;
    document.close();
    return documentStamp(nativePath);
#else
    const int fd = textio::openRegularDescriptor(platform::nativeFileName(nativePath));
    if (fd < 0)
        return std::nullopt;
    struct stat info;
    const bool stated = ::fstat(fd, &info) == 0;
    ::close(fd);
    if (!stated)
        return std::nullopt;
    return DocumentStamp{static_cast<qint64>(info.st_size),
                         static_cast<qint64>(info.st_mtim.tv_sec) * 1'000'000'000 +
                             info.st_mtim.tv_nsec};
#endif
}

CacheEntry makeCacheEntry(const QString& windowsPath, const QString& nativePath,
                          const DocumentStamp& stamp, const DocumentExtraction& extraction) {
    const QByteArray windows = pathKey(windowsPath);
    const QByteArray native = pathKey(nativePath);
    const ExtractedText& text = extraction.text;
    CacheEntry entry;
    QByteArray& out = entry.bytes;
    out.reserve(kEntryHeaderSize + windows.size() + native.size() + text.bytes().size() +
                text.lineLengths().size() + kChecksumSize);
    put<quint32>(out, quint32(windows.size()));
    put<quint32>(out, quint32(native.size()));
    put<qint64>(out, stamp.size);
    put<qint64>(out, stamp.modified);
    put<quint8>(out, storedOutcome(extraction.outcome));
    put<quint8>(out, text.partsAfterLastLine() ? 1 : 0);
    put<quint16>(out, extraction.cut);
    put<qint64>(out, text.lineCount());
    put<qint64>(out, text.characters());
    put<quint64>(out, quint64(text.bytes().size()));
    put<quint64>(out, quint64(text.lineLengths().size()));
    out += windows;
    out += native;
    out += text.bytes();
    out += text.lineLengths();
    put<quint32>(out, crc32cOf(out.constData(), out.size()));
    // From here on the document's text lives once, in the entry.
    entry.extraction = extractionOf(entry.bytes, EntryHeader(out.constData())).value_or(extraction);
    return entry;
}

TextCache::TextCache(const QString& path, const ExtractionLimits& limits)
    : path_(path)
    , limits_(limits) {
    if (!textio::openRegularFile(file_, path, nullptr, QIODevice::ReadOnly | QIODevice::Unbuffered))
        return;
    size_ = file_.size();
    usable_ = index();
    if (!usable_)
        entries_.clear();
}

TextCache::~TextCache() = default;

QByteArray TextCache::readAt(qint64 offset, qint64 length) const {
    std::lock_guard lock(fileMutex_);
    if (!file_.seek(offset))
        return {};
    QByteArray bytes = file_.read(length);
    return bytes.size() == length ? bytes : QByteArray();
}

// Walks the entries once and keeps where each lies. Anything that does not
// hold together makes the whole file unusable: it was not written by us as
// it is now.
bool TextCache::index() {
    if (size_ < kHeaderSize)
        return false;
    const QByteArray head = readAt(0, kHeaderSize);
    if (head.size() != kHeaderSize || !head.startsWith(fixedHeader(limits_)))
        return false;
    record_ = readRecord(head.constData() + kFixedHeaderSize);
    qint64 at = kHeaderSize;
    while (at < size_) {
        const QByteArray head = readAt(at, kEntryHeaderSize);
        if (head.size() != kEntryHeaderSize)
            return false;
        const EntryHeader entry(head.constData());
        const auto length = entry.entryLength(quint64(size_ - at));
        if (!length)
            return false;
        const QByteArray paths =
            readAt(at + kEntryHeaderSize, qint64(entry.windowsLength + entry.nativeLength));
        if (paths.size() != qsizetype(entry.windowsLength + entry.nativeLength))
            return false;
        const QByteArrayView all(paths);
        entries_.insert(cacheKey(all.first(qsizetype(entry.windowsLength)),
                                 all.sliced(qsizetype(entry.windowsLength))),
                        Entry{at,
                              *length,
                              {entry.stamp, entry.outcome == StoredText,
                               entry.outcome == StoredPasswordProtected, entry.cut}});
        at += *length;
    }
    return true;
}

std::optional<TextCache::EntrySummary> TextCache::summary(const QString& windowsPath,
                                                          const QString& nativePath) const {
    if (!usable_)
        return std::nullopt;
    const auto found = entries_.constFind(cacheKey(pathKey(windowsPath), pathKey(nativePath)));
    if (found == entries_.cend())
        return std::nullopt;
    return found->summary;
}

std::optional<CacheEntry> TextCache::find(const QString& windowsPath, const QString& nativePath,
                                          const DocumentStamp& stamp) const {
    if (!usable_)
        return std::nullopt;
    const auto found = entries_.constFind(cacheKey(pathKey(windowsPath), pathKey(nativePath)));
    if (found == entries_.cend())
        return std::nullopt;
    CacheEntry entry;
    entry.bytes = readAt(found->offset, found->length);
    auto extraction = readEntry(entry.bytes, stamp);
    if (!extraction)
        return std::nullopt;
    entry.extraction = std::move(*extraction);
    entry.offset = found->offset;
    return entry;
}

TextCacheWriter::TextCacheWriter(QString stagedPath, const ExtractionLimits& limits,
                                 const TextCache* previous)
    : path_(std::move(stagedPath))
    , header_(fixedHeader(limits) + recordBytes({}))
    , file_(path_) {
    if (previous && previous->usable()) {
        previousPath_ = previous->path();
        previousSize_ = previous->fileSize();
        previousRecord_ = previous->record();
        followsPrevious_ = true;
        previousEnd_ = kHeaderSize;
    } else {
        startFile();
    }
}

TextCacheWriter::~TextCacheWriter() = default;

void TextCacheWriter::fail(const QString& path, const QString& reason) {
    if (error_.isEmpty())
        error_ = database::fileNotWrittenMessage(path, reason);
    buffer_.clear();
}

// The staged file begins: with the header, or with the part of the
// previous cache the new one has in common with it.
void TextCacheWriter::startFile() {
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail(path_, textio::writeFailureReason(file_));
        return;
    }
    if (followsPrevious_) {
        followsPrevious_ = false;
        copyPrevious(previousEnd_);
    } else {
        buffer_ = header_;
    }
}

void TextCacheWriter::copyPrevious(qint64 length) {
    QFile previous;
    if (!textio::openRegularFile(previous, previousPath_)) {
        fail(path_, previous.errorString());
        return;
    }
    while (length > 0 && error_.isEmpty()) {
        const QByteArray piece = previous.read(std::min<qint64>(length, kWriteChunk));
        if (piece.isEmpty()) {
            fail(path_, previous.errorString());
            return;
        }
        if (file_.write(piece) != piece.size())
            fail(path_, textio::writeFailureReason(file_));
        length -= piece.size();
    }
}

void TextCacheWriter::flush() {
    if (error_.isEmpty() && !buffer_.isEmpty() && file_.write(buffer_) != buffer_.size())
        fail(path_, textio::writeFailureReason(file_));
    buffer_.clear();
}

void TextCacheWriter::write(QByteArrayView bytes) {
    if (bytes.size() >= kDirectWrite) {
        flush();
        if (error_.isEmpty() && file_.write(bytes.data(), bytes.size()) != bytes.size())
            fail(path_, textio::writeFailureReason(file_));
        return;
    }
    buffer_.append(bytes);
    if (buffer_.size() >= kWriteChunk)
        flush();
}

void TextCacheWriter::add(const CacheEntry& entry) {
    if (entry.extraction.outcome == DocumentExtraction::Outcome::Stopped)
        return;
    if (followsPrevious_ && entry.offset == previousEnd_) {
        previousEnd_ += entry.bytes.size();
        return;
    }
    if (followsPrevious_)
        startFile();
    if (error_.isEmpty())
        write(entry.bytes);
}

bool TextCacheWriter::finish(const RunRecord& record) {
    if (followsPrevious_ && previousEnd_ == previousSize_ && record == previousRecord_) {
        keepsPrevious_ = true;
        return true;
    }
    if (followsPrevious_)
        startFile();
    flush();
    // The record goes in last: it is known only once the text is written.
    const QByteArray recordData = recordBytes(record);
    if (error_.isEmpty() && (!file_.flush() || !file_.seek(kFixedHeaderSize) ||
                             file_.write(recordData) != recordData.size() || !file_.flush()))
        fail(path_, textio::writeFailureReason(file_));
    file_.close();
    return error_.isEmpty();
}

} // namespace indexing
