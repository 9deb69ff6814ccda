#include "test_database.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QByteArray databaseTextBytes(const QList<TestDocument>& documents) {
    QByteArray text;
    for (const TestDocument& document : documents) {
        text += " \r\n \r\n \r\n";
        text += "#" + document.path.toUtf8() + "\r\n";
        text += QByteArray(document.path.size(), '=') + "\r\n";
        for (const QString& line : document.lines)
            text += line.toUtf8() + "\r\n";
    }
    return text;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeTestDatabase(const QString& programDirectory, const QString& name, const QString& folder,
                       const QList<TestDocument>& documents) {
    // ASCII paths only: their double UTF-8 form is the text itself.
    QByteArray list = "PFAD_UND_ENDUNGEN= " + folder.toUtf8() + " *.odt    \r\n";
    for (const TestDocument& document : documents)
        list += document.path.toUtf8() + "\r\n";
    const QString data = programDirectory + QStringLiteral("/Datenbank/");
    writeBytes(data + name + QStringLiteral(".dat"), list);
    writeBytes(data + name + QStringLiteral("_UTF8Dokument.txt"), databaseTextBytes(documents));
}
