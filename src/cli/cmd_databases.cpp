#include "cli_context.h"

#include "database/catalogue.h"
#include "database/database_lock.h"
#include "database/database_paths.h"

namespace cli {

int runDatabasesCommand(CliContext& context, const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        context.err << "Aufruf: trovex databases" << Qt::endl;
        return ExitFailure;
    }
    for (const QString& name : database::scanCatalogue(context.programDirectory))
        context.out << name << Qt::endl;
    return ExitSuccess;
}

int runDeleteCommand(CliContext& context, const QStringList& arguments) {
    if (arguments.size() != 1 || arguments.first().isEmpty()) {
        context.err << "Aufruf: trovex delete NAME" << Qt::endl;
        return ExitFailure;
    }
    const QString& name = arguments.first();
    if (refuseDatabaseName(context, name))
        return ExitRefused;
    if (!database::databaseExists(context.programDirectory, name)) {
        context.err << "Die Datenbank \"" << name << "\" existiert nicht." << Qt::endl;
        return ExitRefused;
    }
    database::DatabaseLock lock;
    if (!lock.acquire(context.programDirectory, name)) {
        context.err << lock.message() << Qt::endl;
        return lock.busy() ? ExitRefused : ExitFailure;
    }
    const QStringList left = database::deleteDatabaseFiles(context.programDirectory, name);
    if (!left.isEmpty()) {
        context.err << database::filesLeftMessage(name, left) << Qt::endl;
        return ExitFailure;
    }
    return ExitSuccess;
}

} // namespace cli
