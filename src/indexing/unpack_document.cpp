#include "unpack_document.h"

#include "database/database_text.h"
#include "platform/native_file_name.h"
#include "platform/program_directory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace indexing {
namespace {

const QStringList kMemberPatterns = {QStringLiteral("*.xhtml"), QStringLiteral("*.htm"),
                                     QStringLiteral("*.html"), QStringLiteral("*.xml")};

// Top-level folders of an OpenDocument file that never hold its text.
const QStringList kTextFreeFolders = {QStringLiteral("configurations2"),
                                      QStringLiteral("thumbnails"), QStringLiteral("pictures")};

// The manifest of an OpenDocument file names how each encrypted member was
// encrypted; a file saved with a password has such members, and their bytes
// are ciphertext.
bool isEncryptedOpenDocument(ZipContainer& archive) {
    const auto manifest = archive.findMember(QStringLiteral("META-INF/manifest.xml"));
    if (!manifest)
        return false;
    const auto bytes = archive.readMember(*manifest);
    return bytes && bytes->contains("encryption-data");
}

// Word keeps a document saved with a password not as a ZIP but as an OLE
// compound file that holds the encrypted package as the stream
// "EncryptedPackage".
bool isPasswordProtectedWordFile(const QString& nativePath) {
    static const QByteArray kSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    static const QByteArray kStreamName = [] {
        QByteArray utf16le; // the directory's names are UTF-16LE
        for (const char c : QByteArrayView("EncryptedPackage"))
            utf16le.append(c).append('\0');
        return utf16le;
    }();
    constexpr qint64 kPiece = 1 << 20;
    QFile file;
    if (!platform::openNativeRegularFile(file, nativePath) ||
        file.read(kSignature.size()) != kSignature)
        return false;
    // The directory that names the streams may lie anywhere in the file;
    // pieces overlap by less than a name, so none is missed at a seam.
    QByteArray carried;
    for (;;) {
        const QByteArray piece = file.read(kPiece);
        if (piece.isEmpty())
            return false;
        const QByteArray window = carried + piece;
        if (window.contains(kStreamName))
            return true;
        carried = window.right(kStreamName.size() - 1);
    }
}

qsizetype lastSeparator(const QString& path) {
    return std::max(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char(':')));
}

} // namespace

QString containerName(const QString& documentPath) {
    const qsizetype cut = lastSeparator(documentPath);
    const QString folder = documentPath.left(cut + 1);
    QString base = documentPath.mid(cut + 1);
    for (const QLatin1String extension : {QLatin1String(".odt"), QLatin1String(".docm"),
                                          QLatin1String(".docx"), QLatin1String(".epub")}) {
        const qsizetype at = base.toLower().indexOf(extension);
        if (at >= 0)
            base.remove(at, extension.size());
    }
    return folder + base + QStringLiteral(".zip");
}

QString chooseSubFolder(const QStringList& topLevelListing) {
    QString candidate;
    for (const QString& line : topLevelListing) {
        const QString lower = line.toLower();
        if (line.startsWith(QLatin1Char('\\')) && !lower.contains(QLatin1String("mimetype")) &&
            !lower.contains(QLatin1String("meta-inf")) && !kTextFreeFolders.contains(lower.mid(1)))
            candidate = line;
    }
    if (candidate.startsWith(QLatin1Char('\\')))
        candidate.remove(0, 1);
    if (!candidate.isEmpty())
        candidate += QLatin1Char('\\');
    return candidate;
}

QString invalidZipfileMessage(const QString& documentPath) {
    return QLatin1Char('<') + documentPath + QStringLiteral("> invalid zipfile");
}

QString passwordProtectedMessage(const QString& documentPath) {
    return QLatin1Char('<') + documentPath + QStringLiteral("> passwortgeschützt");
}

