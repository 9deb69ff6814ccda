#pragma once

#include <QString>

namespace platform {

// True when a running process's executable file name, or its full executable
// path, equals `processName` without regard to letter case. Windows walks a
// process snapshot; Linux reads /proc (the name of the executable behind
// /proc/<pid>/exe where it may be read, else the first word of the command
// line, else the kernel's short name). Elsewhere it finds nothing. Processes
// that vanish during the walk are passed over.
bool isProcessRunning(const QString& processName);

// Which other programs run: the malware scanner the index run waits for, and
// the sibling edition that hands over search texts. Behind a seam so that the
// windows can be tested without those programs.
class ProcessProbe {
public:
    virtual ~ProcessProbe() = default;
    virtual bool isRunning(const QString& processName) = 0;
    // A window of the sibling edition (class TMainform_TX_VARIO) is open.
    virtual bool siblingEditionRunning() = 0;
};

// The real probe: isProcessRunning and the window lookup of instance_probe.h.
class SystemProcessProbe final : public ProcessProbe {
public:
    bool isRunning(const QString& processName) override;
    bool siblingEditionRunning() override;
};

} // namespace platform
