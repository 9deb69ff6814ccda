#pragma once

#include "search/mapped_store.h"

#include <QString>

namespace viewer {

// Maps a text file for the viewer and its find. An empty file cannot be
// mapped but is a text all the same: true, with the store left closed.
// False when the name is empty or the file cannot be opened or mapped.
bool mapViewerText(search::MappedStore& store, const QString& fileName);

} // namespace viewer
