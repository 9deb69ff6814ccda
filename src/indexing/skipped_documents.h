#pragma once

#include <QList>
#include <QString>

namespace indexing {

// Why a listed document gave no text. The run goes on past each; the
// summary after the run names them grouped by reason, one group per value
// (a further reason is one more value and one more heading there).
enum class SkipReason {
    Damaged,           // no ZIP container, or a broken one
    Gone,              // no longer there since the drive file list was made
    NotReadable,       // there, but no permission to read it, or no regular file
    PasswordProtected, // encrypted with a password: its text cannot be read
};

struct SkippedDocument {
    QString path; // Windows form, as listed
    SkipReason reason = SkipReason::Damaged;

    friend bool operator==(const SkippedDocument&, const SkippedDocument&) = default;
};

// The notice while the run works, one line per document.
QString skippedDocumentNotice(const SkippedDocument& document);

} // namespace indexing
