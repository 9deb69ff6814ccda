#include "exclusion_list.h"

#include "platform/program_directory.h"
#include "textio/text_files.h"

#include <QFileInfo>

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

} // namespace database
