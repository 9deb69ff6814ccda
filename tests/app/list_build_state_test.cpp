// The rules of the sorted-list build's state, without a window.
#include "app/list_build_state.h"

#include <QTest>

using app::ListBuildState;
using Tick = ListBuildState::Tick;

class ListBuildStateTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aStopWithoutWorkClosesTheBuilderAtOnce();
    void aStopDuringTheWorkWaitsForTheAbortWait();
    void theAbortWaitEndsAtItsTenthTick();
};

void ListBuildStateTest::aStopWithoutWorkClosesTheBuilderAtOnce() {
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

void ListBuildStateTest::aStopDuringTheWorkWaitsForTheAbortWait() {
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

void ListBuildStateTest::theAbortWaitEndsAtItsTenthTick() {
    ListBuildState state;
    state.workStarted();
    for (int tick = 1; tick <= 3; ++tick)
        QCOMPARE(state.abortWaitTick(), Tick::Nothing);
    QVERIFY(state.requestStop());
    for (int tick = 4; tick <= 9; ++tick)
        QCOMPARE(state.abortWaitTick(), Tick::CloseBuilder);
    QCOMPARE(state.abortWaitTick(), Tick::CloseBuilderAndStopWaiting);
}

QTEST_APPLESS_MAIN(ListBuildStateTest)
#include "list_build_state_test.moc"
