#pragma once

#include "indexing/member_source.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QPair>
#include <QString>

#include <zip.h>

namespace testsupport {

using Members = QList<QPair<QByteArray, QByteArray>>; // name in the ZIP, bytes

// Writes a ZIP container with the members in the given order (a name ending
// in "/" is a folder entry).
inline bool makeZip(const QString& path, const Members& members) {
    QFile::remove(path);
    int error = 0;
#ifdef Q_OS_WIN
    // libzip takes a Windows name as UTF-8, not in the ANSI code page.
    const QByteArray name = path.toUtf8();
#else
    const QByteArray name = QFile::encodeName(path);
#endif
    zip_t* archive = zip_open(name.constData(), ZIP_CREATE | ZIP_EXCL, &error);
    if (!archive)
        return false;
    for (const auto& [name, bytes] : members) {
        if (name.endsWith('/')) {
            zip_dir_add(archive, name.constData(), ZIP_FL_ENC_UTF_8);
            continue;
        }
        // libzip frees the copy once written; an empty member needs no buffer.
        void* copy = nullptr;
        if (!bytes.isEmpty()) {
            copy = malloc(bytes.size());
            memcpy(copy, bytes.constData(), bytes.size());
        }
        zip_source_t* source = zip_source_buffer(archive, copy, bytes.size(), copy ? 1 : 0);
        if (zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

// A member list held in memory.
class MemoryMembers final : public indexing::MemberSource {
public:
    explicit MemoryMembers(Members members)
        : members_(std::move(members)) {}
    qsizetype memberCount() const override { return members_.size(); }
    QString memberName(qsizetype index) const override {
        return QString::fromUtf8(members_.at(index).first);
    }
    std::optional<QByteArray> readMember(qsizetype index) override {
        return members_.at(index).second;
    }

private:
    Members members_;
};

inline QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

} // namespace testsupport
