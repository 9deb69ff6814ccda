// The search window's viewer: loading the text and the sorted list, the
// find with its caret, and what the mirror box does with mouse and keys.
#include "support/platform_doubles.h"
#include "support/popup_entry.h"
#include "viewer_bench.h"

#include <QCheckBox>
#include <QDir>
#include <QMenu>
#include <QTextBlock>

using testsupport::RecordingPrompts;

namespace {

using testsupport::popupEntry;

const QByteArray kThreeDocuments = " \r\n \r\n \r\n#D:\\Brief.odt\r\n=============\r\n"
                                   "Das HAUS am See und das Haus im Wald.\r\n"
                                   " \r\n \r\n \r\n#D:\\\xC3\x84rzte.odt\r\n=============\r\n"
                                   "Die \xC3\x84rzte und die \xC3\xA4rzte.\r\n";

qint64 offsetOf(const QByteArray& text, const QByteArray& part, int occurrence = 0) {
    qint64 at = -1;
    for (int i = 0; i <= occurrence; ++i)
        at = text.indexOf(part, at + 1);
    return at;
}

} // namespace

class ViewerWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void loadingShowsTheTextAndItsState_data();
    void loadingShowsTheTextAndItsState();
    void loadingAgainKeepsTheDocumentLoaded();
    void theSortedListTakesThePlaceOfTheText();
    void findSelectsEachHitInViewerAndMirror_data();
    void findSelectsEachHitInViewerAndMirror();
    void aChangedFindTextStartsAtTheBeginning();
    void aFileThatCannotBeOpenedIsReported();
    void aHitBeyondFourGiBIsSelectedAndItsCaretPlaced();
    void doubleClickPutsTheLineIntoTheLeftBar_data();
    void doubleClickPutsTheLineIntoTheLeftBar();
    void popupEntriesNeedASelection();
    void popupEntriesMoveTheSelection_data();
    void popupEntriesMoveTheSelection();
    void keysOfTheMirrorBox();
    void viewerTransferAppendsToTheLeftBar();
    void mirrorBoxLiesOverTheViewer_data();
    void mirrorBoxLiesOverTheViewer();
    void fontSizeAndHintReachTheMirrorBox();
    void resetLetsGoOfTheDocument();
};

void ViewerWindowTest::loadingShowsTheTextAndItsState_data() {
    QTest::addColumn<QByteArray>("text"); // "-" for no file
    QTest::addColumn<bool>("sortedList");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("loaded");
    QTest::newRow("three bytes") << QByteArray("abc") << false
                                 << QStringLiteral("ODT-Dokument enthält keine Einträge:") << true;
    QTest::newRow("a database text")
        << kThreeDocuments << true << QStringLiteral("DB: \"Texte\"") << true;
    QTest::newRow("no text file") << QByteArray("-") << true << QStringLiteral("Lade Dokument")
                                  << false;
}

void ViewerWindowTest::loadingShowsTheTextAndItsState() {
    QFETCH(QByteArray, text);
    QFETCH(bool, sortedList);
    QFETCH(QString, caption);
    QFETCH(bool, loaded);
    ViewerBench bench;
    if (text != "-")
        bench.writeText(text);
    if (sortedList)
        bench.writeDatabaseFile(QStringLiteral("_Phrasen_Woerter_Utf8Liste.txt"), "Haus\r\n");
    {
        // The history lies beside the program, not in Datenbank.
        QFile history(bench.programDirectory + QStringLiteral("Texte_Suchwoerterliste.txt"));
        QVERIFY(history.open(QIODevice::WriteOnly));
        history.write(QByteArray("\xFF\xFEH\0a\0u\0s\0\r\0\n\0", 14));
    }
    QString captionDuringPause;
    bench.onPause = [&] { captionDuringPause = bench.label("Label8"); };

    bench.form->onLoadTextClicked();
    QCOMPARE(bench.pauses, QList<int>{100});
    QCOMPARE(captionDuringPause, QStringLiteral("Lade Dokument"));
    QCOMPARE(bench.label("Label8"), caption);
    QCOMPARE(bench.form->documentLoaded(), loaded);
    QCOMPARE(bench.view()->isOpen(), loaded);
    if (loaded) {
        QString page = QString::fromUtf8(text).remove(QLatin1Char('\r'));
        if (page.endsWith(QLatin1Char('\n')))
            page.chop(1);
        QCOMPARE(bench.mirror()->toPlainText(), page);
    }
    QCOMPARE(bench.button("ZeilenAlsListeSortieren")->isEnabled(), loaded && sortedList);
    QVERIFY(bench.button("LesezeichenBtn")->isVisibleTo(bench.form.get()));
    QCOMPARE(bench.form->history(), QStringList{QStringLiteral("Haus")});
    // Without a find text "Suchen" waits for one.
    QVERIFY(!bench.button("WeiterSuche")->isEnabled());
    QVERIFY(bench.prompts.shown.isEmpty());
}

