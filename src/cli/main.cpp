#include "cli_context.h"

#include "database/generation_switch.h"
#include "platform/program_directory.h"
#include "platform/settings_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

void printHelp(QTextStream& out) {
    out << "Trovex-ODT: Volltextsuche in .odt-, .docx-, .docm- und .epub-Dokumenten\n\n"
           "Aufruf: trovex [--program-dir DIR] [--drive X=DIR]... BEFEHL [ARGUMENTE]\n\n"
           "Optionen:\n"
           "  --program-dir DIR  Programmverzeichnis (Vorgabe: aktuelles Verzeichnis);\n"
           "                     die Datenbanken liegen in DIR/Datenbank\n"
           "  --drive X=DIR      Laufwerk X: steht für das Verzeichnis DIR (mehrfach\n"
           "                     möglich; ergänzt die gespeicherten Laufwerk_X-Werte)\n"
           "  --help             diese Hilfe\n\n"
           "Befehle:\n";
    for (const cli::Command& command : cli::commands()) {
        const QString call =
            QString::fromLatin1(command.name) + QLatin1Char(' ') + QString::fromUtf8(command.usage);
        out << "  " << call.leftJustified(44) << ' ' << QString::fromUtf8(command.summary) << '\n';
    }
    out << "\nExit-Status: 0 Erfolg, 1 Eingabe abgelehnt, 2 Aufruffehler oder E/A-Fehler\n";
    out.flush();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Trovex-ODT"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList arguments = app.arguments().mid(1);
    QString programDirectory = QDir::currentPath();
    QStringList driveOptions;
    while (!arguments.isEmpty() && arguments.first().startsWith(QLatin1String("--"))) {
        const QString option = arguments.takeFirst();
        if (option == QLatin1String("--help")) {
            printHelp(out);
            return cli::ExitSuccess;
        }
        if ((option == QLatin1String("--program-dir") || option == QLatin1String("--drive")) &&
            arguments.isEmpty()) {
            err << "Die Option " << option << " braucht einen Wert." << Qt::endl;
            return cli::ExitFailure;
        }
        if (option == QLatin1String("--program-dir")) {
            programDirectory = QFileInfo(arguments.takeFirst()).absoluteFilePath();
        } else if (option == QLatin1String("--drive")) {
            const QString value = arguments.takeFirst();
            if (!platform::parseDriveOption(value)) {
                err << "Ungültige Laufwerksangabe \"" << value << "\" (erwartet: X=VERZEICHNIS)."
                    << Qt::endl;
                return cli::ExitFailure;
            }
            driveOptions.append(value);
        } else {
            err << "Unbekannte Option " << option << " (siehe trovex --help)." << Qt::endl;
            return cli::ExitFailure;
        }
    }
    if (arguments.isEmpty()) {
        printHelp(err);
        return cli::ExitFailure;
    }

    const QString name = arguments.takeFirst();
    for (const cli::Command& command : cli::commands()) {
        if (name != QLatin1String(command.name))
            continue;
        platform::QtSettingsStore settings;
        platform::DriveMap drives(settings);
        for (const QString& option : driveOptions) {
            const auto [letter, directory] = *platform::parseDriveOption(option);
            drives.setDrive(letter, QFileInfo(directory).absoluteFilePath());
        }
        cli::ConsolePrompts prompts(err);
        // Every command reads databases; one whose files were being
        // replaced when a program died is made whole first.
        database::completeInterruptedSwitches(programDirectory);
        cli::CliContext context{platform::withTrailingSeparator(programDirectory),
                                settings,
                                drives,
                                driveOptions,
                                prompts,
                                out,
                                err};
        const int status = command.run(context, arguments);
        out.flush();
        err.flush();
        return status;
    }
    err << "Unbekannter Befehl \"" << name << "\" (siehe trovex --help)." << Qt::endl;
    return cli::ExitFailure;
}
