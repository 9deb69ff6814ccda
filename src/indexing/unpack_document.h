#pragma once

#include "archive_reader.h"
#include "database_writer.h"
#include "extracted_text.h"
#include "text_extraction.h"

#include "platform/drive_map.h"
#include "platform/run_context.h"

#include <QString>

#include <functional>

namespace indexing {

// What reading one container may bring into memory.
struct ExtractionLimits {
    qint64 memberSizeCap = kDefaultMemberSizeCap;
    qint64 containerSizeCap = kDefaultContainerSizeCap;
};

// The text of one document, or why there is none.
struct DocumentExtraction {
    enum class Outcome {
        Text,              // the container was read; its text may be empty
        Unreadable,        // no readable ZIP container
        Stopped,           // stopped before the end; nothing of it may be used
        PasswordProtected, // encrypted with a password: no text to be had
    };
    Outcome outcome = Outcome::Unreadable;
    ExtractedText text;
    quint8 cut = NotCut; // ContainerCut flags: what of the container was left out
};

// Reads the container of a document (its Windows-form path, which decides
// the top-level listing, and its native path) and extracts its text. Touches
// nothing but the document, so it may run on any thread.
DocumentExtraction extractDocument(const QString& windowsPath, const QString& nativePath,
                                   const ExtractionLimits& limits,
                                   const ExtractionControl& control = {});

// What the unpacking of one document needs from its run.
struct UnpackEnvironment {
    QString programDirectory;
    const platform::DriveMap* drives = nullptr;
    DatabaseWriter* writer = nullptr;
    const platform::RunContext* context = nullptr;
    std::function<void(const QString&)> caption;
    qint64* indexedDocuments = nullptr;
    qint64 splitLimit = kDefaultSplitLimit;
    ExtractionLimits limits = {};
    // Where the extraction of a document comes from when it was made ahead
    // (threads, text cache); empty: it is made here, with the run's checkpoints.
    std::function<DocumentExtraction(const QString& path)> extraction = {};
    // Told of a document whose container was not read whole (the flags),
    // after its text was written.
    std::function<void(const QString& path, quint8 cut)> containerCut = {};
};

// The name the container had while the shell unpacked it: the document's
// folder + its base name without ".odt", ".docm", ".docx", ".epub" (each
// removed once, in that order, wherever it stands) + ".zip". It decides the
// top-level listing.
QString containerName(const QString& documentPath);

// The folder whose members carry the text: the last top-level line that
// begins with "\" and names neither "mimetype" nor "meta-inf", nor one of
// the folders of an OpenDocument file that hold no text (Configurations2,
// Thumbnails, Pictures), without its "\", with a "\" appended; empty when
// there is none.
QString chooseSubFolder(const QStringList& topLevelListing);

// "<D:\Texte\Kaputt.docx> invalid zipfile": the document as it lies on
// disk (the shell's message named a renamed copy this program never makes).
QString invalidZipfileMessage(const QString& documentPath);

// "<D:\Texte\Geheim.odt> passwortgeschützt": a document encrypted with a
// password, which gives no text.
QString passwordProtectedMessage(const QString& documentPath);

// "<D:\Texte\Riesig.odt> nur zum Teil indiziert: ..." with what the caps
// left out of the container (cut: ContainerCut flags, not NotCut).
QString containerCutMessage(const QString& documentPath, quint8 cut,
                            const ExtractionLimits& limits);

enum class UnpackOutcome {
    Indexed,           // block header written, counted, text written
    NoUnpackFolder,    // skipped silently: no block, not counted
    Unreadable,        // no readable ZIP container: no block, not counted
    PasswordProtected, // encrypted with a password: no block, not counted
};

// unpackDocument: gets the text of the document (a Windows-form path),
// writes its block header, counts it and writes its text. A container that
// cannot be read, or is encrypted, gets no block; the caller reports it and
// goes on with the next document.
UnpackOutcome unpackDocument(const QString& path, UnpackEnvironment& environment);

} // namespace indexing
