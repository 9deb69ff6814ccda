#pragma once

#include "viewer/paged_text.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace viewertest {

// Writes bytes to a file (replacing it); false on failure.
bool writeBytes(const QString& fileName, const QByteArray& bytes);

// The bytes of a file, empty when it cannot be read.
QByteArray readBytes(const QString& fileName);

// A temporary folder for a test's files.
class TestFiles {
public:
    // Writes the bytes to a file of the folder and gives its path; a file
    // that cannot be written ends the test run.
    QString file(const char* name, const QByteArray& bytes);
    // The path of a file of the folder, written or not.
    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }

private:
    QTemporaryDir dir_;
};

// The texts of the page's rows, undecoded.
QList<QByteArray> pageTexts(const viewer::PagedText& view);

// Wraps every `columns` characters: a wrap function the tests can reason
// about without fonts.
viewer::WrapFunction wrapEvery(qsizetype columns);

} // namespace viewertest
