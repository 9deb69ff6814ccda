#pragma once

#include <QList>
#include <QString>

#include <optional>

// Part files <name>_UTF8Dokument<k>.txt: pieces of a database text written
// while a run goes on, joined at its end. They lie in the run's own scratch
// folder (run_scratch.h), so runs at the same time never see each other's.
namespace database {

// <k> for part n: "1".."9", then "9" followed by n (910, 911, ..., 91000).
// Beyond part 1000 the sequence simply goes on (91001, ...), so no part is
// ever written over another.
QString partNumberText(int n);

// The part number a <k> text stands for; nothing for a text no part has.
std::optional<int> partNumberOfText(const QString& text);

QString partFilePath(const QString& scratchFolder, const QString& name, int n);

// This database's part files in the scratch folder, in numeric order of
// their part number, which is the order they were written in.
QList<QString> partFilesInMergeOrder(const QString& scratchFolder, const QString& name);

} // namespace database
