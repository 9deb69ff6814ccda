#include "extension_choices.h"

#include "platform/program_directory.h"
#include "textio/text_files.h"

namespace database {

QString extensionChoicesPath(const QString& programDirectory) {
    return platform::withTrailingSeparator(programDirectory) +
           QStringLiteral("AuswahlEndungen.txt");
}

QStringList loadExtensionChoices(const QString& programDirectory) {
    return textio::loadLinesWithMarkDetection(extensionChoicesPath(programDirectory))
        .value_or(QStringList());
}

} // namespace database
