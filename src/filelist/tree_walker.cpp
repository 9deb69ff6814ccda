#include "tree_walker.h"

#include "filelist/pseudo_file_systems.h"
#include "platform/native_file_name.h"

#include <QtGlobal>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
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

// Names the sort can order by their bytes: ASCII that needs no escape in the
// list. Their sort key is the name with A to Z lowered.
bool isPlainName(QByteArrayView name) {
    for (const char c : name) {
        if (static_cast<unsigned char>(c) >= 0x80 || c == '\\' || c == '\r' || c == '\n')
            return false;
    }
    return true;
}

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// The entries of one directory as read: every name back to back in one
// buffer, so a directory of many files costs few allocations.
struct DirectoryEntries {
    struct Entry {
        qsizetype offset;
        qsizetype length;
    };
    QByteArray names;
    QByteArray lowered; // the names with A to Z lowered, at the same offsets
    std::vector<Entry> files;
    std::vector<Entry> directories;
    bool allPlain = true;

    void add(const char* name, bool isDirectory) {
        const qsizetype length = static_cast<qsizetype>(std::strlen(name));
        const Entry entry{names.size(), length};
        names.append(name, length);
        lowered.resize(entry.offset + length);
        char* out = lowered.data() + entry.offset;
        for (qsizetype i = 0; i < length; ++i)
            out[i] = lowerAscii(name[i]);
        allPlain = allPlain && isPlainName(QByteArrayView(name, length));
        (isDirectory ? directories : files).push_back(entry);
    }
    QByteArrayView name(const Entry& entry) const {
        return QByteArrayView(names.constData() + entry.offset, entry.length);
    }
};

// Orders entries by their names lower-cased (UTF-16 code units), names equal
// that way by their bytes. Plain names are compared as bytes, which gives the
// same order without decoding them.
void sortEntries(const DirectoryEntries& read, std::vector<DirectoryEntries::Entry>& entries) {
    using Entry = DirectoryEntries::Entry;
    if (read.allPlain) {
        const char* lowered = read.lowered.constData();
        const char* names = read.names.constData();
        std::sort(entries.begin(), entries.end(), [&](const Entry& a, const Entry& b) {
            const auto common = static_cast<size_t>(std::min(a.length, b.length));
            const int byKey = std::memcmp(lowered + a.offset, lowered + b.offset, common);
            if (byKey != 0)
                return byKey < 0;
            if (a.length != b.length)
                return a.length < b.length;
            return std::memcmp(names + a.offset, names + b.offset, common) < 0;
        });
        return;
    }
    struct Keyed {
        QString key;
        Entry entry;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (const Entry& entry : entries)
        keyed.push_back({nameSortKey(read.name(entry)), entry});
    std::sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        const int byKey = QString::compare(a.key, b.key, Qt::CaseSensitive);
        if (byKey != 0)
            return byKey < 0;
        return read.name(a.entry) < read.name(b.entry);
    });
    for (size_t i = 0; i < keyed.size(); ++i)
        entries[i] = keyed[i].entry;
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
    QByteArray nameStore;          // holds the bytes `files` point into
    std::vector<QByteArray> files; // list bytes
    std::vector<std::shared_ptr<Node>> children;
    qint64 heldNames = 0; // counted against the read-ahead bound until delivered

    bool claim() {
        int expected = Pending;
        return state.compare_exchange_strong(expected, Reading);
    }
};

QByteArray childPath(const QByteArray& directory, QByteArrayView name) {
    QByteArray path = directory;
    if (!directory.endsWith('/') && !directory.endsWith('\\'))
        path += '/';
    path += name;
    return path;
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

// Adds one directory entry; a type the directory did not record is looked up.
void takeEntry(int fd, const char* name, unsigned char type, DirectoryEntries& entries) {
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0)))
        return;
    if (type == DT_UNKNOWN) {
        struct stat st;
        if (::fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0)
            return;
        type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
    }
    if (type == DT_REG || type == DT_DIR)
        entries.add(name, type == DT_DIR);
}

#ifdef Q_OS_LINUX
// The entries straight from the kernel in large batches: opendir() would cost
// three more system calls per directory, and most directories are small.
void readDirectoryEntries(int fd, DirectoryEntries& entries) {
    alignas(8) char buffer[32768];
    for (;;) {
        const ssize_t got = ::getdents64(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            takeEntry(fd, entry->d_name, entry->d_type, entries);
            at += entry->d_reclen;
        }
    }
    ::close(fd);
}
#else
void readDirectoryEntries(int fd, DirectoryEntries& entries) {
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(dir))
        takeEntry(fd, entry->d_name, entry->d_type, entries);
    ::closedir(dir);
}
#endif

