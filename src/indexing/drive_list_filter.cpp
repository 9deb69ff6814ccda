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
    , exclusions_(exclusionSet) {}

bool DriveListFilter::hasDrivePrefix(const QString& entry) {
    return entry.size() >= 3 && entry.at(1) == u':' && entry.at(2) == u'\\';
}

QStringList DriveListFilter::takeLine(const QString& ansiLine) {
    const bool ditto = database::isDittoLine(ansiLine);
    if (!ditto) {
        const qsizetype cut = std::max(ansiLine.lastIndexOf(QLatin1Char('\\')),
                                       ansiLine.lastIndexOf(QLatin1Char(':')));
        directoryAnsi_ = ansiLine.left(cut + 1);
        directory_ = textio::utf8DecodeLenient(textio::ansiBytes(directoryAnsi_));
        directoryInFolder_ = directory_.contains(folder_);
        directoryDoubleUtf8_ =
            directoryInFolder_ ? database::toDoubleUtf8Form(directory_) : QString();
        fileName_ = ansiLine.mid(cut + 1);
    }
    if (!directoryInFolder_)
        return {};
    const QString pattern = extensionPattern(ansiLine);
    QStringList entries;
    for (const QString& slot : slots_) {
        if (pattern != slot.toLower())
            continue;
        const QString name = ditto ? ansiLine.mid(2) : fileName_;
        if (entries.isEmpty() && exclusions_.matches(QString(directoryAnsi_ + name)))
            return {};
        entries.append(directoryDoubleUtf8_ + name);
    }
    return entries;
}

} // namespace indexing
