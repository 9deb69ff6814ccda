#include "widgets/search_bar.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

// A window with the bar at its top and room below for the history.
struct Window {
    QWidget window;
    widgets::SearchBar* bar = new widgets::SearchBar(&window, &window);

    Window() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(bar);
        layout->addStretch(1);
        window.resize(400, 300);
        window.show();
    }
    QLineEdit* edit() const { return window.findChild<QLineEdit*>(QStringLiteral("TntEdit2")); }
    QListWidget* history() const {
        return window.findChild<QListWidget*>(QStringLiteral("TntListBox2"));
    }
};

using Arrival = widgets::SearchBar::Arrival;

// What brings the new text into the bar.
enum class Change {
    TypeAtTheEnd,     // one key
    TypeOverAll,      // all selected, one key
    Backspace,        // one character deleted
    PasteOverAll,     // all selected, Ctrl+V
    InputMethod,      // one commit of an input method
    SetOnTheBar,      // the window's call, as the viewer and the hand-off use
    SetOnTheField,    // the field itself set by the program
    TakeHistoryEntry, // an entry chosen from the history
};

} // namespace

Q_DECLARE_METATYPE(Change)

class SearchBarTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enterIsTheBarsOwnAndFoldsTheHistoryUp() {
        Window w;
        w.bar->setHistory({QStringLiteral("Haus")});
        w.bar->dropDownHistory(100);
        QSignalSpy enter(w.bar, &widgets::SearchBar::enterPressed);
        QSignalSpy returned(w.edit(), &QLineEdit::returnPressed);
        QTest::keyClick(w.edit(), Qt::Key_Return);
        QTest::keyClick(w.edit(), Qt::Key_Enter);
        QCOMPARE(enter.count(), 2);
        QCOMPARE(returned.count(), 0);
        QVERIFY(!w.bar->historyShown());

