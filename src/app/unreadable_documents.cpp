#include "unreadable_documents.h"

namespace {

// More would make the box taller than the screen.
constexpr qsizetype kListedPaths = 20;

QStringList listed(const QString& heading, const QStringList& paths) {
    QStringList lines{heading};
    lines += paths.mid(0, kListedPaths);
    if (paths.size() > kListedPaths)
        lines.append(QStringLiteral("… und ") + QString::number(paths.size() - kListedPaths) +
                     QStringLiteral(" weitere."));
    return lines;
}

} // namespace

QString unreadableDocumentsMessage(const QStringList& paths, const QStringList& passwordProtected) {
    QStringList lines;
    if (!paths.isEmpty())
        lines += listed(QStringLiteral("Diese Dokumente konnten nicht gelesen werden (beschädigt "
                                       "oder kein ZIP-Container):"),
                        paths);
    if (!passwordProtected.isEmpty()) {
        if (!lines.isEmpty())
            lines.append(QString());
        lines += listed(QStringLiteral("Diese Dokumente sind passwortgeschützt (ihr Text kann "
                                       "nicht gelesen werden):"),
                        passwordProtected);
    }
    return lines.join(QStringLiteral("\r\n"));
}
