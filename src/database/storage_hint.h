#pragma once

#include <QString>

namespace database {

// Why writing below `path` may have failed, when the volume tells: a
// sentence with a blank in front, " Der Datenträger ist schreibgeschützt."
// or " Auf dem Datenträger ist nicht genug Platz frei."; empty when the
// volume looks writable and has room (the system's reason then stands
// alone). Appended to the messages of files that could not be written.
QString storageHint(const QString& path);

// The message with the hint for `path` after it, as a sentence of its own.
QString withStorageHint(const QString& message, const QString& path);

} // namespace database
