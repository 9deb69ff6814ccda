#include "new_database_checks.h"

#include "database/database_name.h"
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

QList<Refusal> confirmationRefusals(const DialogInputs& inputs,
                                    const std::function<bool(const QString&)>& folderExists,
                                    const QStringList& catalogue) {
    QList<Refusal> refusals;
    // Beside the empty name: one the field lets through ("..", a control
    // character, too long) that no file of the database could be named after.
    const QString nameMessage = database::databaseNameMessage(inputs.name);
    if (inputs.name.isEmpty())
        refusals.append({RefusalKind::NoName,
                         QStringLiteral("Sie haben keinen Namen für die Datenbank angegeben")});
    else if (!nameMessage.isEmpty())
        refusals.append({RefusalKind::InvalidName, nameMessage});
    if (inputs.folder.isEmpty())
        refusals.append({RefusalKind::NoFolder, QStringLiteral("Sie haben keinen Pfad angegeben")});
    if (inputs.folder.isEmpty() || !folderExists(inputs.folder))
        refusals.append(
            {RefusalKind::FolderMissing, QStringLiteral("Der angegebene Ordner existiert nicht")});
    if (inputs.patternText.isEmpty())
        refusals.append(
            {RefusalKind::NoPattern, QStringLiteral("Sie haben keine Dateiendung angegeben")});
    if (!inputs.updateMode) {
        for (const QString& existing : catalogue) {
            if (existing.compare(inputs.name, Qt::CaseInsensitive) == 0) {
                refusals.append(
                    {RefusalKind::NameTaken,
                     QStringLiteral("Dieser Name existiert schon! Geben Sie einen anderen ein!")});
                break;
            }
        }
    }
    return refusals;
}

bool hasRefusal(const QList<Refusal>& refusals, RefusalKind kind) {
    for (const Refusal& refusal : refusals) {
        if (refusal.kind == kind)
            return true;
    }
    return false;
}

bool folderExistsThroughDriveMap(const platform::DriveMap& drives, const QString& folder) {
    const auto native = drives.toNative(folder);
    return native && QFileInfo(*native).isDir();
}

} // namespace indexing
