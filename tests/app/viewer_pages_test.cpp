// Where the viewer's page stands: the offset and document name beside the
// caption, the bookmark, the file-position list, and what the main window's
// catalogue and settings do to the viewer.
#include "main_window_fixture.h"
#include "search_window_wait.h"
#include "support/platform_doubles.h"
#include "viewer_bench.h"

#include <QListWidget>
#include <QLocale>
#include <QTimer>

namespace {

QTimer* titleTimer(const ViewerBench& bench) {
    return bench.form->findChild<QTimer*>(QStringLiteral("Timer2"));
}

// A database text whose documents start at the given lines of a text of
// numbered lines: line k of the text is "Zeile k" or, for a document, the
// path line "#D:\Dok<k>.odt".
QByteArray textWithPathLines(int lineCount, const QList<int>& pathLines,
                             QList<qint64>* pathOffsets = nullptr) {
    QByteArray text;
    for (int k = 0; k < lineCount; ++k) {
        if (pathLines.contains(k)) {
            if (pathOffsets)
                pathOffsets->append(text.size());
            text += "#D:\\Dok" + QByteArray::number(k) + ".odt\r\n";
        } else {
            text += "Zeile " + QByteArray::number(k) + "\r\n";
        }
    }
    return text;
}

} // namespace

class ViewerPagesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }

    void theTitleNamesThePagesDocument_data();
    void theTitleNamesThePagesDocument();
    void aLongFileNameIsCutInStepsOfSeven();
    void noTitleWhileASortedListIsShown();
    void aBookmarkOnTheLastPageComesBack();
    void storedBookmarks_data();
    void storedBookmarks();
    void aBookmarkNeedsADocument();
    void theListBuildPlacesEachDocumentOnItsPage();
    void theSettingsDialogsRequestLoadsAndBuilds();
    void aListThatCannotBeWrittenIsReported();
    void choosingADatabaseClosesTheViewer();
    void theSettingsButtonBuildsTheListOfTheSearchWindow();
    void firstPaintSettingsReachTheViewer_data();
    void firstPaintSettingsReachTheViewer();
};

void ViewerPagesTest::theTitleNamesThePagesDocument_data() {
    QTest::addColumn<QByteArray>("positions"); // empty: no list file
    QTest::addColumn<qint64>("top");
    QTest::addColumn<QString>("title");
    const QByteArray list = "22 #D:\\A.odt\r\n55 #D:\\B.odt\r\n55 #D:\\C.odt\r\n"
                            "110 #D:\\Ordner\\Gr\xC3\xB6\xC3\x9F"
                            "e.odt\r\n";
    QTest::newRow("before the first path line") << list << qint64(11) << QStringLiteral("11");
    QTest::newRow("in the first document") << list << qint64(33) << QStringLiteral("33  \"A.odt\"");
    QTest::newRow("two documents on one page")
        << list << qint64(55) << QStringLiteral("55  \"C.odt\"");
    QTest::newRow("at the last entry")
        << list << qint64(110) << QStringLiteral("110  \"Größe.odt\"");
    QTest::newRow("past the last entry")
        << list << qint64(1100) << QStringLiteral("1.100  \"Größe.odt\"");
    QTest::newRow("no list") << QByteArray() << qint64(1100) << QStringLiteral("1.100");
}

void ViewerPagesTest::theTitleNamesThePagesDocument() {
    QFETCH(QByteArray, positions);
    QFETCH(qint64, top);
    QFETCH(QString, title);
    ViewerBench bench;
    bench.writeText(numberedLines(200));
    if (!positions.isEmpty())
        bench.writePositions(positions);
    bench.form->onLoadTextClicked();
    bench.view()->scrollToOffset(top);
    QCOMPARE(bench.view()->topOffset(), top);
    // The title waits for the timer that each drawn page starts.
    QVERIFY(titleTimer(bench)->isActive());
    QCOMPARE(titleTimer(bench)->interval(), 1000);
    QCOMPARE(bench.label("Label2"), QString());
    bench.form->onTitleTick();
    QVERIFY(!titleTimer(bench)->isActive());
    QCOMPARE(bench.label("Label2"), title);
    QVERIFY(bench.form->findChild<QLabel*>(QStringLiteral("Label2"))->isVisible());
}

