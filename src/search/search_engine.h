#pragma once

#include "hit_context.h"
#include "letter_folding.h"
#include "results_page.h"

#include "platform/drive_map.h"
#include "platform/run_context.h"
#include "platform/settings_store.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace search {

// The settings value of the umlaut option: on when missing (a new user's
// default, as a German user expects "ü" to find "Ü" with the case ignored)
// or "1"; anything else, "0" above all, off.
inline const QString kFoldUmlautsSetting = QStringLiteral("Umlaute_Gross_Klein_egal");
bool foldUmlautsSetting(platform::SettingsStore& settings);

// The search request as the search window fills it.
struct SearchRequest {
    QString databaseName;
    QString searchText;         // the search bar text as typed
    bool caseSensitive = false; // GrossKleinBeachten
    bool wholeWords = false;    // NurGanzeWoerterCheckBox
    // Umlaute_Gross_Klein_egal: with the case ignored, the two-byte letters
    // beyond ASCII fold too (Ä = ä). No effect on a case-sensitive search.
    bool foldUmlauts = false;
    // The user chose to open the search text as a document path: no page.
    bool pathOpened = false;
};

// What outlives one search: the window keeps it, the main window clears the
// flag after each search so the next one may show the message again.
struct SearchSession {
    bool missingDocumentMessageShown = false;
};

// What a search has to tell the user on its way, in the order it happens.
// The driver words it (searchNoticeText) and shows it; the search does not
// wait for that.
struct SearchNotice {
    enum class Kind {
        NoSearchText,     // nothing was searched
        DocumentsMissing, // a found document is nowhere (said once per search)
        PageNotWritten,   // the results page could not be written (said once)
    };
    Kind kind = Kind::NoSearchText;
    QString page;  // PageNotWritten: the page file
    QString error; // PageNotWritten: why, as the file system said
};

// The German text of a notice; the page's program directory adds the hint
// about the storage it lies on.
QString searchNoticeText(const SearchNotice& notice, const QString& programDirectory);
// Whether the notice is a warning (else it informs).
bool isWarning(const SearchNotice& notice);

// Where the engine reads and writes, and how it reaches its driver. The
// callbacks are called on the thread the search runs on.
struct SearchEnvironment {
    QString programDirectory; // native, with trailing separator
    const platform::DriveMap* drives = nullptr;
    const platform::RunContext* run = nullptr;
    PageOpener openPage;                             // may be empty: pages are only written
    std::function<void(int pass)> passStarted;       // the searching notice of pass 2
    std::function<void(const SearchNotice&)> notice; // may be empty
};

// One result of a pass: the document, its count and the line the page shows.
struct DocumentResult {
    QString path; // Windows form, as resolved
    int count = 0;
    QString link; // the file URL of the document (documentLink)
    QString line; // count + " mal in: " + link
};

// The accepted occurrences of a store turned into one result per document,
// in the order of each document's last occurrence (they arrive from the end
// of the store). Documents are told apart by their whole path, so a path
// that merely contains another one is counted on its own.
QList<DocumentResult> countPerDocument(const QStringList& acceptedPaths,
                                       const platform::DriveMap& drives,
                                       const platform::RunContext& run);

struct [[nodiscard]] SearchOutcome {
    // The search text was empty: nothing was searched, no page written,
    // and the window's result stays as it was.
    bool emptySearchText = false;
    // The occurrence list of the database text was empty in the last pass
    // run (the history is then not saved).
    bool noHits = true;
    bool cancelled = false;
    // The page written last (0: none) and the result lines it lists.
    int lastPagePass = 0;
    QString lastPagePath;
    QStringList lastPageResultLines;
    QString pageWriteError;
};

// searchDatabase: both passes over the database (at most 10, then 300
// occurrences), a results page after each pass that brings new lines.
SearchOutcome searchDatabase(const SearchRequest& request, SearchSession& session,
                             const SearchEnvironment& environment);

// The folding the request asks for: on only with the case ignored.
UmlautFolding umlautFolding(const SearchRequest& request);

// The folding is on and the search text holds a letter that it folds: the
// page says that umlauts were included.
bool foldsUmlauts(const SearchRequest& request);

// Body lines announcing a cancel, first and last.
QStringList cancelBodyLines();

} // namespace search
