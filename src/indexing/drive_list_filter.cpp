#include "drive_list_filter.h"

#include "extension_slots.h"

#include "database/drive_file_list.h"
#include "database/exclusion_list.h"
#include "textio/utf8.h"
#include "textio/windows1252.h"

namespace indexing {

DriveListFilter::DriveListFilter(QString folder, database::ExtensionSlots slots,
                                 QStringList exclusionSet)
    : folder_(std::move(folder))
    , slots_(std::move(slots))
    , exclusionSet_(std::move(exclusionSet)) {}

bool DriveListFilter::hasDrivePrefix(const QString& entry) {
    return entry.size() >= 3 && entry.at(1) == u':' && entry.at(2) == u'\\';
}

QStringList DriveListFilter::takeLine(const QString& ansiLine) {
    // An excluded line becomes "-": it is no file, and as it is a full line
    // the ditto lines after it have no directory either.
    const QString line =
        database::isExcluded(exclusionSet_, ansiLine) ? QStringLiteral("-") : ansiLine;
    const bool ditto = database::isDittoLine(line);
    if (!ditto) {
        const qsizetype cut =
            std::max(line.lastIndexOf(QLatin1Char('\\')), line.lastIndexOf(QLatin1Char(':')));
        directory_ = textio::utf8DecodeLenient(textio::ansiBytes(QStringView(line).left(cut + 1)));
        directoryDoubleUtf8_ = database::toDoubleUtf8Form(directory_);
        fileName_ = line.mid(cut + 1);
    }
    const QString pattern = extensionPattern(line);
    QStringList entries;
    for (const QString& slot : slots_) {
        if (pattern != slot.toLower() || !directory_.contains(folder_))
            continue;
        entries.append(directoryDoubleUtf8_ + (ditto ? line.mid(2) : fileName_));
    }
    return entries;
}

} // namespace indexing
