#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The index log <name>.log: four lines, UTF-16LE with mark, rewritten by
// every run.
namespace database {

struct RunFigures {
    qint64 listedFiles = 0; // N, documents in the document list
    qint64 indexedDocuments = 0;
    qint64 elapsedSeconds = 0;
    qint64 totalSize = 0; // bytes of all documents that could be opened
};

// 1024 -> "1024 Bytes", 1025 -> "1 KB", 1048577 -> "1 MB", above 1 GiB "GB";
// divisions truncate. The size is 64 bits wide so a corpus above 2 GiB is
// still reported right.
QString byteSizeText(qint64 size);

// Hours, minutes and seconds without leading zeros: 247 s -> "0:4:7".
QString elapsedTimeText(qint64 seconds);

// The four lines, numbers grouped with the locale's thousands separator.
QStringList indexLogLines(const RunFigures& figures, const QLocale& locale = QLocale());

bool writeIndexLog(const QStringList& lines, const QString& fileName, QString* error = nullptr);

} // namespace database
