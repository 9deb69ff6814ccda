#pragma once

#include <QList>
#include <QString>

#include <functional>

// Starting things outside the program: a file or address with the system's
// default handler (the shell verb "open"), or a program with parameters.
// Core code starts nothing itself; the windows and the command line pass a
// real launcher, tests the recorder.
namespace platform {

class ShellLauncher {
public:
    virtual ~ShellLauncher() = default;
    // A local file path or an address, opened with the default handler.
    // Failures are not reported to the user.
    virtual bool openWithDefaultHandler(const QString& target) = 0;
    // The same, for a caller that tells the user when it fails: `outcome`
    // learns, exactly once, whether the desktop found a program for the
    // target, at once or when the desktop's opener has answered.
    virtual void openWithDefaultHandlerAndReport(const QString& target,
                                                 std::function<void(bool opened)> outcome) {
        outcome(openWithDefaultHandler(target));
    }
    // Runs a program with one parameter text, as a shell would pass it
    // (double quotes group). False when it could not be started.
    virtual bool runProgram(const QString& program, const QString& parameters) = 0;
};

// Starts programs with QProcess::startDetached; the default handler is the
// desktop's opener (xdg-open, open, or the Windows shell's start). Needs no
// GUI, so the command-line program can use it.
class ProcessShellLauncher final : public ShellLauncher {
public:
    bool openWithDefaultHandler(const QString& target) override;
    bool runProgram(const QString& program, const QString& parameters) override;
};

// Test double: records every call and answers from `programsThatStart`
// (a program not listed fails to start) and `defaultHandlerOpens`.
class RecordingShellLauncher final : public ShellLauncher {
public:
    struct Call {
        bool defaultHandler = false;
        QString program;  // empty for the default handler
        QString argument; // the target or the parameters
    };

    bool openWithDefaultHandler(const QString& target) override {
        calls.append({true, QString(), target});
        return defaultHandlerOpens;
    }
    bool runProgram(const QString& program, const QString& parameters) override {
        calls.append({false, program, parameters});
        return programsThatStart.contains(program);
    }

    QList<Call> calls;
    QList<QString> programsThatStart;
    bool defaultHandlerOpens = true;
};

} // namespace platform
