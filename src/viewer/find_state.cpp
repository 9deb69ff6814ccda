#include "find_state.h"

#include "textio/utf8.h"

namespace viewer {

void FindState::changeText(QStringView findText) {
    text = textio::utf8EncodePerUnit(findText);
    active = false;
}

FindOutcome findInViewerFile(FindState& state, Search& search, const QString& viewerFile,
                             bool first) {
    FindOutcome outcome;
    bool found = false;
    if (first) {
        if (!search.setFileName(viewerFile)) {
            outcome.kind = FindOutcome::CannotOpen;
            outcome.message = viewerFile + QStringLiteral(" kann nicht geöffnet werden.");
            return outcome;
        }
        found = search.findFirst(state.text, 0);
        if (found)
            state.active = true;
    } else {
        found = search.findNext();
    }
    if (!found)
        return outcome;
    outcome.kind = FindOutcome::Hit;
    outcome.start = search.foundStart();
    outcome.length = search.foundLength();
    state.previousHit = state.latestHit;
    state.latestHit = outcome.start;
    return outcome;
}

} // namespace viewer
