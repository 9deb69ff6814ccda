#include "support/popup_entry.h"
#include "widgets/document_view.h"

#include "viewer/line_index.h"
#include "viewer/mirror_text.h"

#include <QFile>
#include <QMenu>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using widgets::DocumentView;

namespace {

using testsupport::popupEntry;

constexpr qint64 kFourGiB = qint64(1) << 32;

bool writeBytes(const QString& fileName, const QByteArray& bytes) {
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}

// "Zeile 000" ... "Zeile 199", 11 bytes each with CR LF.
QByteArray numberedLines(int count) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += "Zeile " + QByteArray::number(i).rightJustified(3, '0') + "\r\n";
    return text;
}

// What the hook told of the last page.
struct HookRecord {
    int before = 0;
    int after = 0;
    qint64 top = -1;
    QStringList lines;

    void connectTo(DocumentView& view) {
        QObject::connect(&view, &DocumentView::pageAboutToBeDrawn, [this](qint64 pageTop) {
            ++before;
            top = pageTop;
            lines.clear();
        });
        QObject::connect(&view, &DocumentView::lineDrawn,
                         [this](const QString& line) { lines.append(line); });
        QObject::connect(&view, &DocumentView::pageDrawn, [this] { ++after; });
    }
};

QStringList drawnTexts(const DocumentView& view) {
    QStringList texts;
    for (const viewer::PageLine& line : view.pageLines())
        texts.append(QString::fromUtf8(line.bytes));
    return texts;
}

} // namespace

class DocumentViewTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString lines_;

    void showSized(DocumentView& view, int rows) {
        view.resize(300, rows * view.fontMetrics().lineSpacing() + 2 * view.frameWidth());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }

