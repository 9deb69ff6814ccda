#include "support/platform_doubles.h"
#include "viewer_test_support.h"

#include "platform/settings_store.h"
#include "viewer/bookmarks.h"
#include "viewer/find_state.h"
#include "viewer/mirror_text.h"
#include "viewer/paged_text.h"
#include "viewer/position_list_builder.h"
#include "viewer/scroll_mapping.h"
#include "viewer/title_display.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using viewer::PagedText;

namespace {

constexpr qint64 kFourGiB = qint64(1) << 32;
constexpr qint64 kTailAt = kFourGiB + 100;
// The only text of the file, after more than 4 GiB of holes (NUL bytes).
const QByteArray kTail = "\r\n#D:\\Texte\\Gro\xC3\x9F.odt\r\n================\r\n"
                         "Das \xC3\xA4lteste Haus am See\r\nEnde\r\n";

} // namespace

// Offsets beyond 4 GiB in a sparse file: QFile::resize makes the holes, so
// the file costs no disk space and the test reads only the pages it touches.
class LargeFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString path_;

private Q_SLOTS:
    void initTestCase() {
        path_ = dir_.filePath(QStringLiteral("gross_UTF8Dokument.txt"));
        QFile file(path_);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(kTailAt));
        QVERIFY(file.seek(kTailAt));
        QCOMPARE(file.write(kTail), kTail.size());
    }

    void aHitBeyondFourGiBIsFoundShownAndMarked() {
        viewer::Search search;
        viewer::FindState state;
        state.changeText(u"see");
        QVERIFY(search.setFileName(path_));
        QVERIFY(search.findFirst(state.text, kFourGiB - 16));
        const qint64 lineStart = kTailAt + 2 + 21 + 18;
        const qint64 hit = lineStart + 21;
        QCOMPARE(search.foundStart(), hit);

        PagedText view;
        QVERIFY(view.open(path_));
        view.setRowsPerPage(3);
        view.bringIntoView(hit);
        QCOMPARE(view.top(), lineStart);
        QCOMPARE(viewertest::pageTexts(view),
                 (QList<QByteArray>{"Das \xC3\xA4lteste Haus am See", "Ende"}));
        const auto selection = viewer::mirrorSelectionOfRange(view.pageLines(), hit, 3);
        QVERIFY(selection.has_value());
        QCOMPARE(*selection, (viewer::MirrorSelection{20, 3}));
        QCOMPARE(viewer::mirrorTextOfPage(view.pageLines()).mid(20, 3), QStringLiteral("See"));
    }

    void pagingAndTheScrollBarAcrossTheHoles() {
        PagedText view;
        QVERIFY(view.open(path_));
        view.setRowsPerPage(4);
        QCOMPARE(view.size(), kTailAt + kTail.size());
        view.scrollToEnd();
        QCOMPARE(viewertest::pageTexts(view).last(), QByteArray("Ende"));
        QCOMPARE(viewertest::pageTexts(view).first(), QByteArray("#D:\\Texte\\Gro\xC3\x9F.odt"));
        QCOMPARE(view.top(), kTailAt + 2);
        QVERIFY(view.lineUp());
        // Lines of NULs are cut at the longest line, counted from the file start.
        QCOMPARE(view.top(), kTailAt / viewer::kLongestLine * viewer::kLongestLine);

        const viewer::ScrollMapping mapping(view.lastPageTop());
        QCOMPARE(mapping.shift(), 2);
        QCOMPARE(mapping.valueForTop(0), 0);
        QVERIFY(mapping.isEnd(mapping.valueForTop(view.lastPageTop())));
        const int middle = mapping.maximum() / 2;
        view.scrollTo(mapping.offsetForValue(middle));
        QVERIFY(view.top() > kFourGiB / 2 - viewer::kLongestLine);
        QVERIFY(view.top() <= kFourGiB / 2 + 8);
        QVERIFY(mapping.valueForTop(view.top()) <= middle);
        QVERIFY(mapping.valueForTop(view.top()) > middle - (viewer::kLongestLine >> 2));
    }

    // A database whose second document starts beyond 4 GiB: the position
    // list places it there, the title names it there, and a bookmark there
    // is stored and brings the viewer back to it.
    void positionsTitleAndBookmarkBeyondFourGiB() {
        QTemporaryDir program;
        QVERIFY(QDir(program.path()).mkpath(QStringLiteral("Datenbank")));
        const QString data = program.path() + QStringLiteral("/Datenbank/");
        QFile list(data + QStringLiteral("Gross.dat"));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write("PFAD_UND_ENDUNGEN= D:\\Texte *.odt    \r\n");
        list.close();
        const QByteArray head =
            " \r\n \r\n \r\n#D:\\Texte\\Vorne.odt\r\n==================\r\nVorn\r\n";
        QFile text(data + QStringLiteral("Gross_UTF8Dokument.txt"));
        QVERIFY(text.open(QIODevice::ReadWrite));
        QCOMPARE(text.write(head), head.size());
        QVERIFY(text.resize(kTailAt));
        QVERIFY(text.seek(kTailAt));
        QCOMPARE(text.write(kTail), kTail.size());
        text.close();

        const viewer::PositionListBuild build = viewer::buildPositionList(
            program.path() + QLatin1Char('/'), QStringLiteral("Gross"), 0, 40);
        QCOMPARE(build.kind, viewer::PositionListBuild::Built);
        QCOMPARE(build.entries.size(), 2);
        QCOMPARE(build.entries.first(), (viewer::PositionEntry{0, "#D:\\Texte\\Vorne.odt"}));
        const qint64 tailTop = build.entries.last().top;
        QVERIFY(tailTop > kFourGiB);
        QVERIFY(tailTop <= kTailAt + 2);
        QCOMPARE(build.loaded.size(), 2);
        QCOMPARE(build.loaded.offsetAt(1), tailTop);
        QCOMPARE(viewer::titleCaption(tailTop + 10, build.loaded, false,
                                      QLocale(QLocale::German, QLocale::Germany)),
                 QLocale(QLocale::German, QLocale::Germany).toString(tailTop + 10) +
                     QStringLiteral("  \"Gro\u00DF.odt\""));

        testsupport::MemorySettingsStore settings;
        const qint64 pathLine = kTailAt + 2;
        viewer::writeBookmark(settings, QStringLiteral("Gross"), pathLine);
        QCOMPARE(settings.read(QStringLiteral("Lesezeichen_Gross")), QStringLiteral("4294967398"));
        PagedText view;
        QVERIFY(view.open(data + QStringLiteral("Gross_UTF8Dokument.txt")));
        view.setRowsPerPage(4);
        view.scrollTo(viewer::readBookmark(settings, QStringLiteral("Gross")));
        QCOMPARE(view.top(), pathLine);
        QCOMPARE(viewertest::pageTexts(view).first(), QByteArray("#D:\\Texte\\Gro\xC3\x9F.odt"));
    }
};

std::unique_ptr<QObject> makeLargeFileTest() {
    return std::make_unique<LargeFileTest>();
}

#include "large_file_test.moc"
