#include "unreadable_documents.h"

namespace {

// More would make the box taller than the screen.
constexpr qsizetype kListedPaths = 20;

} // namespace

QString unreadableDocumentsMessage(const QStringList& paths) {
    QStringList lines{QStringLiteral("Diese Dokumente konnten nicht gelesen werden (beschädigt "
                                     "oder kein ZIP-Container):")};
    lines += paths.mid(0, kListedPaths);
    if (paths.size() > kListedPaths)
        lines.append(QStringLiteral("… und ") + QString::number(paths.size() - kListedPaths) +
                     QStringLiteral(" weitere."));
    return lines.join(QStringLiteral("\r\n"));
}
