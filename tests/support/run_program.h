#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

struct ProgramRun {
    int status = -1; // -1: did not finish in time
    QString out;
    QString err;
};

// Runs one of the built programs (by name, from TROVEX_BIN) with a settings
// store of its own, so the machine's stored drive mappings do not count.
inline ProgramRun runBuiltProgram(const QString& name, const QStringList& arguments,
                                  const QString& configHome) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    process.setProcessEnvironment(environment);
    process.start(qEnvironmentVariable("TROVEX_BIN") + QLatin1Char('/') + name, arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

} // namespace testsupport
