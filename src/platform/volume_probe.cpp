#include "volume_probe.h"

#include <QStorageInfo>

namespace platform {
namespace {

#ifndef Q_OS_WIN
bool isNetworkFileSystem(const QByteArray& type) {
    static const QByteArrayView kNetwork[] = {"nfs",   "nfs4",      "cifs",  "smb3", "smbfs",
                                              "afs",   "9p",        "ncpfs", "coda", "ceph",
                                              "davfs", "glusterfs", "lustre"};
    for (QByteArrayView name : kNetwork) {
        if (type == name)
            return true;
    }
    // FUSE file systems that reach over the network name themselves fuse.<what>.
    return type.startsWith("fuse.sshfs") || type.startsWith("fuse.rclone") ||
           type.startsWith("fuse.davfs") || type.startsWith("fuse.s3fs");
}

bool isKernelFileSystem(const QByteArray& type) {
    static const QByteArrayView kKernel[] = {
        "proc",      "sysfs",   "devtmpfs",   "devpts", "cgroup",     "cgroup2",
        "debugfs",   "tracefs", "securityfs", "pstore", "bpf",        "mqueue",
        "hugetlbfs", "fusectl", "configfs",   "autofs", "binfmt_misc"};
    for (QByteArrayView name : kKernel) {
        if (type == name)
            return true;
    }
    return false;
}
#endif

} // namespace

bool isIndexableFileSystem(QByteArrayView type) {
    const QByteArray name = type.toByteArray();
    if (name.isEmpty())
        return false;
#ifdef Q_OS_WIN
    return name.contains("NTFS");
#else
    const QByteArray lower = name.toLower();
    return !isNetworkFileSystem(lower) && !isKernelFileSystem(lower);
#endif
}

bool LocalVolumeProbe::canBeIndexed(QChar driveLetter) {
    const auto directory = drives_.driveDirectory(driveLetter);
    if (!directory)
        return false;
    const QStorageInfo volume(*directory);
    if (!volume.isValid())
        return false;
    return isIndexableFileSystem(volume.fileSystemType());
}

} // namespace platform