QString containerCutMessage(const QString& documentPath, quint8 cut,
                            const ExtractionLimits& limits) {
    constexpr qint64 kMegabyte = 1 << 20;
    QStringList reasons;
    if (cut & TooManyMembers)
        reasons.append(QStringLiteral("mehr als %1 Teile im Container").arg(kMaxContainerMembers));
    if (cut & MemberTooLarge)
        reasons.append(
            QStringLiteral("ein Teil größer als %1 MB").arg(limits.memberSizeCap / kMegabyte));
    if (cut & ContainerTooLarge)
        reasons.append(
            QStringLiteral("mehr als %1 MB entpackt").arg(limits.containerSizeCap / kMegabyte));
    return QLatin1Char('<') + documentPath + QStringLiteral("> nur zum Teil indiziert: ") +
           reasons.join(QStringLiteral(", "));
}

DocumentExtraction extractDocument(const QString& windowsPath, const QString& nativePath,
                                   const ExtractionLimits& limits,
                                   const ExtractionControl& control) {
    DocumentExtraction result;
    ZipContainer archive;
    archive.setMemberSizeCap(limits.memberSizeCap);
    archive.setContainerSizeCap(limits.containerSizeCap);
    if (!archive.open(nativePath)) {
        if (isPasswordProtectedWordFile(nativePath))
            result.outcome = DocumentExtraction::Outcome::PasswordProtected;
        return result;
    }
    // An OpenDocument file keeps its text in content.xml at the root, which
    // is read whatever other folders (macros, embedded objects) it holds.
    const bool openDocument = archive.findMember(QStringLiteral("content.xml")).has_value();
    if (openDocument && isEncryptedOpenDocument(archive)) {
        result.outcome = DocumentExtraction::Outcome::PasswordProtected;
        return result;
    }
    const QString subFolder =
        openDocument ? QString()
                     : chooseSubFolder(archive.topLevelListing(containerName(windowsPath)));
    QList<int> members;
    for (const QString& pattern : kMemberPatterns)
        archive.findFiles(subFolder, pattern, true, members);
    if (members.isEmpty()) {
        for (const QString& pattern : kMemberPatterns)
            archive.findFiles(QString(), pattern, true, members);
    }
    ArchiveMembers source(archive, members);
    result.outcome = extractDocumentText(source, result.text, control)
                         ? DocumentExtraction::Outcome::Text
                         : DocumentExtraction::Outcome::Stopped;
    result.cut = archive.cut();
    return result;
}

UnpackOutcome unpackDocument(const QString& path, UnpackEnvironment& environment) {
    const QString unpackFolder = platform::unpackDirectory(environment.programDirectory);
    if (!QFileInfo(unpackFolder).isDir())
        return UnpackOutcome::NoUnpackFolder;
    environment.context->checkpoint();
    DocumentExtraction extraction;
    if (environment.extraction) {
        extraction = environment.extraction(path);
    } else if (const auto nativePath = environment.drives->toNative(path)) {
        extraction = extractDocument(
            path, *nativePath, environment.limits,
            ExtractionControl{[&environment] { environment.context->checkpoint(); }, nullptr});
    }
    if (extraction.outcome == DocumentExtraction::Outcome::PasswordProtected)
        return UnpackOutcome::PasswordProtected;
    if (extraction.outcome != DocumentExtraction::Outcome::Text)
        return UnpackOutcome::Unreadable;

    const QStringList header = database::documentBlockHeaderLines(path);
    for (qsizetype i = 0; i < 3; ++i)
        environment.writer->appendLine(header.at(i));
    ++*environment.indexedDocuments;
    for (qsizetype i = 3; i < header.size(); ++i)
        environment.writer->appendLine(header.at(i));
    if (environment.caption)
        environment.caption(QString::number(*environment.indexedDocuments) +
                            QStringLiteral("  Datei:  ") + path);
    writeDocumentText(extraction.text, *environment.writer, environment.splitLimit);
    if (extraction.cut != NotCut && environment.containerCut)
        environment.containerCut(path, extraction.cut);
    return UnpackOutcome::Indexed;
}

} // namespace indexing
