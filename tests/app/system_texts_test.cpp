// Every text that describes the system the program runs on, for both kinds of
// system: on Windows the program's original text byte for byte, elsewhere the
// wording that is true there. "nothing" marks a text that is not shown.
#include "app/system_texts.h"

#include "filelist/scanner_notice.h"
#include "filelist/tool_monitor.h"

#include <QTest>

#include <optional>

using platform::OsFamily;

namespace {

// The texts by the names the table uses, with a fixed drive map and home
// folder: Z: is the root, H: the home folder /home/anna, D: a data folder,
// and X: is mapped nowhere.
std::optional<QString> wording(const QString& text, OsFamily os) {
    platform::DriveMap drives;
    drives.setDrive(QLatin1Char('D'), QStringLiteral("/media/daten"));
    if (text == QStringLiteral("Hinweis der Dateiliste"))
        return app::systemtexts::fileListToolNote(os).join(QLatin1Char('|'));
    if (text == QStringLiteral("Hinweis zu Laufwerk C"))
        return app::systemtexts::driveCHint(os);
    if (text == QStringLiteral("Laufwerk abgelehnt"))
        return app::systemtexts::unindexableDriveMessage(os, QLatin1Char('D'),
                                                         drives.driveDirectory(QLatin1Char('D')));
    if (text == QStringLiteral("Laufwerk ohne Ordner abgelehnt"))
        return app::systemtexts::unindexableDriveMessage(os, QLatin1Char('X'),
                                                         drives.driveDirectory(QLatin1Char('X')));
    if (text == QStringLiteral("Suchhinweis"))
        return app::systemtexts::searchHintText(
            app::systemtexts::pathEntryExample(os, drives, QStringLiteral("/home/anna")));
    if (text == QStringLiteral("Beispiel, Heimordner als Laufwerk H")) {
        drives.setDrive(QLatin1Char('H'), QStringLiteral("/home/anna"));
        return app::systemtexts::pathEntryExample(os, drives, QStringLiteral("/home/anna/"));
    }
    if (text == QStringLiteral("Beispiel, Heimordner auf keinem Laufwerk")) {
        drives.removeDrive(QLatin1Char('Z'));
        return app::systemtexts::pathEntryExample(os, drives, QStringLiteral("/home/anna"));
    }
    if (text == QStringLiteral("Zeitüberschreitung, Status"))
        return filelist::timeoutStatusText(os);
    if (text == QStringLiteral("Zeitüberschreitung, Meldung"))
        return filelist::timeoutMessageText(os);
    if (text == QStringLiteral("Virenscanner"))
        return filelist::ScannerNotice::noticeText(os);
    return QStringLiteral("<unbekannter Text>");
}

} // namespace

class SystemTextsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void eachTextForEachSystem_data();
    void eachTextForEachSystem();
};

