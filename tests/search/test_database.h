#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A database in the exact on-disk format, written by the tests themselves:
// the document list with its header and the database text with one block
// per document (three blank lines, "#" + path, underline, text lines).
struct TestDocument {
    QString path; // Windows form, e.g. D:\Texte\Brief.odt
    QStringList lines;
};

QByteArray databaseTextBytes(const QList<TestDocument>& documents);
void writeTestDatabase(const QString& programDirectory, const QString& name, const QString& folder,
                       const QList<TestDocument>& documents);
QByteArray readAll(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
