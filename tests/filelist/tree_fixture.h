#pragma once

// Small helpers that build file trees byte for byte, so names that Qt cannot
// spell (not UTF-8, with a backslash or a line break) can be made too.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <initializer_list>

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fixture {

inline bool makeDirectory(const QByteArray& path) {
    return ::mkdir(path.constData(), 0755) == 0;
}

inline bool makeFile(const QByteArray& path, const QByteArray& content = QByteArray("x")) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool ok = ::write(fd, content.constData(), content.size()) == content.size();
    ::close(fd);
    return ok;
}

inline bool makeSymlink(const QByteArray& target, const QByteArray& path) {
    return ::symlink(target.constData(), path.constData()) == 0;
}

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// A scratch directory that is removed byte for byte, as QDir cannot remove
// entries whose names are not UTF-8.
class ScratchDir {
public:
    ScratchDir() { directory_.setAutoRemove(false); }
    ~ScratchDir() {
        ::nftw(
            QFile::encodeName(directory_.path()).constData(),
            [](const char* path, const struct stat*, int, FTW*) {
                ::chmod(path, 0755);
                return ::remove(path) == 0 ? 0 : 0;
            },
            16, FTW_DEPTH | FTW_PHYS);
    }
    QString path() const { return directory_.path(); }

private:
    QTemporaryDir directory_;
};

// A text spelled code unit by code unit (lone surrogates included).
inline QString units(std::initializer_list<char16_t> codeUnits) {
    QString text;
    for (char16_t u : codeUnits)
        text.append(QChar(u));
    return text;
}

} // namespace fixture
