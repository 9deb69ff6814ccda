#pragma once

#include <QString>

namespace database {

// The one German text for a file that could not be written, for every layer:
// subject + " konnte nicht geschrieben werden: " + reason, with "." in place
// of ": " + reason when no reason is known.
QString notWrittenMessage(const QString& subject, const QString& reason = {});

// The same for a file by its path: "Die Datei <path> konnte nicht ...".
QString fileNotWrittenMessage(const QString& path, const QString& reason = {});

} // namespace database
