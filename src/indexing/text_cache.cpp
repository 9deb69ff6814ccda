#include "text_cache.h"

#include "database/not_written_message.h"
#include "platform/native_file_name.h"

#include <QFileInfo>
#include <QtEndian>

#include <zlib.h>

#include <cstring>

#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

namespace indexing {
namespace {

constexpr char kMagic[8] = {'T', 'r', 'o', 'v', 'e', 'x', 'T', 'C'};
constexpr qsizetype kHeaderSize = 8 + 4 + 4 + 8 + 8;
// Path lengths, stamp, outcome, split flag, reserved, line count,
// characters, text length, line-lengths length.
constexpr qsizetype kEntryHeaderSize = 4 + 4 + 8 + 8 + 1 + 1 + 2 + 8 + 8 + 8 + 8;
constexpr qsizetype kChecksumSize = 4;
constexpr qsizetype kWriteChunk = 1 << 20;

enum StoredOutcome : quint8 { StoredText = 1, StoredUnreadable = 2 };

quint32 crc32Of(const uchar* data, qsizetype length) {
    uLong crc = crc32(0L, Z_NULL, 0);
    while (length > 0) {
        const uInt piece = static_cast<uInt>(std::min<qsizetype>(length, 1 << 30));
        crc = crc32(crc, data, piece);
        data += piece;
        length -= piece;
    }
    return static_cast<quint32>(crc);
}

QByteArray cacheKey(const QByteArray& windowsPath, const QByteArray& nativePath) {
    return windowsPath + '\0' + nativePath;
}

template <typename T> void put(QByteArray& out, T value) {
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

// Reads numbers from a checked piece of the mapped file.
class Reader {
public:
    explicit Reader(const uchar* at)
        : at_(at) {}
    template <typename T> T take() {
        const T value = qFromLittleEndian<T>(at_);
        at_ += sizeof(T);
        return value;
    }

private:
    const uchar* at_;
};

QByteArray header(const ExtractionLimits& limits) {
    QByteArray out(kMagic, sizeof kMagic);
    put<quint32>(out, TextCache::kFormatVersion);
    put<quint32>(out, TextCache::kExtractionVersion);
    put<qint64>(out, limits.memberSizeCap);
    put<qint64>(out, limits.containerSizeCap);
    return out;
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

TextCache::TextCache(const QString& path, const ExtractionLimits& limits)
    : file_(path)
    , limits_(limits) {
    if (!file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
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
    const QByteArray expected = header(limits_);
    if (size_ < kHeaderSize || readAt(0, kHeaderSize) != expected)
        return false;
    qint64 at = kHeaderSize;
    while (at < size_) {
        if (size_ - at < kEntryHeaderSize + kChecksumSize)
            return false;
        const QByteArray head = readAt(at, kEntryHeaderSize);
        if (head.size() != kEntryHeaderSize)
            return false;
        Reader read(reinterpret_cast<const uchar*>(head.constData()));
        const quint64 windowsLength = read.take<quint32>();
        const quint64 nativeLength = read.take<quint32>();
        read.take<qint64>(); // stamp, checked on use
        read.take<qint64>();
        read.take<quint8>(); // outcome, split flag, reserved
        read.take<quint8>();
        read.take<quint16>();
        read.take<qint64>(); // line count, characters
        read.take<qint64>();
        const quint64 textLength = read.take<quint64>();
        const quint64 lengthsLength = read.take<quint64>();
        const quint64 left = quint64(size_ - at - kEntryHeaderSize - kChecksumSize);
        if (windowsLength > left || nativeLength > left - windowsLength ||
            textLength > left - windowsLength - nativeLength ||
            lengthsLength > left - windowsLength - nativeLength - textLength)
            return false;
        const QByteArray paths =
            readAt(at + kEntryHeaderSize, qint64(windowsLength + nativeLength));
        if (paths.size() != qsizetype(windowsLength + nativeLength))
            return false;
        const qint64 length = kEntryHeaderSize +
                              qint64(windowsLength + nativeLength + textLength + lengthsLength) +
                              kChecksumSize;
        entries_.insert(
            cacheKey(paths.left(qsizetype(windowsLength)), paths.mid(qsizetype(windowsLength))),
            Entry{at, length});
        at += length;
    }
    return true;
}

std::optional<DocumentExtraction> TextCache::find(const QString& windowsPath,
                                                  const QString& nativePath,
                                                  const DocumentStamp& stamp) const {
    if (!usable_)
        return std::nullopt;
    const auto found = entries_.constFind(cacheKey(windowsPath.toUtf8(), nativePath.toUtf8()));
    if (found == entries_.cend())
        return std::nullopt;
    const QByteArray bytes = readAt(found->offset, found->length);
    if (bytes.size() != found->length)
        return std::nullopt;
    const auto* entry = reinterpret_cast<const uchar*>(bytes.constData());
    const qsizetype checked = bytes.size() - kChecksumSize;
    if (qFromLittleEndian<quint32>(entry + checked) != crc32Of(entry, checked))
        return std::nullopt;
    Reader read(entry);
    const quint64 windowsLength = read.take<quint32>();
    const quint64 nativeLength = read.take<quint32>();
    DocumentStamp stored;
    stored.size = read.take<qint64>();
    stored.modified = read.take<qint64>();
    const quint8 outcome = read.take<quint8>();
    const bool partsAfterLastLine = read.take<quint8>() != 0;
    read.take<quint16>();
    const qint64 lineCount = read.take<qint64>();
    const qint64 characters = read.take<qint64>();
    const quint64 textLength = read.take<quint64>();
    const quint64 lengthsLength = read.take<quint64>();
    if (stored != stamp)
        return std::nullopt;
    DocumentExtraction extraction;
    if (outcome == StoredUnreadable)
        return extraction;
    if (outcome != StoredText)
        return std::nullopt;
    const qsizetype textAt = kEntryHeaderSize + qsizetype(windowsLength + nativeLength);
    auto storedText = ExtractedText::fromStored(
        bytes.mid(textAt, qsizetype(textLength)),
        bytes.mid(textAt + qsizetype(textLength), qsizetype(lengthsLength)), lineCount, characters,
        partsAfterLastLine);
    if (!storedText)
        return std::nullopt;
    extraction.outcome = DocumentExtraction::Outcome::Text;
    extraction.text = std::move(*storedText);
    return extraction;
}

TextCacheWriter::TextCacheWriter(QString stagedPath, const ExtractionLimits& limits)
    : path_(std::move(stagedPath))
    , file_(path_) {
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        fail();
        return;
    }
    buffer_ = header(limits);
}

TextCacheWriter::~TextCacheWriter() = default;

void TextCacheWriter::fail() {
    if (error_.isEmpty())
        error_ = database::fileNotWrittenMessage(path_, file_.errorString());
    buffer_.clear();
}

void TextCacheWriter::flush() {
    if (error_.isEmpty() && !buffer_.isEmpty() && file_.write(buffer_) != buffer_.size())
        fail();
    buffer_.clear();
}

void TextCacheWriter::add(const QString& windowsPath, const QString& nativePath,
                          const DocumentStamp& stamp, const DocumentExtraction& extraction) {
    if (!error_.isEmpty() || extraction.outcome == DocumentExtraction::Outcome::Stopped)
        return;
    const QByteArray windows = windowsPath.toUtf8();
    const QByteArray native = nativePath.toUtf8();
    const ExtractedText& text = extraction.text;
    const bool readable = extraction.outcome == DocumentExtraction::Outcome::Text;
    const qsizetype start = buffer_.size();
    put<quint32>(buffer_, quint32(windows.size()));
    put<quint32>(buffer_, quint32(native.size()));
    put<qint64>(buffer_, stamp.size);
    put<qint64>(buffer_, stamp.modified);
    put<quint8>(buffer_, readable ? StoredText : StoredUnreadable);
    put<quint8>(buffer_, text.partsAfterLastLine() ? 1 : 0);
    put<quint16>(buffer_, 0);
    put<qint64>(buffer_, text.lineCount());
    put<qint64>(buffer_, text.characters());
    put<quint64>(buffer_, quint64(text.bytes().size()));
    put<quint64>(buffer_, quint64(text.lineLengths().size()));
    buffer_ += windows;
    buffer_ += native;
    buffer_ += text.bytes();
    buffer_ += text.lineLengths();
    put<quint32>(buffer_, crc32Of(reinterpret_cast<const uchar*>(buffer_.constData()) + start,
                                  buffer_.size() - start));
    if (buffer_.size() >= kWriteChunk)
        flush();
}

bool TextCacheWriter::finish() {
    flush();
    if (error_.isEmpty() && !file_.flush())
        fail();
    file_.close();
    return error_.isEmpty();
}

} // namespace indexing
