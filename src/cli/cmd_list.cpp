#include "cli_context.h"
#include "jobs/job_runner.h"

#include "database/database_paths.h"
#include "lists/sorted_list_builder.h"

#include <optional>

namespace cli {
namespace {

std::optional<lists::ListKind> listKindOfOption(const QString& option) {
    if (option == QLatin1String("--words"))
        return lists::ListKind::Words;
    if (option == QLatin1String("--phrases"))
        return lists::ListKind::Phrases;
    if (option == QLatin1String("--both"))
        return lists::ListKind::WordsAndPhrases;
    return std::nullopt;
}

} // namespace

// trovex list NAME [--words|--phrases|--both]: the sorted word and phrase list
// as the search window builds it, written to <name>_Phrasen_Woerter_Utf8Liste.txt.
int runListCommand(CliContext& context, const QStringList& arguments) {
    QStringList positional;
    std::optional<lists::ListKind> kind;
    for (const QString& argument : arguments) {
        if (!argument.startsWith(QLatin1String("--"))) {
            positional.append(argument);
            continue;
        }
        const auto chosen = listKindOfOption(argument);
        if (!chosen) {
            context.err << "Unbekannte Option " << argument << " (siehe trovex --help)."
                        << Qt::endl;
            return ExitFailure;
        }
        if (kind && *kind != *chosen) {
            context.err << "Bitte nur eine der Optionen --words, --phrases, --both angeben."
                        << Qt::endl;
            return ExitFailure;
        }
        kind = chosen;
    }
    if (positional.size() != 1 || positional.first().isEmpty()) {
        context.err << "Aufruf: trovex list NAME [--words|--phrases|--both]" << Qt::endl;
        return ExitFailure;
    }
    const QString name = positional.first();
    if (refuseDatabaseName(context, name))
        return ExitRefused;
    if (!database::databaseExists(context.programDirectory, name)) {
        context.err << "Die Datenbank \"" << name << "\" existiert nicht." << Qt::endl;
        return ExitRefused;
    }

    lists::SortedListRequest request;
    request.programDirectory = context.programDirectory;
    request.databaseName = name;
    request.kind = kind.value_or(lists::ListKind::Words);
    std::optional<lists::ListBuildOutcome> built;
    jobs::runOnWorkerThread(
        [&] { built = lists::buildSortedList(request, platform::RunContext()); });
    const lists::ListBuildOutcome& outcome = *built;
    if (!outcome.warning.isEmpty())
        context.err << outcome.warning << Qt::endl;
    switch (outcome.status) {
    case lists::ListBuildStatus::Written:
        for (int group = 0; group < lists::kGroupCount; ++group) {
            context.out << "Gruppe " << group + 1 << ": " << outcome.itemsPerGroup[group]
                        << Qt::endl;
        }
        return ExitSuccess;
    case lists::ListBuildStatus::NoDocuments:
    case lists::ListBuildStatus::NothingToSort:
        // A text of at most 4 bytes holds no document either.
        context.err << lists::noDocumentsMessage(name) << Qt::endl;
        return ExitRefused;
    case lists::ListBuildStatus::Stopped:
        context.err << "Die Sortierung wurde abgebrochen." << Qt::endl;
        return ExitFailure;
    case lists::ListBuildStatus::Refused:
        context.err << outcome.error << Qt::endl;
        return ExitRefused;
    case lists::ListBuildStatus::Failed:
        break;
    }
    context.err << outcome.error << Qt::endl;
    return ExitFailure;
}

} // namespace cli
