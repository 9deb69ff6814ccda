#pragma once

#include "database/document_list.h"
#include "database/exclusion_list.h"

#include <QString>
#include <QStringList>

namespace indexing {

// The filter of readDriveList over the lines of a drive file list, one line
// at a time, in file order. Lines come in their ANSI view (one character per
// byte of the file); only the directory of a full line is decoded from
// UTF-8, the file name keeps the ANSI view and so becomes double UTF-8 in
// the document list by itself.
//
// An exclusion text leaves out exactly the files whose path (directory and
// name, as the list holds them) contains it; a ditto line is judged by its
// own path, not by the line before it. Folder and extension are tested
// first, so the exclusions are matched only against the few files that
// would be taken, all texts in one pass.
class DriveListFilter {
public:
    // folder: as entered (Windows form); slots: "*.odt" form, empty = unset.
    DriveListFilter(QString folder, database::ExtensionSlots slots, QStringList exclusionSet);

    // The document-list entries the line gives: one per slot it matches
    // (usually none or one), each in the list's in-memory form.
    QStringList takeLine(const QString& ansiLine);

    // Entries that the document list keeps: "D:\..." (":" and "\" as its
    // second and third characters).
    static bool hasDrivePrefix(const QString& entry);

private:
    QString folder_;
    database::ExtensionSlots slots_;
    database::ExclusionMatcher exclusions_;
    QString directoryAnsi_; // as the line holds it
    bool directoryInFolder_ = false;
    QString directory_;           // decoded
    QString directoryDoubleUtf8_; // in-memory double UTF-8 form
    QString fileName_;            // ANSI view
};

} // namespace indexing
