#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace indexing {

// The member list of one document, in the order the unpacking found it: the
// name of each member in the container (its path from the container's root,
// "/" separators) and a way to read its bytes when the extraction gets to it.
class MemberSource {
public:
    virtual ~MemberSource() = default;
    virtual qsizetype memberCount() const = 0;
    virtual QString memberName(qsizetype index) const = 0;
    // Nothing when the member cannot be read; it then gives no text.
    virtual std::optional<QByteArray> readMember(qsizetype index) = 0;
};

} // namespace indexing