        // Any other key folds it up too, and reaches the text.
        w.bar->dropDownHistory(100);
        QTest::keyClick(w.edit(), Qt::Key_A);
        QVERIFY(!w.bar->historyShown());
        QCOMPARE(w.bar->text(), QStringLiteral("a"));
    }

    void theHistoryDropsDownBelowTheBar() {
        Window w;
        w.bar->setHistory({QStringLiteral("Haus"), QStringLiteral("Garten")});
        QCOMPARE(w.bar->history(), (QStringList{"Haus", "Garten"}));
        w.bar->dropDownHistory(5);
        QVERIFY(w.bar->historyShown());
        const QPoint below = w.edit()->mapTo(&w.window, QPoint(0, w.edit()->height()));
        QCOMPARE(w.history()->geometry(), QRect(below, QSize(w.edit()->width(), 20)));
        QCOMPARE(w.bar->dropDownTop(), below.y());
        w.bar->dropDownHistory(120);
        QCOMPARE(w.history()->height(), 120);
    }

    void aChosenEntryBecomesTheText() {
        Window w;
        w.bar->setHistory({QStringLiteral("Haus"), QStringLiteral("Garten")});
        w.bar->setText(QStringLiteral("alt"));
        w.bar->dropDownHistory(100);
        // Nothing chosen: nothing changes.
        w.history()->setCurrentRow(-1);
        w.bar->takeChosenEntry();
        QCOMPARE(w.bar->text(), QStringLiteral("alt"));
        QVERIFY(w.bar->historyShown());

        QSignalSpy clicked(w.bar, &widgets::SearchBar::historyEntryClicked);
        const QRect garten = w.history()->visualItemRect(w.history()->item(1));
        QTest::mouseClick(w.history()->viewport(), Qt::LeftButton, {}, garten.center());
        QCOMPARE(clicked.count(), 1);
        w.bar->takeChosenEntry();
        QCOMPARE(w.bar->text(), QStringLiteral("Garten"));
        QCOMPARE(w.edit()->cursorPosition(), 6);
        QVERIFY(!w.edit()->hasSelectedText());
        QVERIFY(!w.bar->historyShown());
    }

    // A path entry is looked up only when its text arrives whole; typed by
    // hand it waits for Enter. Several cases change one character only, so
    // the kind of change decides, not its size.
    void howTheTextArrived_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<Change>("change");
        QTest::addColumn<QString>("text"); // typed, pasted, committed or set
        QTest::addColumn<QString>("after");
        QTest::addColumn<Arrival>("arrival");
        const QString e = QStringLiteral("#E:\\Brief.odt");
        const QString c = QStringLiteral("#C:\\Brief.odt");
        QTest::newRow("typed") << QStringLiteral("#C:\\Brief.od") << Change::TypeAtTheEnd
                               << QStringLiteral("t") << c << Arrival::Typed;
        QTest::newRow("typed over all") << e << Change::TypeOverAll << QStringLiteral("x")
                                        << QStringLiteral("x") << Arrival::Typed;
        QTest::newRow("deleted") << c + QLatin1Char('x') << Change::Backspace << QString() << c
                                 << Arrival::Typed;
        QTest::newRow("pasted over a text one letter apart")
            << e << Change::PasteOverAll << c << c << Arrival::Whole;
        QTest::newRow("pasted one letter")
            << QString() << Change::PasteOverAll << QStringLiteral("x") << QStringLiteral("x")
            << Arrival::Whole;
        QTest::newRow("input method, two characters")
            << QStringLiteral("#C:\\Brief.o") << Change::InputMethod << QStringLiteral("dt") << c
            << Arrival::Whole;
        QTest::newRow("set by the window") << e << Change::SetOnTheBar << c << c << Arrival::Whole;
        QTest::newRow("set on the field") << e << Change::SetOnTheField << c << c << Arrival::Whole;
        QTest::newRow("from the history") << QStringLiteral("#C:\\Brief.od")
                                          << Change::TakeHistoryEntry << c << c << Arrival::Whole;
    }
    void howTheTextArrived() {
        QFETCH(QString, before);
        QFETCH(Change, change);
        QFETCH(QString, text);
        QFETCH(QString, after);
        QFETCH(Arrival, arrival);
        Window w;
        w.bar->setText(before);
        w.edit()->setFocus();
        QList<Arrival> reported;
        connect(w.bar, &widgets::SearchBar::textChanged, this,
                [&] { reported.append(w.bar->lastArrival()); });
        switch (change) {
        case Change::TypeAtTheEnd:
            w.edit()->end(false);
            QTest::keyClicks(w.edit(), text);
            break;
        case Change::TypeOverAll:
            w.edit()->selectAll();
            QTest::keyClicks(w.edit(), text);
            break;
        case Change::Backspace:
            w.edit()->end(false);
            QTest::keyClick(w.edit(), Qt::Key_Backspace);
            break;
        case Change::PasteOverAll:
            QGuiApplication::clipboard()->setText(text);
            w.edit()->selectAll();
            QTest::keySequence(w.edit(), QKeySequence::Paste);
            break;
        case Change::InputMethod: {
            w.edit()->end(false);
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(w.edit(), &commit);
            break;
        }
        case Change::SetOnTheBar:
            w.bar->setText(text);
            break;
        case Change::SetOnTheField:
            w.edit()->setText(text);
            break;
        case Change::TakeHistoryEntry:
            w.bar->setHistory({text});
            w.history()->setCurrentRow(0);
            w.bar->takeChosenEntry();
            break;
        }
        QCOMPARE(w.bar->text(), after);
        QCOMPARE(reported, QList<Arrival>{arrival});
    }

    void pressAndClearAreReported() {
        Window w;
        QSignalSpy pressed(w.bar, &widgets::SearchBar::pressed);
        QSignalSpy cleared(w.bar, &widgets::SearchBar::clearClicked);
        QTest::mouseClick(w.edit(), Qt::LeftButton);
        w.bar->setText(QStringLiteral("Haus"));
        w.window.findChild<QPushButton*>(QStringLiteral("Button1"))->click();
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(cleared.count(), 1);
        // The window decides what the clear button does.
        QCOMPARE(w.bar->text(), QStringLiteral("Haus"));
    }
};

QTEST_MAIN(SearchBarTest)
#include "search_bar_test.moc"
