#include "text_files.h"

#include "durable_files.h"
#include "regular_file.h"
#include "utf8.h"
#include "windows1252.h"

#include <QFile>
#include <QSaveFile>

namespace textio {
namespace {

QString decodeUtf16(QByteArrayView bytes, bool bigEndian) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        out[i / 2] = QChar(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
    }
    return text;
}

bool startsWith(QByteArrayView bytes, std::initializer_list<unsigned char> mark) {
    if (bytes.size() < static_cast<qsizetype>(mark.size()))
        return false;
    qsizetype i = 0;
    for (unsigned char m : mark) {
        if (static_cast<unsigned char>(bytes[i++]) != m)
            return false;
    }
    return true;
}

// Splits at the given line breaks; CR LF counts as one break. A break at the
// very end does not start another line.
template <typename IsBreak> QStringList splitLines(QStringView text, IsBreak isBreak) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (!isBreak(c))
            continue;
        lines.append(text.mid(start, i - start).toString());
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start).toString());
    return lines;
}

bool isUtf16MarksOnlyBreak(char16_t c) {
    return c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == 0x2028 || c == 0x2029;
}

// The lines of UTF-16 bytes (after the mark), decoded one line at a time: a
// drive file list of hundreds of megabytes never sits in memory as text.
void forEachUtf16Line(QByteArrayView bytes, bool bigEndian,
                      const std::function<void(const QString&)>& take) {
    const auto unitAt = [&](qsizetype i) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    };
    const qsizetype units = bytes.size() / 2;
    qsizetype end = units;
    for (qsizetype i = 0; i < units; ++i) {
        if (unitAt(2 * i) == 0) {
            end = i;
            break;
        }
    }
    qsizetype start = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const char16_t c = unitAt(2 * i);
        if (!isUtf16MarksOnlyBreak(c))
            continue;
        take(decodeUtf16(bytes.sliced(2 * start, 2 * (i - start)), bigEndian));
        if (c == u'\r' && i + 1 < end && unitAt(2 * (i + 1)) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < end)
        take(decodeUtf16(bytes.sliced(2 * start, 2 * (end - start)), bigEndian));
}

// Whether the last line of the bytes is ended (by the mark-detection rule).
bool endsWithLineBreak(QByteArrayView bytes) {
    const bool utf16 = startsWith(bytes, {0xFF, 0xFE}) || startsWith(bytes, {0xFE, 0xFF});
    if (utf16) {
        const qsizetype units = (bytes.size() - 2) / 2;
        if (units <= 0)
            return false;
        const QString last =
            decodeUtf16(bytes.sliced(2 + 2 * (units - 1), 2), startsWith(bytes, {0xFE, 0xFF}));
        const char16_t c = last.at(0).unicode();
        return c == u'\r' || c == u'\n' || c == 0x2028;
    }
    return bytes.endsWith('\r') || bytes.endsWith('\n') ||
           (startsWith(bytes, {0xEF, 0xBB, 0xBF}) && bytes.endsWith("\xE2\x80\xA8"));
}

QStringList splitLinesMarkDetectionRule(QStringView text) {
    return splitLines(text, [](char16_t c) { return c == u'\r' || c == u'\n' || c == 0x2028; });
}

} // namespace

std::optional<QByteArray> readFileBytes(const QString& fileName) {
    QFile file;
    if (!openRegularFile(file, fileName))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

QByteArray encodeForCodePage(QStringView text, int codePage) {
    switch (codePage) {
    case CodePageUtf8:
        return utf8EncodeStandard(text);
    case CodePageUtf16LE: {
        QByteArray bytes;
        bytes.reserve(2 + text.size() * 2);
        bytes.append("\xFF\xFE", 2);
        for (QChar ch : text) {
            bytes.append(static_cast<char>(ch.unicode() & 0xFF));
            bytes.append(static_cast<char>(ch.unicode() >> 8));
        }
        return bytes;
    }
    default:
        return ansiBytes(text);
    }
}

bool writeFileAtomically(const QString& fileName, QByteArrayView bytes, QString* error) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), bytes.size()) != bytes.size() || !commitDurably(file)) {
        if (error)
            *error = writeFailureReason(file);
        return false;
    }
    return true;
}

