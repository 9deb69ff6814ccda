#include "document_path.h"

#include "platform/native_file_name.h"
#include "textio/utf8.h"

#include <QFileInfo>

namespace search {

QString documentPathFromHeader(QByteArrayView headerBytes) {
    QString path = textio::utf8DecodeLenient(headerBytes);
    const qsizetype lineEnd = path.indexOf(QStringLiteral("\r\n"));
    if (lineEnd >= 0)
        path.truncate(lineEnd);
    if (path.startsWith(QLatin1Char('#')))
        path.remove(0, 1);
    return path;
}

bool documentExists(const QString& windowsPath, const platform::DriveMap& drives) {
    const auto native = drives.toNative(windowsPath);
    return native && platform::nativeIsFile(*native);
}

QString driveLetterSearch(const QString& rest, const QString& programDirectory,
                          const platform::DriveMap& drives) {
    QString programDirectoryWindows = drives.toWindows(programDirectory).value_or(QString());
    if (!programDirectoryWindows.isEmpty() && !programDirectoryWindows.endsWith(QLatin1Char('\\')))
        programDirectoryWindows += QLatin1Char('\\');
    if (!programDirectoryWindows.isEmpty()) {
        const QString ownDrive = programDirectoryWindows.left(1) + rest;
        if (documentExists(ownDrive, drives))
            return ownDrive;
    }
    QString result;
    for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
        if (letter == u'C')
            continue;
        const QString candidate = QChar(letter) + rest;
        if (documentExists(candidate, drives))
            result = candidate;
    }
    if (!result.isEmpty())
        return result;
    QString withoutRoot = rest;
    if (withoutRoot.startsWith(QStringLiteral(":\\")))
        withoutRoot.remove(0, 2);
    return programDirectoryWindows + withoutRoot;
}

ResolvedPath resolveDocumentPath(const QString& path, const QString& programDirectory,
                                 const platform::DriveMap& drives) {
    if (documentExists(path, drives))
        return {path, true};
    const QString candidate = driveLetterSearch(path.mid(1), programDirectory, drives);
    if (documentExists(candidate, drives))
        return {candidate, true};
    return {path, false};
}

namespace {

// Characters a file name may hold that would end or change a URL's path:
// the controls, "#" (fragment), "?" (query), the quote and angle brackets,
// the backquote and braces, and the backslash (a path separator to
// browsers). Blanks and letters beyond ASCII stay as they are, as browsers
// take them in a link.
bool mustBeEncodedInLink(char16_t ch) {
    return ch < 0x20 || ch == 0x7F || ch == u'#' || ch == u'?' || ch == u'"' || ch == u'<' ||
           ch == u'>' || ch == u'`' || ch == u'{' || ch == u'}' || ch == u'\\';
}

// Leaves "%" alone: the caller has written it as %25 already.
QString withLinkUnsafeCharactersEncoded(QStringView path) {
    QString out;
    out.reserve(path.size());
    for (const QChar ch : path) {
        if (mustBeEncodedInLink(ch.unicode()))
            out += QStringLiteral("%%1").arg(ch.unicode(), 2, 16, QLatin1Char('0')).toUpper();
        else
            out += ch;
    }
    return out;
}

} // namespace

QString documentLink(const QString& windowsPath, const platform::DriveMap& drives) {
#if !defined(Q_OS_WIN)
    if (const auto native = drives.toNative(windowsPath); native && native->startsWith('/'))
        return QStringLiteral("file://") +
               withLinkUnsafeCharactersEncoded(platform::nativePathForUrl(*native));
#else
    Q_UNUSED(drives);
#endif
    QString slashed = windowsPath;
    if (slashed.startsWith(QLatin1Char('#')))
        slashed.remove(0, 1);
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    slashed.replace(QLatin1Char('%'), QStringLiteral("%25"));
    return QStringLiteral("file:///") + withLinkUnsafeCharactersEncoded(slashed);
}

QString resultLine(int count, const QString& link) {
    return QString::number(count) + QStringLiteral(" mal in: ") + link;
}

} // namespace search
