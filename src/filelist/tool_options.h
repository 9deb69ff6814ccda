#pragma once

#include "platform/drive_map.h"

#include <QChar>
#include <QString>
#include <QStringList>

#include <optional>

namespace filelist {

// The command line of ErstelleDateiliste:
//   ErstelleDateiliste open X [--no-window] [--program-dir DIR] [--drive X=DIR]...
//                      [--threads N]
// "open X" is what every edition of the main program passes; the options come from
// trovex and the main window, which hand on their program directory and
// their drive mappings. Keep it stable: trovex index starts the tool with it.
struct ToolOptions {
    QChar driveLetter;        // as given, case kept
    bool showWindow = true;   // false with --no-window
    QString programDirectory; // empty: the directory of the executable
    QStringList driveOptions; // "X=DIR" as given
    int threads = 0;          // 0: one per processor
};

struct ToolOptionsResult {
    std::optional<ToolOptions> options;
    QString error; // German, when options is empty
};

ToolOptionsResult parseToolOptions(const QStringList& arguments);

// The usage text printed with a command-line error.
QString toolUsageText();

// The drive map of one run: the stored Laufwerk_X values with the run's
// --drive mappings on top (relative directories taken from the current one).
void applyDriveOptions(platform::DriveMap& drives, const QStringList& driveOptions);

// The title of the tool's window while it works: the monitor and the
// contract with the main program look for it.
QString toolWindowTitle(QChar driveLetter);

// Exit statuses of the tool.
enum ToolExitStatus : int {
    ToolSucceeded = 0,
    ToolRefused = 1,     // bad command line or unmapped drive
    ToolFailed = 2,      // the drive could not be read or the list not written
    ToolInterrupted = 3, // stopped by a signal or by closing its window
};

} // namespace filelist
