#pragma once

#include <QString>
#include <QStringList>

// AuswahlEndungen.txt beside the program: one pattern such as "*.docx" per
// line, Windows-1252 text, offered in the new-database dialog.
namespace database {

QString extensionChoicesPath(const QString& programDirectory);

// The lines of the file; empty when there is none.
QStringList loadExtensionChoices(const QString& programDirectory);

} // namespace database
