#include "cli_context.h"
#include "jobs/job_runner.h"

#include "database/database_paths.h"
#include "viewer/position_list_builder.h"

#include <QDir>

namespace cli {
namespace {

constexpr int kDefaultPageLines = 40;

void printUsage(QTextStream& err) {
    err << "Aufruf: trovex positions NAME [--lines N]" << Qt::endl;
}

} // namespace

// trovex positions NAME [--lines N]: the file-position list as the search
// window builds it with word wrap off and a page of N lines, the viewer
// standing at the top of the text.
int runPositionsCommand(CliContext& context, const QStringList& arguments) {
    QStringList positional;
    int pageLines = kDefaultPageLines;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--lines")) {
            bool ok = false;
            pageLines = i + 1 < arguments.size() ? arguments[++i].toInt(&ok) : 0;
            if (!ok || pageLines < 1) {
                context.err << "Die Zeilenzahl einer Seite muss eine Zahl ab 1 sein." << Qt::endl;
                return ExitFailure;
            }
        } else if (argument.startsWith(QLatin1String("--"))) {
            context.err << "Unbekannte Option " << argument << " (siehe trovex --help)."
                        << Qt::endl;
            return ExitFailure;
        } else {
            positional.append(argument);
        }
    }
    if (positional.size() != 1 || positional.first().isEmpty()) {
        printUsage(context.err);
        return ExitFailure;
    }
    const QString& name = positional.first();
    if (refuseDatabaseName(context, name))
        return ExitRefused;

    viewer::PositionListBuild build;
    jobs::runOnWorkerThread(
        [&] { build = viewer::buildPositionList(context.programDirectory, name, 0, pageLines); });
    switch (build.kind) {
    case viewer::PositionListBuild::Built:
        context.out << build.entries.size() << Qt::endl;
        return ExitSuccess;
    case viewer::PositionListBuild::NoDatabase:
        context.err << "Die Datenbank \"" << name << "\" existiert nicht." << Qt::endl;
        return ExitRefused;
    case viewer::PositionListBuild::NoDriveLetter:
        context.err << "Die Dokumentenliste der Datenbank \"" << name << "\" nennt keinen Ordner."
                    << Qt::endl;
        return ExitRefused;
    case viewer::PositionListBuild::NoText:
        context.err << "Die Datenbank \"" << name << "\" enthält keinen Text." << Qt::endl;
        return ExitRefused;
    case viewer::PositionListBuild::WriteFailed:
        context.err << "Die Datei \""
                    << QDir::toNativeSeparators(
                           database::filePositionListPath(context.programDirectory, name))
                    << "\" konnte nicht geschrieben werden: " << build.error << Qt::endl;
        return ExitFailure;
    case viewer::PositionListBuild::Refused:
        context.err << build.error << Qt::endl;
        return ExitRefused;
    case viewer::PositionListBuild::Cancelled:
        break;
    }
    return ExitFailure;
}

} // namespace cli