bool writeTextFile(QStringView text, const QString& fileName, int codePage, QString* error) {
    return writeFileAtomically(fileName, encodeForCodePage(text, codePage), error);
}

QStringList decodeLinesWithMarkDetection(QByteArrayView bytes) {
    if (startsWith(bytes, {0xFF, 0xFE}))
        return splitLinesMarkDetectionRule(decodeUtf16(bytes.sliced(2), false));
    if (startsWith(bytes, {0xFE, 0xFF}))
        return splitLinesMarkDetectionRule(decodeUtf16(bytes.sliced(2), true));
    if (startsWith(bytes, {0xEF, 0xBB, 0xBF}))
        return splitLinesMarkDetectionRule(utf8DecodeLenient(bytes.sliced(3)));
    return splitLinesMarkDetectionRule(ansiView(bytes));
}

std::optional<QStringList> loadLinesWithMarkDetection(const QString& fileName) {
    const auto bytes = readFileBytes(fileName);
    if (!bytes)
        return std::nullopt;
    return decodeLinesWithMarkDetection(*bytes);
}

std::optional<QStringList> loadFirstLinesWithMarkDetection(const QString& fileName,
                                                           qsizetype maxLines, qint64 maxBytes) {
    QFile file;
    if (!openRegularFile(file, fileName))
        return std::nullopt;
    QByteArray bytes;
    qint64 piece = 64 << 10;
    for (;;) {
        const qint64 wanted = std::min(piece, maxBytes - bytes.size());
        const QByteArray more = wanted > 0 ? file.read(wanted) : QByteArray();
        if (file.error() != QFileDevice::NoError)
            return std::nullopt;
        bytes += more;
        const bool whole = more.size() < wanted || file.atEnd();
        // Decoded whole each time, so a CR LF across two pieces stays one
        // break; the pieces double, so this stays linear.
        QStringList lines = decodeLinesWithMarkDetection(bytes);
        if (lines.size() > maxLines || whole) {
            lines.resize(std::min(lines.size(), maxLines));
            return lines;
        }
        if (bytes.size() >= maxBytes) {
            if (!endsWithLineBreak(bytes) && !lines.isEmpty())
                lines.removeLast();
            lines.resize(std::min(lines.size(), maxLines));
            return lines;
        }
        piece *= 2;
    }
}

void forEachLineUtf16MarksOnly(QByteArrayView bytes,
                               const std::function<void(const QString&)>& take) {
    if (startsWith(bytes, {0xFF, 0xFE}) || startsWith(bytes, {0xFE, 0xFF})) {
        forEachUtf16Line(bytes.sliced(2), startsWith(bytes, {0xFE, 0xFF}), take);
        return;
    }
    forEachAnsiViewLine(bytes, [&take](QByteArrayView line) {
        take(ansiView(line));
        return true;
    });
}

bool forEachAnsiViewLine(QByteArrayView bytes, const std::function<bool(QByteArrayView)>& take) {
    // In the ANSI view only CR, LF, VT and FF can end a line (U+2028 and
    // U+2029 have no byte), so the bytes are split before they are viewed.
    const qsizetype nul = bytes.indexOf('\0');
    const qsizetype end = nul < 0 ? bytes.size() : nul;
    qsizetype start = 0;
    for (qsizetype i = 0; i < end; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n' && c != '\v' && c != '\f')
            continue;
        if (!take(bytes.sliced(start, i - start)))
            return false;
        if (c == '\r' && i + 1 < end && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < end)
        return take(bytes.sliced(start, end - start));
    return true;
}

QStringList decodeLinesUtf16MarksOnly(QByteArrayView bytes) {
    QStringList lines;
    forEachLineUtf16MarksOnly(bytes, [&lines](const QString& line) { lines.append(line); });
    return lines;
}

std::optional<QStringList> loadLinesUtf16MarksOnly(const QString& fileName) {
    const auto bytes = readFileBytes(fileName);
    if (!bytes)
        return std::nullopt;
    return decodeLinesUtf16MarksOnly(*bytes);
}

QByteArray encodeLinesAsUtf16(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return encodeForCodePage(text, CodePageUtf16LE);
}

bool saveLinesAsUtf16(const QStringList& lines, const QString& fileName, QString* error) {
    return writeFileAtomically(fileName, encodeLinesAsUtf16(lines), error);
}

} // namespace textio
