#pragma once

#include "list_file.h"

#include <QCollator>
#include <QString>

#include <array>
#include <functional>
#include <string_view>
#include <vector>

// The five groups of a list build in bounded memory.
//
// A text of distinct items (a long one-line document, a word list) has as
// many items as bytes allow; kept and sorted in memory they took about
// twenty times the text. Here the groups are kept in memory only up to a
// budget; beyond it they are written out in runs, and the list is made by
// merging the runs:
//
// 1. Each full set of groups goes to one run file per group, ordered by the
//    items' lower-case forms (the form that decides which items are equal).
// 2. Merging those runs gives each distinct item once, in the form that came
//    first in the text: runs are numbered in text order, and of equal items
//    the one of the earliest run is kept, as the groups in memory keep the
//    first form added.
// 3. The distinct items are sorted in list order in pieces of the budget,
//    each written to a run, and those runs are merged into the list file.
//
// The list is the same, byte for byte, as one sorted in memory: both orders
// are total (items that the collator finds equal are ordered by their
// lower-case forms, which differ for distinct items).
namespace lists {

// What the groups may take in memory, sort keys of one piece included.
inline constexpr std::size_t kGroupMemoryBudget = 40u << 20;

class BoundedGroups {
public:
    // scratchFolder: the build's own folder, for the run files.
    BoundedGroups(QString scratchFolder, std::size_t budget = kGroupMemoryBudget);
    ~BoundedGroups();
    BoundedGroups(const BoundedGroups&) = delete;
    BoundedGroups& operator=(const BoundedGroups&) = delete;

    // Adds an item to a group (0 to 4). False once a run file could not be
    // written (error() says which).
    bool add(int group, std::string_view item);

    // Writes the list file: the groups in order, each in list order,
    // replacing the file in one step. counts gets the items per group.
    ListFileWrite write(const QString& path, const QCollator& collator,
                        const std::function<bool()>& keepGoing,
                        std::array<qsizetype, kGroupCount>& counts);

    const QString& error() const { return error_; }
    // Runs written so far (for tests).
    int spills() const { return spills_; }

    // How a step of the merge ended.
    struct Step {
        bool stopped = false;
        QString error;
        bool ok() const { return !stopped && error.isEmpty(); }
    };

private:
    bool spill();
    Step forEachDistinct(int group, const std::function<bool(std::string_view)>& take,
                         const std::function<bool()>& keepGoing);
    Step sortDistinct(int group, const QCollator& collator, const std::function<bool()>& keepGoing,
                      const std::function<bool(std::string_view)>& take, qsizetype& count);
    std::size_t cost() const;
    QString runPath(const QString& kind, int group, int number) const;

    QString folder_;
    std::size_t budget_;
    ListGroups groups_;
    std::array<std::vector<QString>, kGroupCount> runs_;
    int spills_ = 0;
    int files_ = 0;
    std::size_t added_ = 0;
    QString error_;
};

} // namespace lists
