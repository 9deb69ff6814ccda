#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

namespace search {

// A store file mapped read-only into memory. The database text can be many
// gigabytes; the scan walks the mapping and only small ranges are ever
// copied out.
class MappedStore {
public:
    MappedStore() = default;
    MappedStore(const MappedStore&) = delete;
    MappedStore& operator=(const MappedStore&) = delete;
    ~MappedStore();

    // False (and an empty view) when the file is missing, cannot be opened,
    // is empty or cannot be mapped: such a store contributes no positions.
    bool open(const QString& fileName);
    void close();

    bool isOpen() const { return data_ != nullptr; }
    qint64 size() const { return size_; }
    QByteArrayView bytes() const {
        return {reinterpret_cast<const char*>(data_), static_cast<qsizetype>(size_)};
    }

    // Lets go of the memory behind a range the scan has passed; the bytes
    // stay readable (they come back from the file cache when touched), so
    // memory stays flat however large the store is. Done with madvise on
    // Linux and other Unix systems and by taking the pages out of the
    // working set on Windows; elsewhere it does nothing.
    void release(qint64 from, qint64 to) const;

    // "read range": bytes [from, to) clamped to the file.
    QByteArray readRange(qint64 from, qint64 to) const;

private:
    QFile file_;
    uchar* data_ = nullptr;
    qint64 size_ = 0;
};

} // namespace search