void ViewerPagesTest::aLongFileNameIsCutInStepsOfSeven() {
    ViewerBench bench;
    const QString name = QString(300, QLatin1Char('x')) + QStringLiteral(".odt");
    bench.writeText(numberedLines(20));
    bench.writePositions("0 #D:\\Ordner\\" + name.toUtf8() + "\r\n");
    bench.form->onLoadTextClicked();
    bench.form->onTitleTick();

    const QString full = QStringLiteral("0  \"") + name + QLatin1Char('"');
    const QString shown = bench.label("Label2");
    QVERIFY2(shown.endsWith(QStringLiteral("...")), qPrintable(shown));
    const QString kept = shown.chopped(3);
    QVERIFY(full.startsWith(kept));
    const qsizetype cut = full.size() - kept.size();
    QVERIFY(cut > 0);
    QCOMPARE(cut % 7, 0);
    // Cut no further than needed: with 7 characters more it would not fit.
    auto* label = bench.form->findChild<QLabel*>(QStringLiteral("Label2"));
    const int panelWidth = bench.form->findChild<QWidget*>(QStringLiteral("PanelRechts"))->width();
    const QFontMetrics metrics = label->fontMetrics();
    QVERIFY(label->x() + metrics.horizontalAdvance(kept) < panelWidth);
    QVERIFY(label->x() + metrics.horizontalAdvance(full.left(kept.size() + 7)) >= panelWidth);
}

void ViewerPagesTest::noTitleWhileASortedListIsShown() {
    ViewerBench bench;
    bench.writeText(numberedLines(20));
    bench.writePositions("0 #D:\\A.odt\r\n");
    bench.writeDatabaseFile(QStringLiteral("_Phrasen_Woerter_Utf8Liste.txt"), "Haus\r\n");
    bench.form->onLoadTextClicked();
    bench.form->onLoadSortedListClicked();
    QVERIFY(titleTimer(bench)->isActive());
    bench.form->onTitleTick();
    QCOMPARE(bench.label("Label2"), QString());
    // The timer goes on until a text page is shown again.
    QVERIFY(titleTimer(bench)->isActive());
}

void ViewerPagesTest::aBookmarkOnTheLastPageComesBack() {
    ViewerBench bench;
    bench.writeText(numberedLines(300));
    bench.form->onLoadTextClicked();
    bench.view()->handleNavigationKey(Qt::Key_End);
    const qint64 lastPage = bench.view()->topOffset();
    QVERIFY(lastPage > 0);
    bench.button("LesezeichenBtn")->click();
    QCOMPARE(bench.settings.read(QStringLiteral("Lesezeichen_Texte")), QString::number(lastPage));

    bench.view()->handleNavigationKey(Qt::Key_Home);
    bench.form->onLoadTextClicked();
    QCOMPARE(bench.view()->topOffset(), lastPage);
    QVERIFY(bench.mirror()->toPlainText().endsWith(QStringLiteral("Zeile 299")));
}

void ViewerPagesTest::storedBookmarks_data() {
    QTest::addColumn<QString>("stored");
    QTest::addColumn<qint64>("top"); // -1: the last page
    QTest::newRow("none") << QString() << qint64(0);
    QTest::newRow("zero") << QStringLiteral("0") << qint64(0);
    QTest::newRow("negative") << QStringLiteral("-5") << qint64(0);
    QTest::newRow("inside a line") << QStringLiteral("1105") << qint64(1100);
    QTest::newRow("beyond the end") << QStringLiteral("9999999") << qint64(-1);
}

void ViewerPagesTest::storedBookmarks() {
    QFETCH(QString, stored);
    QFETCH(qint64, top);
    ViewerBench bench;
    bench.writeText(numberedLines(300));
    if (!stored.isEmpty())
        bench.settings.write(QStringLiteral("Lesezeichen_Texte"), stored);
    bench.form->onLoadTextClicked();
    const qint64 shown = bench.view()->topOffset();
    if (top < 0) {
        bench.view()->handleNavigationKey(Qt::Key_End);
        top = bench.view()->topOffset();
    }
    QCOMPARE(shown, top);
}

void ViewerPagesTest::aBookmarkNeedsADocument() {
    ViewerBench bench;
    bench.form->onBookmarkClicked();
    QCOMPARE(bench.settings.read(QStringLiteral("Lesezeichen_Texte")), QString());
    bench.writeText(numberedLines(300));
    bench.form->onLoadTextClicked();
    bench.form->resetViewer();
    bench.form->onBookmarkClicked();
    QCOMPARE(bench.settings.read(QStringLiteral("Lesezeichen_Texte")), QString());
}

