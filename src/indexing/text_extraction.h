#pragma once

#include "database_writer.h"
#include "member_source.h"
#include "platform/run_context.h"

namespace indexing {

// A document's text is written out as a part file whenever it has reached
// this many characters.
inline constexpr qint64 kDefaultSplitLimit = 10'000'000;

// The member path, lower-cased, names a part that carries no running text
// (metadata, settings, styles, an EPUB's title page or table of contents).
bool isSkippedMember(const QString& memberPath);

// LoadXMLDocument: appends the text of a document's members to the database
// text, one line per text run, with one scanner for all members. Yields
// after every member and every part.
void LoadXMLDocument(MemberSource& members, DatabaseWriter& writer,
                     const platform::RunContext& context, qint64 splitLimit = kDefaultSplitLimit);

} // namespace indexing
