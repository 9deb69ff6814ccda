#include "index_log.h"

#include "textio/text_files.h"

namespace database {

QString byteSizeText(qint64 size) {
    if (size <= 1024)
        return QString::number(size) + QStringLiteral(" Bytes");
    if (size <= 1048576)
        return QString::number(size / 1024) + QStringLiteral(" KB");
    if (size <= 1073741824)
        return QString::number(size / 1048576) + QStringLiteral(" MB");
    return QString::number(size / 1073741824) + QStringLiteral(" GB");
}

QString elapsedTimeText(qint64 seconds) {
    const qint64 hours = seconds / 3600;
    const qint64 minutes = (seconds - 3600 * hours) / 60;
    const qint64 rest = seconds - 3600 * hours - 60 * minutes;
    return QStringLiteral("%1:%2:%3").arg(hours).arg(minutes).arg(rest);
}

QStringList indexLogLines(const RunFigures& figures, const QLocale& locale) {
    const qint64 notIndexed = figures.listedFiles - figures.indexedDocuments;
    return {
        QStringLiteral(" "),
        QStringLiteral("Dateien insgesamt: ") + locale.toString(figures.listedFiles),
        QStringLiteral("Konnten nicht indiziert werden: ") + QString::number(notIndexed),
        locale.toString(figures.indexedDocuments) +
            QStringLiteral(" ODT-Dateien wurden indiziert.   Zeit: ") +
            elapsedTimeText(figures.elapsedSeconds) +
            QStringLiteral("  Gesamtgröße der gepackten Datei(en) : ") +
            byteSizeText(figures.totalSize),
    };
}

bool writeIndexLog(const QStringList& lines, const QString& fileName, QString* error) {
    return textio::saveLinesAsUtf16(lines, fileName, error);
}

} // namespace database
