#include "system_texts.h"

namespace app {

namespace systemtexts {

using platform::OsFamily;

QStringList fileListToolNote(OsFamily os) {
    // The first line ends with a blank and carries two blanks after its
    // full stop, as it always has.
    const QString first = QStringLiteral(
        "Nach dem Sie OK betätigt haben, wird eine Hauptdateienliste erstellt.  Dafür wird das ");
    if (os == OsFamily::Windows)
        return {
            first,
            QStringLiteral("Programm \"ErstelleDateienliste.exe\" gestartet. Dieses braucht "
                           "Administratorrechte."),
            QStringLiteral(
                "Deshalb müssen Sie die Frage der Benutzerkontensteuerung mit \"Ja\" bestätigen.")};
    return {first, QStringLiteral("Programm \"ErstelleDateiliste\" gestartet."), QString()};
}

std::optional<QString> driveCHint(OsFamily os) {
    if (os != OsFamily::Windows)
        return std::nullopt;
    return QStringLiteral(
               "Wenn Sie auf Laufwerk \"C:\\\" oder speziell in den Ordner \"C:\\Windows\", "
               "\"C:\\Program Files\" etc. \r\n"
               "Dateien indizieren möchten, ist es besser wenn Sie Trovex mit "
               "Administratorberechtigung starten.\r\n"
               "(Rechte Maustaste auf \"Trovex-odt.exe\" und im Kontextmenü auf \"Als "
               "Administrator ausführen\" klicken.\r\n"
               "\r\n") +
           QString(39, QLatin1Char(' ')) +
           QStringLiteral("Sonst werden die Dateien nicht indiziert.");
}

QString unindexableDriveMessage(OsFamily os, QChar drive,
                                const std::optional<QString>& mappedDirectory) {
    const QString named = QStringLiteral("Das Laufwerk: \"") + drive + QLatin1Char('"');
    const QString refusal = QStringLiteral(" Trovex kann es deshalb nicht indizieren.");
    if (os == OsFamily::Windows)
        return named + QStringLiteral(" hat kein NTFS-Dateisystem!") + refusal;
    if (!mappedDirectory)
        return named + QStringLiteral(" ist keinem Ordner zugeordnet!") + refusal;
    return named + QStringLiteral(" (Ordner \"") + *mappedDirectory +
           QStringLiteral("\") liegt auf keinem lokalen Dateisystem, das Trovex durchsuchen kann "
                          "(etwa auf einem Netzlaufwerk oder einem Pseudo-Dateisystem)!") +
           refusal;
}

QString pathEntryExample(OsFamily os, const platform::DriveMap& drives, const QString& homeFolder) {
    if (os == OsFamily::Windows)
        return QStringLiteral("#C:\\Windows\\Dies ist ein Beispiel.odt");
    QString folder = homeFolder;
    while (folder.size() > 1 && folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    const QString file =
        (folder == QLatin1String("/") ? QString() : folder) + QStringLiteral("/Texte/Beispiel.odt");
    if (const std::optional<QString> windowsForm = drives.toWindows(file))
        return QLatin1Char('#') + *windowsForm;
    // The home folder lies on no mapped drive: an example of the form only.
    return QStringLiteral("#D:\\Texte\\Beispiel.odt");
}

QString searchHintText(const QString& pathEntryExample) {
    return QStringLiteral("Geben Sie oben den Text ein, den Sie suchen.   Bei der Suche\r\nnach "
                          "einem Pfadeintrag mit Dateinamen, setzen Sie das Raute-\r\nZeichen # "
                          "davor:     ") +
           pathEntryExample;
}

} // namespace systemtexts

} // namespace app
