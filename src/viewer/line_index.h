#pragma once

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>

namespace viewer {

// Lines longer than this are shown as several lines. Without a limit a file
// without line ends (or with one paragraph of a hundred megabytes) would have
// to be read and laid out whole to draw one line. A path line of the
// database text is far shorter, so it is always one line.
inline constexpr qint64 kLongestLine = 16 * 1024;

// One line as the viewer shows it: bytes [start, end) without the line end;
// `next` is where the following line starts (the file size after the last).
struct TextLine {
    qint64 start = 0;
    qint64 end = 0;
    qint64 next = 0;

    friend bool operator==(const TextLine&, const TextLine&) = default;
};

// The lines of a text of UTF-8 bytes. A line ends at CR LF, CR or LF; a line
// end at the very end of the text opens no further line. A line longer than
// the limit is split where a multiple of the limit, counted from the start of
// the text and moved past UTF-8 continuation bytes, falls inside it.
//
// Every answer looks only at the bytes near the offset asked about (a few
// times the limit at most), never at the text from its start, so a jump into
// a text of many gigabytes costs the same as one into a small one.
class LineIndex {
public:
    explicit LineIndex(QByteArrayView bytes, qint64 longestLine = kLongestLine)
        : bytes_(bytes)
        , longest_(longestLine) {}

    qint64 size() const { return bytes_.size(); }
    bool isEmpty() const { return bytes_.isEmpty(); }
    QByteArrayView bytes() const { return bytes_; }

    // The line that holds the offset (clamped into the text); the text must
    // not be empty. An offset on a line end belongs to the line it ends.
    TextLine lineAt(qint64 offset) const;
    // The line that begins at a start of a line.
    TextLine lineFrom(qint64 start) const;
    std::optional<TextLine> lineAfter(const TextLine& line) const;
    std::optional<TextLine> lineBefore(const TextLine& line) const;

private:
    unsigned char at(qint64 offset) const { return static_cast<unsigned char>(bytes_[offset]); }
    bool startsPhysicalLine(qint64 offset) const;
    qint64 physicalStartBack(qint64 offset, qint64 limit) const;
    qint64 firstBreakFrom(qint64 from, qint64 to) const;
    qint64 splitCandidate(qint64 multiple) const;
    bool splitsLongLine(qint64 candidate) const;

    QByteArrayView bytes_;
    qint64 longest_;
};

} // namespace viewer
