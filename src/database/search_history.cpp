#include "search_history.h"

#include "database_paths.h"

#include "textio/text_files.h"

#include <QFileInfo>

namespace database {

QStringList updateSearchHistory(QStringList history, const QString& searchText) {
    for (QString& entry : history) {
        if (entry == searchText)
            entry.clear();
    }
    history.removeAll(QString());
    history.prepend(searchText);
    const qsizetype placeholder =
        history.lastIndexOf(QStringLiteral("Sie_haben_keinen_Suchtext_eingegeben!"));
    if (placeholder >= 0)
        history.removeAt(placeholder);
    // A hand-edited file may have brought more than 50 lines; the file the
    // program writes never holds more.
    while (history.size() > kSearchHistoryLimit)
        history.removeLast();
    return history;
}

bool saveSearchHistory(const QStringList& history, const QString& programDirectory,
                       const QString& databaseName, QString* error) {
    return textio::saveLinesAsUtf16(history, searchHistoryPath(programDirectory, databaseName),
                                    error);
}

QStringList readSearchHistoryFile(const QString& fileName) {
    // Fifty entries of the longest text the search bar takes fit many
    // times over.
    constexpr qint64 kReadLimit = 4 << 20;
    return textio::loadFirstLinesWithMarkDetection(fileName, kSearchHistoryLimit, kReadLimit)
        .value_or(QStringList());
}

QStringList loadSearchHistory(const QString& programDirectory, const QString& databaseName) {
    for (const QString& path : {searchHistoryPath(programDirectory, databaseName),
                                mhtSearchHistoryPath(programDirectory, databaseName)}) {
        if (!QFileInfo::exists(path))
            continue;
        return readSearchHistoryFile(path);
    }
    return {};
}

bool shouldSaveSearchHistory(const QStringList& history, bool searchFoundSomething) {
    return !history.isEmpty() && searchFoundSomething;
}

} // namespace database
