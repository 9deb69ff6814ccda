#pragma once

#include "letter_folding.h"
#include "mapped_store.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <optional>

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

// The window as the page shows it: clipped to the occurrence's document
// text, from the first byte after its block header (the line after the
// underline) up to, not including, the next document's "#" (or the end of
// the file). A hit near the start of a document would otherwise show the
// tail of its own header, and one near the end the next document's text.
// `startsAtText` tells that the start was moved to the document's text.
struct ShownRange {
    ByteRange range;
    bool startsAtText = false;
};
ShownRange clipToDocument(ByteRange window, qint64 documentTextStart, qint64 nextDocumentStart);

// Where a document's text begins: after the line end of its header line and
// the line end of the underline that follows it. Looked for only up to
// `notBeyond`; past it (or at the end of the text) `notBeyond` is answered,
// which is all a caller that clips a window ending there needs to know.
qint64 documentTextStart(QByteArrayView text, qint64 documentStart, qint64 notBeyond);

// "read context": the window's bytes decoded leniently (never fails).
QString readContext(const MappedStore& store, qint64 occurrence);
QString readContext(const MappedStore& store, ByteRange range);

// One entry of the hit context list: document path + ":TextUmgebstr " +
// cleaned context, kept apart here.
struct HitContextEntry {
    QString path;
    QString context;
    // The context begins with the document's first text byte, not at a cut
    // somewhere in the middle of the store.
    bool startsAtText = false;
};

// "clean context": from the first document marker on (the window ran into
// the next document's header), as many characters as the current path has
// are removed; every CR of a CR LF becomes a blank. The marker is compared
// exactly, with the drive letter as the document list holds it; an empty
// marker removes nothing (the database text's contexts are clipped to their
// document, and a marker inside them is a document's own text).
QString cleanContext(QString context, QStringView documentPath, QStringView documentMarker);

// The context as the result line shows it, as plain text: the first two
// characters dropped when the window was cut at an arbitrary byte (they are
// often the stray remains of a cut sequence), "<", ">" and "/" blanked.
QString prepareContext(QStringView cleanedContext, bool startsAtText = false);

// "join context", as a value: the prepared context of the first entry of
// the document, or none when the list has none.
std::optional<QString> contextOf(QStringView documentPath, const QList<HitContextEntry>& entries);

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
