#include "archive_reader.h"

#include "platform/native_file_name.h"
#include "textio/regular_file.h"

#include <zip.h>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

#include <QFile>
#include <QHash>
#include <QMap>

#include <algorithm>
#include <functional>
#include <vector>

namespace indexing {

struct ZipContainer::Folder {
    QString name;
    QList<int> files; // member numbers
    std::vector<std::unique_ptr<Folder>> folders;
    QHash<QString, Folder*> byName; // a container may hold very many folders

    Folder* child(const QString& childName) {
        if (Folder* existing = byName.value(childName))
            return existing;
        folders.push_back(std::make_unique<Folder>());
        folders.back()->name = childName;
        byName.insert(childName, folders.back().get());
        return folders.back().get();
    }
    const Folder* find(const QString& childName) const { return byName.value(childName); }
};

namespace {

// Deeper members are left out: the tree is walked recursively, and a
// hostile name of thousands of folders would exhaust the stack.
constexpr qsizetype kMaxFolderDepth = 256;

// What a member buffer starts with at most, whatever the member declares.
constexpr qint64 kInitialReserve = 64 << 10;

// The name pieces of a member; nothing when the name climbs with "..".
std::optional<QStringList> safePieces(const QString& name) {
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && name[i] != QLatin1Char('/') && name[i] != QLatin1Char('\\'))
            continue;
        const QStringView piece = QStringView(name).sliced(start, i - start);
        start = i + 1;
        if (piece.isEmpty() || piece == QLatin1String("."))
            continue;
        if (piece == QLatin1String(".."))
            return std::nullopt;
        pieces.append(piece.toString());
    }
    return pieces;
}

bool lessByLowerName(const QString& a, const QString& b) {
    const QString la = a.toLower();
    const QString lb = b.toLower();
    return la != lb ? la < lb : a < b;
}

} // namespace

ZipContainer::ZipContainer()
    : root_(std::make_unique<Folder>()) {}

ZipContainer::~ZipContainer() {
    if (archive_)
        zip_discard(archive_);
}

bool ZipContainer::open(const QString& nativePath) {
    int errorCode = 0;
#ifdef Q_OS_WIN
    QFile probe;
    if (!textio::openRegularFile(probe, nativePath))
        return false;
    probe.close();
    archive_ = zip_open(platform::nativeFileName(nativePath).constData(), ZIP_RDONLY, &errorCode);
#else
    // libzip would open the name itself and wait for ever on a FIFO.
    const int fd = textio::openRegularDescriptor(platform::nativeFileName(nativePath));
    if (fd < 0)
        return false;
    archive_ = zip_fdopen(fd, 0, &errorCode);
    if (!archive_)
        ::close(fd);
#endif
    if (!archive_)
        return false;
    // Every member goes into the tree once; a later member of the same path
    // takes the place of an earlier one, as unpacking over it would.
    QMap<QString, int> byPath;
    const zip_int64_t count = zip_get_num_entries(archive_, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        if (members_.size() >= kMaxContainerMembers) {
            cut_ |= TooManyMembers;
            break;
        }
        const char* rawName = zip_get_name(archive_, i, ZIP_FL_ENC_GUESS);
        if (!rawName)
            continue;
        const QString name = QString::fromUtf8(rawName);
        const auto pieces = safePieces(name);
        if (!pieces || pieces->isEmpty() || pieces->size() > kMaxFolderDepth)
            continue;
        const bool isFolder = name.endsWith(QLatin1Char('/')) || name.endsWith(QLatin1Char('\\'));
        Folder* folder = root_.get();
        const qsizetype folderDepth = isFolder ? pieces->size() : pieces->size() - 1;
        for (qsizetype p = 0; p < folderDepth; ++p)
            folder = folder->child(pieces->at(p));
        if (isFolder)
            continue;
        const QString path = pieces->join(QLatin1Char('/'));
        if (const auto it = byPath.constFind(path); it != byPath.cend()) {
            members_[it.value()].zipIndex = i;
            continue;
        }
        byPath.insert(path, static_cast<int>(members_.size()));
        folder->files.append(static_cast<int>(members_.size()));
        members_.append({path, i});
    }
    return true;
}

