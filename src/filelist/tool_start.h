#pragma once

#include "platform/drive_map.h"
#include "platform/tool_launcher.h"

#include <QChar>
#include <QString>

// How a run starts the file-list tool. The main window and trovex index both
// start it here, so both hand it the same list directory, drive mappings and
// options, and both read its end the same way.
namespace filelist {

struct FileListToolCall {
    QChar driveLetter;
    QString programDirectory; // native, ends in a separator
    // The control directory (Trovex_Control) gets the list instead of the
    // program directory when `useControlDirectory` is set and it exists.
    QString controlDirectory;
    bool useControlDirectory = false;
    // Where the running program lies; the tool is installed beside it.
    QString applicationDirectory;
    bool showWindow = true;
    // Windows: started through the shell's "RunAs", as the window does; the
    // command line starts it as the user it runs as.
    bool elevated = true;
};

// The executable, its arguments and the directory that gets the list.
platform::FileListToolStart planFileListTool(const FileListToolCall& call,
                                             const platform::DriveMap& drives);

// Starts the tool through the launcher; the launcher's signals tell when it
// has started and finished.
platform::FileListToolStart startFileListTool(platform::ToolLauncher& launcher,
                                              const FileListToolCall& call,
                                              const platform::DriveMap& drives);

// What became of one run of the tool, read from its exit status.
enum class ToolOutcome {
    ListWritten,
    Refused,     // bad command line or a drive without a directory
    Failed,      // the drive could not be read or the list not written, or it crashed
    Interrupted, // stopped by a signal or by closing its window
    NotStarted,
};
ToolOutcome toolOutcome(int exitCode, bool crashed);

struct ToolRunResult {
    ToolOutcome outcome = ToolOutcome::NotStarted;
    int exitCode = -1;
    QString error; // why it did not start
};

// Starts the tool as above and waits for its end with an event loop running:
// the command line has no window whose timer could watch it.
ToolRunResult runFileListToolAndWait(platform::ToolLauncher& launcher, const FileListToolCall& call,
                                     const platform::DriveMap& drives);

} // namespace filelist
