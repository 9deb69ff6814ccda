#pragma once

#include "platform/drive_map.h"

#include <QByteArrayView>
#include <QString>

namespace search {

// The path in a document's header line: the bytes read from the document
// start, decoded, cut at the first CR LF, without the leading "#".
QString documentPathFromHeader(QByteArrayView headerBytes);

// Whether a Windows-form path names an existing file on this machine.
bool documentExists(const QString& windowsPath, const platform::DriveMap& drives);

// The drive-letter search for documents moved to another drive. `rest` is
// the path with its drive letter removed (it starts with ":\"). The program
// directory's drive comes first, then A, B, D ... Z, the last letter with
// the file winning; with none, the program directory (in Windows form) +
// the path without ":\". The caller checks that the result exists.
QString driveLetterSearch(const QString& rest, const QString& programDirectory,
                          const platform::DriveMap& drives);

// The path of a document as found, moved, or (missing everywhere) as read.
struct ResolvedPath {
    QString path;
    bool found = true;
};
ResolvedPath resolveDocumentPath(const QString& path, const QString& programDirectory,
                                 const platform::DriveMap& drives);

// The link of a result line. On Windows "file:///" + the path with "/" for
// "\". Elsewhere the document's native file, "file://" + native path, so the
// link opens in the platform's browser; a path on an unmapped drive keeps the
// Windows form. Percent-encoded where a file name would end or change the
// URL: "%", "#", "?", controls, quotes, angle brackets, backquote, braces and
// backslash (and, off Windows, bytes that are not UTF-8); everything else,
// blanks and umlauts included, as it stands.
QString documentLink(const QString& windowsPath, const platform::DriveMap& drives);

// count + " mal in: " + link.
QString resultLine(int count, const QString& link);

} // namespace search
