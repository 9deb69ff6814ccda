#include "document_list.h"

#include "textio/regular_file.h"
#include "textio/text_files.h"
#include "textio/utf8.h"
#include "textio/windows1252.h"

#include <QFile>

namespace database {
namespace {

QByteArrayView firstLineOf(QByteArrayView bytes) {
    const qsizetype end = bytes.indexOf(QByteArrayView("\r\n"));
    return end < 0 ? bytes : bytes.first(end);
}

} // namespace

QString toDoubleUtf8Form(QStringView text) {
    return textio::ansiView(textio::utf8EncodePerUnit(text));
}

QString documentListHeader(const QString& folder, const ExtensionSlots& slots) {
    QString header = kHeaderMarker + QLatin1Char(' ') + toDoubleUtf8Form(folder);
    for (const QString& slot : slots)
        header += QLatin1Char(' ') + slot;
    return header;
}

QByteArray encodeDocumentList(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += textio::utf8EncodeStandard(line);
        bytes += "\r\n";
    }
    return bytes;
}

bool writeDocumentList(const QStringList& lines, const QString& fileName, QString* error) {
    return textio::writeFileAtomically(fileName, encodeDocumentList(lines), error);
}

QString decodeHeaderLine(QByteArrayView firstLine) {
    QByteArrayView line = firstLineOf(firstLine);
    QByteArray withoutMarker = line.toByteArray();
    const qsizetype at = withoutMarker.indexOf(QByteArrayView(kHeaderMarker.data(), 18));
    if (at >= 0)
        withoutMarker.remove(at, 18);
    return textio::doubleUtf8Decode(withoutMarker);
}

std::optional<QString> readHeader(const QString& fileName) {
    QFile file;
    if (!textio::openRegularFile(file, fileName))
        return std::nullopt;
    // The header is the first line; a document list can be large, so read
    // only up to the first line feed (CR LF ends it).
    QByteArray line = file.readLine();
    if (line.endsWith('\n') && !line.endsWith("\r\n"))
        line.chop(1);
    return decodeHeaderLine(line);
}

HeaderParts splitHeader(const QString& header) {
    const qsizetype star = header.indexOf(QStringLiteral("*."));
    if (star < 0)
        return {header.trimmed(), QString()};
    return {header.left(star).trimmed(), header.mid(star)};
}

std::optional<QChar> driveLetterOfHeader(const QString& header) {
    const QString trimmed = header.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed.at(0);
}

bool forEachDocumentPath(const QString& fileName,
                         const std::function<bool(const QString& path)>& visit) {
    QFile file;
    if (!textio::openRegularFile(file, fileName))
        return false;
    file.readLine(); // the header
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (!visit(textio::doubleUtf8Decode(line)))
            break;
    }
    return true;
}

std::optional<QStringList> readPaths(const QString& fileName) {
    QStringList paths;
    if (!forEachDocumentPath(fileName, [&paths](const QString& path) {
            paths.append(path);
            return true;
        }))
        return std::nullopt;
    return paths;
}

} // namespace database