// The entries of one directory: regular files and real sub-directories.
ReadOutcome readEntries(Node& node, bool isRoot, DirectoryEntries& entries) {
    int flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (!isRoot)
        flags |= O_NOFOLLOW;
    const int fd = openDirectory(node.nativePath, flags);
    if (fd < 0)
        return isRoot ? ReadOutcome::RootUnreadable : ReadOutcome::Skipped;
    struct stat self;
    if (::fstat(fd, &self) != 0) {
        ::close(fd);
        return ReadOutcome::Skipped;
    }
    node.device = self.st_dev;
    node.inode = self.st_ino;
    // Only a mount point changes the file system, and it changes the device.
    const bool newDevice = !node.parent || node.parent->device != node.device;
    if ((newDevice && isOnPseudoFileSystem(fd)) || isOwnAncestor(node)) {
        ::close(fd);
        return ReadOutcome::Skipped;
    }
    readDirectoryEntries(fd, entries);
    return ReadOutcome::Read;
}
#else
// Windows: names are UTF-16 there and travel through the walk as UTF-8.
// Symbolic links and junctions are not followed. Not built or run on the
// reference platform.
ReadOutcome readEntries(Node& node, bool isRoot, DirectoryEntries& entries) {
    const QDir dir(QString::fromUtf8(node.nativePath));
    if (!dir.exists())
        return isRoot ? ReadOutcome::RootUnreadable : ReadOutcome::Skipped;
    const QFileInfoList found = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot,
                                                  QDir::NoSort);
    for (const QFileInfo& entry : found) {
        if (entry.isSymbolicLink() || entry.isJunction())
            continue;
        entries.add(entry.fileName().toUtf8().constData(), entry.isDir());
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
        DirectoryEntries entries;
        switch (readEntries(node, isRoot, entries)) {
        case ReadOutcome::RootUnreadable:
            node.skipped = true;
            return false;
        case ReadOutcome::Skipped:
            node.skipped = true;
            return true;
        case ReadOutcome::Read:
            break;
        }

        sortEntries(entries, entries.files);
        sortEntries(entries, entries.directories);
        // Names that need no escape are their own list bytes: the list
        // points into the names as read.
        node.nameStore = entries.names;
        node.files.reserve(entries.files.size());
        for (const DirectoryEntries::Entry& file : entries.files) {
            const QByteArrayView name = entries.name(file);
            if (!entries.allPlain && platform::needsEscaping(name))
                node.files.push_back(platform::listBytesFromNative(name));
            else
                node.files.push_back(QByteArray::fromRawData(name.data(), name.size()));
        }
        node.children.reserve(entries.directories.size());
        for (const DirectoryEntries::Entry& directory : entries.directories) {
            const QByteArrayView name = entries.name(directory);
            auto child = std::make_shared<Node>();
            child->nativePath = childPath(node.nativePath, name);
            child->windowsDirectory = node.windowsDirectory;
            if (!entries.allPlain && platform::needsEscaping(name))
                child->windowsDirectory += platform::listBytesFromNative(name);
            else
                child->windowsDirectory += name;
            child->windowsDirectory += '\\';
            child->parent = &node;
            node.children.push_back(std::move(child));
        }
        node.heldNames = static_cast<qint64>(node.files.size() + node.children.size());
        return true;
    }

    // Marks a read node as done and offers its children to the readers, the
    // first child on top, so the readers stay close to the consumer's path.
    void publish(Node& node) {
        qint64 held = 0;
        {
            std::lock_guard lock(mutex_);
            node.state.store(Read);
            if (node.skipped)
                ++skipped_;
            else
                ++read_;
            heldNames_ += node.heldNames;
            held = heldNames_;
            peakHeldNames_ = std::max(peakHeldNames_, heldNames_);
            if (workers_ > 0) {
                for (auto it = node.children.rbegin(); it != node.children.rend(); ++it)
                    pending_.push_back(*it);
            }
        }
        readyCondition_.notify_all();
        if (workers_ > 0 && !node.children.empty())
            workCondition_.notify_all();
        if (options_.readAheadChanged)
            options_.readAheadChanged(held);
    }

    // The consumer has taken the node's names: they no longer count.
    void release(Node& node) {
        if (node.heldNames == 0)
            return;
        bool wasFull = false;
        {
            std::lock_guard lock(mutex_);
            wasFull = heldNames_ >= options_.readAheadNames;
            heldNames_ -= node.heldNames;
        }
        node.heldNames = 0;
        if (wasFull)
            workCondition_.notify_all();
    }

    // The consumer needs this node now: read it here unless a reader has it.
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
                // A reader claims a directory only while the names held ahead
                // are below the bound; the consumer reads what it needs itself.
                workCondition_.wait(lock, [&] {
                    return stop_ || (!pending_.empty() && heldNames_ < options_.readAheadNames);
                });
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
    qint64 peakHeldNames() const { return peakHeldNames_; }

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
    qint64 heldNames_ = 0;
    qint64 peakHeldNames_ = 0;
};

int threadCount(int requested) {
    if (requested > 0)
        return requested;
    return std::max(1u, std::thread::hardware_concurrency());
}

} // namespace

QString nameSortKey(QByteArrayView nativeName) {
    // Plain ASCII is by far the most common name; it needs no decoding.
    if (isPlainName(nativeName)) {
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
        node.nameStore = {};
        walk.release(node);
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
    result.peakReadAheadNames = walk.peakHeldNames();
    return result;
}

} // namespace filelist
