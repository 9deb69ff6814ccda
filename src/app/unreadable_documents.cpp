#include "unreadable_documents.h"

namespace app {

namespace {

// More would make the box taller than the screen.
constexpr qsizetype kListedPaths = 20;

struct Group {
    indexing::SkipReason reason;
    const char16_t* heading;
};

// One row per reason, in the order the box shows them.
constexpr Group kGroups[] = {
    {indexing::SkipReason::Damaged,
     u"Diese Dokumente konnten nicht gelesen werden (beschädigt oder kein ZIP-Container):"},
    {indexing::SkipReason::Gone, u"Diese Dokumente gibt es nicht mehr (nach dem Erstellen der "
                                 u"Dateiliste gelöscht oder verschoben):"},
    {indexing::SkipReason::NotReadable,
     u"Für diese Dokumente fehlt die Leseberechtigung, oder sie sind keine normalen Dateien:"},
    {indexing::SkipReason::PasswordProtected,
     u"Diese Dokumente sind passwortgeschützt (ihr Text kann nicht gelesen werden):"},
};

QString groupMessage(const QString& heading, const QStringList& paths) {
    QStringList lines{heading};
    lines += paths.mid(0, kListedPaths);
    if (paths.size() > kListedPaths)
        lines.append(QStringLiteral("… und ") + QString::number(paths.size() - kListedPaths) +
                     QStringLiteral(" weitere."));
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

QString unreadableDocumentsMessage(const QStringList& paths) {
    return groupMessage(QString::fromUtf16(kGroups[0].heading), paths);
}

QString skippedDocumentsMessage(const QList<indexing::SkippedDocument>& documents) {
    QStringList groups;
    for (const Group& group : kGroups) {
        QStringList paths;
        for (const indexing::SkippedDocument& document : documents) {
            if (document.reason == group.reason)
                paths.append(document.path);
        }
        if (!paths.isEmpty())
            groups.append(groupMessage(QString::fromUtf16(group.heading), paths));
    }
    return groups.join(QStringLiteral("\r\n\r\n"));
}

} // namespace app
