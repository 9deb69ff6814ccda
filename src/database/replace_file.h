#pragma once

#include <QString>

#include <optional>

namespace database {

// Puts the file `from` in the place of `to` by one rename, replacing what
// was there: a reader sees either the old file or the new one, never half
// of one. Nothing on success, else the system's reason.
std::optional<QString> replaceFile(const QString& from, const QString& to);

} // namespace database
