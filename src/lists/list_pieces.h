#pragma once

#include "platform/run_context.h"

#include <QString>
#include <QStringList>

// The piece files a sorted-list build cuts the database text into, so that it
// never holds more than one piece of a text of many gigabytes.
namespace lists {

inline constexpr qint64 kPieceSize = 20'000'000;

// Removes piece files that builds of earlier versions, which cut them
// straight into Datenbank/Temp, left there when they were ended mid-way;
// other files there stay. False when one of them could not be removed.
bool removeListPieceFiles(const QString& programDirectory);

struct PieceCut {
    QStringList pieces; // in number order
    bool stopped = false;
    QString error; // German; set when the text or a piece could not be read or written
};

// Cuts the text into SplitDokument001.txt, SplitDokument002.txt, ... in the
// build's own scratch folder. A piece ends at the first line end (CR LF, CR, LF, VT or FF)
// from its pieceSize-th byte on, so no line and no UTF-8 character is cut in
// two; a line longer than a piece makes its piece longer. Checks for a stop after every
// block read; when the run is stopped or fails, the pieces written so far are
// removed again.
PieceCut cutIntoPieces(const QString& sourcePath, const QString& scratchFolder, qint64 pieceSize,
                       const platform::RunContext& run);

} // namespace lists
