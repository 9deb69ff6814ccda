#include "database_text.h"

namespace database {

QStringList documentBlockHeaderLines(const QString& documentPath) {
    return {QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" "),
            QLatin1Char('#') + documentPath, QString(documentPath.size(), QLatin1Char('='))};
}

QString documentMarker(QChar driveLetter) {
    return QLatin1Char('#') + QString(driveLetter) + QStringLiteral(":\\");
}

} // namespace database
