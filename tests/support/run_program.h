#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace testsupport {

// A built program by name, from TROVEX_BIN ("trovex.exe" on Windows).
inline QString builtProgram(const QString& name) {
#ifdef Q_OS_WIN
    return qEnvironmentVariable("TROVEX_BIN") + QLatin1Char('/') + name + QStringLiteral(".exe");
#else
    return qEnvironmentVariable("TROVEX_BIN") + QLatin1Char('/') + name;
#endif
}

// What a program wrote to its console. A Windows console program ends each
// line with CR LF; the tests compare the lines themselves.
inline QByteArray consoleBytes(QByteArray bytes) {
#ifdef Q_OS_WIN
    bytes.replace("\r\n", "\n");
#endif
    return bytes;
}

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
    process.start(builtProgram(name), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(consoleBytes(process.readAllStandardOutput())),
            QString::fromUtf8(consoleBytes(process.readAllStandardError()))};
}

} // namespace testsupport
