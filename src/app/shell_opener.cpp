#include "shell_opener.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopShellOpener::open(const QString& nativePath) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(nativePath));
}
