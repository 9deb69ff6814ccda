#include "cli_context.h"
#include "jobs/job_runner.h"

#include "database/catalogue.h"
#include "database/database_paths.h"
#include "database/drive_file_list.h"
#include "filelist/tool_start.h"
#include "indexing/index_run.h"
#include "indexing/new_database_checks.h"
#include "platform/program_directory.h"
#include "platform/settings_values.h"
#include "platform/tool_launcher.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

namespace cli {
namespace {

constexpr int kProgressIntervalMs = 400;

struct IndexArguments {
    QStringList positional;
    bool update = false;
    bool newList = false;
    int jobs = 0; // 0: the settings value, else one per processor
};

std::optional<int> parseJobs(const QString& text) {
    bool ok = false;
    const int jobs = text.toInt(&ok);
    if (!ok || jobs < 1)
        return std::nullopt;
    return jobs;
}

std::optional<IndexArguments> parseIndexArguments(const QStringList& arguments) {
    IndexArguments parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--update")) {
            parsed.update = true;
        } else if (argument == QLatin1String("--new-list")) {
            parsed.newList = true;
        } else if (argument == QLatin1String("--jobs") ||
                   argument.startsWith(QLatin1String("--jobs="))) {
            const QString value = argument.contains(QLatin1Char('='))
                                      ? argument.section(QLatin1Char('='), 1)
                                  : i + 1 < arguments.size() ? arguments.at(++i)
                                                             : QString();
            const auto jobs = parseJobs(value);
            if (!jobs)
                return std::nullopt;
            parsed.jobs = *jobs;
        } else if (argument.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            parsed.positional.append(argument);
        }
    }
    const qsizetype count = parsed.positional.size();
    if (count > 3 || count < (parsed.update ? 1 : 3) || count == 2)
        return std::nullopt;
    return parsed;
}

// The drive file list the run will read: the program directory's, else the
// control directory's.
bool driveFileListExists(CliContext& context, QChar letter) {
    if (database::findDriveFileList(context.programDirectory, letter))
        return true;
    const QString control = context.settings.read(platform::settings::kTrovexControl);
    return !control.isEmpty() &&
           database::findDriveFileList(platform::withTrailingSeparator(control), letter);
}

// The file-list tool as the window starts it, but without its window, as
// the user trovex runs as, and writing into the program directory.
filelist::FileListToolCall fileListToolCall(const CliContext& context, QChar letter) {
    filelist::FileListToolCall call;
    call.driveLetter = letter;
    call.programDirectory = context.programDirectory;
    call.applicationDirectory = QCoreApplication::applicationDirPath();
    call.showWindow = false;
    call.elevated = false;
    return call;
}

int runFileListTool(CliContext& context, const filelist::FileListToolCall& call,
                    const QString& tool) {
    context.err << "Die Dateiliste für Laufwerk " << call.driveLetter << ": wird erstellt ..."
                << Qt::endl;
    platform::ProcessToolLauncher launcher;
    const filelist::ToolRunResult result =
        filelist::runFileListToolAndWait(launcher, call, context.drives);
    switch (result.outcome) {
    case filelist::ToolOutcome::ListWritten:
        return ExitSuccess;
    case filelist::ToolOutcome::NotStarted:
        context.err << "Das Programm " << tool << " konnte nicht ausgeführt werden." << Qt::endl;
        return ExitFailure;
    case filelist::ToolOutcome::Refused:
    case filelist::ToolOutcome::Failed:
    case filelist::ToolOutcome::Interrupted:
        break;
    }
    context.err << "Das Programm ErstelleDateiliste hat die Dateiliste nicht erstellt (Status "
                << result.exitCode << ")." << Qt::endl;
    return result.outcome == filelist::ToolOutcome::Refused ? ExitRefused : ExitFailure;
}

} // namespace

