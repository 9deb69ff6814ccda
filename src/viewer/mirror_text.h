#pragma once

#include "paged_text.h"

#include <QList>
#include <QString>

#include <optional>

namespace viewer {

// The mirror box holds the page as text: each drawn row decoded from UTF-8,
// rows joined by one line break ("\n", as a Qt text box holds it).
QString mirrorLineText(const PageLine& line);

// Appends each row and a line break, then takes the last break away again
// with LetztesUmbruchZeicheEntfernen, as the page mirroring does.
QString mirrorTextOfPage(const QList<PageLine>& lines);

// The final line break of the mirror text is deleted, so the caret does not
// stand on an empty line after the page.
void LetztesUmbruchZeicheEntfernen(QString& mirrorText);

// A selection in the mirror text, in UTF-16 units.
struct MirrorSelection {
    qsizetype start = 0;
    qsizetype length = 0;

    friend bool operator==(const MirrorSelection&, const MirrorSelection&) = default;
};

// Where a byte range of the file stands in the mirror text of the page made
// of these rows: the start is the first unit of the character that holds the
// range's first byte, the end follows the character that holds its last byte.
// A range running past a row's end goes on in the next row (a wrapped row or
// a long line cut in two), one line break further on. Nothing when the range
// does not begin on the page.
std::optional<MirrorSelection> mirrorSelectionOfRange(const QList<PageLine>& lines, qint64 start,
                                                      qint64 length);

// The row of the page whose text holds a mirror position (the caret's line).
qsizetype mirrorRowOfPosition(const QList<PageLine>& lines, qsizetype position);

} // namespace viewer
