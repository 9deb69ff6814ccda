#include "search_term_entry.h"

#include <QStringList>

namespace searchentry {

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20;
}

// The native file a Windows-form candidate stands for, if its drive is known.
std::optional<QString> nativeCandidate(const QString& windowsPath, const PathLookup& lookup) {
    if (!lookup.driveMap)
        return std::nullopt;
    return lookup.driveMap->toNative(windowsPath);
}

bool candidateExists(const QString& windowsPath, const PathLookup& lookup) {
    const std::optional<QString> native = nativeCandidate(windowsPath, lookup);
    return native && lookup.fileExists && lookup.fileExists(*native);
}

std::optional<QString> programDirectoryInWindowsForm(const PathLookup& lookup) {
    if (!lookup.driveMap)
        return std::nullopt;
    return lookup.driveMap->toWindows(lookup.programDirectory);
}

// The drive search for a path whose letter was dropped (":\rest"). A file on
// C: is deliberately not looked for here: the typed path covers it.
std::optional<QString> searchOtherDrives(const QString& pathWithoutDrive,
                                         const PathLookup& lookup) {
    const std::optional<QString> programDirectory = programDirectoryInWindowsForm(lookup);
    if (programDirectory && !programDirectory->isEmpty()) {
        const QString onProgramDrive = programDirectory->at(0) + pathWithoutDrive;
        if (candidateExists(onProgramDrive, lookup))
            return onProgramDrive;
    }
    std::optional<QString> found;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (letter == 'C')
            continue;
        const QString candidate = QChar::fromLatin1(letter) + pathWithoutDrive;
        if (candidateExists(candidate, lookup))
            found = candidate; // the last drive that holds the file wins
    }
    if (found)
        return found;
    if (programDirectory) {
        QString base = *programDirectory;
        if (!base.endsWith(QLatin1Char('\\')))
            base += QLatin1Char('\\');
        const QString besideProgram = base + pathWithoutDrive.mid(2);
        if (candidateExists(besideProgram, lookup))
            return besideProgram;
    }
    return std::nullopt;
}

} // namespace

QString withoutLeadingBlanks(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && isBlankOrControl(text.at(start)))
        ++start;
    return text.mid(start);
}

QString trimmedSearchText(const QString& text) {
    qsizetype end = text.size();
    while (end > 0 && isBlankOrControl(text.at(end - 1)))
        --end;
    return withoutLeadingBlanks(text.left(end));
}

SearchMode searchModeOf(const QString& text) {
    if (text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char('\t')))
        return SearchMode::Phrase;
    return SearchMode::AnyWord;
}

bool isPathEntry(const QString& trimmedText) {
    return trimmedText.startsWith(QLatin1Char('#')) &&
           QStringView(trimmedText).mid(2, 2) == QLatin1String(":\\");
}

QString pathWithoutDriveLetter(const QString& trimmedText) {
    return trimmedText.mid(2);
}

QString fileExtension(const QString& windowsPath) {
    for (qsizetype i = windowsPath.size() - 1; i >= 0; --i) {
        const QChar c = windowsPath.at(i);
        if (c == QLatin1Char('.'))
            return windowsPath.mid(i);
        if (c == QLatin1Char('\\') || c == QLatin1Char(':'))
            break;
    }
    return {};
}

QString missingExtensionMessage(const QString& pathWithoutDrive) {
    return QStringLiteral("?") + pathWithoutDrive + QStringLiteral("\r\n") +
           QStringLiteral(" hat keine Dateiendung.") + QStringLiteral("\r\n") +
           QStringLiteral("Überprüfen Sie ob im Viewer der ") +
           QStringLiteral("\"Pfad+Dateiname+Endung\"") + QStringLiteral(" in einer Zeile steht. ") +
           QStringLiteral(
               "Wenn der Eintrag umgebrochen ist (ein Teil steht eine Zeile darunter), ") +
           QStringLiteral("dann verbreitern Sie das Fenster bis er in einer Zeile steht.");
}

QString notFoundMessage(const QString& pathWithoutDrive) {
    return pathWithoutDrive + QStringLiteral("\r\nwurde nicht gefunden.");
}

QString openWithProgramQuestion() {
    return QStringLiteral("Bei dem Suchtext handelt es sich um einen Pfad zu einer Datei.\r\n"
                          "Möchten Sie die Datei mit dem zugehörigen externen Programm öffnen?");
}

std::optional<QString> locatePathEntry(const QString& trimmedText, const PathLookup& lookup) {
    const QString pathWithoutDrive = pathWithoutDriveLetter(trimmedText);
    std::optional<QString> found;
    if (candidateExists(pathWithoutDrive, lookup))
        found = pathWithoutDrive;
    else
        found = searchOtherDrives(pathWithoutDrive, lookup);
    if (!found) {
        const QString asTyped = trimmedText.mid(1);
        if (candidateExists(asTyped, lookup))
            found = asTyped;
    }
    if (!found)
        return std::nullopt;
    return nativeCandidate(*found, lookup);
}

QString clipboardTextAfterSearch(const QString& searchText, bool phrase, bool pathOpened) {
    if (phrase)
        return trimmedSearchText(searchText);
    const qsizetype blank = searchText.indexOf(QLatin1Char(' '));
    QString firstWord = blank > 0 ? searchText.left(blank + 1) : searchText;
    firstWord = trimmedSearchText(firstWord);
    if (pathOpened && firstWord.startsWith(QLatin1Char('#')))
        firstWord.remove(0, 1);
    return firstWord;
}

int wordCount(const QString& text) {
    int count = 0;
    bool inWord = false;
    for (const QChar c : text) {
        const bool blank = c == QLatin1Char(' ');
        if (!blank && !inWord)
            ++count;
        inWord = !blank;
    }
    return count;
}

QString tooManyWordsMessage(int count) {
    return QStringLiteral("Der Suchtext darf nur maximal 5 Wörter enthalten! Sie haben ") +
           QString::number(count) + QStringLiteral(" eingetragen!");
}

std::optional<QString> withoutTrailingReplacementCharacter(const QString& text) {
    const qsizetype first = text.indexOf(QChar(QChar::ReplacementCharacter));
    if (first < 0 || first != text.size() - 1)
        return std::nullopt;
    return text.left(first);
}

} // namespace searchentry
