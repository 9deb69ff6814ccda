#include "pseudo_file_systems.h"

#include <QFile>
#include <QList>

#ifdef Q_OS_LINUX
#include <sys/vfs.h>
#endif

namespace filelist {
namespace {

QByteArray unescapeMountField(QByteArrayView field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            const QByteArrayView digits = field.sliced(i + 1, 3);
            bool octal = true;
            int value = 0;
            for (char c : digits) {
                if (c < '0' || c > '7') {
                    octal = false;
                    break;
                }
                value = value * 8 + (c - '0');
            }
            if (octal) {
                out.append(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return out;
}

} // namespace

bool isPseudoFileSystemType(QByteArrayView type) {
    static constexpr const char* kTypes[] = {
        "proc",      "sysfs",   "devtmpfs",   "devpts", "cgroup",      "cgroup2",
        "debugfs",   "tracefs", "securityfs", "pstore", "bpf",         "mqueue",
        "hugetlbfs", "fusectl", "configfs",   "autofs", "binfmt_misc",
    };
    for (const char* t : kTypes) {
        if (type == QByteArrayView(t))
            return true;
    }
    return false;
}

QSet<QByteArray> pseudoMountPointsFromMountInfo(QByteArrayView mountInfo) {
    QSet<QByteArray> points;
    for (const QByteArray& line : mountInfo.toByteArray().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf(QByteArray("-"));
        if (fields.size() < 5 || dash < 0 || dash + 1 >= fields.size())
            continue;
        if (isPseudoFileSystemType(fields.at(dash + 1)))
            points.insert(unescapeMountField(fields.at(4)));
    }
    return points;
}

QSet<QByteArray> pseudoMountPoints() {
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return {};
    // The size of a proc file is unknown, so read to the end.
    return pseudoMountPointsFromMountInfo(table.readAll());
}

bool isOnPseudoFileSystem([[maybe_unused]] int directoryFd) {
#ifdef Q_OS_LINUX
    struct statfs info;
    if (fstatfs(directoryFd, &info) != 0)
        return false;
    switch (static_cast<unsigned long>(info.f_type)) {
    case 0x9fa0UL:     // proc
    case 0x62656572UL: // sysfs
    case 0x1cd1UL:     // devpts
    case 0x27e0ebUL:   // cgroup
    case 0x63677270UL: // cgroup2
    case 0x64626720UL: // debugfs
    case 0x74726163UL: // tracefs
    case 0x73636673UL: // securityfs
    case 0x6165676cUL: // pstore
    case 0xcafe4a11UL: // bpf
    case 0x19800202UL: // mqueue
    case 0x958458f6UL: // hugetlbfs
    case 0x65735543UL: // fusectl
    case 0x62656570UL: // configfs
    case 0x0187UL:     // autofs
    case 0x42494e4dUL: // binfmt_misc
        return true;
    default:
        return false;
    }
#else
    return false;
#endif
}

} // namespace filelist