// With word wrap off each line is one row; a path line on the page shown
// keeps the page, one below it becomes the top line.
void ViewerPagesTest::theListBuildPlacesEachDocumentOnItsPage() {
    ViewerBench bench;
    bench.form->onLoadTextClicked(); // nothing to load yet: nothing is built
    bench.form->buildFilePositionList();
    QVERIFY(!QFile::exists(bench.databaseFile(QStringLiteral("_TitelPositionen.txt"))));

    const int rows = bench.view()->rowsPerPage();
    QVERIFY(rows > 4);
    const QList<int> pathLines{1, 2, rows + 5, 3 * rows};
    QList<qint64> offsets;
    bench.writeText(textWithPathLines(4 * rows, pathLines, &offsets));
    bench.form->onLoadTextClicked();
    bench.form->buildFilePositionList();
    // The list is built while the window waits for it without input.
    QVERIFY(bench.form->positionListUnderWay());
    QVERIFY(!bench.form->isEnabled());
    bench.waitForPositionList();
    QVERIFY(bench.form->isEnabled());

    const QByteArray expected =
        "0 #D:\\Dok1.odt\r\n0 #D:\\Dok2.odt\r\n" + QByteArray::number(offsets[2]) + " #D:\\Dok" +
        QByteArray::number(rows + 5) + ".odt\r\n" + QByteArray::number(offsets[3]) + " #D:\\Dok" +
        QByteArray::number(3 * rows) + ".odt\r\n";
    QFile list(bench.databaseFile(QStringLiteral("_TitelPositionen.txt")));
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(list.readAll(), expected);
    QCOMPARE(bench.edit("TntEdit1")->text(), QStringLiteral("#D:\\"));
    QVERIFY(bench.view()->wordWrap());
    QCOMPARE(bench.view()->topOffset(), offsets[3]);
    // The title uses the new list at once.
    bench.form->onTitleTick();
    QCOMPARE(bench.label("Label2"), QLocale().toString(offsets[3]) + QStringLiteral("  \"Dok") +
                                        QString::number(3 * rows) + QStringLiteral(".odt\""));
    // "Suchen" starts at the first path line.
    bench.form->onFindClicked();
    bench.waitForFind();
    QCOMPARE(bench.view()->selectionStart(), offsets[0]);
    QVERIFY(bench.prompts.shown.isEmpty());
}

void ViewerPagesTest::theSettingsDialogsRequestLoadsAndBuilds() {
    ViewerBench bench;
    bench.writeText(" \r\n \r\n \r\n#D:\\Brief.odt\r\n=============\r\nHaus\r\n"
                    " \r\n \r\n \r\n#D:\\\xC3\x84rzte.odt\r\n=============\r\nSee\r\n");
    QMetaObject::invokeMethod(bench.form.get(), "loadTextAndBuildFilePositions");
    bench.waitForPositionList();
    QVERIFY(bench.form->documentLoaded());
    QCOMPARE(bench.label("Label8"), QStringLiteral("DB: \"Texte\""));
    QFile list(bench.databaseFile(QStringLiteral("_TitelPositionen.txt")));
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(list.readAll(), QByteArray("0 #D:\\Brief.odt\r\n0 #D:\\\xC3\x84rzte.odt\r\n"));
    bench.form->onTitleTick();
    QCOMPARE(bench.label("Label2"), QStringLiteral("0  \"Ärzte.odt\""));
}

void ViewerPagesTest::aListThatCannotBeWrittenIsReported() {
    ViewerBench bench;
    bench.writeText("#D:\\Brief.odt\r\nHaus\r\n");
    // A folder where the list belongs: the file cannot replace it.
    QVERIFY(QDir().mkpath(bench.databaseFile(QStringLiteral("_TitelPositionen.txt"))));
    bench.form->loadTextAndBuildFilePositions();
    bench.waitForPositionList();
    QCOMPARE(bench.prompts.shown.size(), 1);
    QCOMPARE(bench.prompts.shown.first().kind, testsupport::RecordingPrompts::Kind::Error);
    QVERIFY2(
        bench.prompts.shown.first().text.startsWith(
            QStringLiteral("Die Datei \"") +
            QDir::toNativeSeparators(bench.databaseFile(QStringLiteral("_TitelPositionen.txt"))) +
            QStringLiteral("\" konnte nicht geschrieben werden: ")),
        qPrintable(bench.prompts.shown.first().text));
    QVERIFY(bench.view()->wordWrap());
    QVERIFY(bench.form->isEnabled());
}

