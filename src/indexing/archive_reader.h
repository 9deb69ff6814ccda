#pragma once

#include "member_source.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

struct zip;

namespace indexing {

// What one member may bring into memory. A member declared or found larger
// is read up to the bound only; what lies beyond is not indexed. A container
// whose members together pass the container bound gives no further text.
inline constexpr qint64 kDefaultMemberSizeCap = 256LL * 1024 * 1024;
inline constexpr qint64 kDefaultContainerSizeCap = 1024LL * 1024 * 1024;
// Members of one container beyond this many are left out: no document has
// that many, and each costs memory and a read.
inline constexpr qsizetype kMaxContainerMembers = 100'000;

// Why a container was not read whole; flags.
enum ContainerCut : quint8 {
    NotCut = 0,
    TooManyMembers = 1,    // members beyond kMaxContainerMembers were left out
    MemberTooLarge = 2,    // a member was read up to the member cap only
    ContainerTooLarge = 4, // members were not read once the container cap was used up
};

// The archive reader of a document container (ZIP), read in place: the
// document is opened read-only and never renamed, moved or written. Members
// are read into memory when asked for; nothing is unpacked to disk.
//
// Member names are taken apart at "/" and "\"; empty and "." pieces are
// dropped, so an absolute name is read as a relative one, and a member with
// a ".." piece is left out altogether, as is one more than 256 folders deep.
// Nothing can reach outside the container's own tree. What the caps leave
// out is told by cut().
class ZipContainer {
public:
    ZipContainer();
    ~ZipContainer();
    ZipContainer(const ZipContainer&) = delete;
    ZipContainer& operator=(const ZipContainer&) = delete;

    void setMemberSizeCap(qint64 bytes) { memberCap_ = bytes; }
    void setContainerSizeCap(qint64 bytes) { containerCap_ = bytes; }

    // Opens the container file (a native path); false when it is no
    // readable ZIP.
    bool open(const QString& nativePath);

    // The top-level listing as the shell would give it for the container
    // named containerName (a Windows-form path ending in ".zip"): every
    // top-level entry, files and folders together by lower-cased name, each
    // formed as containerName + "\" + entry name, cut up to and including
    // the first ".zip"; a result that starts with "\" and holds a "."
    // becomes an empty line.
    QStringList topLevelListing(const QString& containerName) const;

    // find files: the members below folder (a relative folder, pieces
    // separated by "\", empty for the root) whose names end in the
    // pattern's ".ext" (any letter case); in each folder the matching files
    // by lower-cased name, then, when recursive, its sub-folders by
    // lower-cased name, depth-first. Appends member numbers to the list.
    void findFiles(const QString& folder, const QString& pattern, bool recursive,
                   QList<int>& found) const;

    // A member's relative path with "/" separators.
    QString memberName(int member) const;

    // The member of that relative path ("/" separators, letter case as it
    // stands); nothing when the container has none.
    std::optional<int> findMember(const QString& path) const;

    // The member's bytes up to the member cap; nothing when it cannot be
    // read or the container cap is used up.
    std::optional<QByteArray> readMember(int member);

    // What the caps left out so far (ContainerCut flags).
    quint8 cut() const { return cut_; }

private:
    struct Folder;
    const Folder* folderAt(const QString& folder) const;

    struct Member {
        QString path;
        qint64 zipIndex;
    };
    zip* archive_ = nullptr;
    QList<Member> members_;
    std::unique_ptr<Folder> root_;
    qint64 memberCap_ = kDefaultMemberSizeCap;
    qint64 containerCap_ = kDefaultContainerSizeCap;
    qint64 containerRead_ = 0;
    quint8 cut_ = NotCut;
};

// The member list of one document: members of an open ZipContainer.
class ArchiveMembers final : public MemberSource {
public:
    ArchiveMembers(ZipContainer& archive, QList<int> members)
        : archive_(archive)
        , members_(std::move(members)) {}

    qsizetype memberCount() const override { return members_.size(); }
    QString memberName(qsizetype index) const override {
        return archive_.memberName(members_.at(index));
    }
    std::optional<QByteArray> readMember(qsizetype index) override {
        return archive_.readMember(members_.at(index));
    }

private:
    ZipContainer& archive_;
    QList<int> members_;
};

} // namespace indexing
