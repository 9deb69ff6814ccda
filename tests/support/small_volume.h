#pragma once

// A small volume of its own for tests of a full disk and a read-only
// program directory: a tmpfs of a few megabytes mounted on a temporary
// folder. A folder made read-only with chmod does not stop root, which the
// tests run as; a read-only mount and a full one stop everybody. Mounting
// needs root (or the right to mount); a test without it says so and skips.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QTemporaryDir>

#ifdef Q_OS_LINUX
#include <sys/mount.h>
#endif

namespace testsupport {

class SmallVolume {
public:
    explicit SmallVolume(qint64 bytes = 16 << 20)
        : options_(QByteArray("size=") + QByteArray::number(bytes)) {
#ifdef Q_OS_LINUX
        mounted_ =
            folder_.isValid() && ::mount("tmpfs", QFile::encodeName(folder_.path()).constData(),
                                         "tmpfs", 0, options_.constData()) == 0;
#endif
    }
    ~SmallVolume() {
#ifdef Q_OS_LINUX
        if (mounted_)
            ::umount2(QFile::encodeName(folder_.path()).constData(), MNT_DETACH);
#endif
    }
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    bool mounted() const {
        return mounted_;
    }
    QString path() const {
        return folder_.path() + QLatin1Char('/');
    }

    // Writes a filler file until the volume has no room left.
    bool fill() {
        QFile filler(path() + QStringLiteral("Fuellung"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray piece(4096, 'x');
        while (filler.write(piece) == piece.size()) {
        }
        return true;
    }
    bool unfill() {
        return QFile::remove(path() + QStringLiteral("Fuellung"));
    }

    bool setReadOnly(bool readOnly) {
#ifdef Q_OS_LINUX
        const unsigned long flags = MS_REMOUNT | (readOnly ? MS_RDONLY : 0);
        return ::mount("tmpfs", QFile::encodeName(folder_.path()).constData(), "tmpfs", flags,
                       options_.constData()) == 0;
#else
        Q_UNUSED(readOnly);
        return false;
#endif
    }

    static const char* notAvailable() {
        return "Ein tmpfs kann hier nicht eingehängt werden (nur als root).";
    }

private:
    QTemporaryDir folder_;
    QByteArray options_;
    bool mounted_ = false;
};

// Every file below a folder with its bytes, to see that nothing changed.
inline QMap<QString, QByteArray> snapshotOf(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDir root(folder);
    const auto entries =
        root.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) {
            const auto inner = snapshotOf(entry.absoluteFilePath());
            for (auto it = inner.cbegin(); it != inner.cend(); ++it)
                files.insert(entry.fileName() + QLatin1Char('/') + it.key(), it.value());
        } else if (entry.fileName() != QLatin1String("Fuellung")) {
            QFile file(entry.absoluteFilePath());
            files.insert(entry.fileName(),
                         file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("?"));
        }
    }
    return files;
}

} // namespace testsupport
