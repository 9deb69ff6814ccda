// Times the viewer on one database, step by step, as the search window uses
// it: open and first page, jump to the end, jump to the middle, 100 pages
// down, a find from the top, and the file-position list. Prints one line per
// step: its name, milliseconds, and the peak resident memory so far in MB.
//
//   trovex_viewer_bench PROGRAM_DIR NAME WORD [STEP...]
//
// Steps: open end middle pagedown find positions (default: all, in order).

#include "widgets/document_view.h"

#include "database/database_paths.h"
#include "viewer/find_state.h"
#include "viewer/position_list_builder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <sys/resource.h>

namespace {

double peakResidentMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QStringList arguments = app.arguments().mid(1);
    if (arguments.size() < 3) {
        out << "Aufruf: trovex_viewer_bench PROGRAMMVERZEICHNIS NAME WORT [SCHRITT...]\n";
        return 2;
    }
    const QString programDirectory = arguments[0];
    const QString name = arguments[1];
    const QString word = arguments[2];
    QStringList steps = arguments.mid(3);
    if (steps.isEmpty())
        steps = {"open", "end", "middle", "pagedown", "find", "positions"};
    const QString textFile = database::databaseTextPath(programDirectory, name);

    widgets::DocumentView view;
    view.resize(900, 700);
    view.show();
    app.processEvents();

    for (const QString& step : steps) {
        QElapsedTimer clock;
        clock.start();
        QString note;
        if (step == QLatin1String("open")) {
            if (!view.openFile(textFile)) {
                out << "kann nicht geöffnet werden: " << textFile << '\n';
                return 2;
            }
            note = QString::number(view.pageLines().size()) + QStringLiteral(" Zeilen");
        } else if (step == QLatin1String("end")) {
            view.handleNavigationKey(Qt::Key_End);
        } else if (step == QLatin1String("middle")) {
            view.scrollToOffset(view.fileSize() / 2);
        } else if (step == QLatin1String("pagedown")) {
            for (int i = 0; i < 100; ++i)
                view.handleNavigationKey(Qt::Key_PageDown);
        } else if (step == QLatin1String("find")) {
            viewer::Search search;
            viewer::FindState state;
            state.changeText(word);
            const auto hit = viewer::findInViewerFile(state, search, textFile, true);
            if (hit.kind == viewer::FindOutcome::Hit)
                view.selectRange(hit.start, hit.length);
            note = QStringLiteral("Treffer bei ") + QString::number(hit.start);
        } else if (step == QLatin1String("positions")) {
            const auto build = viewer::buildPositionList(programDirectory, name, 0, 40);
            note = QString::number(build.entries.size()) + QStringLiteral(" Einträge");
        } else {
            out << "unbekannter Schritt " << step << '\n';
            return 2;
        }
        app.processEvents();
        out << step << ' ' << QString::number(clock.nsecsElapsed() / 1e6, 'f', 1) << " ms "
            << QString::number(peakResidentMegabytes(), 'f', 1) << " MB " << note << Qt::endl;
    }
    return 0;
}
