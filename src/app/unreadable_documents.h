#pragma once

#include "indexing/skipped_documents.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace app {

// After an index run, one box names the documents whose container could not
// be read, instead of a box for each while the run works: the heading, a
// line break, then one path per line, at most 20 of them, and for the rest a
// last line "… und N weitere.". Lines end in CR LF between them.
QString unreadableDocumentsMessage(const QStringList& paths);

// The same box for every document that gave no text: one such group per
// reason, in a fixed order, each with its own heading, an empty line between
// two groups. With damaged containers only it is unreadableDocumentsMessage.
QString skippedDocumentsMessage(const QList<indexing::SkippedDocument>& documents);

} // namespace app
