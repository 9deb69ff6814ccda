#pragma once

#include "search/byte_finder.h"
#include "search/mapped_store.h"

#include "platform/run_context.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>

namespace viewer {

// How the viewer's find compares: byte for byte, letters folded by the
// Windows-1252 case tables, so on UTF-8 text only single-byte letters fold;
// with umlaut folding on, the two-byte letters fold with their case partners
// as well. Every finder of the viewer is made here.
search::ByteFinder makeViewerFinder(QByteArrayView findText,
                                    search::UmlautFolding umlauts = search::UmlautFolding::Off);

// The stream search over a file: set the file, find first from a 64-bit
// offset, find next, and where the hit lies. The file is scanned through a
// read-only mapping in blocks; blocks the scan has passed are let go, so a
// find through gigabytes keeps memory flat.
class Search {
public:
    // False when the file cannot be opened; an empty file opens and holds
    // nothing.
    bool setFileName(const QString& fileName);
    QString fileName() const { return fileName_; }

    // The first hit that starts at or after the offset; false when there is
    // none (or the text is empty or no file is set).
    bool findFirst(QByteArrayView findText, qint64 from);
    // The next hit after the current one: one that starts after the current
    // hit's first byte, so overlapping hits are all visited.
    bool findNext();

    qint64 foundStart() const { return foundStart_; }
    qint64 foundLength() const { return foundStart_ < 0 ? 0 : finder_->size(); }

    // Checked between blocks of a long scan: a stop request ends the scan
    // as if nothing had been found (stopped() then says why).
    void setRunContext(const platform::RunContext* run) { run_ = run; }
    bool stopped() const { return run_ && run_->cancelled(); }

    // Takes effect with the next findFirst.
    void setUmlautFolding(search::UmlautFolding umlauts) { umlauts_ = umlauts; }

private:
    bool scanFrom(qint64 from);

    search::MappedStore store_;
    QString fileName_;
    bool fileSet_ = false;
    std::optional<search::ByteFinder> finder_;
    qint64 foundStart_ = -1;
    const platform::RunContext* run_ = nullptr;
    search::UmlautFolding umlauts_ = search::UmlautFolding::Off;
};

} // namespace viewer
