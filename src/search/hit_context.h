#pragma once

#include "letter_folding.h"
#include "mapped_store.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

namespace search {

// The piece of text shown under a result line: 500 bytes of the database
// text, starting 200 bytes before the occurrence.
inline constexpr qint64 kContextWindowSize = 500;
inline constexpr qint64 kContextLead = 200;

struct ByteRange {
    qint64 from = 0;
    qint64 to = 0;
};

// The window for an occurrence: moved back so that it ends at the end of the
// file, never before byte 0.
ByteRange contextWindow(qint64 occurrence, qint64 fileSize);

// The window as the page shows it: clipped to the occurrence's document,
// from its header line's "#" up to, not including, the next document's "#"
// (or the end of the file). A hit near the end of a document would otherwise
// show, and the page would bold, the next document's text as its own.
ByteRange clipToDocument(ByteRange window, qint64 documentStart, qint64 nextDocumentStart);

// "read context": the window's bytes decoded leniently (never fails).
QString readContext(const MappedStore& store, qint64 occurrence);
QString readContext(const MappedStore& store, ByteRange range);

// One entry of the hit context list: document path + ":TextUmgebstr " +
// cleaned context, kept apart here.
struct HitContextEntry {
    QString path;
    QString context;
};

// "clean context": from the first document marker on (the window ran into
// the next document's header), as many characters as the current path has
// are removed; every CR of a CR LF becomes a blank. The marker is compared
// exactly, with the drive letter as the document list holds it.
QString cleanContext(QString context, QStringView documentPath, QStringView documentMarker);

// The context as the result line shows it: the first two characters dropped
// (they are often the stray remains of a cut sequence), "<", ">" and "/"
// blanked, "<br><br>" appended.
QString prepareContext(QStringView cleanedContext);

// "join context": result line + "#!!!#" + prepared context of the first entry
// of the document, or the line unchanged when the list has none.
QString joinContext(const QString& resultLine, QStringView documentPath,
                    const QList<HitContextEntry>& entries);

// The whole-word test of the database text: the first occurrence of the
// pattern (its bytes as Windows-1252 characters, lowered) in the context
// (as Windows-1252, ASCII letters lowered) must have no word character
// (a-z, ä, ö, ü, ß after lowering) on either side. A neighbour outside the
// window is a boundary; a context without the pattern passes.
//
// With umlaut folding on, a pattern with letters beyond ASCII is looked for
// as text, its two-byte letters folded like ASCII ones, so "äpfel" is found
// in "Äpfelbaum" and fails there. The neighbours are judged as before.
bool passesWholeWordTest(QStringView context, QByteArrayView pattern,
                         UmlautFolding umlauts = UmlautFolding::Off);

} // namespace search
