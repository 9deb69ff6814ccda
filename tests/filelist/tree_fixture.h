#pragma once

// Small helpers that build file trees byte for byte, so names that Qt cannot
// spell (not UTF-8, with a backslash or a line break) can be made too.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <initializer_list>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
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

// Removes a tree below an open directory with relative names only, so paths
// longer than the system takes and names that are not UTF-8 go too.
inline void removeTreeAt(int parent, const char* name) {
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        ::unlinkat(parent, name, 0);
        return;
    }
    ::fchmod(fd, 0755);
    DIR* directory = ::fdopendir(fd);
    std::vector<std::string> names;
    while (const dirent* entry = ::readdir(directory)) {
        const std::string entryName = entry->d_name;
        if (entryName != "." && entryName != "..")
            names.push_back(entryName);
    }
    for (const std::string& entryName : names)
        removeTreeAt(::dirfd(directory), entryName.c_str());
    ::closedir(directory);
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

// A scratch directory removed byte for byte (QDir cannot remove entries whose
// names are not UTF-8).
class ScratchDir {
public:
    ScratchDir() { directory_.setAutoRemove(false); }
    ~ScratchDir() { removeTreeAt(AT_FDCWD, QFile::encodeName(directory_.path()).constData()); }
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
