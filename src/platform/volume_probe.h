#pragma once

#include "drive_map.h"

#include <QByteArrayView>
#include <QChar>
#include <QString>

namespace platform {

// Whether the file-list tool can walk a drive. On Windows that is a volume
// whose file-system name contains "NTFS"; elsewhere a drive that the drive map
// knows and that lies on a local file system (not a network share and not one
// of the kernel's own file systems).
class VolumeProbe {
public:
    virtual ~VolumeProbe() = default;
    virtual bool canBeIndexed(QChar driveLetter) = 0;
};

class LocalVolumeProbe final : public VolumeProbe {
public:
    explicit LocalVolumeProbe(const DriveMap& drives)
        : drives_(drives) {}
    bool canBeIndexed(QChar driveLetter) override;

private:
    const DriveMap& drives_;
};

// The decision on a file-system type name as the platform reports it
// ("NTFS", "ext4", "nfs4", "fuse.sshfs", ...). Empty (the volume could not be
// queried) never passes.
bool isIndexableFileSystem(QByteArrayView type);

} // namespace platform