int runIndexCommand(CliContext& context, const QStringList& arguments) {
    const auto parsed = parseIndexArguments(arguments);
    if (!parsed) {
        context.err
            << "Aufruf: trovex index NAME ORDNER MUSTER [--update] [--new-list] [--jobs N]\n"
               "        trovex index NAME --update [--new-list] [--jobs N]"
            << Qt::endl;
        return ExitFailure;
    }
    indexing::DialogInputs inputs;
    inputs.name = parsed->positional.at(0);
    inputs.updateMode = parsed->update;
    // Both before the stored inputs are read: an update reads the name's
    // files. The name field would drop these characters; here the name is
    // refused rather than changed behind the user's back.
    const QString nameMessage = indexing::nameChangeMessage(inputs.name);
    if (!nameMessage.isEmpty()) {
        context.err << nameMessage << Qt::endl;
        return ExitRefused;
    }
    if (!inputs.name.isEmpty() && refuseDatabaseName(context, inputs.name))
        return ExitRefused;
    if (parsed->update) {
        const auto stored = indexing::readStoredRunInputs(context.programDirectory, inputs.name);
        if (!stored) {
            context.err << "Die Datenbank \"" << inputs.name << "\" existiert nicht." << Qt::endl;
            return ExitRefused;
        }
        inputs.folder = stored->folder;
        inputs.patternText = stored->patternText;
    }
    if (parsed->positional.size() == 3) {
        inputs.folder = parsed->positional.at(1);
        inputs.patternText = parsed->positional.at(2);
    }

    const QList<indexing::Refusal> refusals = indexing::confirmationRefusals(
        inputs,
        [&](const QString& folder) {
            return indexing::folderExistsThroughDriveMap(context.drives, folder);
        },
        database::scanCatalogue(context.programDirectory));
    if (!refusals.isEmpty()) {
        for (const indexing::Refusal& refusal : refusals)
            context.err << refusal.message << Qt::endl;
        return ExitRefused;
    }

    const QChar letter = inputs.folder.at(0);
    if (parsed->newList || !driveFileListExists(context, letter)) {
        const filelist::FileListToolCall call = fileListToolCall(context, letter);
        const QString tool = filelist::planFileListTool(call, context.drives).request.program;
        if (!QFileInfo(tool).isExecutable()) {
            context.err << "Die Dateiliste \""
                        << QDir::toNativeSeparators(
                               database::driveFileListPath(context.programDirectory, letter))
                        << "\" fehlt, und das Programm ErstelleDateiliste, das sie erstellt, "
                           "liegt nicht neben trovex."
                        << Qt::endl;
            return ExitRefused;
        }
        if (const int status = runFileListTool(context, call, tool); status != ExitSuccess)
            return status;
    }

    QElapsedTimer sinceProgress;
    sinceProgress.start();
    indexing::IndexProgress progress;
    progress.caption = [&](const QString& caption) {
        if (caption.isEmpty() || sinceProgress.elapsed() < kProgressIntervalMs)
            return;
        sinceProgress.restart();
        context.err << caption << Qt::endl;
    };
    progress.status = [&](const QString& status) { context.err << status << Qt::endl; };
    progress.notice = [&](const QString& notice) { context.err << notice << Qt::endl; };
    progress.listedFiles = [&](qint64 count) {
        context.err << "Anzahl Dateien: " << QLocale().toString(count) << Qt::endl;
    };
    progress.message = [&](const indexing::IndexMessage& message) {
        context.err << message.text << Qt::endl;
    };
    indexing::IndexRun run(context.programDirectory, context.drives, context.settings, {},
                           progress);
    run.setThreads(parsed->jobs);
    bool ok = false;
    jobs::runOnWorkerThread([&] {
        ok = run.run({inputs.name, inputs.folder, inputs.patternText, inputs.updateMode});
    });
    if (run.refused()) {
        context.err << run.refusal() << Qt::endl;
        return ExitRefused;
    }
    if (run.driveListMissing()) {
        context.err << "Die Dateiliste \""
                    << QDir::toNativeSeparators(
                           database::driveFileListPath(context.programDirectory, letter))
                    << "\" fehlt." << Qt::endl;
        return ExitRefused;
    }
    for (const QString& line : run.logLines())
        context.out << line << Qt::endl;
    return ok ? ExitSuccess : ExitFailure;
}

} // namespace cli