void ViewerPagesTest::choosingADatabaseClosesTheViewer() {
    MainWindowFixture f;
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.addDatabase(QStringLiteral("A"));
    f.addDatabase(QStringLiteral("B"));
    f.writeFile(QStringLiteral("Datenbank/A_UTF8Dokument.txt"), numberedLines(50));
    f.writeFile(QStringLiteral("Datenbank/A_Phrasen_Woerter_Utf8Liste.txt"), "Haus\r\n");
    f.start(true);
    app::SearchWindow& form = *f.searchWindow;
    form.setDatabaseName(QStringLiteral("A"));
    form.show();
    form.onLoadTextClicked();
    auto* view = form.findChild<widgets::DocumentView*>(QStringLiteral("Viewer"));
    auto* mirror = form.findChild<widgets::MirrorBox*>(QStringLiteral("ViewerMemo"));
    QVERIFY(view->isOpen());
    QVERIFY(form.findChild<QPushButton*>(QStringLiteral("ZeilenAlsListeSortieren"))->isEnabled());

    f.mainWindow->findChild<QListWidget*>(QStringLiteral("ListBox1"))->setCurrentRow(1);
    QVERIFY(!form.documentLoaded());
    QVERIFY(!view->isOpen());
    QCOMPARE(mirror->toPlainText(), QString());
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label8"))->text(), QString());
    QVERIFY(!form.findChild<QPushButton*>(QStringLiteral("ZeilenAlsListeSortieren"))->isEnabled());
}

void ViewerPagesTest::theSettingsButtonBuildsTheListOfTheSearchWindow() {
    MainWindowFixture f;
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.addDatabase(QStringLiteral("Texte"));
    f.writeFile(QStringLiteral("Datenbank/Texte_UTF8Dokument.txt"),
                " \r\n \r\n \r\n#T:\\Brief.odt\r\n=============\r\nHaus\r\n");
    f.start(true);
    f.searchWindow->setDatabaseName(QStringLiteral("Texte"));
    f.searchWindow->show();
    // The button needs a document in the viewer.
    f.searchWindow->onLoadTextClicked();
    f.settingsDialog->show();
    f.settingsDialog->refreshControls();
    f.prompts.answers = {true};
    f.settingsDialog->findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    QVERIFY(f.settingsDialog->isHidden());
    QVERIFY(f.searchWindow->documentLoaded());
    if (f.searchWindow->positionListUnderWay()) {
        QSignalSpy ended(f.searchWindow.get(), &app::SearchWindow::filePositionListEnded);
        QVERIFY(ended.wait(kJobEndWait));
    }
    QCOMPARE(f.readFile(QStringLiteral("Datenbank/Texte_TitelPositionen.txt")),
             QByteArray("0 #T:\\Brief.odt\r\n"));
}

void ViewerPagesTest::firstPaintSettingsReachTheViewer_data() {
    QTest::addColumn<QString>("hintSetting");
    QTest::addColumn<bool>("hintShown");
    QTest::newRow("hint on") << QStringLiteral("1") << true;
    QTest::newRow("hint off") << QStringLiteral("0") << false;
}

void ViewerPagesTest::firstPaintSettingsReachTheViewer() {
    QFETCH(QString, hintSetting);
    QFETCH(bool, hintShown);
    MainWindowFixture f;
    f.settings.write(QStringLiteral("Ausgewaehlte_Datenbank"), QStringLiteral("0"));
    f.settings.write(QStringLiteral("Kurzhinweis_imViewer_anzeigen"), hintSetting);
    f.settings.write(QStringLiteral("SchriftsizeTextViewer"), QStringLiteral("13"));
    f.start(true);
    f.searchWindow->show();
    auto* mirror = f.searchWindow->findChild<widgets::MirrorBox*>(QStringLiteral("ViewerMemo"));
    QCOMPARE(mirror->toolTip().isEmpty(), !hintShown);
    if (hintShown)
        QVERIFY(mirror->toolTip().startsWith(QStringLiteral("Doppelklick markiert ganze Zeile")));
    QCOMPARE(mirror->font().pointSize(), 13);
    QCOMPARE(f.searchWindow->findChild<widgets::DocumentView*>(QStringLiteral("Viewer"))
                 ->font()
                 .pointSize(),
             13);
}

QTEST_MAIN(ViewerPagesTest)
#include "viewer_pages_test.moc"
