#pragma once

#include <QString>
#include <QStringList>

// After an index run, one box names the documents whose container could not
// be read, instead of a box for each while the run works: the heading, a
// line break, then one path per line, at most 20 of them, and for the rest a
// last line "… und N weitere.". The documents encrypted with a password
// follow in a list of their own, after an empty line, in the same form.
// Lines end in CR LF between them.
QString unreadableDocumentsMessage(const QStringList& paths,
                                   const QStringList& passwordProtected = {});
