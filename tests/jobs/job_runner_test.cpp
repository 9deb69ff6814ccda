#include "jobs/job_runner.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QtTest>

#include <atomic>
#include <semaphore>

class JobRunnerTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // What the work posts arrives on the owner's thread, in order, and the
    // end comes after the last of it.
    void postedCallsArriveInOrderOnTheOwnersThreadBeforeTheEnd() {
        jobs::JobRunner runner;
        QStringList seen;
        bool allOnOwnersThread = true;
        QThread* workThread = nullptr;
        connect(&runner, &jobs::JobRunner::finished, this,
                [&] { seen.append(QStringLiteral("end")); });
        QVERIFY(runner.start([&](const jobs::CancelToken&) {
            workThread = QThread::currentThread();
            for (int i = 0; i < 50; ++i) {
                runner.post([&, i] {
                    allOnOwnersThread = allOnOwnersThread && QThread::currentThread() == thread();
                    seen.append(QString::number(i));
                });
            }
        }));
        QVERIFY(runner.running());
        runner.waitForEnd();
        QVERIFY(!runner.running());
        QVERIFY(workThread && workThread != thread());
        QVERIFY(allOnOwnersThread);
        QCOMPARE(seen.size(), 51);
        for (int i = 0; i < 50; ++i)
            QCOMPARE(seen.at(i), QString::number(i));
        QCOMPARE(seen.last(), QStringLiteral("end"));
    }

    // A call that waits in an event loop of its own, as a message box does,
    // holds the next call back instead of having it run inside.
    void aCallThatWaitsHoldsTheNextOneBack() {
        jobs::JobRunner runner;
        QStringList seen;
        QSignalSpy ended(&runner, &jobs::JobRunner::finished);
        QVERIFY(runner.start([&](const jobs::CancelToken&) {
            runner.post([&] {
                seen.append(QStringLiteral("box opened"));
                QEventLoop box;
                QTimer::singleShot(50, &box, &QEventLoop::quit);
                box.exec();
                seen.append(QStringLiteral("box closed"));
            });
            runner.post([&] { seen.append(QStringLiteral("next")); });
        }));
        QVERIFY(ended.wait(5000));
        QCOMPARE(seen, (QStringList{"box opened", "box closed", "next"}));
    }

    // The owner's stop request reaches the work through its token, while
    // the owner's events are handled; a second job is refused meanwhile.
    void cancelReachesTheWorkAndOneJobRunsAtATime() {
        jobs::JobRunner runner;
        std::binary_semaphore started(0);
        std::atomic<bool> sawStop = false;
        QVERIFY(runner.start([&](const jobs::CancelToken& token) {
            started.release();
            while (!token.stopRequested())
                QThread::yieldCurrentThread();
            sawStop = true;
        }));
        started.acquire();
        QVERIFY(!runner.start([](const jobs::CancelToken&) {}));
        QTimer::singleShot(0, &runner, [&] { runner.cancel(); });
        runner.waitForEnd();
        QVERIFY(sawStop);
        QVERIFY(runner.token().stopRequested());
        // A new job starts with a token of its own.
        bool stoppedAtStart = true;
        QVERIFY(runner.start(
            [&](const jobs::CancelToken& token) { stoppedAtStart = token.stopRequested(); }));
        runner.waitForEnd();
        QVERIFY(!stoppedAtStart);
    }

    // The work may have the owner's thread act for it and go on with what
    // it did.
    void callAndWaitRunsOnTheOwnersThreadBeforeTheWorkGoesOn() {
        jobs::JobRunner runner;
        int value = 0;
        QThread* ranOn = nullptr;
        int seenAfter = -1;
        QVERIFY(runner.start([&](const jobs::CancelToken&) {
            runner.callAndWait([&] {
                ranOn = QThread::currentThread();
                value = 42;
            });
            seenAfter = value;
        }));
        runner.waitForEnd();
        QCOMPARE(ranOn, thread());
        QCOMPARE(seenAfter, 42);
    }

    // A runner that goes while its work runs stops the work and waits.
    void destroyingTheRunnerStopsTheWork() {
        std::atomic<bool> stopped = false;
        std::binary_semaphore started(0);
        {
            jobs::JobRunner runner;
            QVERIFY(runner.start([&](const jobs::CancelToken& token) {
                started.release();
                while (!token.stopRequested())
                    QThread::yieldCurrentThread();
                stopped = true;
            }));
            started.acquire();
        }
        QVERIFY(stopped);
    }

    void runOnWorkerThreadReturnsAfterTheWork() {
        QThread* ranOn = nullptr;
        jobs::runOnWorkerThread([&] { ranOn = QThread::currentThread(); });
        QVERIFY(ranOn && ranOn != QThread::currentThread());
    }

    // The program quits while the window waits (its last window closed,
    // which also asked the work to stop): the wait still ends only with the
    // work, and what the work reported is delivered. Last of the tests: the
    // thread stays quitting afterwards, no event loop runs again.
    void aWaitEndedByTheProgramsQuitStillEndsWithTheWork() {
        jobs::JobRunner runner;
        QStringList seen;
        bool workDone = false;
        QVERIFY(runner.start([&](const jobs::CancelToken& token) {
            while (!token.stopRequested())
                QThread::yieldCurrentThread();
            // Saving what was gathered takes a moment after the stop.
            QElapsedTimer saving;
            saving.start();
            while (saving.elapsed() < 50)
                QThread::yieldCurrentThread();
            runner.post([&] { seen.append(QStringLiteral("saved")); });
            workDone = true;
        }));
        QTimer::singleShot(0, &runner, [&] {
            runner.cancel();
            QCoreApplication::exit();
        });
        runner.waitForEnd();
        QVERIFY(workDone);
        QVERIFY(!runner.running());
        QCOMPARE(seen, QStringList{QStringLiteral("saved")});
    }
};

QTEST_GUILESS_MAIN(JobRunnerTest)
#include "job_runner_test.moc"
