#pragma once

#include "distinct_items.h"
#include "list_rules.h"

#include <QCollator>
#include <QString>

#include <array>
#include <functional>

namespace lists {

using ListGroups = std::array<DistinctItems, kGroupCount>;

struct ListFileWrite {
    bool stopped = false;
    QString error; // German; empty when written or stopped
};

// Writes the groups one after the other, each in list order, replacing the
// file in one step: a stop (keepGoing says no) or a failure leaves the file
// that was there untouched. Each group is emptied once it is written, so the
// sort of the next one does not add to the memory the items hold.
ListFileWrite writeSortedList(const QString& path, ListGroups& groups, const QCollator& collator,
                              const std::function<bool()>& keepGoing);

} // namespace lists
