#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// The exclusion list AusnahmeIndizierung.txt beside the program: one text per
// line; a drive-list line that contains any of them (both lower-cased) is not
// indexed.
namespace database {

QString exclusionListPath(const QString& programDirectory);

// The texts of the file, trimmed of blanks and control characters, empty
// lines dropped, lower-cased, sorted, each once. Empty when there is no file.
QStringList loadExclusionSet(const QString& fileName);
QStringList exclusionSetFromLines(const QStringList& lines);

// The line is taken as it stands in the file (its bytes as Windows-1252
// characters), so a text outside ASCII matches only when the exclusion list
// itself is UTF-8 without mark.
bool isExcluded(const QStringList& exclusionSet, QStringView line);

} // namespace database
