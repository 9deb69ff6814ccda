#include "tool_options.h"

#include <QFileInfo>

namespace filelist {

ToolOptionsResult parseToolOptions(const QStringList& arguments) {
    ToolOptionsResult result;
    ToolOptions options;
    bool haveDrive = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        const bool takesValue = argument == QLatin1String("--program-dir") ||
                                argument == QLatin1String("--drive") ||
                                argument == QLatin1String("--threads") ||
                                argument.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0;
        if (takesValue && i + 1 >= arguments.size()) {
            result.error = QStringLiteral("Die Angabe %1 braucht einen Wert.").arg(argument);
            return result;
        }
        if (argument.compare(QLatin1String("open"), Qt::CaseInsensitive) == 0) {
            const QString letter = arguments.at(++i);
            const QChar c = letter.isEmpty() ? QChar() : letter.at(0);
            const bool valid = (letter.size() == 1 || letter == QString(c) + QLatin1Char(':')) &&
                               c.toUpper() >= QLatin1Char('A') && c.toUpper() <= QLatin1Char('Z');
            if (!valid) {
                result.error = QStringLiteral("Ungültiger Laufwerksbuchstabe \"%1\".").arg(letter);
                return result;
            }
            options.driveLetter = c;
            haveDrive = true;
        } else if (argument == QLatin1String("--no-window")) {
            options.showWindow = false;
        } else if (argument == QLatin1String("--program-dir")) {
            options.programDirectory = arguments.at(++i);
        } else if (argument == QLatin1String("--drive")) {
            const QString value = arguments.at(++i);
            if (!platform::parseDriveOption(value)) {
                result.error =
                    QStringLiteral("Ungültige Laufwerksangabe \"%1\" (erwartet: X=VERZEICHNIS).")
                        .arg(value);
                return result;
            }
            options.driveOptions.append(value);
        } else if (argument == QLatin1String("--threads")) {
            bool ok = false;
            options.threads = arguments.at(++i).toInt(&ok);
            if (!ok || options.threads < 1) {
                result.error =
                    QStringLiteral("Ungültige Anzahl Threads \"%1\".").arg(arguments.at(i));
                return result;
            }
        } else {
            result.error = QStringLiteral("Unbekannte Angabe \"%1\".").arg(argument);
            return result;
        }
    }
    if (!haveDrive) {
        result.error = QStringLiteral("Es fehlt \"open\" mit dem Laufwerksbuchstaben.");
        return result;
    }
    result.options = options;
    return result;
}

QString toolUsageText() {
    return QStringLiteral("Aufruf: ErstelleDateiliste open X [--no-window] [--program-dir DIR] "
                          "[--drive X=DIR]... [--threads N]\n"
                          "Schreibt die Liste aller Dateien von Laufwerk X nach "
                          "DIR/Datenbank/Haupt_Dateinamen_Liste_Laufwerk_X.txt.");
}

void applyDriveOptions(platform::DriveMap& drives, const QStringList& driveOptions) {
    for (const QString& option : driveOptions) {
        const auto parsed = platform::parseDriveOption(option);
        if (parsed)
            drives.setDrive(parsed->first, QFileInfo(parsed->second).absoluteFilePath());
    }
}

QString toolWindowTitle(QChar driveLetter) {
    return QStringLiteral("Erstelle Dateiliste - von Laufwerk ") + driveLetter;
}

} // namespace filelist
