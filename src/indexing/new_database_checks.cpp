#include "new_database_checks.h"

#include "textio/windows1252.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace indexing {

QString cleanDatabaseName(const QString& text) {
    QString name = textio::ansiView(textio::ansiBytes(text));
    name.remove(QRegularExpression(QStringLiteral("[/\\\\*?\"<>|:^]")));
    return name;
}

QString nameChangeMessage(const QString& text) {
    if (!text.isEmpty() && cleanDatabaseName(text) != text)
        return QStringLiteral("Sie haben ungültige Zeichen eingegeben!");
    return QString();
}

QStringList confirmationMessages(const DialogInputs& inputs,
                                 const std::function<bool(const QString&)>& folderExists,
                                 const QStringList& catalogue) {
    QStringList messages;
    if (inputs.name.isEmpty())
        messages.append(QStringLiteral("Sie haben keinen Namen für die Datenbank angegeben"));
    if (inputs.folder.isEmpty())
        messages.append(QStringLiteral("Sie haben keinen Pfad angegeben"));
    if (inputs.folder.isEmpty() || !folderExists(inputs.folder))
        messages.append(QStringLiteral("Der angegebene Ordner existiert nicht"));
    if (inputs.patternText.isEmpty())
        messages.append(QStringLiteral("Sie haben keine Dateiendung angegeben"));
    if (!inputs.updateMode) {
        for (const QString& existing : catalogue) {
            if (existing.compare(inputs.name, Qt::CaseInsensitive) == 0) {
                messages.append(
                    QStringLiteral("Dieser Name existiert schon! Geben Sie einen anderen ein!"));
                break;
            }
        }
    }
    return messages;
}

bool folderExistsThroughDriveMap(const platform::DriveMap& drives, const QString& folder) {
    const auto native = drives.toNative(folder);
    return native && QFileInfo(*native).isDir();
}

} // namespace indexing
