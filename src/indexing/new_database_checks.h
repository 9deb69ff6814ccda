#pragma once

#include "platform/drive_map.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// The input checks of the new-database dialog, without the dialog: the
// window and the command line ask the same questions and show the same
// German messages.
namespace indexing {

// The name as the name field keeps it: converted to Windows-1252 (a
// character it cannot hold becomes "?"), then every / \ * ? " < > | : ^
// removed.
QString cleanDatabaseName(const QString& text);

// "Sie haben ungültige Zeichen eingegeben!" when the text was not empty and
// cleaning removed something; empty otherwise.
QString nameChangeMessage(const QString& text);

struct DialogInputs {
    QString name;
    QString folder; // Windows form
    QString patternText;
    bool updateMode = false;
};

// Why the dialog's OK refuses its inputs.
enum class RefusalKind { NoName, InvalidName, NoFolder, FolderMissing, NoPattern, NameTaken };

struct Refusal {
    RefusalKind kind;
    QString message; // German, as the dialog shows it
    bool operator==(const Refusal&) const = default;
};

// The refusals of the dialog's OK, in their order; the dialog ends as
// cancelled when there is any. folderExists answers for a Windows-form
// folder; catalogue holds the names of the existing databases.
QList<Refusal> confirmationRefusals(const DialogInputs& inputs,
                                    const std::function<bool(const QString&)>& folderExists,
                                    const QStringList& catalogue);

bool hasRefusal(const QList<Refusal>& refusals, RefusalKind kind);

// A Windows-form folder exists when the drive map leads to a directory.
bool folderExistsThroughDriveMap(const platform::DriveMap& drives, const QString& folder);

} // namespace indexing
