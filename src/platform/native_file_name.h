#pragma once

#include "textio/regular_file.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>
#include <QStringView>

// File names as the file system holds them (bytes on Unix) and as the program
// holds them (UTF-16 text in Windows-form paths).
//
// A Unix file name need not be UTF-8, and may hold a backslash, CR or LF,
// which a Windows-form path or a line of a list file cannot carry. Each such
// byte b becomes the lone surrogate U+DC00 + b (as Python's surrogateescape
// does for undecodable bytes). Written to a UTF-8 file per unit, that is the
// three bytes ED B0..B3 xx, which the lenient UTF-8 decoder reads back to the
// same surrogate; nativeFileName() turns it into the original byte, so the
// path still opens. A name that is valid UTF-8 without those three bytes is
// plain text both ways.
namespace platform {

// True when the name holds a byte that must be escaped.
bool needsEscaping(QByteArrayView nativeName);

// Bytes of the file system -> text.
QString fileNameFromNative(QByteArrayView nativeName);

// The same as the UTF-8 bytes a list file holds (utf8EncodePerUnit of
// fileNameFromNative), without the detour through UTF-16.
QByteArray listBytesFromNative(QByteArrayView nativeName);

// Text -> bytes of the file system: escapes back to their byte, everything
// else standard UTF-8. On Windows file names are UTF-16 and nothing is escaped.
QByteArray nativeFileName(QStringView path);

// Opens a native path that may hold escaped bytes. QFile alone cannot, as it
// encodes every name as UTF-8.
bool openNativeFile(QFile& file, const QString& nativePath, QIODevice::OpenMode mode);

// Opens such a path for reading, without waiting and only when it is a
// regular file (textio/regular_file.h); the reason when it is not.
bool openNativeRegularFile(QFile& file, const QString& nativePath,
                           textio::OpenFailure* failure = nullptr);

// QFileInfo::exists for a native path that may hold escaped bytes.
bool nativeFileExists(const QString& nativePath);
// QFileInfo::isFile for such a path: it exists and is a file (or a link to one).
bool nativeIsFile(const QString& nativePath);

// The path as a file URL takes it off Windows: an escaped byte as "%" and
// two hex digits, and "%" itself as "%25" (so the two cannot be confused);
// everything else as it stands.
QString nativePathForUrl(const QString& nativePath);

} // namespace platform
