// The rules of the search window's state objects, without a window.
#include "app/list_build_state.h"
#include "app/search_state.h"

#include <QDialog>
#include <QTest>

using app::ListBuildState;
using Tick = ListBuildState::Tick;

class WindowStateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aStopWithoutWorkClosesTheBuilderAtOnce();
    void aStopDuringTheWorkWaitsForTheAbortWait();
    void theAbortWaitEndsAtItsTenthTick();
    void aCloseWaitsForTheWorkThatHoldsIt();
    void aSecondSearchWaitsForTheFirstsEnd();
};

void WindowStateTest::aStopWithoutWorkClosesTheBuilderAtOnce() {
    ListBuildState state;
    QVERIFY(!state.requestStop());
    QVERIFY(state.stopRequested());
    // Opened again by the settings dialog: the next click builds.
    state.open();
    QVERIFY(!state.stopRequested());
    QVERIFY(state.endCaptionShown());
    // Ticks without a stop leave the builder alone.
    QCOMPARE(state.abortWaitTick(), Tick::Nothing);
}

void WindowStateTest::aStopDuringTheWorkWaitsForTheAbortWait() {
    ListBuildState state;
    state.open();
    state.workStarted();
    QVERIFY(state.working() && state.jobUnderWay());
    QCOMPARE(state.abortWaitTick(), Tick::Nothing);
    QVERIFY(state.requestStop()); // the work is asked to stop
    state.jobEnded();
    state.outcomeShown();
    QVERIFY(!state.working() && !state.jobUnderWay());
    QVERIFY(!state.endCaptionShown());
    QCOMPARE(state.abortWaitTick(), Tick::CloseBuilder);
    // The builder closes now without asking the work again.
    QVERIFY(!state.requestStop());

    // A tick that comes before the work has shown its end closes the
    // builder all the same, and takes the lock off the controls.
    ListBuildState early;
    early.workStarted();
    QVERIFY(early.requestStop());
    QCOMPARE(early.abortWaitTick(), Tick::CloseBuilder);
    QVERIFY(!early.working());
    QVERIFY(early.jobUnderWay());
}

void WindowStateTest::theAbortWaitEndsAtItsTenthTick() {
    ListBuildState state;
    state.workStarted();
    for (int tick = 1; tick <= 3; ++tick)
        QCOMPARE(state.abortWaitTick(), Tick::Nothing);
    QVERIFY(state.requestStop());
    for (int tick = 4; tick <= 9; ++tick)
        QCOMPARE(state.abortWaitTick(), Tick::CloseBuilder);
    QCOMPARE(state.abortWaitTick(), Tick::CloseBuilderAndStopWaiting);
}

// A close asked for while work holds it comes when the last hold goes, with
// the result as the work left it, and only once.
void WindowStateTest::aCloseWaitsForTheWorkThatHoldsIt() {
    app::PendingClose close;
    QCOMPARE(close.take(), std::nullopt); // nobody asked
    close.hold();                         // the search starts
    close.ask(QDialog::Accepted);         // the button's own result
    QCOMPARE(close.take(), std::nullopt);
    close.ask(QDialog::Rejected); // "Abbrechen" while the search works
    QCOMPARE(close.take(), std::nullopt);
    close.hold(); // a box shown at the end
    close.release();
    QCOMPARE(close.take(), std::nullopt);
    close.setResult(QDialog::Accepted); // the search ended with its hits
    close.release();
    QCOMPARE(close.take(), std::optional<int>(QDialog::Accepted));
    QCOMPARE(close.take(), std::nullopt);

    // Without work the close comes at once.
    close.ask(QDialog::Rejected);
    QCOMPARE(close.take(), std::optional<int>(QDialog::Rejected));
}

void WindowStateTest::aSecondSearchWaitsForTheFirstsEnd() {
    app::LocalSearchState search;
    QVERIFY(search.mayStart() && !search.searched());
    search.starting();
    search.started(true);
    QVERIFY(!search.mayStart());
    search.ended();
    QVERIFY(search.mayStart());
    // A search whose work could not start leaves the window as searched.
    app::LocalSearchState refused;
    refused.starting();
    refused.started(false);
    QVERIFY(refused.mayStart() && refused.searched() && !refused.underWay());
}

QTEST_APPLESS_MAIN(WindowStateTest)
#include "window_state_test.moc"
