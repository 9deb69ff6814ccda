#pragma once

#include <QString>
#include <QStringList>

// After an index run, one box names the documents whose container could not
// be read, instead of a box for each while the run works: the heading, a
// line break, then one path per line, at most 20 of them, and for the rest a
// last line "… und N weitere.". Lines end in CR LF between them.
QString unreadableDocumentsMessage(const QStringList& paths);