void SystemTextsTest::eachTextForEachSystem_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<OsFamily>("system");
    QTest::addColumn<QString>("expected"); // "nothing": not shown
    const OsFamily windows = OsFamily::Windows;
    const OsFamily other = OsFamily::Other;
    const QString nothing = QStringLiteral("nothing");
    auto row = [](const QString& text, OsFamily system, const QString& expected) {
        QTest::addRow("%s, %s", qPrintable(text),
                      system == OsFamily::Windows ? "Windows" : "elsewhere")
            << text << system << expected;
    };

    row(QStringLiteral("Hinweis der Dateiliste"), windows,
        QStringLiteral("Nach dem Sie OK betätigt haben, wird eine Hauptdateienliste erstellt.  "
                       "Dafür wird das |Programm \"ErstelleDateienliste.exe\" gestartet. Dieses "
                       "braucht Administratorrechte.|Deshalb müssen Sie die Frage der "
                       "Benutzerkontensteuerung mit \"Ja\" bestätigen."));
    row(QStringLiteral("Hinweis der Dateiliste"), other,
        QStringLiteral("Nach dem Sie OK betätigt haben, wird eine Hauptdateienliste erstellt.  "
                       "Dafür wird das |Programm \"ErstelleDateiliste\" gestartet.|"));

    row(QStringLiteral("Hinweis zu Laufwerk C"), windows,
        QStringLiteral(
            "Wenn Sie auf Laufwerk \"C:\\\" oder speziell in den Ordner \"C:\\Windows\", "
            "\"C:\\Program Files\" etc. \r\nDateien indizieren möchten, ist es besser "
            "wenn Sie Trovex mit Administratorberechtigung starten.\r\n(Rechte "
            "Maustaste auf \"Trovex-odt.exe\" und im Kontextmenü auf \"Als "
            "Administrator ausführen\" klicken.\r\n\r\n                              "
            "         Sonst werden die Dateien nicht indiziert."));
    row(QStringLiteral("Hinweis zu Laufwerk C"), other, nothing);

    row(QStringLiteral("Laufwerk abgelehnt"), windows,
        QStringLiteral("Das Laufwerk: \"D\" hat kein NTFS-Dateisystem! Trovex kann es deshalb "
                       "nicht indizieren."));
    row(QStringLiteral("Laufwerk abgelehnt"), other,
        QStringLiteral("Das Laufwerk: \"D\" (Ordner \"/media/daten\") liegt auf keinem lokalen "
                       "Dateisystem, das Trovex durchsuchen kann (etwa auf einem Netzlaufwerk "
                       "oder einem Pseudo-Dateisystem)! Trovex kann es deshalb nicht indizieren."));
    row(QStringLiteral("Laufwerk ohne Ordner abgelehnt"), windows,
        QStringLiteral("Das Laufwerk: \"X\" hat kein NTFS-Dateisystem! Trovex kann es deshalb "
                       "nicht indizieren."));
    row(QStringLiteral("Laufwerk ohne Ordner abgelehnt"), other,
        QStringLiteral("Das Laufwerk: \"X\" ist keinem Ordner zugeordnet! Trovex kann es deshalb "
                       "nicht indizieren."));

    row(QStringLiteral("Suchhinweis"), windows,
        QStringLiteral("Geben Sie oben den Text ein, den Sie suchen.   Bei der Suche\r\nnach einem "
                       "Pfadeintrag mit Dateinamen, setzen Sie das Raute-\r\nZeichen # davor:     "
                       "#C:\\Windows\\Dies ist ein Beispiel.odt"));
    row(QStringLiteral("Suchhinweis"), other,
        QStringLiteral("Geben Sie oben den Text ein, den Sie suchen.   Bei der Suche\r\nnach einem "
                       "Pfadeintrag mit Dateinamen, setzen Sie das Raute-\r\nZeichen # davor:     "
                       "#Z:\\home\\anna\\Texte\\Beispiel.odt"));
    row(QStringLiteral("Beispiel, Heimordner als Laufwerk H"), other,
        QStringLiteral("#H:\\Texte\\Beispiel.odt"));
    row(QStringLiteral("Beispiel, Heimordner auf keinem Laufwerk"), other,
        QStringLiteral("#D:\\Texte\\Beispiel.odt"));

    row(QStringLiteral("Zeitüberschreitung, Status"), windows,
        QStringLiteral("\"ErstelleDateiliste.exe\" wurde abgebrochen, Vorgabezeit überschritten "
                       "oder noch nicht mit \"JA\" bestätigt!"));
    row(QStringLiteral("Zeitüberschreitung, Status"), other,
        QStringLiteral("\"ErstelleDateiliste\" wurde abgebrochen oder die Vorgabezeit ist "
                       "überschritten!"));
    row(QStringLiteral("Zeitüberschreitung, Meldung"), windows,
        QStringLiteral("Die Vorgabezeit ist überschritten! Sie hätten in der Taskleiste von "
                       "Windows auf das blinkende Symbol mit dem Namen \"ErstelleDateiliste.exe\" "
                       "klicken müssen. Wenn noch nicht geschehen, dann klicken Sie nun darauf und "
                       "wählen Sie \"Nein\" aus, denn das aktuelle Indizieren ist leider "
                       "gescheitert!"));
    row(QStringLiteral("Zeitüberschreitung, Meldung"), other,
        QStringLiteral("Die Vorgabezeit ist überschritten! Das Programm \"ErstelleDateiliste\" hat "
                       "sich nicht innerhalb von 60 Sekunden gemeldet. Das aktuelle Indizieren ist "
                       "leider gescheitert!"));

    row(QStringLiteral("Virenscanner"), windows,
        QStringLiteral("Bitte Geduld! Windows Defender überprüft gerade Trovex."));
    row(QStringLiteral("Virenscanner"), other, nothing);
}

void SystemTextsTest::eachTextForEachSystem() {
    QFETCH(QString, text);
    QFETCH(OsFamily, system);
    QFETCH(QString, expected);
    QCOMPARE(wording(text, system).value_or(QStringLiteral("nothing")), expected);
}

QTEST_MAIN(SystemTextsTest)
#include "system_texts_test.moc"
