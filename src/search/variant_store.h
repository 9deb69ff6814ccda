#pragma once

#include "hit_context.h"
#include "search_engine.h"

#include "platform/drive_map.h"
#include "platform/run_context.h"

#include <QByteArrayView>
#include <QList>
#include <QString>

#include <functional>

namespace search {

// The variant text store <name>_MHTtext.txt: UTF-16LE text in the same block
// layout, written by an older edition only. Its results come before those of
// the database text.

// Byte positions (1-based, as the variant's search counts them) of the search
// text's UTF-16LE bytes in the store's bytes, found byte by byte from the
// third byte on, each search starting two bytes after the previous find.
// Case-folded: both sides lowered per UTF-16 unit.
//
// The store is searched a block at a time, a case-folded search lowering a
// copy of one block only, so memory stays flat however large the store is;
// the scan checks between blocks and stops at the cancel token and after
// `limit` positions (0: no limit), as the scan of the database text does.
// `passed` is told each block left behind.
inline constexpr qint64 kVariantBlockSize = qint64(8) << 20;
QList<qint64> variantOccurrences(QByteArrayView storeBytes, const QString& trimmedSearchText,
                                 bool caseSensitive, int limit, const platform::RunContext& run,
                                 const std::function<void(qint64, qint64)>& passed = {},
                                 qint64 blockSize = kVariantBlockSize);

// 500 UTF-16 units from unit (occurrence - 2 x text length) / 2.
QString variantContext(QByteArrayView storeBytes, qint64 occurrence, qsizetype searchTextLength);

// Cut at the first marker (all of the rest but its last character goes),
// CR and LF become blanks.
QString cleanVariantContext(QString context, QStringView documentMarker);

// The variant's whole-word test: the first occurrence of the text in the
// context (both upper case) needs a separator on each side; fails when the
// text is not in the context.
bool passesVariantWholeWordTest(QStringView context, QStringView trimmedSearchText);

// SuchdenTextW: the variant store's result lines, from at most `limit`
// occurrences (0: all); hit contexts are appended. `complete`, when given,
// learns whether the store was searched to its end within the limit.
QList<DocumentResult> SuchdenTextW(const QString& storePath, const QString& searchText,
                                   const QString& documentMarker, bool caseSensitive,
                                   bool wholeWords, int limit, const platform::RunContext& run,
                                   const std::function<QString(const QString&)>& resolvePath,
                                   QList<HitContextEntry>& hitContexts,
                                   const platform::DriveMap& drives, bool* complete = nullptr);

} // namespace search
