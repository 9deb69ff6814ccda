#pragma once

// Runs of the index over a drive and a program directory of their own, and
// everything a run leaves behind and says, for comparing runs.
#include "support/platform_doubles.h"
#include "test_support.h"

#include "database/part_files.h"
#include "index_messages.h"
#include "indexing/index_run.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace runfixture {

using testsupport::readAll;
using testsupport::writeAll;

inline const QByteArray kDecl = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

inline QString fixture(const QString& name) {
    return qEnvironmentVariable("TROVEX_FIXTURES") + "/indexing/" + name;
}

// Everything a run leaves behind and everything it said, in order.
struct Outcome {
    bool ok = false;
    QByteArray text;
    QByteArray documentList;
    QByteArray log;
    QList<QByteArray> parts;
    QStringList events; // "caption: ...", "status: ...", "notice: ...", "information: ..."
    QStringList unreadable;
    QStringList passwordProtected;

    bool operator==(const Outcome&) const = default;
};

// Message boxes go into the same list as everything else the run says.
class EventPrompts final : public platform::Prompts {
public:
    explicit EventPrompts(QStringList& events)
        : events_(events) {}

protected:
    bool show(Kind kind, const QString& text, const QString&) override {
        static const char* const prefixes[] = {
            "warning: ", "information: ", "confirm: ", "plain: ", "error: "};
        events_.append(QString::fromLatin1(prefixes[static_cast<int>(kind)]) + text);
        return true;
    }

private:
    QStringList& events_;
};

// Drive D: with the documents of the tests, and its drive file list.
class Drive {
public:
    Drive() { drives.setDrive(u'D', dir.path()); }

    QString native(const QString& windowsPath) const { return *drives.toNative(windowsPath); }

    void addDocument(const QString& windowsPath, const QByteArray& paragraphs) {
        QDir().mkpath(QFileInfo(native(windowsPath)).path());
        QVERIFY(testsupport::makeZip(
            native(windowsPath),
            {{"mimetype", "application/vnd.oasis.opendocument.text"},
             {"content.xml", kDecl + "<office:text>" + paragraphs + "</office:text>"}}));
    }
    void addContent(const QString& windowsPath, const QByteArray& contentXml) {
        QDir().mkpath(QFileInfo(native(windowsPath)).path());
        QVERIFY(testsupport::makeZip(native(windowsPath), {{"content.xml", contentXml}}));
    }
    void addFixture(const QString& windowsPath, const QString& name) {
        QDir().mkpath(QFileInfo(native(windowsPath)).path());
        QVERIFY(QFile::copy(fixture(name), native(windowsPath)));
    }
    void setModified(const QString& windowsPath, qint64 secondsSinceEpoch) {
        QFile file(native(windowsPath));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::fromSecsSinceEpoch(secondsSinceEpoch),
                                 QFileDevice::FileModificationTime));
    }

    QTemporaryDir dir;
    platform::DriveMap drives;
    QByteArray list; // the drive file list
};

// A program directory of its own, for one line of runs.
class Program {
public:
    Program() { QDir(dir.path()).mkpath("Datenbank/Temp/ZipTemp"); }
    QString path() const { return dir.path() + "/"; }
    QString database(const QString& file) const { return dir.path() + "/Datenbank/" + file; }

