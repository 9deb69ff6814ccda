// How the thread that shows long work fares while the work runs as a job:
// how late an event posted to it is handled, and how long a stop request
// takes to end the work. The work and the runner are those of the windows
// (jobs::JobRunner, one post per report, waitForEnd); the thread measured
// runs an event loop as the window's does.
//
//   trovex_responsiveness_bench PROGRAM_DIR CORPUS_DIR SEARCH_DATABASE
//
// PROGRAM_DIR holds Datenbank/Haupt_Dateinamen_Liste_Laufwerk_B.txt for the
// corpus (drive B:) and the database SEARCH_DATABASE to search.
#include "indexing/index_run.h"
#include "jobs/job_runner.h"
#include "platform/drive_map.h"
#include "platform/settings_store.h"
#include "search/search_engine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <optional>

namespace {

// One clock for the measured thread and the work's.
QElapsedTimer benchClock;
// When the work last saw a stop request, in nanoseconds of benchClock.
std::atomic<qint64> stopSeenAt = -1;

// Posts an event to the measured thread every few milliseconds and keeps
// how late each was handled.
class LatencyProbe {
public:
    // The events go to an object of the probe's own: those still queued
    // when it goes are dropped with it.
    LatencyProbe() {
        clock_.start();
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, &receiver_, [this] {
            const qint64 posted = clock_.nsecsElapsed();
            QMetaObject::invokeMethod(
                &receiver_, [this, posted] { delays_.append(clock_.nsecsElapsed() - posted); },
                Qt::QueuedConnection);
        });
        timer_.start();
    }
    void stop() { timer_.stop(); }
    double maxMs() const {
        return delays_.isEmpty() ? 0 : *std::max_element(delays_.begin(), delays_.end()) / 1e6;
    }
    double percentileMs(double p) const {
        if (delays_.isEmpty())
            return 0;
        QList<qint64> sorted = delays_;
        std::sort(sorted.begin(), sorted.end());
        return sorted.at(std::min<qsizetype>(sorted.size() - 1, qsizetype(sorted.size() * p))) /
               1e6;
    }
    qsizetype count() const { return delays_.size(); }

private:
    QElapsedTimer clock_;
    QObject receiver_;
    QTimer timer_;
    QList<qint64> delays_;
};

struct Figures {
    double seconds = 0;
    double maxLatencyMs = 0;
    double p99LatencyMs = 0;
    qsizetype events = 0;
    double stopMs = -1; // from the request to the work's stop (-1: not asked)
    double endMs = -1;  // from the request to the job's end
    QString detail;
};

// Runs `work` as a job while probing; with `stopAfterMs` >= 0 asks for the
// stop after that long. The work sets stopSeenAt where it sees the request.
Figures measure(jobs::JobRunner& runner, const std::function<void(const jobs::CancelToken&)>& work,
                const std::function<void()>& requestStop, int stopAfterMs) {
    Figures figures;
    const qint64 started = benchClock.nsecsElapsed();
    qint64 stopRequested = -1;
    stopSeenAt = -1;
    LatencyProbe probe;
    // Owned here: a job that ends first leaves no stop request behind.
    QTimer stopTimer;
    stopTimer.setSingleShot(true);
    QObject::connect(&stopTimer, &QTimer::timeout, &runner, [&] {
        stopRequested = benchClock.nsecsElapsed();
        requestStop();
    });
    if (stopAfterMs >= 0)
        stopTimer.start(stopAfterMs);
    if (!runner.start(work))
        return figures;
    runner.waitForEnd();
    const qint64 ended = benchClock.nsecsElapsed();
    const qint64 stoppedAt = stopSeenAt;
    probe.stop();
    figures.seconds = (ended - started) / 1e9;
    figures.maxLatencyMs = probe.maxMs();
    figures.p99LatencyMs = probe.percentileMs(0.99);
    figures.events = probe.count();
    if (stopRequested >= 0) {
        figures.endMs = (ended - stopRequested) / 1e6;
        figures.stopMs = stoppedAt >= 0 ? (stoppedAt - stopRequested) / 1e6 : figures.endMs;
    }
    return figures;
}

void print(const char* name, const Figures& f) {
    std::printf("%-34s %7.2f s  Ereignis spätestens nach %6.1f ms (99 %%: %5.1f ms, %lld "
                "Ereignisse)",
                name, f.seconds, f.maxLatencyMs, f.p99LatencyMs, static_cast<long long>(f.events));
    if (f.stopMs >= 0)
        std::printf("  Abbrechen: Arbeit steht nach %6.1f ms, Job zu Ende nach %6.1f ms", f.stopMs,
                    f.endMs);
    if (!f.detail.isEmpty())
        std::printf("  %s", qPrintable(f.detail));
    std::printf("\n");
    std::fflush(stdout);
}

// The run's settings, kept apart from the user's.
class MemorySettings final : public platform::SettingsStore {
public:
    QString readValue(const QString& keyPath, const QString& valueName) override {
        return values_.value(keyPath + valueName);
    }
    void writeValue(const QString& keyPath, const QString& valueName,
                    const QString& value) override {
        values_.insert(keyPath + valueName, value);
    }

private:
    QHash<QString, QString> values_;
};

