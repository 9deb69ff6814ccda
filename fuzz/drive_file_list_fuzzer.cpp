// The drive file list on arbitrary bytes, read as the index run reads it:
// split by the UTF-16-marks-only rule and filtered line by line into the
// entries of a document list.

#include "fuzz_support.h"

#include "database/document_list.h"
#include "database/exclusion_list.h"
#include "indexing/drive_list_filter.h"
#include "textio/text_files.h"

#include <array>

namespace {

struct ListRequest {
    QString folder;
    database::ExtensionSlots slots;
};

// The first byte chooses the folder and slots, so drives, umlauts in the
// folder and slots left empty all come up.
ListRequest requestFor(unsigned char choice) {
    static const std::array<QString, 4> folders = {
        QStringLiteral("Z:\\"), QStringLiteral("D:\\Texte"),
        QString::fromUtf8("C:\\Übersicht\\Bücher"), QString()};
    static const std::array<database::ExtensionSlots, 2> slotChoices = {{
        {QStringLiteral("*.odt"), QStringLiteral("*.docx"), QStringLiteral("*.docm"),
         QStringLiteral("*.epub"), QString()},
        {QStringLiteral("*.odt"), QString(), QString(), QString(), QString()},
    }};
    return {folders.at(choice % folders.size()), slotChoices.at((choice / 4) % 2)};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const ListRequest request = requestFor(data[0]);
    const QByteArrayView list = fuzzing::inputBytes(data + 1, size - 1);

    indexing::DriveListFilter filter(
        request.folder, request.slots,
        database::exclusionSetFromLines({QStringLiteral(" Temp"), QString::fromUtf8("Ä")}));
    QStringList documentList = {database::documentListHeader(request.folder, request.slots)};
    textio::forEachLineUtf16MarksOnly(list, [&](const QString& line) {
        for (const QString& entry : filter.takeLine(line)) {
            if (indexing::DriveListFilter::hasDrivePrefix(entry))
                documentList.append(entry);
        }
    });

    database::encodeDocumentList(documentList);
    return 0;
}
