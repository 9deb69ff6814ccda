// The search-term history <name>_Suchwoerterliste.txt on arbitrary bytes:
// loaded as the search window loads it, a search filed in it, and the bytes
// that would be saved.

#include "fuzz_support.h"

#include "database/search_history.h"
#include "textio/text_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const QString programDirectory = fuzzing::scratchSubFolder(QStringLiteral("program"));
    fuzzing::writeScratchFile(QStringLiteral("program/Fuzz_Suchwoerterliste.txt"),
                              fuzzing::inputBytes(data, size));

    const QStringList history =
        database::loadSearchHistory(programDirectory, QStringLiteral("Fuzz"));
    const QStringList filed =
        database::updateSearchHistory(history, QString::fromUtf8("Fahrkarte nach Zürich"));
    fuzzing::require(filed.size() <= database::kSearchHistoryLimit, "at most 50 entries");
    fuzzing::require(filed.first() == QString::fromUtf8("Fahrkarte nach Zürich"),
                     "the new search comes first");

    // The saved history loads back entry for entry.
    const QByteArray saved = textio::encodeLinesAsUtf16(filed);
    fuzzing::require(textio::decodeLinesWithMarkDetection(saved) == filed,
                     "a saved history loads back unchanged");
    return 0;
}