void ViewerWindowTest::loadingAgainKeepsTheDocumentLoaded() {
    ViewerBench bench;
    bench.writeText(numberedLines(300));
    bench.form->onLoadTextClicked();
    bench.view()->handleNavigationKey(Qt::Key_PageDown);
    const qint64 top = bench.view()->topOffset();
    QVERIFY(top > 0);
    bench.form->onLoadTextClicked();
    QVERIFY(bench.form->documentLoaded());
    QCOMPARE(bench.view()->topOffset(), top);
    QVERIFY(bench.mirror()->toPlainText().startsWith(QStringLiteral("Zeile ")));
    bench.find(QStringLiteral("Zeile 299"));
    QCOMPARE(bench.view()->selectionStart(), qint64(299 * 11));
}

void ViewerWindowTest::theSortedListTakesThePlaceOfTheText() {
    ViewerBench bench;
    // Umlauts as written (a new user folds them), so the find below tells
    // the list's "Ärzte" from "ärzte".
    bench.settings.write(QStringLiteral("Umlaute_Gross_Klein_egal"), QStringLiteral("0"));
    bench.writeText(kThreeDocuments);
    bench.form->onLoadTextClicked();
    // Without the list file nothing changes.
    bench.form->onLoadSortedListClicked();
    QCOMPARE(bench.view()->fileName(),
             QDir::toNativeSeparators(bench.databaseFile(QStringLiteral("_UTF8Dokument.txt"))));

    bench.writeDatabaseFile(QStringLiteral("_Phrasen_Woerter_Utf8Liste.txt"),
                            "Haus\r\nHaus am See\r\n\xC3\x84rzte\r\n");
    bench.form->onLoadSortedListClicked();
    QVERIFY(bench.form->sortedListShown());
    QVERIFY(bench.form->documentLoaded());
    QCOMPARE(bench.label("Label8"), QStringLiteral("Sortierte Dokumentenliste von DB: \"Texte\""));
    QCOMPARE(bench.label("Label2"), QString());
    QVERIFY(!bench.button("LesezeichenBtn")->isVisibleTo(bench.form.get()));
    QCOMPARE(bench.mirror()->toPlainText(), QStringLiteral("Haus\nHaus am See\nÄrzte"));
    // The find searches the list now.
    bench.find(QStringLiteral("ärzte"));
    QCOMPARE(bench.view()->selectionStart(), qint64(-1));
    bench.find(QStringLiteral("Ärzte"));
    QCOMPARE(bench.view()->selectionStart(), qint64(19));

    bench.form->onLoadTextClicked();
    QVERIFY(!bench.form->sortedListShown());
    QCOMPARE(bench.label("Label8"), QStringLiteral("DB: \"Texte\""));
    QVERIFY(bench.button("LesezeichenBtn")->isVisibleTo(bench.form.get()));
}

