#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

// The database text <name>_UTF8Dokument.txt: one block per document, opened
// by three lines of one blank, "#" + path, and an underline of one "=" per
// UTF-16 unit of the path.
namespace database {

QStringList documentBlockHeaderLines(const QString& documentPath);

// "#" + drive letter + ":\", the start of every document block.
QString documentMarker(QChar driveLetter);

} // namespace database
