#pragma once

#include "distinct_items.h"

#include <QByteArray>
#include <QCollator>
#include <QCollatorSortKey>

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

namespace lists {

// A collator for the user's locale that ignores case, as the list is sorted;
// under the C locale the root order of the alphabet.
QCollator listCollator(const QLocale& locale);

// The order of a group's items in the list: the collator over the text the
// user sees (the item's bytes decoded as UTF-8), and where it finds two items
// equal, their lower-case forms. The collator treats some characters as
// ignorable (the soft hyphen, C1 controls), so it may call different items
// equal; it orders them but never merges them. `keepGoing` is asked every few
// thousand items; nothing when it says no.
std::optional<std::vector<std::size_t>> listOrder(const DistinctItems& items,
                                                  const QCollator& collator,
                                                  const std::function<bool()>& keepGoing);

// The collator's key of an item, over the text the user sees.
QCollatorSortKey listSortKey(const QCollator& collator, std::string_view item);

// One line of the list file: the item's bytes decoded by the lenient UTF-8
// rules, written as UTF-8, then CR LF.
void appendListLine(QByteArray& out, std::string_view item);

} // namespace lists