void ViewerWindowTest::findSelectsEachHitInViewerAndMirror_data() {
    QTest::addColumn<QString>("findText");
    QTest::addColumn<QString>("foldUmlauts"); // Umlaute_Gross_Klein_egal
    QTest::addColumn<QList<qint64>>("hits");
    const auto at = [](const char* part, int occurrence = 0) {
        return offsetOf(kThreeDocuments, part, occurrence);
    };
    QTest::newRow("ASCII letters fold")
        << QStringLiteral("haus") << QString() << QList<qint64>{at("HAUS"), at("Haus")};
    QTest::newRow("an umlaut where it stands")
        << QStringLiteral("Ärzte") << QStringLiteral("0")
        << QList<qint64>{at("\xC3\x84rzte"), at("\xC3\x84rzte", 1)};
    QTest::newRow("an umlaut in the other case, option off")
        << QStringLiteral("ärzte") << QStringLiteral("0") << QList<qint64>{at("\xC3\xA4rzte")};
    QTest::newRow("an umlaut in the other case, option on")
        << QStringLiteral("ärzte") << QStringLiteral("1")
        << QList<qint64>{at("\xC3\x84rzte"), at("\xC3\x84rzte", 1), at("\xC3\xA4rzte")};
}

void ViewerWindowTest::findSelectsEachHitInViewerAndMirror() {
    QFETCH(QString, findText);
    QFETCH(QString, foldUmlauts);
    QFETCH(QList<qint64>, hits);
    ViewerBench bench;
    if (!foldUmlauts.isEmpty())
        bench.settings.write(QStringLiteral("Umlaute_Gross_Klein_egal"), foldUmlauts);
    bench.writeText(kThreeDocuments);
    bench.form->onLoadTextClicked();
    const qint64 findLength = findText.toUtf8().size();
    for (qint64 hit : hits) {
        bench.form->setWindowTitle(QStringLiteral("Sortierung von: \"X\" läuft."));
        bench.find(findText);
        QCOMPARE(bench.form->windowTitle(), QString());
        QCOMPARE(bench.view()->selectionStart(), hit);
        QCOMPARE(bench.view()->selectionLength(), findLength);
        // The mirror box selects the same characters, wherever they stand on the page.
        const QString found = QString::fromUtf8(kThreeDocuments.mid(hit, findLength));
        QCOMPARE(bench.mirror()->selectedText(), found);
        QCOMPARE(bench.mirror()->textCursor().position(),
                 bench.mirror()->textCursor().selectionEnd());
        QCOMPARE(bench.form->focusWidget(), bench.mirror());
        QVERIFY(bench.button("WeiterSuche")->isEnabled());
    }
    QVERIFY(bench.pauses == QList<int>{100});

    // No further hit: "Suchen" flashes "-" for a second, then is back.
    QString captionDuringPause;
    bool enabledDuringPause = true;
    bench.onPause = [&] {
        captionDuringPause = bench.button("WeiterSuche")->text();
        enabledDuringPause = bench.button("WeiterSuche")->isEnabled();
    };
    bench.find(findText);
    QCOMPARE(bench.pauses, (QList<int>{100, 1000}));
    QCOMPARE(captionDuringPause, QStringLiteral("-"));
    QVERIFY(!enabledDuringPause);
    QCOMPARE(bench.button("WeiterSuche")->text(), QStringLiteral("Suchen"));
    QVERIFY(bench.button("WeiterSuche")->isEnabled());
    QVERIFY(bench.form->isEnabled());
    QVERIFY(bench.prompts.shown.isEmpty());
}

void ViewerWindowTest::aChangedFindTextStartsAtTheBeginning() {
    ViewerBench bench;
    bench.writeText(kThreeDocuments);
    bench.form->onLoadTextClicked();
    bench.find(QStringLiteral("Haus"));
    bench.find(QStringLiteral("Haus"));
    QCOMPARE(bench.view()->selectionStart(), offsetOf(kThreeDocuments, "Haus"));
    // Typed again, letter by letter: the same text starts from the top.
    bench.edit("TntEdit1")->setText(QStringLiteral("Hau"));
    bench.edit("TntEdit1")->setText(QStringLiteral("Haus"));
    QTest::keyClick(bench.edit("TntEdit1"), Qt::Key_Return);
    bench.waitForFind();
    QCOMPARE(bench.view()->selectionStart(), offsetOf(kThreeDocuments, "HAUS"));
    // "X" empties the bar, and "Suchen" waits for a text.
    bench.button("Button2")->click();
    QCOMPARE(bench.edit("TntEdit1")->text(), QString());
    QVERIFY(!bench.button("WeiterSuche")->isEnabled());
}

