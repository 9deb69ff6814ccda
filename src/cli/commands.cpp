#include "cli_context.h"

namespace cli {

int runDatabasesCommand(CliContext& context, const QStringList& arguments);
int runDeleteCommand(CliContext& context, const QStringList& arguments);
int runIndexCommand(CliContext& context, const QStringList& arguments);
int runSearchCommand(CliContext& context, const QStringList& arguments);

const QList<Command>& commands() {
    static const QList<Command> table = {
        {"databases", "", "listet die Datenbanken, eine je Zeile", runDatabasesCommand},
        {"delete", "NAME", "löscht die Dateien der Datenbank NAME ohne Rückfrage",
         runDeleteCommand},
        {"index", "NAME ORDNER MUSTER [--update] [--new-list] [--jobs N]",
         "baut die Datenbank NAME aus den Dokumenten unter ORDNER neu auf", runIndexCommand},
        {"search", "NAME TEXT [--case] [--words] [--open]",
         "durchsucht die Datenbank NAME und schreibt die Ergebnisseiten", runSearchCommand},
    };
    return table;
}

} // namespace cli
