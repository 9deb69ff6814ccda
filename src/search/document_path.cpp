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

QString documentLink(const QString& windowsPath, const platform::DriveMap& drives) {
#if !defined(Q_OS_WIN)
    if (const auto native = drives.toNative(windowsPath); native && native->startsWith('/'))
        return QStringLiteral("file://") + platform::nativePathForUrl(*native);
#else
    Q_UNUSED(drives);
#endif
    QString slashed = windowsPath;
    if (slashed.startsWith(QLatin1Char('#')))
        slashed.remove(0, 1);
    slashed.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return QStringLiteral("file:///") + slashed;
}

QString resultLine(int count, const QString& link) {
    return QString::number(count) + QStringLiteral(" mal in: ") + link;
}

} // namespace search
