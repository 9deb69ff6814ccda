#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace search {

// Trimmed of leading and trailing blanks and control characters (every
// character up to U+0020), as the search bar text is taken.
QString trimBlanksAndControls(QStringView text);

// The pattern the store is searched for: the trimmed search text, each UTF-16
// unit encoded on its own as UTF-8. Never split into words.
QByteArray searchPattern(QStringView searchText);

// The pattern of the second try after a scan found nothing: a pattern longer
// than 40 bytes loses its first 4 bytes; a shorter one stays as it is.
QByteArray retryPattern(QStringView searchText);

// The search text's characters mapped one UTF-16 unit at a time (simple case
// mappings), so lengths and positions stay those of the text.
QString upperPerUnit(QStringView text);
QString lowerPerUnit(QStringView text);

} // namespace search
