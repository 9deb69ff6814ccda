#include "search_term_entry.h"

#include "search/document_path.h"

#include <QStringList>

namespace searchentry {

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20;
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

QString pathEntryMessageTitle() {
    return QStringLiteral("Info");
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

std::optional<QString> locatePathEntry(const QString& trimmedText, const QString& programDirectory,
                                       const platform::DriveMap& drives) {
    const QString moved =
        search::driveLetterSearch(pathWithoutDriveLetter(trimmedText), programDirectory, drives);
    if (search::documentExists(moved, drives))
        return drives.toNative(moved);
    const QString asTyped = trimmedText.mid(1);
    if (search::documentExists(asTyped, drives))
        return drives.toNative(asTyped);
    return std::nullopt;
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
