#include "widgets/search_bar.h"

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

} // namespace

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
