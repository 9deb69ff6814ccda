#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace fuzzing {

QString scratchFolder() {
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/trovex-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        std::fprintf(stderr, "no scratch folder below %s\n", qPrintable(QDir::tempPath()));
        std::abort();
    }
    return folder.path();
}

QString scratchSubFolder(const QString& relativePath) {
    const QString path = scratchFolder() + QLatin1Char('/') + relativePath;
    if (!QDir().mkpath(path)) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(path));
        std::abort();
    }
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

QString writeScratchFile(const QString& relativePath, QByteArrayView bytes) {
    const QString path = scratchFolder() + QLatin1Char('/') + relativePath;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::abort();
    }
    return path;
}

void require(bool holds, const char* promise) {
    if (holds)
        return;
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
}

} // namespace fuzzing
