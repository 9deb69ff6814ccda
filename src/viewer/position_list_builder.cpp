#include "position_list_builder.h"

#include "mirror_text.h"
#include "paged_text.h"
#include "stream_search.h"

#include "database/database_lock.h"
#include "database/database_name.h"
#include "database/database_paths.h"
#include "database/database_text.h"
#include "database/document_list.h"
#include "database/generation_switch.h"
#include "textio/utf8.h"

#include <QFileInfo>

namespace viewer {

PositionListScan scanFilePositions(const QString& textFile, QByteArrayView findText,
                                   qint64 startTop, int rowsPerPage,
                                   const platform::RunContext* run) {
    PositionListScan scan;
    PagedText view;
    Search search;
    if (!view.open(textFile) || !search.setFileName(textFile))
        return scan;
    scan.opened = true;
    view.setRowsPerPage(rowsPerPage);
    view.scrollTo(startTop);
    search.setRunContext(run);

    QString previousLine;
    for (bool found = search.findFirst(findText, 0); found; found = search.findNext()) {
        if (run && run->cancelled()) {
            scan.cancelled = true;
            return scan;
        }
        const qint64 hit = search.foundStart();
        view.bringIntoView(hit);
        const TextLine line = view.lineAt(hit);
        const QString shown = mirrorLineText({line.start, view.bytes(line.start, line.end)});
        if (shown != previousLine)
            scan.entries.append({view.top(), shown});
        previousLine = shown;
    }
    if (search.stopped()) {
        scan.cancelled = true;
        return scan;
    }
    scan.finalTop = view.top();
    return scan;
}

PositionListBuild buildPositionList(const QString& programDirectory, const QString& databaseName,
                                    qint64 startTop, int rowsPerPage,
                                    const platform::RunContext* run) {
    PositionListBuild build;
    // Held until the list is written: no index run replaces the text it is
    // made of meanwhile.
    database::DatabaseLock lock;
    build.error = database::databaseNameMessage(databaseName);
    if (build.error.isEmpty() && !lock.acquire(programDirectory, databaseName))
        build.error = lock.message();
    if (!build.error.isEmpty()) {
        build.kind = PositionListBuild::Refused;
        return build;
    }
    database::completeInterruptedSwitch(programDirectory, databaseName);
    const auto header =
        database::readHeader(database::documentListPath(programDirectory, databaseName));
    if (!header) {
        build.kind = PositionListBuild::NoDatabase;
        return build;
    }
    const auto drive = database::driveLetterOfHeader(*header);
    if (!drive) {
        build.kind = PositionListBuild::NoDriveLetter;
        return build;
    }
    const QString textFile = database::databaseTextPath(programDirectory, databaseName);
    if (QFileInfo(textFile).size() == 0) {
        build.kind = PositionListBuild::NoText;
        return build;
    }
    const QByteArray findText = textio::utf8EncodePerUnit(database::documentMarker(*drive));
    PositionListScan scan = scanFilePositions(textFile, findText, startTop, rowsPerPage, run);
    if (!scan.opened) {
        build.kind = PositionListBuild::NoText;
        return build;
    }
    if (scan.cancelled) {
        build.kind = PositionListBuild::Cancelled;
        return build;
    }
    build.entries = std::move(scan.entries);
    build.finalTop = scan.finalTop;
    const QString listFile = database::filePositionListPath(programDirectory, databaseName);
    if (!writePositionList(build.entries, listFile, &build.error)) {
        build.kind = PositionListBuild::WriteFailed;
        return build;
    }
    build.loaded = FilePositions::load(listFile);
    return build;
}

} // namespace viewer
