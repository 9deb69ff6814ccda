#include "tree_walker.h"

#include "filelist/pseudo_file_systems.h"
#include "platform/native_file_name.h"

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <cerrno>

#ifdef Q_OS_WIN
#include <QDir>
#include <QFileInfo>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace filelist {
namespace {

struct SortedName {
    QString key;
    QByteArray native;
};

bool nameBefore(const SortedName& a, const SortedName& b) {
    const int byKey = QString::compare(a.key, b.key, Qt::CaseSensitive);
    if (byKey != 0)
        return byKey < 0;
    return a.native < b.native;
}

enum NodeState : int { Pending = 0, Reading = 1, Read = 2 };

// One directory of the tree. A node is read once, by whichever thread claims
// it first; the consumer then takes its files and its children in order.
struct Node {
    QByteArray nativePath;
    QByteArray windowsDirectory;
    const Node* parent = nullptr; // alive while this node is unread
    std::atomic<int> state{Pending};
    bool skipped = false;
    quint64 device = 0;
    quint64 inode = 0;
    std::vector<QByteArray> files;
    std::vector<std::shared_ptr<Node>> children;

    bool claim() {
        int expected = Pending;
        return state.compare_exchange_strong(expected, Reading);
    }
};

QByteArray childPath(const QByteArray& directory, const QByteArray& name) {
    if (directory.endsWith('/') || directory.endsWith('\\'))
        return directory + name;
    return directory + '/' + name;
}

enum class ReadOutcome { Read, Skipped, RootUnreadable };

#ifndef Q_OS_WIN
// Opens a directory whose path is longer than the system takes in one call,
// one component at a time.
int openByComponents(const QByteArray& path, int flags) {
    int directory = ::open(path.startsWith('/') ? "/" : ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const QList<QByteArray> components = path.split('/');
    qsizetype last = components.size() - 1;
    while (last >= 0 && components.at(last).isEmpty())
        --last;
    for (qsizetype i = 0; i <= last && directory >= 0; ++i) {
        if (components.at(i).isEmpty())
            continue;
        const int next = ::openat(directory, components.at(i).constData(),
                                  i == last ? flags : O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        ::close(directory);
        directory = next;
    }
    return directory;
}

int openDirectory(const QByteArray& path, int flags) {
    const int fd = ::open(path.constData(), flags);
    if (fd < 0 && errno == ENAMETOOLONG)
        return openByComponents(path, flags);
    return fd;
}

bool isOwnAncestor(const Node& node) {
    for (const Node* up = node.parent; up; up = up->parent) {
        if (up->device == node.device && up->inode == node.inode)
            return true;
    }
    return false;
}

// The entries of one directory: regular files and real sub-directories.
ReadOutcome readEntries(Node& node, bool isRoot, std::vector<SortedName>& files,
                        std::vector<SortedName>& directories) {
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (!isRoot)
        flags |= O_NOFOLLOW;
    const int fd = openDirectory(node.nativePath, flags);
    if (fd < 0)
        return isRoot ? ReadOutcome::RootUnreadable : ReadOutcome::Skipped;
    struct stat self;
    if (isOnPseudoFileSystem(fd) || ::fstat(fd, &self) != 0) {
        ::close(fd);
        return ReadOutcome::Skipped;
    }
    node.device = self.st_dev;
    node.inode = self.st_ino;
    if (isOwnAncestor(node)) {
        ::close(fd);
        return ReadOutcome::Skipped;
    }
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return isRoot ? ReadOutcome::RootUnreadable : ReadOutcome::Skipped;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
            continue;
        unsigned char type = entry->d_type;
        if (type == DT_UNKNOWN) {
            struct stat st;
            if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
                continue;
            type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
        }
        if (type != DT_REG && type != DT_DIR)
            continue;
        QByteArray native(name);
        QString key = nameSortKey(native);
        (type == DT_REG ? files : directories)
            .push_back(SortedName{std::move(key), std::move(native)});
    }
    ::closedir(dir);
    return ReadOutcome::Read;
}
#else
// Windows: names are UTF-16 there and travel through the walk as UTF-8.
// Symbolic links and junctions are not followed. Not built or run on the
// reference platform.
ReadOutcome readEntries(Node& node, bool isRoot, std::vector<SortedName>& files,
                        std::vector<SortedName>& directories) {
    const QDir dir(QString::fromUtf8(node.nativePath));
    if (!dir.exists())
        return isRoot ? ReadOutcome::RootUnreadable : ReadOutcome::Skipped;
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden |
                                                        QDir::System | QDir::NoDotAndDotDot,
                                                    QDir::NoSort);
    for (const QFileInfo& entry : entries) {
        if (entry.isSymbolicLink() || entry.isJunction())
            continue;
        QByteArray native = entry.fileName().toUtf8();
        QString key = nameSortKey(native);
        (entry.isDir() ? directories : files)
            .push_back(SortedName{std::move(key), std::move(native)});
    }
    return ReadOutcome::Read;
}
#endif

class Walk {
public:
    Walk(const WalkOptions& options)
        : options_(options) {}

