#pragma once

#include "viewer/paged_text.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace viewertest {

// Writes bytes to a file (replacing it); false on failure.
bool writeBytes(const QString& fileName, const QByteArray& bytes);

// The bytes of a file, empty when it cannot be read.
QByteArray readBytes(const QString& fileName);

// The texts of the page's rows, undecoded.
QList<QByteArray> pageTexts(const viewer::PagedText& view);

// Wraps every `columns` characters: a wrap function the tests can reason
// about without fonts.
viewer::WrapFunction wrapEvery(qsizetype columns);

} // namespace viewertest
