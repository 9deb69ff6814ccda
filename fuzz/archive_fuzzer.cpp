// The archive reader on arbitrary bytes: the input is a document container
// in a scratch folder, unpacked and extracted as the index run does it.

#include "fuzz_support.h"

#include "indexing/database_writer.h"
#include "indexing/unpack_document.h"
#include "platform/drive_map.h"
#include "platform/prompts.h"
#include "platform/run_context.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString programDirectory = [] {
        const QString folder = fuzzing::scratchSubFolder(QStringLiteral("program"));
        fuzzing::scratchSubFolder(QStringLiteral("program/Datenbank/Temp/ZipTemp"));
        return folder;
    }();
    const QString nativePath =
        fuzzing::writeScratchFile(QStringLiteral("Brief.docx"), fuzzing::inputBytes(data, size));
    const platform::DriveMap drives; // Z: is the root
    const auto windowsPath = drives.toWindows(nativePath);
    fuzzing::require(windowsPath.has_value(), "the scratch file lies on drive Z:");

    indexing::DatabaseWriter writer(programDirectory, QStringLiteral("Fuzz"));
    platform::RecordingPrompts prompts;
    platform::RunContext context;
    context.prompts = &prompts;
    qint64 indexedDocuments = 0;
    indexing::UnpackEnvironment environment;
    environment.programDirectory = programDirectory;
    environment.drives = &drives;
    environment.writer = &writer;
    environment.context = &context;
    environment.indexedDocuments = &indexedDocuments;
    indexing::EntpackeDieODT(*windowsPath, environment);

    // A container is read (block header, counted once) or refused, never
    // both.
    fuzzing::require(indexedDocuments <= 1, "a container counts once");
    fuzzing::require(indexedDocuments == 0 || prompts.shown.isEmpty(),
                     "a container that was read is not refused");
    fuzzing::require(!writer.failed(), "the database text can be written");
    return 0;
}
