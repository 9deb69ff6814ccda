#include "not_written_message.h"

namespace database {

QString notWrittenMessage(const QString& subject, const QString& reason) {
    if (reason.isEmpty())
        return subject + QStringLiteral(" konnte nicht geschrieben werden.");
    return subject + QStringLiteral(" konnte nicht geschrieben werden: ") + reason;
}

QString fileNotWrittenMessage(const QString& path, const QString& reason) {
    return notWrittenMessage(QStringLiteral("Die Datei ") + path, reason);
}

} // namespace database