    // Reads one directory into its node. Returns false only when the root
    // cannot be opened.
    bool read(Node& node, bool isRoot) {
        if (!isRoot && options_.skippedMountPoints.contains(node.nativePath)) {
            node.skipped = true;
            return true;
        }
        std::vector<SortedName> files;
        std::vector<SortedName> directories;
        switch (readEntries(node, isRoot, files, directories)) {
        case ReadOutcome::RootUnreadable:
            node.skipped = true;
            return false;
        case ReadOutcome::Skipped:
            node.skipped = true;
            return true;
        case ReadOutcome::Read:
            break;
        }

        std::sort(files.begin(), files.end(), nameBefore);
        std::sort(directories.begin(), directories.end(), nameBefore);
        node.files.reserve(files.size());
        for (const SortedName& f : files)
            node.files.push_back(platform::listBytesFromNative(f.native));
        node.children.reserve(directories.size());
        for (const SortedName& d : directories) {
            auto child = std::make_shared<Node>();
            child->nativePath = childPath(node.nativePath, d.native);
            child->windowsDirectory =
                node.windowsDirectory + platform::listBytesFromNative(d.native) + '\\';
            child->parent = &node;
            node.children.push_back(std::move(child));
        }
        return true;
    }

    // Marks a read node as done and offers its children to the workers, the
    // first child on top, so the readers stay close to the consumer's path.
    void publish(Node& node) {
        {
            std::lock_guard lock(mutex_);
            node.state.store(Read);
            if (node.skipped)
                ++skipped_;
            else
                ++read_;
            if (workers_ > 0) {
                for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
                    pending_.push_back(*it);
            }
        }
        readyCondition_.notify_all();
        if (workers_ > 0 && !node.children.empty())
            workCondition_.notify_all();
    }

    // The consumer needs this node now: read it here unless a worker has it.
    void awaitRead(Node& node) {
        if (node.claim()) {
            read(node, false);
            publish(node);
            return;
        }
        std::unique_lock lock(mutex_);
        readyCondition_.wait(lock, [&] { return node.state.load() == Read; });
    }

    void workerLoop() {
        for (;;) {
            std::shared_ptr<Node> node;
            {
                std::unique_lock lock(mutex_);
                workCondition_.wait(lock, [&] { return stop_ || !pending_.empty(); });
                if (stop_)
                    return;
                node = std::move(pending_.back());
                pending_.pop_back();
            }
            if (node->claim()) {
                read(*node, false);
                publish(*node);
            }
        }
    }

    void startWorkers(int count) {
        workers_ = count;
        for (int i = 0; i < count; ++i)
            threads_.emplace_back([this] { workerLoop(); });
    }

    void stopWorkers() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            pending_.clear();
        }
        workCondition_.notify_all();
        for (std::thread& t : threads_)
            t.join();
        threads_.clear();
    }

    qint64 readCount() const { return read_; }
    qint64 skippedCount() const { return skipped_; }

private:
    const WalkOptions& options_;
    std::mutex mutex_;
    std::condition_variable workCondition_;
    std::condition_variable readyCondition_;
    std::vector<std::shared_ptr<Node>> pending_;
    std::vector<std::thread> threads_;
    int workers_ = 0;
    bool stop_ = false;
    qint64 read_ = 0;
    qint64 skipped_ = 0;
};

int threadCount(int requested) {
    if (requested > 0)
        return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace

QString nameSortKey(QByteArrayView nativeName) {
    // Plain ASCII is by far the most common name; it needs no decoding.
    bool plainAscii = true;
    for (char c : nativeName) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '\r' || c == '\n') {
            plainAscii = false;
            break;
        }
    }
    if (plainAscii) {
        QString key = QString::fromLatin1(nativeName);
        for (QChar& c : key) {
            if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
                c = QChar(c.unicode() + 32);
        }
        return key;
    }
    return platform::fileNameFromNative(nativeName).toLower();
}

WalkResult walkTree(const QByteArray& nativeRoot, QByteArrayView windowsRoot,
                    const WalkOptions& options, const DirectoryConsumer& consume) {
    WalkResult result;
    Walk walk(options);
    auto root = std::make_shared<Node>();
    root->nativePath = nativeRoot;
    root->windowsDirectory = windowsRoot.toByteArray();
    root->claim();
    if (!walk.read(*root, true)) {
        result.error = QStringLiteral("Das Verzeichnis %1 kann nicht gelesen werden.")
                           .arg(platform::fileNameFromNative(nativeRoot));
        return result;
    }
    walk.startWorkers(threadCount(options.threads) - 1);
    walk.publish(*root);

    auto deliver = [&](Node& node) {
        if (!node.files.empty()) {
            consume(node.windowsDirectory, node.files);
            result.files += static_cast<qint64>(node.files.size());
        }
        node.files = {};
    };

    // Depth first: the stack holds each open directory and how many of its
    // children have been taken.
    std::vector<std::pair<std::shared_ptr<Node>, size_t>> stack;
    deliver(*root);
    stack.emplace_back(std::move(root), 0);
    while (!stack.empty()) {
        if (options.cancelled && options.cancelled()) {
            result.cancelled = true;
            break;
        }
        auto& [node, taken] = stack.back();
        if (taken == node->children.size()) {
            stack.pop_back();
            continue;
        }
        std::shared_ptr<Node> child = std::move(node->children[taken++]);
        walk.awaitRead(*child);
        deliver(*child);
        stack.emplace_back(std::move(child), 0);
    }
    walk.stopWorkers();
    stack.clear();

    result.ok = true;
    result.directories = walk.readCount();
    result.skippedDirectories = walk.skippedCount();
    return result;
}

} // namespace filelist