void ViewerWindowTest::aFileThatCannotBeOpenedIsReported() {
#ifdef Q_OS_WIN
    QSKIP("Windows does not remove a file that the viewer holds open");
#endif
    ViewerBench bench;
    bench.writeText(kThreeDocuments);
    bench.form->onLoadTextClicked();
    QVERIFY(QFile::remove(bench.databaseFile(QStringLiteral("_UTF8Dokument.txt"))));
    bench.find(QStringLiteral("Haus"));
    QCOMPARE(bench.prompts.shown.size(), 1);
    QCOMPARE(bench.prompts.shown.first().kind, RecordingPrompts::Kind::Error);
    QCOMPARE(bench.prompts.shown.first().title, QStringLiteral("Error"));
    QCOMPARE(bench.prompts.shown.first().text,
             bench.databaseFile(QStringLiteral("_UTF8Dokument.txt")) +
                 QStringLiteral(" kann nicht geöffnet werden."));
    QVERIFY(bench.form->isEnabled());
    QCOMPARE(bench.view()->selectionStart(), qint64(-1));

    // Nor can the viewer open a folder that stands where the text belongs.
    ViewerBench other;
    QVERIFY(QDir().mkpath(other.databaseFile(QStringLiteral("_UTF8Dokument.txt"))));
    other.form->onLoadTextClicked();
    QCOMPARE(other.prompts.texts(),
             QStringList{other.databaseFile(QStringLiteral("_UTF8Dokument.txt")) +
                         QStringLiteral(" kann nicht geöffnet werden.")});
    QCOMPARE(other.prompts.shown.first().title, QStringLiteral("Error"));
    QVERIFY(!other.form->documentLoaded());
}