private Q_SLOTS:
    void initTestCase() {
        lines_ = dir_.filePath(QStringLiteral("zeilen.txt"));
        QVERIFY(writeBytes(lines_, numberedLines(200)));
    }

    void pagingWithKeysOwnAndForwarded() {
        DocumentView view;
        QCOMPARE(view.objectName(), QStringLiteral("Viewer"));
        showSized(view, 10);
        QVERIFY(view.openFile(lines_));
        const int rows = view.rowsPerPage();
        QVERIFY(rows >= 9);
        QCOMPARE(view.topOffset(), 0);
        QTest::keyClick(&view, Qt::Key_PageDown);
        QCOMPARE(view.topOffset(), rows * 11);
        QVERIFY(view.handleNavigationKey(Qt::Key_Down));
        QCOMPARE(view.topOffset(), (rows + 1) * 11);
        QVERIFY(view.handleNavigationKey(Qt::Key_PageUp));
        QCOMPARE(view.topOffset(), 11);
        QVERIFY(view.handleNavigationKey(Qt::Key_Up));
        QCOMPARE(view.topOffset(), 0);
        QVERIFY(view.handleNavigationKey(Qt::Key_End));
        QCOMPARE(drawnTexts(view).last(), QStringLiteral("Zeile 199"));
        QCOMPARE(view.topOffset(), (200 - rows) * 11);
        QTest::keyClick(&view, Qt::Key_Home);
        QCOMPARE(view.topOffset(), 0);
        QVERIFY(!view.handleNavigationKey(Qt::Key_Tab));
    }

    void theHookGetsExactlyTheDrawnLines() {
        DocumentView view;
        HookRecord hook;
        hook.connectTo(view);
        showSized(view, 6);
        QVERIFY(view.openFile(lines_));
        QCOMPARE(hook.before, 1);
        QCOMPARE(hook.after, 1);
        QCOMPARE(hook.top, 0);
        QCOMPARE(hook.lines, drawnTexts(view));
        QCOMPARE(hook.lines.size(), view.rowsPerPage());
        QCOMPARE(hook.lines.first(), QStringLiteral("Zeile 000"));

        view.scrollToOffset(50 * 11 + 4);
        QCOMPARE(hook.before, 2);
        QCOMPARE(hook.top, 50 * 11);
        QCOMPARE(hook.lines, drawnTexts(view));
        QCOMPARE(hook.lines.first(), QStringLiteral("Zeile 050"));

        // The same page again is not told again; a selection always is.
        view.scrollToOffset(50 * 11 + 8);
        QCOMPARE(hook.before, 2);
        view.selectRange(51 * 11, 5);
        QCOMPARE(hook.before, 3);
        QCOMPARE(hook.after, 3);
        QCOMPARE(hook.top, 50 * 11);
        // The told lines, joined as the mirror box holds them, carry the
        // caret of the selection where the selected bytes stand.
        const auto caret = viewer::mirrorSelectionOfRange(view.pageLines(), 51 * 11, 5);
        QVERIFY(caret.has_value());
        QCOMPARE(caret->start, 10);
        QCOMPARE(hook.lines.join(QLatin1Char('\n')).mid(caret->start, caret->length),
                 QStringLiteral("Zeile"));

        // Opening the file that is open does nothing; an empty name closes.
        QVERIFY(view.openFile(lines_));
        QCOMPARE(view.topOffset(), 50 * 11);
        QCOMPARE(hook.before, 3);
        QVERIFY(view.openFile(QString()));
        QVERIFY(!view.isOpen());
        QVERIFY(view.pageLines().isEmpty());
        QVERIFY(!view.openFile(dir_.filePath(QStringLiteral("fehlt.txt"))));
    }

    void aSelectedHitOffThePageBecomesTheTopLine() {
        DocumentView view;
        showSized(view, 8);
        QVERIFY(view.openFile(lines_));
        view.selectRange(3 * 11 + 6, 3); // on the page: the page stays
        QCOMPARE(view.topOffset(), 0);
        view.selectRange(120 * 11 + 6, 3);
        QCOMPARE(view.topOffset(), 120 * 11);
        QCOMPARE(view.selectedBytes(), QByteArray("120"));
        view.selectRange(7 * 11, 5); // above the page
        QCOMPARE(view.topOffset(), 7 * 11);
        QCOMPARE(view.verticalScrollBar()->value(), 7 * 11);
    }

    void theScrollBarStandsForBytesBeyondFourGiB() {
        const QString path = dir_.filePath(QStringLiteral("gross.txt"));
        {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(kFourGiB + 100));
            QVERIFY(file.seek(kFourGiB + 100));
            QVERIFY(file.write("\r\nEnde\r\n") == 8);
        }
        DocumentView view;
        showSized(view, 5);
        QVERIFY(view.openFile(path));
        QScrollBar* bar = view.verticalScrollBar();
        QVERIFY(view.showsScrollBar());
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), 0);

        // The middle of the bar is the middle of the file, give or take a
        // line of NULs (the lowest bits of the offset are not in the bar).
        bar->setValue(bar->maximum() / 2);
        QVERIFY(qAbs(view.topOffset() - view.fileSize() / 2) < viewer::kLongestLine + 64);

        bar->setValue(bar->maximum());
        QCOMPARE(drawnTexts(view).last(), QStringLiteral("Ende"));
        QVERIFY(view.topOffset() > kFourGiB - viewer::kLongestLine);

        QVERIFY(view.handleNavigationKey(Qt::Key_Home));
        QCOMPARE(bar->value(), 0);
        QVERIFY(view.handleNavigationKey(Qt::Key_End));
        QCOMPARE(bar->value(), bar->maximum());
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        QCOMPARE(view.topOffset(), 0);
    }

    void popupCommands() {
        DocumentView view;
        showSized(view, 8);
        QVERIFY(view.openFile(lines_));
        const int lineSpacing = view.fontMetrics().lineSpacing();
        QMenu* menu = view.preparePopupMenu(QPoint(10, 2 * lineSpacing + 1));
        QAction* transfer = popupEntry(menu, QStringLiteral("Text Übertragen"));
        QAction* selectLine = popupEntry(menu, QStringLiteral("Zeile auswählen"));
        QVERIFY(transfer && selectLine);
        QVERIFY(!transfer->isEnabled());
        QVERIFY(selectLine->isEnabled());

        selectLine->trigger();
        QCOMPARE(view.selectionStart(), 2 * 11);
        QCOMPARE(view.selectedBytes(), QByteArray("Zeile 002"));

        QSignalSpy transferred(&view, &DocumentView::textTransferRequested);
        menu = view.preparePopupMenu(QPoint(10, 1));
        QVERIFY(transfer->isEnabled());
        transfer->trigger();
        QCOMPARE(transferred.size(), 1);
        QCOMPARE(transferred.first().first().toString(), QStringLiteral("Zeile 002"));

        // Below the last row there is no line to select.
        QVERIFY(writeBytes(dir_.filePath(QStringLiteral("kurz.txt")), "\xC3\x84rger\r\n"));
        QVERIFY(view.openFile(dir_.filePath(QStringLiteral("kurz.txt"))));
        menu = view.preparePopupMenu(QPoint(10, 5 * lineSpacing));
        QVERIFY(!selectLine->isEnabled());
        QVERIFY(!transfer->isEnabled());
        view.selectRange(0, 2);
        view.preparePopupMenu(QPoint(10, 1));
        transfer->trigger();
        QCOMPARE(transferred.last().first().toString(), QStringLiteral("Ä"));
    }

    void wordWrapAndFontSize() {
        const QString path = dir_.filePath(QStringLiteral("lang.txt"));
        QByteArray longLine;
        for (int i = 0; i < 60; ++i)
            longLine += "Wort" + QByteArray::number(i) + ' ';
        QVERIFY(writeBytes(path, longLine + "\r\nkurz\r\n"));
        DocumentView view;
        showSized(view, 10);
        QVERIFY(view.openFile(path));
        QVERIFY(view.wordWrap());
        const QList<viewer::PageLine> wrapped = view.pageLines();
        QVERIFY(wrapped.size() > 2);
        QCOMPARE(wrapped[1].start, wrapped[0].next); // rows of one line
        QVERIFY(wrapped[0].bytes.startsWith("Wort0 Wort1"));

        view.setWordWrap(false);
        QCOMPARE(drawnTexts(view).size(), 2);
        QCOMPARE(drawnTexts(view).last(), QStringLiteral("kurz"));

        const int rowsBefore = view.rowsPerPage();
        view.setFontSize(view.font().pointSize() * 2);
        QVERIFY(view.rowsPerPage() < rowsBefore);
    }
};

QTEST_MAIN(DocumentViewTest)
#include "document_view_test.moc"
