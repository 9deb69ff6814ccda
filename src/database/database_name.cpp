#include "database_name.h"

namespace database {
namespace {

// Most file systems allow 255 units per file name.
constexpr int kLongestFileName = 255;
// The longest name the program makes of a database name: its sorted list
// while it is written (QSaveFile adds ".XXXXXX" to the final name).
constexpr QLatin1StringView kLongestEnding{"_Phrasen_Woerter_Utf8Liste.txt.XXXXXX"};

bool isControl(char16_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

bool forbiddenOnThisSystem(char16_t c) {
#ifdef Q_OS_WIN
    // ":" would name a stream of another file; the others cannot be in a name.
    return c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' || c == u'>' || c == u'|';
#else
    Q_UNUSED(c);
    return false;
#endif
}

qsizetype lengthOnDisk(const QString& name) {
#ifdef Q_OS_WIN
    return name.size();
#else
    return name.toUtf8().size();
#endif
}

} // namespace

int longestDatabaseName() {
    return kLongestFileName - int(kLongestEnding.size());
}

NameProblem databaseNameProblem(const QString& name) {
    if (name.isEmpty())
        return NameProblem::Empty;
    if (name.contains(QLatin1StringView("..")))
        return NameProblem::ForbiddenCharacter;
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == u'/' || u == u'\\' || isControl(u) || forbiddenOnThisSystem(u))
            return NameProblem::ForbiddenCharacter;
    }
    if (lengthOnDisk(name) > longestDatabaseName())
        return NameProblem::TooLong;
    return NameProblem::None;
}

QString databaseNameMessage(const QString& name) {
    switch (databaseNameProblem(name)) {
    case NameProblem::None:
        return {};
    case NameProblem::Empty:
        return QStringLiteral("Sie haben keinen Namen für die Datenbank angegeben");
    case NameProblem::ForbiddenCharacter:
        return QStringLiteral("Der Name der Datenbank ist ungültig: Er darf weder \"/\" noch "
                              "\"\\\" noch \"..\" noch Steuerzeichen wie einen Zeilenumbruch "
                              "enthalten.");
    case NameProblem::TooLong:
#ifdef Q_OS_WIN
        return QStringLiteral("Der Name der Datenbank ist zu lang: Er darf höchstens %1 Zeichen "
                              "haben, damit alle Dateien der Datenbank angelegt werden können.")
            .arg(longestDatabaseName());
#else
        return QStringLiteral("Der Name der Datenbank ist zu lang: Er darf höchstens %1 Bytes "
                              "haben (ein Umlaut zählt doppelt), damit alle Dateien der "
                              "Datenbank angelegt werden können.")
            .arg(longestDatabaseName());
#endif
    }
    return {};
}

} // namespace database
