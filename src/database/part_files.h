#pragma once

#include <QList>
#include <QString>

#include <optional>

// Part files Datenbank/Temp/<name>_UTF8Dokument<k>.txt: pieces of a database
// text written while a run goes on, joined at its end.
namespace database {

// <k> for part n: "1".."9", then "9" followed by n (910, 911, ..., 91000).
// Beyond part 1000 the sequence simply goes on (91001, ...), so no part is
// ever written over another.
QString partNumberText(int n);

// The part number a <k> text stands for; nothing for a text no part has.
std::optional<int> partNumberOfText(const QString& text);

QString partFilePath(const QString& programDirectory, const QString& name, int n);

// This database's part files in Datenbank/Temp, in numeric order of their
// part number, which is the order they were written in.
QList<QString> partFilesInMergeOrder(const QString& programDirectory, const QString& name);

} // namespace database
