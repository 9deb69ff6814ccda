#include "skipped_documents.h"

#include "unpack_document.h"

namespace indexing {

QString skippedDocumentNotice(const SkippedDocument& document) {
    switch (document.reason) {
    case SkipReason::Gone:
        return QLatin1Char('<') + document.path + QStringLiteral("> nicht mehr vorhanden");
    case SkipReason::NotReadable:
        return QLatin1Char('<') + document.path + QStringLiteral("> kann nicht gelesen werden");
    case SkipReason::PasswordProtected:
        return passwordProtectedMessage(document.path);
    case SkipReason::Damaged:
        break;
    }
    return invalidZipfileMessage(document.path);
}

} // namespace indexing
