#pragma once

#include "platform/drive_map.h"
#include "platform/prompts.h"
#include "platform/settings_store.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace cli {

// Exit statuses of every command.
enum ExitStatus : int {
    ExitSuccess = 0,
    ExitRefused = 1, // an input was refused; the German message is on stderr
    ExitFailure = 2, // usage error or I/O failure
};

// What every command gets: the program directory, the drive map with this
// run's --drive mappings on top of the stored ones, and the streams.
struct CliContext {
    QString programDirectory; // ends in the native separator
    platform::SettingsStore& settings;
    platform::DriveMap drives;
    QStringList driveOptions; // the --drive X=DIR options as given, to hand on to tools
    platform::Prompts& prompts;
    QTextStream& out;
    QTextStream& err;
};

// Message boxes of the core land on stderr; a confirmation is answered Yes,
// as the command line has asked for the action already.
class ConsolePrompts final : public platform::Prompts {
public:
    explicit ConsolePrompts(QTextStream& err)
        : err_(err) {}

protected:
    bool show(Kind, const QString& text, const QString&) override {
        print(text);
        return true;
    }

private:
    void print(const QString& text) { err_ << text << Qt::endl; }
    QTextStream& err_;
};

// Refuses, with its German message on stderr, a database name that could
// reach a file outside Datenbank or that the file system cannot hold: true
// when it was refused. Checked before any file is touched.
bool refuseDatabaseName(CliContext& context, const QString& name);

using CommandFunction = int (*)(CliContext& context, const QStringList& arguments);

struct Command {
    const char* name;
    const char* usage;   // arguments after the name
    const char* summary; // one line, German
    CommandFunction run;
};

// The commands, in the order --help lists them.
const QList<Command>& commands();

} // namespace cli