Figures indexRun(jobs::JobRunner& runner, const QString& program, const QString& corpus,
                 const QString& name, int stopAfterMs) {
    MemorySettings settings;
    platform::DriveMap drives;
    drives.setDrive(QLatin1Char('B'), corpus);
    indexing::IndexProgress progress;
    qint64 documents = 0;
    // Every report goes to the measured thread, as the main window's do.
    progress.caption = [&](const QString& text) {
        runner.post([&documents, text] { documents += text.isEmpty() ? 0 : 1; });
    };
    progress.status = [&](const QString& text) {
        if (text.startsWith(QStringLiteral("Indizierung wurde abgebrochen")))
            stopSeenAt = benchClock.nsecsElapsed();
        runner.post([text] { Q_UNUSED(text); });
    };
    progress.notice = [&](const QString& text) { runner.post([text] { Q_UNUSED(text); }); };
    bool stopped = false;
    // A fresh database each time: an unchanged one would not be read again.
    for (const QString& file :
         QDir(program + QStringLiteral("Datenbank")).entryList({name + QStringLiteral("*")}))
        QFile::remove(program + QStringLiteral("Datenbank/") + file);
    std::optional<indexing::IndexRun> run;
    run.emplace(program, drives, settings, platform::RunContext(), progress);
    Figures figures = measure(
        runner,
        [&](const jobs::CancelToken&) {
            if (!run->begin(
                    {name, QStringLiteral("B:\\"), QStringLiteral("*.odt *.docx *.epub"), false}))
                return;
            const bool listed = run->readDriveList();
            stopped = run->aborted();
            if (listed)
                run->finish();
            else
                run->end();
        },
        [&] { run->requestAbort(); }, stopAfterMs);
    figures.detail = QStringLiteral("%1 Dokumente indiziert%2")
                         .arg(run->indexedDocuments())
                         .arg(stopped ? QStringLiteral(" (abgebrochen)") : QString());
    return figures;
}

Figures searchRun(jobs::JobRunner& runner, const QString& program, const QString& database,
                  int stopAfterMs) {
    platform::DriveMap drives;
    search::SearchRequest request;
    request.databaseName = database;
    // A word the text does not hold: the scan reads every byte.
    request.searchText = QStringLiteral("Zqxjvwpfh");
    search::SearchSession session;
    bool cancelled = false;
    Figures figures = measure(
        runner,
        [&](const jobs::CancelToken& jobToken) {
            platform::RunContext run;
            run.cancel = jobToken;
            // The scan stands at the first check after the request; the
            // cancel pages are written after that.
            run.onCheckpoint = [&run] {
                if (run.cancelled() && stopSeenAt < 0)
                    stopSeenAt = benchClock.nsecsElapsed();
            };
            search::SearchEnvironment environment;
            environment.programDirectory = program;
            environment.drives = &drives;
            environment.run = &run;
            const search::SearchOutcome outcome =
                search::searchDatabase(request, session, environment);
            cancelled = outcome.cancelled;
        },
        [&] { runner.cancel(); }, stopAfterMs);
    figures.detail = cancelled ? QStringLiteral("(abgebrochen)") : QString();
    return figures;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    benchClock.start();
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4) {
        std::fprintf(stderr, "Aufruf: trovex_responsiveness_bench PROGRAMM_ORDNER KORPUS "
                             "SUCH_DATENBANK\n");
        return 2;
    }
    const QString program = QDir(arguments.at(1)).absolutePath() + QLatin1Char('/');
    const QString corpus = QDir(arguments.at(2)).absolutePath();
    const QString database = arguments.at(3);
    jobs::JobRunner runner;

    const Figures index = indexRun(runner, program, corpus, QStringLiteral("Ganz"), -1);
    print("Indizierung", index);
    const Figures indexStop = indexRun(runner, program, corpus, QStringLiteral("Halb"), 150);
    print("Indizierung, Abbrechen nach 0,15 s", indexStop);
    const Figures searchAll = searchRun(runner, program, database, -1);
    print("Suche im ganzen Text", searchAll);
    const Figures searchStop = searchRun(runner, program, database, 50);
    print("Suche, Abbrechen nach 0,05 s", searchStop);

    const double worstLatency = std::max({index.maxLatencyMs, indexStop.maxLatencyMs,
                                          searchAll.maxLatencyMs, searchStop.maxLatencyMs});
    const double worstStop = std::max(indexStop.stopMs, searchStop.stopMs);
    std::printf("Ergebnis: Ereignis spätestens nach %.1f ms (Ziel 100 ms), Abbrechen nach "
                "spätestens %.1f ms (Ziel 200 ms): %s\n",
                worstLatency, worstStop,
                worstLatency <= 100 && worstStop <= 200 ? "erfüllt" : "NICHT erfüllt");
    return 0;
}
