#pragma once

#include "file_positions.h"

#include <QLocale>
#include <QString>
#include <QStringView>

#include <functional>

// What ZeigDieTitelAn shows beside the viewer's header: the page's offset
// and the name of the document the page belongs to, cut to fit.
namespace viewer {

// The top-of-page offset with the locale's thousands separator.
QString formatTopOffset(qint64 top, const QLocale& locale);

// The file name of an entry's path part (ANSI view): the part after the last
// backslash, decoded from UTF-8.
QString fileNameOfEntryPath(const QString& entryPath);

// Label2's caption: the offset alone, or when the list names the page's
// document (and no sorted list is shown), the offset, two blanks and the file
// name in double quotes.
QString titleCaption(qint64 top, const FilePositions& positions, bool sortedListShown,
                     const QLocale& locale);

// Cuts 7 characters at a time off the end while the caption, placed at
// `left`, reaches or passes the panel's right edge; a caption that was cut
// gets "..." once. `width` measures a text in pixels.
QString fitCaption(QString caption, int left, int panelWidth,
                   const std::function<int(QStringView)>& width);

} // namespace viewer
