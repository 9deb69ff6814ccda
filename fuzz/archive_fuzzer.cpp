// The archive reader on arbitrary bytes: the input is a document container
// in a scratch folder, opened and its text members extracted as the index
// run does it.

#include "extracted_text_promise.h"
#include "fuzz_support.h"

#include "indexing/unpack_document.h"
#include "platform/drive_map.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString nativePath =
        fuzzing::writeScratchFile(QStringLiteral("Brief.docx"), fuzzing::inputBytes(data, size));
    static const platform::DriveMap drives; // Z: is the root
    const auto windowsPath = drives.toWindows(nativePath);
    fuzzing::require(windowsPath.has_value(), "the scratch file lies on drive Z:");

    const indexing::DocumentExtraction extraction =
        indexing::extractDocument(*windowsPath, nativePath, indexing::ExtractionLimits{});
    // Nothing asks it to stop, so a container is read to its end or refused.
    fuzzing::require(extraction.outcome != indexing::DocumentExtraction::Outcome::Stopped,
                     "an extraction without a stop is not stopped");
    fuzzing::requireStoredFormHolds(extraction.text);
    return 0;
}
