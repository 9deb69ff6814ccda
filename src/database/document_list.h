#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

// The document list <name>.dat: a header line with the folder and the five
// extension slots, then one path per document. Folder and paths are stored
// as double UTF-8; in memory the lines are kept in that form, as characters
// (each the Windows-1252 reading of one UTF-8 byte), and written as UTF-8.
namespace database {

inline constexpr QLatin1StringView kHeaderMarker{"PFAD_UND_ENDUNGEN="};

using ExtensionSlots = std::array<QString, 5>;

// A text in its in-memory double UTF-8 form: per-unit UTF-8 bytes, each taken
// as its Windows-1252 character.
QString toDoubleUtf8Form(QStringView text);

// "PFAD_UND_ENDUNGEN= " + folder + " " + p1 + " " + ... + p5, the folder in
// double UTF-8 form. Slots hold "*.odt" or nothing.
QString documentListHeader(const QString& folder, const ExtensionSlots& slots);

// The bytes of the file: every line in UTF-8, each followed by CR LF.
QByteArray encodeDocumentList(const QStringList& lines);

// Writes header and paths in one go, replacing any file atomically.
bool writeDocumentList(const QStringList& lines, const QString& fileName, QString* error = nullptr);

// "read header": line 1 up to its first CR LF, without the marker, decoded
// from double UTF-8; starts with the blank that followed the marker.
std::optional<QString> readHeader(const QString& fileName);
QString decodeHeaderLine(QByteArrayView firstLine);

// The header split at its first "*.": the folder (trimmed) and the slot text
// from "*." on (empty when the header holds no "*.").
struct HeaderParts {
    QString folder;
    QString slotText;
};
HeaderParts splitHeader(const QString& header);

// The drive letter of the database's folder: the first character of the
// trimmed header; nothing for an empty header.
std::optional<QChar> driveLetterOfHeader(const QString& header);

// "read paths": every line after the header, decoded from double UTF-8.
std::optional<QStringList> readPaths(const QString& fileName);

// The same paths one at a time, read line by line, as a list of many
// thousands of documents need not sit in memory; stops when `visit` returns
// false. False when the file cannot be opened.
bool forEachDocumentPath(const QString& fileName,
                         const std::function<bool(const QString& path)>& visit);

} // namespace database
