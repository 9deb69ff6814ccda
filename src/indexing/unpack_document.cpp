#include "unpack_document.h"

#include "database/database_text.h"
#include "platform/program_directory.h"

#include <QDir>
#include <QFileInfo>

namespace indexing {
namespace {

const QStringList kMemberPatterns = {QStringLiteral("*.xhtml"), QStringLiteral("*.htm"),
                                     QStringLiteral("*.html"), QStringLiteral("*.xml")};

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
            !lower.contains(QLatin1String("meta-inf")))
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

UnpackOutcome EntpackeDieODT(const QString& path, UnpackEnvironment& environment) {
    const QString unpackFolder = platform::unpackDirectory(environment.programDirectory);
    if (!QFileInfo(unpackFolder).isDir())
        return UnpackOutcome::NoUnpackFolder;
    const QString container = containerName(path);
    const auto nativePath = environment.drives->toNative(path);
    environment.context->yield();
    TShellZip archive;
    archive.setMemberSizeCap(environment.memberSizeCap);
    if (!nativePath || !archive.open(*nativePath))
        return UnpackOutcome::Unreadable;
    const QString subFolder = chooseSubFolder(archive.topLevelListing(container));
    QList<int> members;
    for (const QString& pattern : kMemberPatterns)
        archive.findFiles(subFolder, pattern, true, members);
    if (members.isEmpty()) {
        for (const QString& pattern : kMemberPatterns)
            archive.findFiles(QString(), pattern, true, members);
    }

    const QStringList header = database::documentBlockHeaderLines(path);
    for (qsizetype i = 0; i < 3; ++i)
        environment.writer->appendLine(header.at(i));
    ++*environment.indexedDocuments;
    for (qsizetype i = 3; i < header.size(); ++i)
        environment.writer->appendLine(header.at(i));
    if (environment.caption)
        environment.caption(QString::number(*environment.indexedDocuments) +
                            QStringLiteral("  Datei:  ") + path);

    // Member paths as the skip rules see them: below the unpack folder with
    // "/" separators.
    ArchiveMembers source(archive, QDir::fromNativeSeparators(unpackFolder), members);
    LoadXMLDocument(source, *environment.writer, *environment.context, environment.splitLimit);
    return UnpackOutcome::Indexed;
}

} // namespace indexing
