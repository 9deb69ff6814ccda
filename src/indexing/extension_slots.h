#pragma once

#include "database/document_list.h"

#include <QString>

namespace indexing {

// The pattern field's text split into the five slots as the dialog is
// evaluated: the words are the non-empty pieces between "*" and "."
// characters, the first five are kept, and each becomes "." + the word
// trimmed and lower-cased; an unset slot (or a word of blanks) is a lone ".".
// "*.odt *.DOCX" gives ".odt", ".docx", ".", ".", ".".
database::ExtensionSlots parsePatternText(const QString& patternText);

// The slots as the document list holds them: "*.odt", or empty for a lone ".".
database::ExtensionSlots listSlots(const database::ExtensionSlots& dialogSlots);

// "*" + the extension of a path or line in lower case: the text from the
// last "." after the last "\" or ":"; just "*" when there is none.
QString extensionPattern(const QString& pathOrLine);

} // namespace indexing
