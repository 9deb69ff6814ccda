#pragma once

#include <QString>

namespace testsupport {

// The refusal of a database name that is too long. Windows counts the
// characters of a name, other systems its UTF-8 bytes.
inline QString tooLongNameMessage() {
#ifdef Q_OS_WIN
    return QStringLiteral("Der Name der Datenbank ist zu lang: Er darf höchstens 218 Zeichen "
                          "haben, damit alle Dateien der Datenbank angelegt werden können.");
#else
    return QStringLiteral("Der Name der Datenbank ist zu lang: Er darf höchstens 218 Bytes "
                          "haben (ein Umlaut zählt doppelt), damit alle Dateien der Datenbank "
                          "angelegt werden können.");
#endif
}

} // namespace testsupport
