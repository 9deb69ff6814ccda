#include "cli_context.h"

#include "database/database_name.h"

namespace cli {

int runDatabasesCommand(CliContext& context, const QStringList& arguments);
int runDeleteCommand(CliContext& context, const QStringList& arguments);
int runIndexCommand(CliContext& context, const QStringList& arguments);
int runSearchCommand(CliContext& context, const QStringList& arguments);
int runPositionsCommand(CliContext& context, const QStringList& arguments);
int runListCommand(CliContext& context, const QStringList& arguments);

bool refuseDatabaseName(CliContext& context, const QString& name) {
    const QString message = database::databaseNameMessage(name);
    if (message.isEmpty())
        return false;
    context.err << message << Qt::endl;
    return true;
}

const QList<Command>& commands() {
    static const QList<Command> table = {
        {"databases", "", "listet die Datenbanken, eine je Zeile", runDatabasesCommand},
        {"delete", "NAME", "löscht die Dateien der Datenbank NAME ohne Rückfrage",
         runDeleteCommand},
        {"index", "NAME ORDNER MUSTER [--update] [--new-list] [--jobs N]",
         "baut die Datenbank NAME aus den Dokumenten unter ORDNER neu auf", runIndexCommand},
        {"search", "NAME TEXT [--case] [--words] [--fold-umlauts] [--open]",
         "durchsucht die Datenbank NAME und schreibt die Ergebnisseiten", runSearchCommand},
        {"positions", "NAME [--lines N]",
         "schreibt die Liste der Datei-Positionen (Seiten zu N Zeilen, Vorgabe 40)",
         runPositionsCommand},
        {"list", "NAME [--words|--phrases|--both]",
         "schreibt die sortierte Wort- und Phrasenliste der Datenbank NAME", runListCommand},
    };
    return table;
}

} // namespace cli
