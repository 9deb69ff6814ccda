#pragma once

#include <QString>

namespace filelist {

// True when a running process's executable file name, or its full executable
// path, equals `processName` without regard to letter case. Windows walks a
// process snapshot; Linux reads /proc (the name of the executable behind
// /proc/<pid>/exe where it may be read, else the first word of the command
// line, else the kernel's short name). Elsewhere it finds nothing. Processes
// that vanish during the walk are passed over.
bool isProcessRunning(const QString& processName);

} // namespace filelist
