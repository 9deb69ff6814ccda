#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

namespace indexing {

class DatabaseWriter;

// The text lines of one document, kept apart from the database text until
// the writer takes them: as the database text holds them (UTF-8, each line
// with its CR LF), with what the writer needs to cut part files exactly
// where a run that writes while it extracts would cut them. Nothing in it
// depends on the run, so it can be made on any thread and kept in the
// text cache.
class ExtractedText {
public:
    // Appends one line given as the scanner's Windows-1252 content; "¿"
    // becomes a blank. A line that starts like a document marker ("#", a
    // letter, ":\") gets a blank in front.
    void appendScannedLine(QByteArrayView windows1252);
    // The scanner returned a part after the last line (split rule below).
    void notePart() { partsAfterLastLine_ = lineCount_ > 0; }

    const QByteArray& bytes() const { return bytes_; }
    qint64 lineCount() const { return lineCount_; }
    // UTF-16 units of all lines, line ends not counted.
    qint64 characters() const { return characters_; }
    bool partsAfterLastLine() const { return partsAfterLastLine_; }
    // The byte length of every line (CR LF included), each as a base-128
    // number of one or more bytes.
    const QByteArray& lineLengths() const { return lineLengths_; }

    // Puts stored parts together again; nothing when they do not fit.
    // `storage`, when given, holds the bytes the two arrays point into.
    static std::optional<ExtractedText> fromStored(QByteArray bytes, QByteArray lineLengths,
                                                   qint64 lineCount, qint64 characters,
                                                   bool partsAfterLastLine,
                                                   QByteArray storage = {});

private:
    QByteArray storage_;
    QByteArray bytes_;
    QByteArray lineLengths_;
    qint64 lineCount_ = 0;
    qint64 characters_ = 0;
    bool partsAfterLastLine_ = false;
};

// "#", an ASCII letter of either case, ":" and "\": the form of a document
// marker, which no line of document text may start with.
bool startsLikeDocumentMarker(QByteArrayView line);

// Writes the lines of one document after its block header. Whenever the
// document's count of characters has reached the split limit and the
// scanner had a further part, the lines so far become a part file, as the
// extraction does before each part; after the document, lines left over
// become a part file of their own once the run has been split.
void writeDocumentText(const ExtractedText& text, DatabaseWriter& writer, qint64 splitLimit);

} // namespace indexing
