#pragma once

#include "drive_map.h"

#include <QChar>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>

// Starting the file-list tool ErstelleDateiliste and hearing when it has
// started and when it has finished. The main window's monitor listens to the
// notifications; trovex index waits for them (filelist/tool_start.h).
namespace platform {

struct ToolStartRequest {
    QString program;       // the executable, full path
    QStringList arguments; // "open", the drive letter, then the options
    bool elevated = false; // Windows: the shell verb "RunAs"; elsewhere ignored
};

// "ErstelleDateiliste.exe" on Windows, "ErstelleDateiliste" elsewhere.
QString fileListToolFileName();

// Where the tool is started from and with what. The list directory is the
// control directory when `useControlDirectory` is set and that directory
// exists, else the program directory (the index run reads the list there).
// The executable is the one in the list directory, else the one beside the
// running program (`applicationDirectory`), where it is installed. The tool
// is told the list directory and, off Windows, the drive mappings in force,
// so it resolves the drive exactly as the program does.
struct FileListToolStart {
    ToolStartRequest request;
    QString listDirectory; // native, ends in a separator
};
FileListToolStart planFileListToolStart(QChar driveLetter, const QString& programDirectory,
                                        const QString& controlDirectory, bool useControlDirectory,
                                        const QString& applicationDirectory, const DriveMap& drives,
                                        bool showWindow);

// The seam. start() returns at once; exactly one of toolStarted or
// toolFailedToStart follows, and after toolStarted, toolFinished.
class ToolLauncher : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start(const ToolStartRequest& request) = 0;

Q_SIGNALS:
    void toolStarted();
    void toolFinished(int exitCode, bool crashed);
    void toolFailedToStart(const QString& error);
};

// The real launcher: QProcess, whose own start and finish notifications make
// the signals, so a tool that ends before the next monitor tick is not missed.
// On Windows an elevated start goes through the shell with "RunAs" and the
// process handle is watched instead.
class ProcessToolLauncher final : public ToolLauncher {
    Q_OBJECT
public:
    using ToolLauncher::ToolLauncher;
    void start(const ToolStartRequest& request) override;

private:
    QProcess* process_ = nullptr;
};

} // namespace platform
