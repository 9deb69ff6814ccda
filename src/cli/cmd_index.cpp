#include "cli_context.h"

#include "database/catalogue.h"
#include "database/database_paths.h"
#include "database/drive_file_list.h"
#include "indexing/index_run.h"
#include "indexing/new_database_checks.h"
#include "platform/program_directory.h"
#include "platform/settings_values.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

namespace cli {
namespace {

constexpr int kProgressIntervalMs = 400;

struct IndexArguments {
    QStringList positional;
    bool update = false;
    bool newList = false;
};

std::optional<IndexArguments> parseIndexArguments(const QStringList& arguments) {
    IndexArguments parsed;
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--update"))
            parsed.update = true;
        else if (argument == QLatin1String("--new-list"))
            parsed.newList = true;
        else if (argument.startsWith(QLatin1String("--")))
            return std::nullopt;
        else
            parsed.positional.append(argument);
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

QString fileListToolPath() {
    QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/ErstelleDateiliste");
#ifdef Q_OS_WIN
    tool += QStringLiteral(".exe");
#endif
    return tool;
}

// Runs the file-list tool for the drive, without its window, handing on the
// program directory and every drive mapping in force.
int runFileListTool(CliContext& context, const QString& tool, QChar letter) {
    QStringList arguments{QStringLiteral("open"), QString(letter), QStringLiteral("--no-window"),
                          QStringLiteral("--program-dir"), context.programDirectory};
    const auto drives = context.drives.drives();
    for (auto it = drives.cbegin(); it != drives.cend(); ++it)
        arguments << QStringLiteral("--drive") << QString(it.key()) + QLatin1Char('=') + it.value();
    context.err << "Die Dateiliste für Laufwerk " << letter << ": wird erstellt ..." << Qt::endl;
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(tool, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(-1)) {
        context.err << "Das Programm " << tool << " konnte nicht ausgeführt werden." << Qt::endl;
        return ExitFailure;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        context.err << "Das Programm ErstelleDateiliste hat die Dateiliste nicht erstellt (Status "
                    << process.exitCode() << ")." << Qt::endl;
        return process.exitCode() == 1 ? ExitRefused : ExitFailure;
    }
    return ExitSuccess;
}

} // namespace

int runIndexCommand(CliContext& context, const QStringList& arguments) {
    const auto parsed = parseIndexArguments(arguments);
    if (!parsed) {
        context.err << "Aufruf: trovex index NAME ORDNER MUSTER [--update] [--new-list]\n"
                       "        trovex index NAME --update [--new-list]"
                    << Qt::endl;
        return ExitFailure;
    }
    indexing::DialogInputs inputs;
    inputs.name = parsed->positional.at(0);
    inputs.updateMode = parsed->update;
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

    // The name field would drop these characters; here the name is refused
    // rather than changed behind the user's back.
    const QString nameMessage = indexing::nameChangeMessage(inputs.name);
    if (!nameMessage.isEmpty()) {
        context.err << nameMessage << Qt::endl;
        return ExitRefused;
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
        const QString tool = fileListToolPath();
        if (!QFileInfo(tool).isExecutable()) {
            context.err << "Die Dateiliste \""
                        << QDir::toNativeSeparators(
                               database::driveFileListPath(context.programDirectory, letter))
                        << "\" fehlt, und das Programm ErstelleDateiliste, das sie erstellt, "
                           "liegt nicht neben trovex."
                        << Qt::endl;
            return ExitRefused;
        }
        if (const int status = runFileListTool(context, tool, letter); status != ExitSuccess)
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
    progress.listedFiles = [&](qint64 count) {
        context.err << "Anzahl Dateien: " << QLocale().toString(count) << Qt::endl;
    };
    platform::RunContext runContext;
    runContext.prompts = &context.prompts;
    indexing::IndexRun run(context.programDirectory, context.drives, context.settings, runContext,
                           progress);
    const bool ok = run.run({inputs.name, inputs.folder, inputs.patternText, inputs.updateMode});
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
