#pragma once

// A database whose files were being replaced when the program died: the
// journal of the switch is in place, the staged files are not moved yet.
// Every reader must see the new files.

#include "database/database_paths.h"
#include "database/generation_switch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>

namespace testsupport {

// Writes old into Datenbank/<name><suffix> and stages new for each file,
// then makes the switch and stops it right after its journal is in place.
// The files are given as suffix -> (old bytes, new bytes).
inline bool leavePendingSwitch(const QString& programDirectory, const QString& name,
                               const QList<std::tuple<QString, QByteArray, QByteArray>>& files) {
    QStringList staged;
    const QString data = programDirectory + QStringLiteral("Datenbank/");
    const QString staging = database::stagingFolder(programDirectory, name);
    if (!QDir().mkpath(staging))
        return false;
    for (const auto& [suffix, oldBytes, newBytes] : files) {
        const QString fileName = name + suffix;
        for (const auto& [path, bytes] :
             {std::pair{data + fileName, oldBytes}, std::pair{staging + fileName, newBytes}}) {
            QFile file(path);
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
                return false;
        }
        staged.append(fileName);
    }
    const database::SwitchOutcome outcome = database::switchToStagedFiles(
        programDirectory, name, staged, [](database::SwitchStep step, int) {
            return step != database::SwitchStep::JournalInPlace;
        });
    return !outcome.done && outcome.error.isEmpty() &&
           QFileInfo::exists(database::switchJournalPath(programDirectory, name));
}

} // namespace testsupport
