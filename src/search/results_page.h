#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

namespace search {

// What the page of one pass is made of.
struct ResultsPageInput {
    QString searchText;    // the search bar text, untrimmed
    QStringList bodyLines; // the engine's lines, joined result lines among them
    QString databaseName;
    bool caseSensitive = false;
    bool wholeWords = false;
    // The search was cancelled: the body lines are the engine's cancel lines.
    bool cancelled = false;
};

// The settings text of the summary line, one of four.
QString settingsText(bool caseSensitive, bool wholeWords);

// A joined result line as the page shows it: the count in the text colour,
// the link (as address and as link text) and the context in its colour.
// Lines without ":/" (the engine's notices) stay as they are. Characters of
// the link that could end the attribute or start markup (possible in file
// names outside Windows) are written as entities.
QString convertResultLine(const QString& line);

// Bolds the last occurrence of the trimmed search text in the line,
// compared in upper case.
QString markSearchTerm(const QString& line, QStringView trimmedSearchText);

QString htmlEscaped(QStringView text);

// The page's lines: head, summary, term line, underline, body, closing tags.
// With no body lines it is the page that reports "wurde NICHT gefunden".
QStringList resultsPageLines(const ResultsPageInput& input);

// Every line followed by CR LF, `</html>` included, as UTF-8 without mark.
QByteArray resultsPageBytes(const QStringList& lines);

// TX_Ergebnis.htm for pass 1, TX_Ergebnis2.htm for pass 2.
QString resultsPageFileName(int pass);

// Opens a written page (the browser launch); may be empty.
using PageOpener = std::function<void(const QString& pagePath)>;

struct PageWriteResult {
    bool written = false;
    QString path;
    QString error;
};

// SchreibHTMLDoc: writes the page of the pass into the program directory,
// replacing it whole, and opens it under the very name it was written with.
PageWriteResult SchreibHTMLDoc(const ResultsPageInput& input, int pass,
                               const QString& programDirectory, const PageOpener& openPage);

} // namespace search
