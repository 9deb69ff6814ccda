#include "viewer_test_support.h"

#include <QFile>

namespace viewertest {

bool writeBytes(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

QByteArray readBytes(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<QByteArray> pageTexts(const viewer::PagedText& view) {
    QList<QByteArray> texts;
    for (const viewer::PageLine& line : view.pageLines())
        texts.append(line.bytes);
    return texts;
}

viewer::WrapFunction wrapEvery(qsizetype columns) {
    return [columns](QStringView text) {
        QList<qsizetype> breaks;
        for (qsizetype at = columns; at < text.size(); at += columns)
            breaks.append(at);
        return breaks;
    };
}

QString TestFiles::file(const char* name, const QByteArray& bytes) {
    const QString path = this->path(name);
    if (!writeBytes(path, bytes))
        qFatal("cannot write %s", name);
    return path;
}

} // namespace viewertest
