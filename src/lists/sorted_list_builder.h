#pragma once

#include "bounded_groups.h"
#include "list_pieces.h"
#include "list_rules.h"
#include "platform/run_context.h"

#include <QLocale>
#include <QString>

#include <array>
#include <functional>

// The sorted word and phrase list of a database, <name>_Phrasen_Woerter_Utf8Liste.txt:
// the items of group 1, then of groups 2 to 5, each group in the user's
// alphabetical order, one item per line, UTF-8, CR LF after every line.
namespace lists {

struct SortedListRequest {
    QString programDirectory; // ends in the separator
    QString databaseName;
    ListKind kind = ListKind::Words;
    qint64 pieceSize = kPieceSize;
    // What the groups may take in memory before they go to run files.
    std::size_t memoryBudget = kGroupMemoryBudget;
    QLocale locale; // the user's; the list follows its alphabetical order
};

// The values the window's progress bar takes: minimum 0 and maximum 500 once
// the pieces are cut, the position 20 at first and 50 more after each piece
// (held at the maximum, as the bar holds it).
struct ListProgress {
    int minimum = 0;
    int maximum = 500;
    int position = 20;
};
using ListProgressSink = std::function<void(const ListProgress&)>;

enum class ListBuildStatus {
    Written,       // the list is written; itemsPerGroup counts its lines
    NoDocuments,   // no database text (tell the user noDocumentsMessage)
    NothingToSort, // a database text of 4 bytes or less: nothing built
    Stopped,       // abort requested: nothing written, the earlier list stays
    Failed,        // a file could not be read or written; error says which
    Refused,       // not a database name, or another run holds the database;
                   // error says which, and nothing was touched
};

struct [[nodiscard]] ListBuildOutcome {
    ListBuildStatus status = ListBuildStatus::Failed;
    std::array<qsizetype, kGroupCount> itemsPerGroup{};
    QString error;   // German, for Failed
    QString warning; // German: piece files that could not be removed
};

// "Für die Datenbank "<name>" existieren keine Dokumente, die sortiert werden könnten!"
QString noDocumentsMessage(const QString& databaseName);

// Builds the list of the database's text in its own scratch folder, holding
// the database's lock (database_lock.h) until the list is written; memory
// stays within the request's budget whatever the text (bounded_groups.h). The run's checkpoint is
// called twice for every line (the window processes its messages there), after every block of the
// cut and every few thousand items of the sort; its abort flag is checked after each of them and
// after each piece. A stopped or failed build writes nothing and leaves no piece file behind; the
// earlier list stays as it was.
ListBuildOutcome buildSortedList(const SortedListRequest& request, const platform::RunContext& run,
                                 const ListProgressSink& progress = {});

} // namespace lists
