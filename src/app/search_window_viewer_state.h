#pragma once

#include "viewer/file_positions.h"
#include "viewer/find_state.h"
#include "viewer/stream_search.h"

#include <QString>

namespace app {

// What the search window keeps of its document viewer between handlers.
struct ViewerSideState {
    // The file last opened in the viewer: the database text or the sorted
    // list; the find searches it.
    QString viewerFile;
    viewer::FindState find;
    viewer::Search search;
    // The file-position list of the database, as "Textinhalt laden" or the
    // list build read it.
    viewer::FilePositions positions;
    // The bookmark to restore, read when the text is loaded.
    qint64 bookmark = 0;
    // The page being mirrored, line by line, until the viewer has drawn it.
    QString pageText;
    // The viewer's work that runs as a job, from its start until its end
    // has been shown; the window takes no input meanwhile.
    enum class Work { None, Find, PositionList };
    Work work = Work::None;
};

} // namespace app
