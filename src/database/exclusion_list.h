#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <utility>
#include <vector>

// The exclusion list AusnahmeIndizierung.txt beside the program: one text per
// line; a drive-list line that contains any of them (both lower-cased) is not
// indexed.
namespace database {

QString exclusionListPath(const QString& programDirectory);

// The texts of the file, trimmed of blanks and control characters, empty
// lines dropped, lower-cased, sorted, each once. Empty when there is no file.
QStringList loadExclusionSet(const QString& fileName);
QStringList exclusionSetFromLines(const QStringList& lines);

// The line is taken as it stands in the file (its bytes as Windows-1252
// characters), so a text outside ASCII matches only when the exclusion list
// itself is UTF-8 without mark.
bool isExcluded(const QStringList& exclusionSet, QStringView line);

// All texts of an exclusion set matched at once: one walk over the
// lower-cased path finds whether any of them occurs in it, however many
// there are (an Aho-Corasick automaton over UTF-16 code units). Same
// answers as isExcluded.
class ExclusionMatcher {
public:
    explicit ExclusionMatcher(const QStringList& exclusionSet);

    bool empty() const { return nodes_.size() <= 1; }
    // The path as the drive file list holds it (its ANSI view).
    bool matches(QStringView path) const;

private:
    struct Node {
        std::vector<std::pair<char16_t, int>> next; // sorted by unit
        int fallback = 0;
        bool ends = false; // a text ends here or at a fallback
    };
    int child(int node, char16_t unit) const;
    int step(int node, char16_t unit) const;

    std::vector<Node> nodes_;
};

} // namespace database
