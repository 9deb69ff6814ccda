#pragma once

#include "file_positions.h"

#include "platform/run_context.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

// Building the file-position list. The window's design finds the path lines
// with the viewer's find, one redrawn page per hit, and takes for each hit
// the page's top offset. Here the same list comes from one scan of the
// mapped file: each hit is placed on a page by the viewer's own paging rule,
// with word wrap off and the window's page height, starting from the page
// the viewer shows.
//
// The rule, as the viewer applies it when it selects a hit: when the hit's
// first byte lies on the page shown (in one of its lines or their line
// ends), the page stays; otherwise the line that holds the hit becomes the
// top line (PagedText::bringIntoView). The line taken for an entry is the
// line that holds the hit's first byte, as it stands in the mirror box; an
// entry is added when that line differs from the one taken for the hit
// before. So a hit anywhere in a line counts, two path lines on one page get
// the same offset, and a hit on the last page makes its line the top.
namespace viewer {

struct [[nodiscard]] PositionListScan {
    bool opened = false; // false: the text file could not be opened
    bool cancelled = false;
    QList<PositionEntry> entries;
    qint64 finalTop = 0; // where the viewer stands after the last hit
};

PositionListScan scanFilePositions(const QString& textFile, QByteArrayView findText,
                                   qint64 startTop, int rowsPerPage,
                                   const platform::RunContext* run = nullptr);

struct [[nodiscard]] PositionListBuild {
    // Refused: not a database name, or another run holds the database
    // (error says which, in German); nothing was touched.
    enum Kind { Built, NoDatabase, NoText, NoDriveLetter, WriteFailed, Cancelled, Refused };
    Kind kind = Built;
    QList<PositionEntry> entries;
    qint64 finalTop = 0;
    FilePositions loaded; // the file read back, as the window holds it
    QString error;        // the write error of WriteFailed, the message of Refused
};

// buildPositionList without the window: the drive letter d of the
// database's folder gives the find text "#" + d + ":\"; the list is written
// to Datenbank/<name>_TitelPositionen.txt (replacing it) and read back,
// while the database's lock is held.
PositionListBuild buildPositionList(const QString& programDirectory, const QString& databaseName,
                                    qint64 startTop, int rowsPerPage,
                                    const platform::RunContext* run = nullptr);

} // namespace viewer