// Four GiB of holes before the only text: the sparse file costs no disk space.
void ViewerWindowTest::aHitBeyondFourGiBIsSelectedAndItsCaretPlaced() {
    constexpr qint64 kTailAt = (qint64(1) << 32) + 100;
    const QByteArray tail = "\r\n#D:\\Gro\xC3\x9F.odt\r\n==========\r\n"
                            "Das \xC3\xA4lteste Haus am See\r\nEnde\r\n";
    ViewerBench bench;
    {
        QFile file(bench.databaseFile(QStringLiteral("_UTF8Dokument.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.resize(kTailAt));
        QVERIFY(file.seek(kTailAt));
        QCOMPARE(file.write(tail), tail.size());
    }
    bench.form->onLoadTextClicked();
    // The long scan lets the window breathe, but takes no input meanwhile.
    int yields = 0;
    bool enabledDuringFind = false;
    bench.onYield = [&] {
        ++yields;
        enabledDuringFind = enabledDuringFind || bench.form->isEnabled();
    };
    bench.edit("TntEdit1")->setText(QStringLiteral("see"));
    bench.form->onFindClicked(); // returns while the scan works
    QVERIFY(bench.form->findUnderWay());
    bench.waitForFind();
    QVERIFY(!bench.form->findUnderWay());
    QVERIFY(yields > 0);
    QVERIFY(!enabledDuringFind);
    QVERIFY(bench.form->isEnabled());
    const qint64 hit = kTailAt + tail.indexOf("See");
    QCOMPARE(bench.view()->selectionStart(), hit);
    QCOMPARE(bench.view()->topOffset(), kTailAt + tail.indexOf("Das"));
    QCOMPARE(bench.mirror()->selectedText(), QStringLiteral("See"));
    QCOMPARE(bench.mirror()->textCursor().selectionStart(), 20);
    QCOMPARE(bench.mirror()->textCursor().position(), 23);
}

void ViewerWindowTest::doubleClickPutsTheLineIntoTheLeftBar_data() {
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("phrase");
    QTest::newRow("two words") << 0 << QStringLiteral("Haus am See") << true;
    QTest::newRow("one word") << 1 << QStringLiteral("Fahrkarte") << false;
    QTest::newRow("two characters") << 2 << QStringLiteral("ab") << false;
}

void ViewerWindowTest::doubleClickPutsTheLineIntoTheLeftBar() {
    QFETCH(int, line);
    QFETCH(QString, text);
    QFETCH(bool, phrase);
    ViewerBench bench;
    bench.writeText("Haus am See\r\nFahrkarte\r\nab\r\n");
    bench.form->onLoadTextClicked();
    widgets::MirrorBox* mirror = bench.mirror();
    QTextCursor onLine(mirror->document()->findBlockByNumber(line));
    onLine.movePosition(QTextCursor::NextCharacter);
    QTest::mouseDClick(mirror->viewport(), Qt::LeftButton, {}, mirror->cursorRect(onLine).center());
    QCOMPARE(bench.edit("TntEdit2")->text(), text);
    QCOMPARE(bench.form->phrase(), phrase);
    QCOMPARE(bench.form->anyWord(), !phrase);
    QVERIFY(bench.pauses.endsWith(500));
    QCOMPARE(mirror->selectedText(), text);
}

void ViewerWindowTest::popupEntriesNeedASelection() {
    ViewerBench bench;
    bench.writeText("Haus am See\r\n");
    bench.form->onLoadTextClicked();
    QMenu* menu = bench.mirror()->findChild<QMenu*>(QStringLiteral("PopupMenu1"));
    QCOMPARE(menu->actions().size(), 5);
    QCOMPARE(menu->actions().at(2)->text().trimmed(), QString());
    const auto movingEntries = [menu] {
        QList<QAction*> entries = menu->actions();
        entries.removeAt(2);
        return entries;
    };
    QTest::mousePress(bench.mirror()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    menu->hide();
    for (QAction* entry : movingEntries())
        QVERIFY2(!entry->isEnabled(), qPrintable(entry->text()));
    bench.mirror()->selectRange(5, 2);
    QTest::mousePress(bench.mirror()->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    menu->hide();
    QCOMPARE(bench.mirror()->selectedText(), QStringLiteral("am"));
    for (QAction* entry : movingEntries())
        QVERIFY2(entry->isEnabled(), qPrintable(entry->text()));
}

void ViewerWindowTest::popupEntriesMoveTheSelection_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("bar");
    QTest::addColumn<QString>("expected");
    QTest::newRow("left, replace") << QStringLiteral("Text in Suchleiste links übertragen")
                                   << QStringLiteral("TntEdit2") << QStringLiteral("am See");
    QTest::newRow("left, append") << QStringLiteral("Text in Suchleiste links einfügen")
                                  << QStringLiteral("TntEdit2") << QStringLiteral("alt am See");
    QTest::newRow("right, replace") << QStringLiteral("Text in Suchleiste rechts übertragen")
                                    << QStringLiteral("TntEdit1") << QStringLiteral("am See");
    QTest::newRow("right, append") << QStringLiteral("Text in Suchleiste rechts einfügen")
                                   << QStringLiteral("TntEdit1") << QStringLiteral("alt am See");
}

void ViewerWindowTest::popupEntriesMoveTheSelection() {
    QFETCH(QString, entry);
    QFETCH(QString, bar);
    QFETCH(QString, expected);
    ViewerBench bench;
    bench.writeText("Haus am See\r\n");
    bench.form->onLoadTextClicked();
    QLineEdit* target = bench.edit(qPrintable(bar));
    target->setText(QStringLiteral("alt"));
    QMenu* menu = bench.mirror()->popupMenu();
    // A selection of blanks only moves nothing.
    bench.mirror()->selectRange(4, 1);
    popupEntry(menu, entry)->trigger();
    QCOMPARE(target->text(), QStringLiteral("alt"));
    bench.mirror()->selectRange(5, 6);
    popupEntry(menu, entry)->trigger();
    QCOMPARE(target->text(), expected);
}

void ViewerWindowTest::keysOfTheMirrorBox() {
    ViewerBench bench;
    bench.writeText(numberedLines(300));
    bench.form->onLoadTextClicked();
    widgets::MirrorBox* mirror = bench.mirror();
    QTest::keyClick(mirror, Qt::Key_PageDown);
    const int rows = bench.view()->rowsPerPage();
    QCOMPARE(bench.view()->topOffset(), qint64(11 * rows));
    QVERIFY(mirror->toPlainText().startsWith(QStringLiteral("Zeile ") +
                                             QString::number(rows).rightJustified(3, u'0')));
    QTest::keyClick(mirror, Qt::Key_End);
    QVERIFY(mirror->toPlainText().endsWith(QStringLiteral("Zeile 299")));
    QTest::keyClick(mirror, Qt::Key_Home);
    QCOMPARE(bench.view()->topOffset(), qint64(0));

    QLineEdit* findBar = bench.edit("TntEdit1");
    findBar->setText(QStringLiteral("Zeile"));
    findBar->selectAll();
    findBar->setCursorPosition(2);
    QTest::keyClick(mirror, Qt::Key_Tab);
    QCOMPARE(bench.form->focusWidget(), findBar);
    QCOMPARE(findBar->cursorPosition(), 5);
    QVERIFY(!findBar->hasSelectedText());
}

void ViewerWindowTest::viewerTransferAppendsToTheLeftBar() {
    ViewerBench bench;
    bench.writeText("Die \xC3\x84rzte am See\r\n");
    bench.form->onLoadTextClicked();
    bench.edit("TntEdit2")->setText(QStringLiteral("Haus"));
    bench.find(QStringLiteral("Ärzte"));
    QMenu* menu = bench.view()->preparePopupMenu(QPoint(5, 5));
    popupEntry(menu, QStringLiteral("Text Übertragen"))->trigger();
    QCOMPARE(bench.edit("TntEdit2")->text(), QStringLiteral("Haus Ärzte"));
}

void ViewerWindowTest::mirrorBoxLiesOverTheViewer_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("narrower");
    QTest::newRow("a page without scroll bar") << 2 << 0;
    QTest::newRow("a text with scroll bar") << 300 << 20;
}

void ViewerWindowTest::mirrorBoxLiesOverTheViewer() {
    QFETCH(int, lines);
    QFETCH(int, narrower);
    ViewerBench bench;
    bench.writeText(numberedLines(lines));
    bench.form->onLoadTextClicked();
    const QRect viewer = bench.view()->geometry();
    const QRect mirror = bench.mirror()->geometry();
    QCOMPARE(mirror.topLeft(), viewer.topLeft());
    QCOMPARE(mirror.height(), viewer.height());
    QCOMPARE(mirror.width(), viewer.width() - narrower);
    bench.form->resize(bench.form->width() + 40, bench.form->height() + 60);
    QTRY_COMPARE(bench.mirror()->height(), bench.view()->height());
}

void ViewerWindowTest::fontSizeAndHintReachTheMirrorBox() {
    ViewerBench bench;
    bench.form->setViewerFontSize(15);
    QCOMPARE(bench.view()->font().pointSize(), 15);
    QCOMPARE(bench.mirror()->font().pointSize(), 15);
    QCOMPARE(bench.form->viewerFontSize(), 15);

    const QString hint = QStringLiteral(
        "Doppelklick markiert ganze Zeile und fügt sie in das Suchfeld auf der linken Seite "
        "ein.\r\nRechter Maustastenklick, markierter Text kann über Popup-Menü eingefügt werden.");
    QCOMPARE(bench.mirror()->toolTip(), hint);
    bench.form->setViewerHintShown(false);
    QCOMPARE(bench.mirror()->toolTip(), QString());
    QVERIFY(!bench.form->viewerHintShown());
    bench.form->setViewerHintShown(true);
    QCOMPARE(bench.mirror()->toolTip(), hint);
}

void ViewerWindowTest::resetLetsGoOfTheDocument() {
    ViewerBench bench;
    bench.writeText(kThreeDocuments);
    bench.form->onLoadTextClicked();
    bench.find(QStringLiteral("Haus"));
    bench.form->resetViewer();
    QVERIFY(!bench.form->documentLoaded());
    QVERIFY(!bench.view()->isOpen());
    QCOMPARE(bench.mirror()->toPlainText(), QString());
    // "Suchen" does nothing without a document.
    bench.form->onFindClicked();
    QCOMPARE(bench.view()->selectionStart(), qint64(-1));
    QVERIFY(bench.prompts.shown.isEmpty());
}

QTEST_MAIN(ViewerWindowTest)
#include "viewer_window_test.moc"
