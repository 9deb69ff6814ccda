#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

namespace textio {

// A small non-validating XML scanner that walks a buffer part by part and
// keeps the current part's type, name and content. The content is 8-bit
// Windows-1252: with the encoding "UTF-8" the text is translated and every
// character Windows-1252 cannot hold becomes "¿" (0xBF); with any other
// encoding the bytes are taken as they stand. The extracted text of every
// database depends on these rules, so they are kept exactly.
class XmlScanner {
public:
    enum class PartType {
        None,
        XmlDeclaration,
        Comment,
        ProcessingInstruction,
        DocTypeDeclaration,
        StartTag,
        EmptyTag,
        EndTag,
        Text,
        CData,
    };

    // Reads the whole file (others may read and write it meanwhile). Clears
    // the state except the current encoding and what entities may still add
    // (see expansionLeft_); false and an empty buffer when the file cannot be
    // read.
    bool load(const QString& fileName);

    // The same for bytes already in memory.
    void loadFromBuffer(QByteArray bytes);

    // Back to the start of the buffer: part type, name, content and the
    // entity nesting are reset.
    void start();

    // Finds the next part; false at the end of the buffer.
    bool nextPart();

    PartType partType() const { return partType_; }
    const QByteArray& name() const { return name_; }
    const QByteArray& content() const { return content_; }
    // Empty for a new scanner, then the upper-cased value of the last XML
    // declaration's "encoding" ("UTF-8" when it had none). It carries over
    // to the next buffer loaded into the same scanner.
    const QByteArray& encoding() const { return encoding_; }

    // On (the default, set again by every load): text is trimmed and its
    // inner blanks shrunk, and a text that leaves nothing is no part. Off:
    // every text comes as it stands, as a part even when it is blank or
    // empty, so a caller that joins texts sees each one.
    void setNormalize(bool on) { normalize_ = on; }

    // Named references of HTML ("&ouml;", "&nbsp;") give their character, as
    // a Windows-1252 byte ("¿" where it has none); declared entities come
    // first. Off for a new scanner; kept over loads.
    void setHtmlEntities(bool on) { htmlEntities_ = on; }

    // Blanks, tabs, CR and LF cut at both ends and every inner run of them
    // shrunk to one blank: what a normalized text part holds.
    static QByteArray normalized(QByteArrayView text);
    // The same for texts that follow one another, appended to out as they
    // come: pendingBlank holds a blank that is written only when more than
    // blanks follow (false at the start).
    static void appendNormalized(QByteArray& out, bool& pendingBlank, QByteArrayView text);

private:
    void scanXmlDeclaration();
    void scanProcessingInstruction();
    void scanComment();
    void scanDocType();
    void scanCData();
    void scanTag();
    void scanText();

    void readDeclarationAttributes(qsizetype from, qsizetype to);
    void recordEntities(qsizetype from, qsizetype to);

    // Appends the bytes [from, to) translated by the current encoding.
    void appendTranslated(QByteArray& out, const char* from, const char* to) const;
    // Appends text with references: used for text nodes and, nested, for the
    // replacement texts of declared entities.
    // Returns where it stopped: at "<" when stopAtTag, else at the end.
    const char* appendTextWithReferences(QByteArray& out, const char* from, const char* to,
                                         const char* searchEnd, int depth, bool stopAtTag) const;
    void appendReference(QByteArray& out, QByteArrayView name, int depth) const;
    const char* nextSemicolon(const char* from, const char* searchEnd) const;

    bool startsAt(qsizetype at, const char* literal) const;
    qsizetype find(const char* literal, qsizetype from) const;

    QByteArray buffer_;
    qsizetype size_ = 0; // up to the first NUL
    qsizetype pos_ = 0;
    PartType partType_ = PartType::None;
    QByteArray name_;
    QByteArray content_;
    QByteArray encoding_;
    bool normalize_ = true;
    bool htmlEntities_ = false;
    QHash<QByteArray, QByteArray> entities_;
    // What the replacement texts of declared entities may still add, over
    // all buffers loaded into this scanner. The extraction uses one scanner
    // per document, so a few nested declarations referenced from many text
    // parts or members cannot turn a small document into gigabytes of text.
    static constexpr qsizetype kMaxEntityExpansion = 8 * 1024 * 1024;
    mutable qsizetype expansionLeft_ = kMaxEntityExpansion;
    mutable qsizetype semicolonFrom_ = -1; // where the last search began
    mutable qsizetype semicolonAt_ = 0;    // what it found (size_: none)
};

} // namespace textio
