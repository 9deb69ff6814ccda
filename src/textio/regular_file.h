#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Every file the program reads comes from outside: a document, a list a user
// edited, a settings file. Any of them may have been replaced by a FIFO, a
// device or a socket, where open() or read() would wait for ever. So each is
// opened without waiting and taken only when it is a regular file (or a link
// to one); anything else is refused as unreadable.
namespace textio {

// Why a file was not opened.
enum class OpenFailure {
    None,
    Missing,      // no such file (any more)
    NotPermitted, // no permission to read it
    NotRegular,   // a folder, FIFO, device or socket
    InUse,        // locked by another program (Windows only)
    Other,
};

// Opens the file read-only (mode may add Unbuffered). False, with the reason, when it is no regular
// file or cannot be opened. On success `file` is open in blocking mode.
bool openRegularFile(QFile& file, const QString& fileName, OpenFailure* failure = nullptr,
                     QIODevice::OpenMode mode = QIODevice::ReadOnly);

#ifndef _WIN32
// The same for a name given as the bytes of the file system (a Unix name
// need not be UTF-8): the descriptor, close-on-exec, or -1.
int openRegularDescriptor(const QByteArray& nativeName, OpenFailure* failure = nullptr);
// Opens `file` on such a name.
bool openRegularFileByBytes(QFile& file, const QByteArray& nativeName,
                            OpenFailure* failure = nullptr,
                            QIODevice::OpenMode mode = QIODevice::ReadOnly);
#endif

// For readers that open the file themselves (QSettings): true when nothing
// is there or a regular file (or a link to one) is.
bool isRegularFileOrMissing(const QString& fileName);

} // namespace textio
