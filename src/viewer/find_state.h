#pragma once

#include "stream_search.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace viewer {

// What the search window remembers of its find in the viewer. Hit offsets
// are full 64-bit byte offsets: texts of the database can pass 4 GiB.
struct FindState {
    QByteArray text;     // the find text as UTF-8
    bool active = false; // a first find succeeded since the text last changed
    qint64 latestHit = -1;
    qint64 previousHit = -1;

    // A new find text: the next find starts again at the beginning.
    void changeText(QStringView findText);
};

struct [[nodiscard]] FindOutcome {
    enum Kind { Hit, NotFound, CannotOpen };
    Kind kind = NotFound;
    qint64 start = -1;
    qint64 length = 0;
    QString message; // for CannotOpen: the text of the error box
};

// One press of "Suchen": the first find opens the viewer's file for the
// search and starts at offset 0, later ones go on after the latest hit.
FindOutcome findInViewerFile(FindState& state, Search& search, const QString& viewerFile,
                             bool first);

} // namespace viewer
