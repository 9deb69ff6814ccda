// The document list <name>.dat on arbitrary bytes, read as the index run,
// the search and the update run read it.

#include "fuzz_support.h"

#include "database/document_list.h"
#include "indexing/extension_slots.h"
#include "indexing/index_run.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString programDirectory = [] {
        fuzzing::scratchSubFolder(QStringLiteral("program/Datenbank"));
        return fuzzing::scratchFolder() + QStringLiteral("/program/");
    }();
    const QString fileName = fuzzing::writeScratchFile(QStringLiteral("program/Datenbank/Fuzz.dat"),
                                                       fuzzing::inputBytes(data, size));

    const std::optional<QString> header = database::readHeader(fileName);
    fuzzing::require(header.has_value(), "an existing list has a header");
    database::driveLetterOfHeader(*header);
    if (const auto stored = indexing::readStoredRunInputs(programDirectory, QStringLiteral("Fuzz")))
        indexing::listSlots(indexing::parsePatternText(stored->patternText));

    const std::optional<QStringList> paths = database::readPaths(fileName);
    fuzzing::require(paths.has_value(), "an existing list has paths");

    // Written again in the stored form, the paths read back unchanged. A
    // path the index run writes holds no line break (they end the lines of
    // the drive list); a hand-made list can smuggle one in as an overlong
    // sequence, and such a path cannot survive any line-based file.
    QStringList lines = {database::documentListHeader(QStringLiteral("Z:\\"), {})};
    QStringList expected;
    for (const QString& path : *paths) {
        if (path.contains(QLatin1Char('\r')) || path.contains(QLatin1Char('\n')))
            continue;
        lines.append(database::toDoubleUtf8Form(path));
        expected.append(path);
    }
    const QString copy = fuzzing::writeScratchFile(QStringLiteral("program/Datenbank/Kopie.dat"),
                                                   database::encodeDocumentList(lines));
    fuzzing::require(database::readPaths(copy) == expected, "stored paths read back unchanged");
    return 0;
}
