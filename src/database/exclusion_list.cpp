#include "exclusion_list.h"

#include "platform/program_directory.h"
#include "textio/text_files.h"

#include <QFileInfo>

#include <algorithm>
#include <deque>

namespace database {
namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 0x20;
}

QString trimBlanksAndControls(const QString& line) {
    qsizetype begin = 0;
    qsizetype end = line.size();
    while (begin < end && isBlankOrControl(line.at(begin)))
        ++begin;
    while (end > begin && isBlankOrControl(line.at(end - 1)))
        --end;
    return line.mid(begin, end - begin);
}

} // namespace

QString exclusionListPath(const QString& programDirectory) {
    return platform::withTrailingSeparator(programDirectory) +
           QStringLiteral("AusnahmeIndizierung.txt");
}

QStringList exclusionSetFromLines(const QStringList& lines) {
    QStringList set;
    for (const QString& line : lines) {
        const QString text = trimBlanksAndControls(line).toLower();
        if (!text.isEmpty())
            set.append(text);
    }
    set.sort();
    set.removeDuplicates();
    return set;
}

QStringList loadExclusionSet(const QString& fileName) {
    if (!QFileInfo(fileName).isFile())
        return {};
    return exclusionSetFromLines(
        textio::loadLinesWithMarkDetection(fileName).value_or(QStringList()));
}

bool isExcluded(const QStringList& exclusionSet, QStringView line) {
    if (exclusionSet.isEmpty())
        return false;
    const QString lowered = line.toString().toLower();
    for (const QString& text : exclusionSet) {
        if (lowered.contains(text))
            return true;
    }
    return false;
}

ExclusionMatcher::ExclusionMatcher(const QStringList& exclusionSet)
    : nodes_(1) {
    for (const QString& text : exclusionSet) {
        if (text.isEmpty())
            continue;
        int node = 0;
        for (const QChar c : text) {
            int next = child(node, c.unicode());
            if (next < 0) {
                next = static_cast<int>(nodes_.size());
                auto& edges = nodes_[node].next;
                const auto at = std::lower_bound(edges.begin(), edges.end(), c.unicode(),
                                                 [](const std::pair<char16_t, int>& edge,
                                                    char16_t u) { return edge.first < u; });
                edges.insert(at, {c.unicode(), next});
                nodes_.emplace_back();
            }
            node = next;
        }
        nodes_[node].ends = true;
    }
    // Fallbacks breadth first: a node's fallback is the longest proper
    // suffix of its text that is also a prefix of some text.
    std::deque<int> queue;
    for (const auto& [unit, node] : nodes_[0].next)
        queue.push_back(node);
    while (!queue.empty()) {
        const int node = queue.front();
        queue.pop_front();
        for (const auto& [unit, next] : nodes_[node].next) {
            int fallback = nodes_[node].fallback;
            while (fallback != 0 && child(fallback, unit) < 0)
                fallback = nodes_[fallback].fallback;
            const int target = child(fallback, unit);
            nodes_[next].fallback = target >= 0 && target != next ? target : 0;
            nodes_[next].ends = nodes_[next].ends || nodes_[nodes_[next].fallback].ends;
            queue.push_back(next);
        }
    }
}

int ExclusionMatcher::child(int node, char16_t unit) const {
    const auto& edges = nodes_[node].next;
    const auto at = std::lower_bound(
        edges.begin(), edges.end(), unit,
        [](const std::pair<char16_t, int>& edge, char16_t u) { return edge.first < u; });
    return at != edges.end() && at->first == unit ? at->second : -1;
}

int ExclusionMatcher::step(int node, char16_t unit) const {
    for (;;) {
        const int next = child(node, unit);
        if (next >= 0)
            return next;
        if (node == 0)
            return 0;
        node = nodes_[node].fallback;
    }
}

bool ExclusionMatcher::matches(QStringView path) const {
    if (empty())
        return false;
    // Lower-cased as a whole, as the texts were: a few letters change
    // length when lower-cased alone.
    const QString lowered = path.toString().toLower();
    int node = 0;
    for (const QChar c : lowered) {
        node = step(node, c.unicode());
        if (nodes_[node].ends)
            return true;
    }
    return false;
}

} // namespace database
