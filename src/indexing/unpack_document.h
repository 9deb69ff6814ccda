#pragma once

#include "archive_reader.h"
#include "database_writer.h"
#include "text_extraction.h"

#include "platform/drive_map.h"
#include "platform/run_context.h"

#include <QString>

#include <functional>

namespace indexing {

// What the unpacking of one document needs from its run.
struct UnpackEnvironment {
    QString programDirectory;
    const platform::DriveMap* drives = nullptr;
    DatabaseWriter* writer = nullptr;
    const platform::RunContext* context = nullptr;
    std::function<void(const QString&)> caption;
    qint64* indexedDocuments = nullptr;
    qint64 splitLimit = kDefaultSplitLimit;
    qint64 memberSizeCap = kDefaultMemberSizeCap;
};

// The name the container had while the shell unpacked it: the document's
// folder + its base name without ".odt", ".docm", ".docx", ".epub" (each
// removed once, in that order, wherever it stands) + ".zip". It names the
// container in messages and decides the top-level listing.
QString containerName(const QString& documentPath);

// The folder whose members carry the text: the last top-level line that
// begins with "\" and names neither "mimetype" nor "meta-inf", without its
// "\", with a "\" appended; empty when there is none.
QString chooseSubFolder(const QStringList& topLevelListing);

// "<D:\Texte\Kaputt.docx> invalid zipfile": the document as it lies on
// disk (the shell's message named a renamed copy this program never makes).
QString invalidZipfileMessage(const QString& documentPath);

enum class UnpackOutcome {
    Indexed,        // block header written, counted, text extracted
    NoUnpackFolder, // skipped silently: no block, not counted
    Unreadable,     // no readable ZIP container: no block, not counted
};

// EntpackeDieODT: reads the container of the document (a Windows-form
// path), writes its block header, counts it and extracts its text. A
// container that cannot be read gets no block; the caller reports it and
// goes on with the next document.
UnpackOutcome EntpackeDieODT(const QString& path, UnpackEnvironment& environment);

} // namespace indexing
