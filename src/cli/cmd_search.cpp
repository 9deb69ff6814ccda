#include "cli_context.h"
#include "jobs/job_runner.h"

#include "database/database_paths.h"
#include "platform/shell_launcher.h"
#include "search/browser_launch.h"
#include "search/search_engine.h"

namespace cli {

// trovex search NAME TEXT [--case] [--words] [--fold-umlauts] [--open]: both
// passes as the search window's "Lokale Suche" runs them; the pages land in
// the program directory and are opened only when asked. Umlauts fold when the
// option is given or the stored setting is on (as it is unless stored "0"),
// as in the window.
int runSearchCommand(CliContext& context, const QStringList& arguments) {
    QStringList positional;
    search::SearchRequest request;
    request.foldUmlauts = search::foldUmlautsSetting(context.settings);
    bool openPages = false;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--case"))
            request.caseSensitive = true;
        else if (argument == QLatin1String("--words"))
            request.wholeWords = true;
        else if (argument == QLatin1String("--fold-umlauts"))
            request.foldUmlauts = true;
        else if (argument == QLatin1String("--open"))
            openPages = true;
        else if (argument.startsWith(QLatin1String("--"))) {
            context.err << "Unbekannte Option " << argument << " (siehe trovex --help)."
                        << Qt::endl;
            return ExitFailure;
        } else
            positional.append(argument);
    }
    if (positional.size() != 2 || positional.first().isEmpty()) {
        context.err << "Aufruf: trovex search NAME TEXT [--case] [--words] [--fold-umlauts] "
                       "[--open]"
                    << Qt::endl;
        return ExitFailure;
    }
    request.databaseName = positional.at(0);
    request.searchText = positional.at(1);
    if (refuseDatabaseName(context, request.databaseName))
        return ExitRefused;
    if (!database::databaseExists(context.programDirectory, request.databaseName)) {
        context.err << "Die Datenbank \"" << request.databaseName << "\" existiert nicht."
                    << Qt::endl;
        return ExitFailure;
    }

    platform::ProcessShellLauncher launcher;
    platform::RunContext run;
    search::SearchEnvironment environment;
    environment.programDirectory = context.programDirectory;
    environment.drives = &context.drives;
    environment.run = &run;
    if (openPages) {
        environment.openPage = [&](const QString& page) {
            if (const auto warning = search::openInChosenBrowser(page, context.settings, launcher))
                context.err << *warning << Qt::endl;
        };
    }
    environment.notice = [&](const search::SearchNotice& notice) {
        context.err << search::searchNoticeText(notice, context.programDirectory) << Qt::endl;
    };
    search::SearchSession session;
    std::optional<search::SearchOutcome> searched;
    jobs::runOnWorkerThread(
        [&] { searched = search::searchDatabase(request, session, environment); });
    const search::SearchOutcome& outcome = *searched;
    if (outcome.emptySearchText)
        return ExitFailure;
    // The engine has said why on stderr.
    if (!outcome.pageWriteError.isEmpty())
        return ExitFailure;
    for (const QString& line : outcome.lastPageResultLines)
        context.out << line << Qt::endl;
    return outcome.lastPageResultLines.isEmpty() ? ExitRefused : ExitSuccess;
}

} // namespace cli