    // Gives the database text another time: the next run then cannot take
    // the database as unchanged, and goes through the cache document by
    // document.
    void touchDatabaseText() {
        QFile text(database("P_UTF8Dokument.txt"));
        QVERIFY(text.open(QIODevice::ReadWrite));
        QVERIFY(text.setFileTime(QDateTime::fromSecsSinceEpoch(1'600'000'000),
                                 QFileDevice::FileModificationTime));
    }

    Outcome run(const Drive& drive, int threads, qint64 splitLimit = indexing::kDefaultSplitLimit,
                const std::function<void(indexing::IndexRun&, const QString&)>& onCaption = {}) {
        writeAll(database("Haupt_Dateinamen_Liste_Laufwerk_D.txt"), drive.list);
        Outcome outcome;
        EventPrompts prompts(outcome.events);
        platform::RunContext context;
        indexing::IndexRun* current = nullptr;
        indexing::IndexProgress progress;
        progress.caption = [&](const QString& text) {
            // The merge names each part file while it is there: in the run's
            // own scratch folder, which goes with the run.
            const QString merging = QStringLiteral("Aufgeteilte Dateien zusammenfügen:  ");
            if (text.startsWith(merging))
                outcome.parts.append(readAll(text.mid(merging.size())));
            // The folder's name differs from run to run.
            outcome.events.append(
                "caption: " +
                QString(text)
                    .replace(QDir::toNativeSeparators(dir.path()), "<P>")
                    .replace(QRegularExpression(QStringLiteral("Lauf-[0-9a-f-]+[/\\\\]")),
                             QString()));
            if (onCaption && current)
                onCaption(*current, text);
        };
        progress.status = [&](const QString& text) { outcome.events.append("status: " + text); };
        progress.notice = [&](const QString& text) { outcome.events.append("notice: " + text); };
        progress.message = testsupport::messagesTo(prompts);
        indexing::IndexRun run(path(), drive.drives, settings, context, progress);
        current = &run;
        run.setThreads(threads);
        run.setSplitLimit(splitLimit);
        run.setClock([] { return qint64(5000); });
        outcome.ok = run.run({"P", "D:\\Texte", "*.odt *.docx *.epub", false});
        keptUnchanged = run.keptUnchangedDatabase();
        outcome.unreadable = run.unreadableDocuments();
        outcome.passwordProtected = run.passwordProtectedDocuments();
        outcome.text = readAll(database("P_UTF8Dokument.txt"));
        outcome.documentList = readAll(database("P.dat"));
        outcome.log = readAll(database("P.log"));
        return outcome;
    }

    QTemporaryDir dir;
    testsupport::MemorySettingsStore settings;
    bool keptUnchanged = false; // the last run wrote the log only
};

// An OpenDocument file saved with a password: its manifest says how
// content.xml was encrypted, and content.xml holds ciphertext.
inline const testsupport::Members kEncryptedOdt = {
    {"mimetype", "application/vnd.oasis.opendocument.text"},
    {"content.xml", "\x9c\x3f\xd2\x11Geheimtext?\x8e"},
    {"META-INF/manifest.xml",
     kDecl + "<manifest:manifest><manifest:file-entry manifest:full-path=\"content.xml\" "
             "manifest:media-type=\"text/xml\"><manifest:encryption-data "
             "manifest:checksum-type=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0#sha256-"
             "1k\"/></manifest:file-entry></manifest:manifest>"}};

// A Word file saved with a password: an OLE compound file (its signature,
// then its directory naming the stream "EncryptedPackage"), not a ZIP.
inline QByteArray passwordProtectedWordFile() {
    QByteArray file("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    file.append(1024, '\0');
    for (const char c : QByteArrayView("EncryptedPackage"))
        file.append(c).append('\0');
    file.append(512, '\x5a');
    return file;
}

inline QByteArray paragraphs(const QByteArray& word, int count) {
    QByteArray out;
    for (int i = 0; i < count; ++i)
        out += "<text:p>" + word + " Absatz " + QByteArray::number(i) +
               " mit \xC3\xA4 und \xE2\x82\xAC</text:p>";
    return out;
}

// The fixtures, generated documents of many sizes, one that will be split,
// a broken container, two documents saved with a password and a listed
// document that is not there.
inline void fillCorpus(Drive& drive) {
    QByteArray list = "D:\\Texte\\libreoffice.odt\r\n";
    drive.addFixture("D:\\Texte\\libreoffice.odt", "libreoffice.odt");
    for (const char* name :
         {"libreoffice.docx", "pandoc.docx", "pandoc.epub", "pandoc.odt", "style_script.epub"}) {
        drive.addFixture(QString("D:\\Texte\\") + name, name);
        list += "\" " + QByteArray(name) + "\r\n";
    }
    for (int i = 0; i < 24; ++i) {
        const QString name = QString("d%1.odt").arg(i, 2, 10, QChar('0'));
        drive.addDocument("D:\\Texte\\Ordner\\" + name,
                          paragraphs("Dokument " + QByteArray::number(i), 1 + (i * 7) % 40));
        list += (i == 0 ? "D:\\Texte\\Ordner\\" : "\" ") + name.toUtf8() + "\r\n";
        if (i == 9) {
            drive.addDocument("D:\\Texte\\Ordner\\gross.odt", paragraphs("Gross", 400));
            list += "\" gross.odt\r\n";
            writeAll(drive.native("D:\\Texte\\Ordner\\Kaputt.docx"), "PK\3\4 kein Container");
            list += "\" Kaputt.docx\r\n\" fehlt.odt\r\n";
            QVERIFY(
                testsupport::makeZip(drive.native("D:\\Texte\\Ordner\\Geheim.odt"), kEncryptedOdt));
            writeAll(drive.native("D:\\Texte\\Ordner\\Geheim.docx"), passwordProtectedWordFile());
            list += "\" Geheim.docx\r\n\" Geheim.odt\r\n";
        }
    }
    drive.list = list;
}

// The part files of the split document and the documents after it.
inline constexpr qint64 kSmallSplitLimit = 4000;

} // namespace runfixture
