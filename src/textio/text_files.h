#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

// The routines through which every text file of the program is read and
// written. Files are always written whole and replace the old file in one
// step, so a reader never sees half a file.
namespace textio {

enum CodePage : int {
    CodePageUtf8 = 65001,
    CodePageUtf16LE = 1200,
    CodePageWindows1252 = 1252,
};

// Reads a whole file as bytes; nothing when it cannot be read.
std::optional<QByteArray> readFileBytes(const QString& fileName);

// The bytes writeTextFile writes for a text in a code page.
QByteArray encodeForCodePage(QStringView text, int codePage);

// Creates (or replaces) the file with the text in the code page: 65001 plain
// UTF-8 without mark, 1200 FF FE and UTF-16LE, anything else Windows-1252 with
// "?" for what it cannot hold. Line ends are written as they stand.
bool writeTextFile(QStringView text, const QString& fileName, int codePage,
                   QString* error = nullptr);

// Writes bytes to a file atomically (temporary file, then rename), synced
// to disk with its folder.
bool writeFileAtomically(const QString& fileName, QByteArrayView bytes, QString* error = nullptr);

// Line loaders. Both drop the byte-order mark and do not report an empty line
// after a final line break.
//
// With mark detection: FF FE, FE FF and EF BB BF choose UTF-16LE, UTF-16BE
// and UTF-8, anything else is read as Windows-1252. Lines end at CR LF, CR, LF
// or U+2028.
QStringList decodeLinesWithMarkDetection(QByteArrayView bytes);
std::optional<QStringList> loadLinesWithMarkDetection(const QString& fileName);
// Only the first lines by the same rule, reading no more of the file than
// they need: at most maxLines lines from at most maxBytes bytes (a line the
// byte bound cuts off is left out).
std::optional<QStringList> loadFirstLinesWithMarkDetection(const QString& fileName,
                                                           qsizetype maxLines, qint64 maxBytes);

// UTF-16 marks only: FF FE and FE FF choose UTF-16, anything else (a UTF-8
// mark included) is taken in the ANSI view. Lines end at CR LF, CR, LF, VT,
// FF, U+2028 or U+2029, and the text ends at its first NUL.
QStringList decodeLinesUtf16MarksOnly(QByteArrayView bytes);
// The same lines one at a time, without holding them all (a drive file list
// can be hundreds of megabytes).
void forEachLineUtf16MarksOnly(QByteArrayView bytes,
                               const std::function<void(const QString&)>& take);
// The lines of bytes taken in the ANSI view, by the same rule, handed over as
// their bytes (the ANSI view is one character per byte, so nothing is lost and
// nothing needs converting). Stops early when `take` returns false, and then
// returns false.
bool forEachAnsiViewLine(QByteArrayView bytes, const std::function<bool(QByteArrayView)>& take);
std::optional<QStringList> loadLinesUtf16MarksOnly(const QString& fileName);

// FF FE, then every line followed by CR LF, in UTF-16LE.
QByteArray encodeLinesAsUtf16(const QStringList& lines);
bool saveLinesAsUtf16(const QStringList& lines, const QString& fileName, QString* error = nullptr);

} // namespace textio