QStringList ZipContainer::topLevelListing(const QString& containerName) const {
    QStringList entries;
    for (const int member : root_->files)
        entries.append(members_.at(member).path);
    for (const auto& folder : root_->folders)
        entries.append(folder->name);
    std::sort(entries.begin(), entries.end(), lessByLowerName);

    QStringList listing;
    for (const QString& entry : entries) {
        QString line = containerName + QLatin1Char('\\') + entry;
        const qsizetype zipAt = line.toLower().indexOf(QLatin1String(".zip"));
        if (zipAt >= 0)
            line.remove(0, zipAt + 4);
        if (line.startsWith(QLatin1Char('\\')) && line.contains(QLatin1Char('.')))
            line.clear();
        listing.append(line);
    }
    return listing;
}

const ZipContainer::Folder* ZipContainer::folderAt(const QString& folder) const {
    const Folder* current = root_.get();
    for (const QString& piece : folder.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
        current = current->find(piece);
        if (!current)
            return nullptr;
    }
    return current;
}

void ZipContainer::findFiles(const QString& folder, const QString& pattern, bool recursive,
                             QList<int>& found) const {
    const QString suffix = pattern.startsWith(QLatin1Char('*')) ? pattern.mid(1) : pattern;
    const Folder* start = folderAt(folder);
    if (!start)
        return;
    const std::function<void(const Folder&)> walk = [&](const Folder& current) {
        QList<int> files;
        for (const int member : current.files) {
            const QString& path = members_.at(member).path;
            const QString fileName = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
            if (fileName.endsWith(suffix, Qt::CaseInsensitive))
                files.append(member);
        }
        std::sort(files.begin(), files.end(), [&](int a, int b) {
            return lessByLowerName(members_.at(a).path.section(QLatin1Char('/'), -1),
                                   members_.at(b).path.section(QLatin1Char('/'), -1));
        });
        found.append(files);
        if (!recursive)
            return;
        QList<const Folder*> folders;
        for (const auto& sub : current.folders)
            folders.append(sub.get());
        std::sort(folders.begin(), folders.end(), [](const Folder* a, const Folder* b) {
            return lessByLowerName(a->name, b->name);
        });
        for (const Folder* sub : folders)
            walk(*sub);
    };
    walk(*start);
}

QString ZipContainer::memberName(int member) const {
    return members_.at(member).path;
}

std::optional<int> ZipContainer::findMember(const QString& path) const {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    QString folder = path.left(std::max<qsizetype>(slash, 0));
    folder.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const Folder* parent = folderAt(folder);
    if (!parent)
        return std::nullopt;
    for (const int member : parent->files) {
        if (members_.at(member).path == path)
            return member;
    }
    return std::nullopt;
}

std::optional<QByteArray> ZipContainer::readMember(int member) {
    if (!archive_)
        return std::nullopt;
    if (containerRead_ >= containerCap_) {
        cut_ |= ContainerTooLarge;
        return std::nullopt;
    }
    const qint64 index = members_.at(member).zipIndex;
    zip_stat_t stat;
    zip_stat_init(&stat);
    const bool sized =
        zip_stat_index(archive_, index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE);
    zip_file_t* file = zip_fopen_index(archive_, index, 0);
    if (!file)
        return std::nullopt;
    const qint64 bound = std::min(memberCap_, containerCap_ - containerRead_);
    QByteArray bytes;
    // The declared size is only a hint: a hostile container may claim
    // gigabytes for a member of a few bytes. The buffer starts small and
    // grows with what is really read, up to the bound.
    bytes.reserve(static_cast<qsizetype>(
        std::min<qint64>(sized ? qint64(stat.size) : 0, std::min(kInitialReserve, bound))));
    char chunk[65536];
    bool readError = false;
    while (bytes.size() < bound) {
        const zip_int64_t want = std::min<qint64>(sizeof chunk, bound - bytes.size());
        const zip_int64_t got = zip_fread(file, chunk, want);
        if (got < 0) {
            readError = true;
            break;
        }
        if (got == 0)
            break;
        // Grown by doubling up to the bound, each step to an exact size: an
        // append alone would let the buffer grow past the bound and touch
        // twice the memory the member needs.
        if (bytes.capacity() - bytes.size() < got)
            bytes.reserve(static_cast<qsizetype>(std::min<qint64>(
                std::max<qint64>(2 * bytes.capacity(), bytes.size() + got), bound)));
        bytes.append(chunk, static_cast<qsizetype>(got));
    }
    // A member that has more than the bound was cut.
    if (!readError && bytes.size() >= bound && zip_fread(file, chunk, 1) > 0)
        cut_ |= bound == memberCap_ ? MemberTooLarge : ContainerTooLarge;
    zip_fclose(file);
    containerRead_ += bytes.size();
    if (readError)
        return std::nullopt;
    return bytes;
}

} // namespace indexing
