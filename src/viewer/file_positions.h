#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The file-position list <name>_TitelPositionen.txt: one entry per line,
// the top-of-page offset (decimal) at which a path line was found, a blank,
// and the path line as the viewer shows it; CR LF after every line, UTF-8.
namespace viewer {

struct PositionEntry {
    qint64 top = 0;
    QString line; // decoded, as the viewer shows it

    friend bool operator==(const PositionEntry&, const PositionEntry&) = default;
};

// The bytes of the file, as writeTextFile writes them in code page 65001.
QByteArray positionListBytes(const QList<PositionEntry>& entries);

// Replaces the file in one step (a reader never sees half a list).
bool writePositionList(const QList<PositionEntry>& entries, const QString& fileName,
                       QString* error = nullptr);

// The list as the search window holds it: the file's lines read back with
// the loader that takes every byte as one character (the ANSI view), so the
// path part is decoded from UTF-8 only when it is shown.
class FilePositions {
public:
    static FilePositions fromLines(const QStringList& lines);
    // Empty when the file is missing.
    static FilePositions load(const QString& fileName);

    bool isEmpty() const { return lines_.isEmpty(); }
    qsizetype size() const { return lines_.size(); }
    const QStringList& lines() const { return lines_; }
    // The number before the first blank; 0 for an entry without a blank or
    // without a number there.
    qint64 offsetAt(qsizetype index) const { return offsets_[index]; }
    // The path part (after the first blank), still in the ANSI view.
    QString pathAt(qsizetype index) const;

    // The entry of the document a page with this top belongs to: among the
    // entries i with offset(i) <= top <= offset(i + 1), and the last entry
    // when its offset <= top, the last one. Nothing when none qualifies.
    std::optional<qsizetype> entryForTop(qint64 top) const;

private:
    std::optional<qsizetype> entryForTopLinear(qint64 top) const;

    QStringList lines_;
    QList<qint64> offsets_;
    bool ascending_ = true;
};

} // namespace viewer
