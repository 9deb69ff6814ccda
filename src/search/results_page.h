#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <optional>

namespace search {

// One document of a pass as the page lists it. The page is written from
// these values; nothing is parsed back out of joined text, so no character
// of a file name or a document can pass for the page's own markup.
struct PageResult {
    int count = 0;
    QString link; // a file URL, percent-encoded (documentLink)
    // The text around the document's last occurrence as plain text (already
    // prepared, see prepareContext); none when no context was taken.
    std::optional<QString> context;
};

// A line of the page body: one of the engine's own notices (fixed markup of
// the program, written as it is) or a result.
struct PageBodyLine {
    QString notice;
    std::optional<PageResult> result;

    static PageBodyLine ofNotice(const QString& markup) { return {markup, std::nullopt}; }
    static PageBodyLine ofResult(const PageResult& result) { return {QString(), result}; }
};

// What the page of one pass is made of.
struct ResultsPageInput {
    QString searchText; // the search bar text, untrimmed
    QList<PageBodyLine> body;
    QString databaseName;
    bool caseSensitive = false;
    bool wholeWords = false;
    // Umlauts were folded for this search (the option was in force and the
    // search text holds a letter that folds); the note line says so.
    bool foldedUmlauts = false;
    // The search was cancelled: the body lines are the engine's cancel lines.
    bool cancelled = false;
};

// The settings text of the summary line, one of four; with folded umlauts
// the "Gross/klein egal" of it says that umlauts were included.
QString settingsText(bool caseSensitive, bool wholeWords, bool foldedUmlauts = false);

// The only two ways a text from outside enters the page. htmlEscaped writes
// "&", "<", ">" and '"' as entities (attribute values, the search term);
// htmlTextEscaped, for running text, writes "<" and ">" as entities and "&"
// only where a browser would read it as the start of a character reference
// (before a letter, a digit or "#"), so "Müller & Co" keeps its bytes.
QString htmlEscaped(QStringView text);
QString htmlTextEscaped(QStringView text);

// The context as the page shows it: running text, escaped, with the last
// occurrence of the trimmed search text (compared in upper case) in <b>.
QString markedContext(QStringView context, QStringView trimmedSearchText);

// A result as the page shows it: the count in the text colour, the link
// (as address and as link text) and the marked context in its colour.
QString resultLineMarkup(const PageResult& result, QStringView trimmedSearchText);

// The page's lines: head, summary, term line, underline, body, closing tags.
// With no body lines it is the page that reports "wurde NICHT gefunden".
QStringList resultsPageLines(const ResultsPageInput& input);

// Every line followed by CR LF, `</html>` included, as UTF-8 without mark.
QByteArray resultsPageBytes(const QStringList& lines);

// TX_Ergebnis.htm for pass 1, TX_Ergebnis2.htm for pass 2.
QString resultsPageFileName(int pass);

// Opens a written page (the browser launch); may be empty.
using PageOpener = std::function<void(const QString& pagePath)>;

struct [[nodiscard]] PageWriteResult {
    bool written = false;
    QString path;
    QString error;
};

// writeResultsPage: writes the page of the pass into the program directory,
// replacing it whole, and opens it under the very name it was written with.
PageWriteResult writeResultsPage(const ResultsPageInput& input, int pass,
                                 const QString& programDirectory, const PageOpener& openPage);

} // namespace search
